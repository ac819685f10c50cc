#pragma once

#include <QDBusContext>
#include <QObject>
#include <QVariantList>
#include <QVariantMap>

// The program as the desktop starts and asks it (org.freedesktop.Application, named
// ru.zaryaj.Directory on the session bus): one instance, brought forward when started
// again, opened at an answer by the desktop's search. Without a session bus the
// program works alone, as ever.
class DesktopApplication final : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    enum class Start
    {
        Alone,     // no session bus, or the name could not be had
        Served,    // this instance owns the name and answers on it
        HandedOver // another instance owns it and was asked to come forward
    };

    explicit DesktopApplication(QObject *parent = nullptr);
    // Call before the windows exist, so that a second instance ends at once; the calls
    // are answered once the event loop runs. A second instance hands `launched` (the
    // platform data its launcher gave it) on to the running one.
    Start Register(const QVariantMap &launched = {});

    // The interface's methods. ActivateAction knows two actions, each with one text:
    // "show-number" shows the phone search for a number, and "launch-search" puts what
    // was typed into the box that fits it.
    void Activate(const QVariantMap &platform_data);
    void Open(const QStringList &uris, const QVariantMap &platform_data);
    void ActivateAction(const QString &action_name, const QVariantList &parameter,
                        const QVariantMap &platform_data);

private:
    void refuse(const QString &why);
};
