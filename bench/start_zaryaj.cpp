// The program's own start-up, as app/main.cpp does it.
#include "forms.h"
#include "idle_report.h"
#include "joindesktop.h"
#include "tform1.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!JoinDesktop(&app))
        return 1; // another instance runs: this start would not be timed
    Forms forms;
    Form1->show();
    reportWhenIdle(Form1);
    return QApplication::exec();
}
