#pragma once

class QObject;

// What a screen reader is told about our own widgets, beyond what Qt works out itself:
// a picture of the About tab is a push button with a press action, and a prompt window
// is an alert whose message is its description. Call once before the windows exist.
void InstallAccessibility();

// Tells a screen reader that `object`'s name (a label's text) is news, so it is read out.
void AnnounceName(QObject *object);
