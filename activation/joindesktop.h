#pragma once

class QObject;

// Takes the program's place on the desktop; call before the windows exist. Where the
// desktop has a session bus, the program answers there as one instance, and false means
// that another instance was asked to come forward instead: this one should end.
// Elsewhere the program works alone, and this is true.
bool JoinDesktop(QObject *parent);

// Call before the application object exists. Where the session has no bus, none is
// started for it: libdbus would launch a dbus-daemon for the X display, which outlives
// the program and the display. The program then works alone.
void LaunchNoBus();

// Call before the application object exists: keeps what the launcher handed this start
// to bring a window forward with (XDG_ACTIVATION_TOKEN, DESKTOP_STARTUP_ID), which Qt's
// platform plugins take out of the environment, so that a start that finds the program
// running can hand it on.
void KeepLaunchTokens();
