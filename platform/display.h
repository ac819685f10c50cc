#pragma once

#include "nodisplayline.h"

// Start-up without a display to open the window on: the program's own one line and
// exit status 1. Qt's own words, still with status 1 and no abort, where they are what
// the user needs, such as a platform plugin that is not installed.

// False, having said so, when no display is named at all: there is nothing to try.
bool DisplayNamed();

// Call right before creating the application object: holds back Qt's messages, and
// whatever else reaches the standard error, while it connects to the display, and ends
// the program if that fails.
void HoldMessagesWhileConnecting();
// Call once the application object exists: passes on what was said meanwhile.
void PassHeldMessages();
