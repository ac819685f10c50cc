#include "quitonsignal.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <windows.h>

namespace {

// Called on a thread of its own by the console: the request is queued to the event loop.
BOOL WINAPI handle(DWORD event)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    // Ctrl+C and Ctrl+Break are handled here. When the console closes, or the session
    // ends, the system ends the process as soon as the handler returns: it waits
    // instead, while the program ends itself.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        ::Sleep(INFINITE);
    return TRUE;
}

} // namespace

QuitOnSignal::QuitOnSignal(QObject *parent) : QObject(parent)
{
    ::SetConsoleCtrlHandler(&handle, TRUE);
}

QuitOnSignal::~QuitOnSignal()
{
    ::SetConsoleCtrlHandler(&handle, FALSE);
}
