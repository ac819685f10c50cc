#pragma once

#include <QGuiApplication>

// The one way the program asks which of Qt's platforms it runs on ("xcb", "wayland",
// "windows", "offscreen"), where the platform's own ways need an answer of their own.
// What differs at build time is chosen by CMake instead (the _unix and _windows files).
inline bool OnPlatform(const char *name)
{
    return QGuiApplication::platformName() == QLatin1String(name);
}
