// The yardstick the program's start-up is held to: the main window's own .ui, its
// controls of our own replaced by the Qt classes they extend, built by Qt alone, with no
// store, no searches, no secondary windows and no session bus. Timed through
// idle_report.cpp.
#include "ui_tform1.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    Ui::TForm1 ui;
    ui.setupUi(&window);
    window.show();
    return QApplication::exec();
}
