// The yardstick for start-up: an empty Qt window of the main window's size.
#include "idle_report.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(500, 300);
    window.show();
    reportWhenIdle(&window);
    return QApplication::exec();
}
