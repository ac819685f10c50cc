#include "desktopapplication.h"
#include "joindesktop.h"

bool JoinDesktop(QObject *parent)
{
    auto *desktop = new DesktopApplication(parent);
    return desktop->Register() != DesktopApplication::Start::HandedOver;
}
