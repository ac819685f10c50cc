#pragma once

#include <QString>
#include <QVariantMap>

class QWidget;

// What a desktop hands over when it asks the program to come forward: its proof that
// the user asked just now. On Wayland a compositor lets a window take the focus only
// with it; on X11 a window manager compares the time with the user's last action.
struct Handover
{
    QString token;  // Wayland's activation token (xdg-activation)
    quint32 time{}; // the user's request on the desktop's clock; 0: not known

    // From org.freedesktop.Application's platform data: "activation-token", and the time
    // at the end of "desktop-startup-id" ("…_TIME1234"). What is malformed is left out.
    static Handover From(const QVariantMap &platform_data);
};

// Call right before `window` asks for the focus (QWidget::activateWindow), which on
// Wayland then uses the token.
void OfferToken(const Handover &handover);
// Call right after: asks again with the time (X11's _NET_ACTIVE_WINDOW, with the server's
// time now when none was handed over; GNOME's gtk_surface1.present on Wayland), which
// also lifts a minimized window. On Wayland
// with neither time nor token, it asks with a token of the window's own, which no
// compositor honours but some make known (not GNOME 43).
void AskForFocus(QWidget *window, const Handover &handover);
