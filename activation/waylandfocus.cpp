#include "waylandfocus.h"

#include "desktopnames.h"
#include "gtk-shell-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <utility>
#include <wayland-client.h>

namespace {

// The compositor's globals that Qt does not offer, looked for once, on a queue of our
// own so that Qt's never sees their events: GNOME's gtk_shell1 of version 4 (with
// release) and xdg_activation_v1. Null where the compositor lacks one.
struct Globals
{
    wl_event_queue *queue = nullptr;
    gtk_shell1 *gtkShell = nullptr;
    xdg_activation_v1 *activation = nullptr;
};

void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface,
              uint32_t version)
{
    constexpr uint32_t gtkShellVersion = 4;
    auto *found = static_cast<Globals *>(data);
    if (!found->gtkShell && std::strcmp(interface, gtk_shell1_interface.name) == 0 &&
        version >= gtkShellVersion)
        found->gtkShell = static_cast<gtk_shell1 *>(
            wl_registry_bind(registry, name, &gtk_shell1_interface, gtkShellVersion));
    if (!found->activation && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        found->activation = static_cast<xdg_activation_v1 *>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void onGlobalRemoved(void * /*data*/, wl_registry * /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener registryListener{onGlobal, onGlobalRemoved};

Globals &globals(wl_display *display)
{
    static Globals found = [display] {
        Globals globals;
        globals.queue = wl_display_create_queue(display);
        auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), globals.queue);
        wl_registry *registry = wl_display_get_registry(wrapper);
        wl_proxy_wrapper_destroy(wrapper);
        wl_registry_add_listener(registry, &registryListener, &globals);
        wl_display_roundtrip_queue(display, globals.queue);
        wl_registry_destroy(registry);
        return globals;
    }();
    return found;
}

// The connection and the surface of a shown window, or nulls. Asked of Qt's native
// interface through its virtual functions alone, so that no private symbol of Qt is linked.
std::pair<wl_display *, wl_surface *> waylandWindow(QWidget *window)
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    QWindow *handle = window->windowHandle();
    if (!native || !handle)
        return {};
    return {static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display")),
            static_cast<wl_surface *>(native->nativeResourceForWindow("surface", handle))};
}

// As GTK presents its windows on GNOME: gtk_surface1.present with the time, which mutter
// weighs as X11's window managers do.
void askGnomeWayland(QWidget *window, quint32 time)
{
    const auto [display, surface] = waylandWindow(window);
    if (!display || !surface)
        return;
    const Globals &found = globals(display);
    if (!found.gtkShell)
        return;
    // Made and released at once: Qt makes the window's surface anew when it is shown
    // again, and a surface may have one at a time.
    gtk_surface1 *presented = gtk_shell1_get_gtk_surface(found.gtkShell, surface);
    gtk_surface1_present(presented, time);
    gtk_surface1_release(presented);
    wl_display_flush(display);
    wl_display_dispatch_queue_pending(display, found.queue);
}

void onToken(void *data, xdg_activation_token_v1 * /*token*/, const char *token)
{
    *static_cast<QByteArray *>(data) = token;
}

const xdg_activation_token_v1_listener tokenListener{onToken};

// Without the user's proof, a token of the window's own: no compositor lets it take the
// focus, but one may make the request known (an urgent task on KWin or sway); GNOME 43
// ignores it.
void askWaylandAnyway(QWidget *window)
{
    const auto [display, surface] = waylandWindow(window);
    if (!display || !surface)
        return;
    const Globals &found = globals(display);
    if (!found.activation)
        return;
    xdg_activation_token_v1 *request = xdg_activation_v1_get_activation_token(found.activation);
    QByteArray token;
    xdg_activation_token_v1_add_listener(request, &tokenListener, &token);
    xdg_activation_token_v1_set_surface(request, surface);
    xdg_activation_token_v1_set_app_id(request, DesktopId.toUtf8().constData());
    xdg_activation_token_v1_commit(request);
    wl_display_roundtrip_queue(display, found.queue);
    xdg_activation_token_v1_destroy(request);
    if (!token.isEmpty())
        xdg_activation_v1_activate(found.activation, token.constData(), surface);
    wl_display_flush(display);
}

} // namespace

void WaylandFocusModule::AskWithTime(QWidget *window, quint32 time)
{
    askGnomeWayland(window, time);
}

void WaylandFocusModule::AskAnyway(QWidget *window)
{
    askWaylandAnyway(window);
}
