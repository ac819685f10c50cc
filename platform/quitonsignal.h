#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the program cleanly on SIGTERM, SIGINT or SIGHUP, whichever window is shown:
// the signal handler only writes a byte, and the event loop does the quitting.
class QuitOnSignal final : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;

private:
    static void handle(int signal);
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
