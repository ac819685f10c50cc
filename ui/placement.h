#pragma once

class QWidget;

// Moves a window to the middle of its screen, never past the screen's top or left edge.
void CentreOnScreen(QWidget *window);
