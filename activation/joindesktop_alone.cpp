#include "joindesktop.h"

// No session bus on this system: every start is a program of its own.
bool JoinDesktop(QObject * /*parent*/)
{
    return true;
}

void LaunchNoBus() {}
