#pragma once

// What a screen reader is told about our own widgets, beyond what Qt works out itself:
// a picture of the About tab is a push button with a press action; a prompt window is
// an alert, read out with its message, and the other secondary windows are dialogs; the
// street box keeps its label's name; the stack of tab pages is a plain pane. Call once
// before the windows exist.
void InstallAccessibility();
