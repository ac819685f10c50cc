#include "handover.h"

#include "desktopsearch.h"
#include "onplatform.h"
#include "printloader.h"
#include "waylandfocus.h"

#include <QFile>
#include <QGuiApplication>
#include <QPluginLoader>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <optional>
#include <xcb/xcb.h>

namespace {

// Another process's text: short and printable ASCII, or nothing.
QString plainText(const QVariant &value)
{
    if (value.metaType() != QMetaType::fromType<QString>())
        return {};
    QString text = value.toString();
    constexpr qsizetype longest = 256;
    if (text.size() > longest)
        return {};
    for (const QChar c : text) {
        if (c.unicode() <= ' ' || c.unicode() > '~')
            return {};
    }
    return text;
}

// _NET_ACTIVE_WINDOW, by which the window manager names the window with the focus on
// the root window, and by which an application asks for it.
struct X11Display
{
    xcb_connection_t *connection;
    xcb_window_t root;
    xcb_atom_t activeWindow;
};

std::optional<X11Display> x11Display()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    static const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return std::nullopt;
    const X11Display display{
        connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root, atom->atom};
    std::free(atom);
    return display;
}

bool hasFocus(const X11Display &x11, xcb_window_t window)
{
    xcb_get_property_reply_t *active = xcb_get_property_reply(
        x11.connection,
        xcb_get_property(x11.connection, 0, x11.root, x11.activeWindow, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    const bool has = active && xcb_get_property_value_length(active) == sizeof window &&
                     *static_cast<xcb_window_t *>(xcb_get_property_value(active)) == window;
    std::free(active);
    return has;
}

// As the window manager's specification has an application ask: with the time of the
// user's request, which the window manager weighs against the user's last action.
void sendActiveWindow(const X11Display &x11, xcb_window_t window, quint32 time)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x11.activeWindow;
    message.data.data32[0] = 1; // an application asks
    message.data.data32[1] = time;
    xcb_send_event(x11.connection, 0, x11.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(x11.connection);
}

// The X server's time now, for a request that follows the user's choice on a desktop
// that hands over no time (KRunner): KWin lets a window take the focus when the time is
// not older than the active window's last use. Read from a property change on a
// connection of our own, since Qt's reader thread takes the events of its own. 0 on error.
quint32 x11ServerTime()
{
    xcb_connection_t *own = xcb_connect(nullptr, nullptr);
    quint32 time = 0;
    if (!xcb_connection_has_error(own)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(own)).data;
        const xcb_window_t probe = xcb_generate_id(own);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(own, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        xcb_change_property(own, XCB_PROP_MODE_APPEND, probe, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            0, nullptr);
        xcb_flush(own);
        while (xcb_generic_event_t *event = xcb_wait_for_event(own)) {
            const bool changed = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (changed)
                time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
            std::free(event);
            if (changed)
                break;
        }
    }
    xcb_disconnect(own);
    return time;
}

void askX11(QWidget *window, quint32 time)
{
    const std::optional<X11Display> x11 = x11Display();
    if (!x11)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    sendActiveWindow(*x11, id, time);
    // GNOME gives an X11 window the focus while its overview, where the user chose, is
    // still closing, and then takes it back: asked again with the same time, a few
    // times over, until the window manager names the window as the one with the focus.
    // A later action of the user's still outweighs the time.
    auto *again = new QTimer(window);
    constexpr int intervalMs = 100;
    again->setInterval(intervalMs);
    QObject::connect(again, &QTimer::timeout, window,
                     [x11 = *x11, id, time, again, tries = 10]() mutable {
                         if (hasFocus(x11, id) || --tries == 0)
                             again->deleteLater();
                         else
                             sendActiveWindow(x11, id, time);
                     });
    again->start();
}

// The Wayland module, loaded once, or null where it is missing or of another version.
WaylandFocus *waylandFocus()
{
    static WaylandFocus *const focus = []() -> WaylandFocus * {
        for (const QString &path : ModulePaths(QStringLiteral(ZARYAJ_WAYLAND_FILE))) {
            if (QFile::exists(path))
                return qobject_cast<WaylandFocus *>(QPluginLoader(path).instance());
        }
        return nullptr;
    }();
    return focus;
}

} // namespace

Handover Handover::From(const QVariantMap &platform_data)
{
    Handover handover;
    handover.token = plainText(platform_data.value(QStringLiteral("activation-token")));
    handover.time = DesktopSearch::TimeOfStartupId(
        plainText(platform_data.value(QStringLiteral("desktop-startup-id"))));
    return handover;
}

void OfferToken(const Handover &handover)
{
    // Qt's Wayland plugin activates with the token it finds here, once.
    if (!handover.token.isEmpty() && OnPlatform("wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", handover.token.toLatin1());
}

void AskForFocus(QWidget *window, const Handover &handover)
{
    if (OnPlatform("xcb")) {
        askX11(window, handover.time != 0 ? handover.time : x11ServerTime());
        return;
    }
    WaylandFocus *wayland = OnPlatform("wayland") ? waylandFocus() : nullptr;
    if (wayland && handover.time != 0)
        wayland->AskWithTime(window, handover.time);
    else if (wayland && handover.token.isEmpty())
        wayland->AskAnyway(window);
}
