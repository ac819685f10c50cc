#include "desktopapplication.h"
#include "joindesktop.h"

#include <QFileInfo>

bool JoinDesktop(QObject *parent)
{
    auto *desktop = new DesktopApplication(parent);
    return desktop->Register() != DesktopApplication::Start::HandedOver;
}

void LaunchNoBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    // The session's bus where systemd's user session keeps it, as libdbus looks for it.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists())
        return;
    // An address that names no bus: connecting fails at once, with nothing launched.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
}
