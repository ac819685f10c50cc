#include "desktopapplication.h"

#include "applicationadaptor.h"
#include "applicationinterface.h"
#include "desktopnames.h"
#include "forms.h"
#include "handover.h"
#include "tform1.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusVariant>

DesktopApplication::DesktopApplication(QObject *parent) : QObject(parent)
{
    new ApplicationAdaptor(this);
}

DesktopApplication::Start DesktopApplication::Register(const QVariantMap &launched)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(DesktopObjectPath, this))
        return Start::Alone;
    if (bus.registerService(DesktopId))
        return Start::Served;
    bus.unregisterObject(DesktopObjectPath);
    OrgFreedesktopApplicationInterface running(DesktopId, DesktopObjectPath, bus);
    // Waited for, so that the running instance has been asked before this one ends.
    return running.Activate(launched).isError() ? Start::Alone : Start::HandedOver;
}

void DesktopApplication::Activate(const QVariantMap &platform_data)
{
    if (!Form1)
        return;
    const Handover handover = Handover::From(platform_data);
    OfferToken(handover);
    AskForFocus(ComeForward(), handover);
}

void DesktopApplication::Open(const QStringList & /*uris*/, const QVariantMap &platform_data)
{
    // The directory opens no files: opening one brings it forward.
    Activate(platform_data);
}

void DesktopApplication::ActivateAction(const QString &action_name, const QVariantList &parameter,
                                        const QVariantMap &platform_data)
{
    QVariant argument = parameter.value(0);
    if (argument.metaType() == QMetaType::fromType<QDBusVariant>())
        argument = argument.value<QDBusVariant>().variant();
    const bool known = action_name == QLatin1String("show-number") ||
                       action_name == QLatin1String("launch-search");
    if (!known || parameter.size() != 1 || argument.metaType() != QMetaType::fromType<QString>()) {
        refuse(QStringLiteral("unknown action or not one text"));
        return;
    }
    if (!Form1)
        return;
    const Handover handover = Handover::From(platform_data);
    OfferToken(handover);
    // As if each open window's "Ok" were pressed: the main window alone stays.
    ReturnAllToMain();
    if (action_name == QLatin1String("show-number"))
        Form1->ShowNumber(argument.toString());
    else
        Form1->StartSearch(argument.toString());
    AskForFocus(Form1, handover);
}

void DesktopApplication::refuse(const QString &why)
{
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, why);
}
