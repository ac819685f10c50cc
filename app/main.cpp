#include "forms.h"
#include "quitonsignal.h"
#include "tform1.h"

#include <QApplication>

#include <cstdio>

namespace {

// Qt aborts when it cannot reach a display; say so plainly instead.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fputs("zaryaj: no display to open the window on (DISPLAY is not set); "
                   "start it from a desktop session\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QuitOnSignal quitOnSignal;
    Forms forms;
    Form1->show();
    return QApplication::exec();
}
