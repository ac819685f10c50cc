#pragma once

class QObject;

class QWidget;

// The windows are laid out in pixels for MS Sans Serif 8 pt, which only Windows has.
// Elsewhere a window asks for a font of Arial's metrics by name instead: asking Qt for
// a missing family costs a fontconfig fallback search for every style in use, a good
// part of the program's start-up. Call in a window's constructor, before its layout
// sets its font: from then on, whatever font it is given is kept to an installed family.
void KeepAvailableFamily(QWidget *window);

// While it lives, each page that uic makes for a tab of `window` without a parent is given
// the window's font as soon as a control is put on it: a line edit lays out its empty text
// as soon as it is made, so the pages' controls would otherwise load the desktop's font,
// two faces of it, only to drop it when the page joins the window. When it ends, the
// pages inherit the window's font again. Qt's default font is left alone, though a line
// edit first lays out in that: only QGuiApplication::setFont() changes it, which would stop
// it following the desktop's font. Made after KeepAvailableFamily(), before setupUi().
class PagesInWindowFont
{
public:
    explicit PagesInWindowFont(QWidget *window);
    ~PagesInWindowFont();
    PagesInWindowFont(const PagesInWindowFont &) = delete;
    PagesInWindowFont &operator=(const PagesInWindowFont &) = delete;

private:
    QObject *m_pageFonts;
};

// Menus open as windows of their own, which Qt gives the system's menu font, not the
// window's: under Wine, when the system's fonts are missing, a serif stand-in whose thin
// strokes look disabled. Every menu takes `window`'s font instead, as the windows' own
// controls do.
void UseFontInMenus(const QWidget *window);
