#include "forms.h"
#include "quitonsignal.h"
#include "tform1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

void sayNoDisplay()
{
    std::fputs("zaryaj: no display to open the window on; start it from a desktop session\n",
               stderr);
}

bool displayNamed()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the application object connects to the display, Qt's messages are held back:
// a display that cannot be opened ends in a fatal message and an abort, which become
// the program's own one line and exit status 1. Anything else said meanwhile is passed
// on once the display is open.
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> heldMessages;
QtMessageHandler qtHandler = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        sayNoDisplay();
        std::_Exit(1);
    }
    heldMessages.append({type, context.category, text});
}

void passHeldMessages()
{
    qInstallMessageHandler(qtHandler);
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}

} // namespace

int main(int argc, char *argv[])
{
    // Without any display named there is nothing to try.
    if (!displayNamed()) {
        sayNoDisplay();
        return 1;
    }
    qtHandler = qInstallMessageHandler(holdMessage);
    QApplication app(argc, argv);
    passHeldMessages();
    // Lets a Wayland desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zaryaj.Directory"));
    // Qt's own texts (a box's context menu, screen-reader names of its parts) in the
    // program's language, where Debian's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    QuitOnSignal quitOnSignal;
    Forms forms;
    Form1->show();
    return QApplication::exec();
}
