#pragma once

class QWidget;

// Centres `window` on the part of its screen that windows may use (not under a panel),
// never past that area's top or left edge, the first time it is shown. Afterwards it
// reappears wherever it was left.
void CentreWhenFirstShown(QWidget *window);
