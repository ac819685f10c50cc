#pragma once

#include <QObject>

// Ends the program cleanly when the system asks it to, whichever window is shown: on
// SIGTERM, SIGINT or SIGHUP where there are signals, on Ctrl+C or the console's closing
// on Windows. The system's handler only passes the request on; the event loop quits.
class QuitOnSignal final : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;
};
