#pragma once

#include <QObject>
#include <QtPlugin>

class QWidget;

// Asking a Wayland compositor for the focus, in a module of its own (zaryaj-wayland),
// loaded the first time a window asks there: linked into the program, the Wayland client
// library would be loaded at every start, on X11 too. The IID carries the version: whoever
// changes this class changes the IID.
class WaylandFocus
{
public:
    virtual ~WaylandFocus() = default;
    // GNOME's gtk_surface1.present with the time of the user's request.
    virtual void AskWithTime(QWidget *window, quint32 time) = 0;
    // With a token of the window's own, which no compositor honours but some make known.
    virtual void AskAnyway(QWidget *window) = 0;
};

#define ZARYAJ_WAYLAND_FOCUS_IID "ru.zaryaj.Directory.WaylandFocus/1.0"
Q_DECLARE_INTERFACE(WaylandFocus, ZARYAJ_WAYLAND_FOCUS_IID)

class WaylandFocusModule final : public QObject, public WaylandFocus
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZARYAJ_WAYLAND_FOCUS_IID)
    Q_INTERFACES(WaylandFocus)

public:
    void AskWithTime(QWidget *window, quint32 time) override;
    void AskAnyway(QWidget *window) override;
};
