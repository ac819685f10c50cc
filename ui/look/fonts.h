#pragma once

class QWidget;

// The windows are laid out in pixels for MS Sans Serif 8 pt, which only Windows has.
// Elsewhere a window asks for a font of Arial's metrics by name instead: asking Qt for
// a missing family costs a fontconfig fallback search for every style in use, a good
// part of the program's start-up. Call in a window's constructor, before its layout
// sets its font: from then on, whatever font it is given is kept to an installed family.
void KeepAvailableFamily(QWidget *window);

// Menus open as windows of their own, which Qt gives the system's menu font, not the
// window's: under Wine, when the system's fonts are missing, a serif stand-in whose thin
// strokes look disabled. Every menu takes `window`'s font instead, as the windows' own
// controls do.
void UseFontInMenus(const QWidget *window);
