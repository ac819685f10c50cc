#include "display.h"

// Windows always has a display to open the window on, and Qt's plugin for it is built
// in: there is nothing to check or hold back.

bool DisplayNamed()
{
    return true;
}

void HoldMessagesWhileConnecting() {}

void PassHeldMessages() {}
