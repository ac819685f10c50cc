#include "desktopnames.h"
#include "display.h"
#include "forms.h"
#include "joindesktop.h"
#include "quitonsignal.h"
#include "tform1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    if (!DisplayNamed())
        return 1;
    LaunchNoBus();
    KeepLaunchTokens();
    HoldMessagesWhileConnecting();
    QApplication app(argc, argv);
    PassHeldMessages();
    // Lets a Wayland desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(DesktopId);
    // Qt's own texts (a box's context menu, screen-reader names of its parts) in the
    // program's language, where Debian's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    if (!JoinDesktop(&app))
        return 0; // the running instance came forward instead
    QuitOnSignal quitOnSignal;
    Forms forms(Forms::Secondaries::AfterFirstPaint);
    Form1->show();
    return QApplication::exec();
}
