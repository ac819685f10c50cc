#pragma once

class QWidget;

// The windows are laid out in pixels for MS Sans Serif 8 pt, which only Windows has.
// Elsewhere a window asks for a font of Arial's metrics by name instead: asking Qt for
// a missing family costs a fontconfig fallback search for every style in use, a good
// part of the program's start-up. Call in a window's constructor, before its layout
// sets its font: from then on, whatever font it is given is kept to an installed family.
void KeepAvailableFamily(QWidget *window);
