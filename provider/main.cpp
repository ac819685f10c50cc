#include "applicationinterface.h"
#include "desktopnames.h"
#include "desktopsearch.h"
#include "quitonsignal.h"
#include "searchservice.h"
#include "store.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

// The desktop's search service: started by the session bus on the desktop's first
// call, it answers GNOME Shell and KRunner and, once idle, ends.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "zaryaj-search-provider: no session bus\n");
        return 1;
    }
    RegisterDesktopTypes();
    LoadDirectory();
    // The program is asked through the bus too, which starts it when it is not running.
    OrgFreedesktopApplicationInterface program(DesktopId, DesktopObjectPath, bus);
    SearchService service([&program](const QString &action, const QString &argument, quint32 time,
                                     const QString &token) {
        // The time goes on as the end of a startup identifier, as desktops hand it over.
        QVariantMap platformData;
        if (time != 0)
            platformData.insert(QStringLiteral("desktop-startup-id"),
                                DesktopSearch::StartupIdAt(time));
        if (!token.isEmpty())
            platformData.insert(QStringLiteral("activation-token"), token);
        program.ActivateAction(action, {argument}, platformData);
    });
    QObject::connect(&service, &SearchService::idle, &app, &QCoreApplication::quit);
    // Nor does it outlive the session's bus.
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), &app,
                SLOT(quit()));
    QuitOnSignal quitOnSignal;
    if (!Serve(bus, &service))
        return 1;
    return QCoreApplication::exec();
}
