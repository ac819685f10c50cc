#include "desktopapplication.h"
#include "joindesktop.h"

#include <QFileInfo>
#include <QVariantMap>

#include <utility>

namespace {

// What this start was handed to come forward with, as org.freedesktop.Application's
// platform data.
QVariantMap &launchTokens()
{
    static QVariantMap tokens;
    return tokens;
}

} // namespace

bool JoinDesktop(QObject *parent)
{
    auto *desktop = new DesktopApplication(parent);
    return desktop->Register(launchTokens()) != DesktopApplication::Start::HandedOver;
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

void KeepLaunchTokens()
{
    for (const auto &[variable, key] : {std::pair{"XDG_ACTIVATION_TOKEN", "activation-token"},
                                        std::pair{"DESKTOP_STARTUP_ID", "desktop-startup-id"}}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            launchTokens().insert(QLatin1String(key), qEnvironmentVariable(variable));
    }
}
