// SPDX-License-Identifier: MIT
#include "app/ScreensaverHost.h"

#include "app/RunOptions.h"
#include "platform/MessageBox.h"
#include "view/AquariumView.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <xcb/xcb.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// A screensaver has nothing to save: the daemon's SIGTERM ends it at once.
void EndAtOnce(int)
{
    ::_exit(0);
}

void InstallSignalHandlers()
{
    struct sigaction action = {};
    action.sa_handler = EndAtOnce;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

// A screensaver cannot ask the user anything: messages go to standard error.
void PrintMessage(const std::string& text, const std::string& caption, MessageIcon)
{
    std::fprintf(stderr, "plovi: %s: %s\n", caption.c_str(), text.c_str());
}

struct Geometry {
    bool exists = false;
    int width = 0, height = 0;
};

Geometry QueryGeometry(xcb_connection_t* connection, xcb_window_t window)
{
    Geometry result;
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), &error);
    // A pixmap id answers get-geometry too; only a window has attributes.
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    if (reply && attributes) {
        result.exists = true;
        result.width = reply->width;
        result.height = reply->height;
    }
    std::free(reply);
    std::free(attributes);
    std::free(error);
    return result;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The window that a child of the root names in its __SWM_VROOT property
// (the virtual root of some window managers and older screensaver daemons).
xcb_window_t VirtualRoot(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_atom_t vroot = Atom(connection, "__SWM_VROOT");
    if (vroot == XCB_ATOM_NONE)
        return XCB_WINDOW_NONE;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (!tree)
        return XCB_WINDOW_NONE;
    xcb_window_t found = XCB_WINDOW_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0, n = xcb_query_tree_children_length(tree); i < n && found == XCB_WINDOW_NONE; ++i) {
        xcb_get_property_reply_t* property = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, children[i], vroot, XCB_ATOM_WINDOW, 0, 1), nullptr);
        if (property && property->type == XCB_ATOM_WINDOW && property->format == 32 &&
            xcb_get_property_value_length(property) == 4)
            found = *static_cast<const xcb_window_t*>(xcb_get_property_value(property));
        std::free(property);
    }
    std::free(tree);
    return found;
}

}  // namespace

ScreensaverHost::ScreensaverHost(const ScreensaverTarget& target, const CommandLine& options)
    : m_target(target), m_options(options)
{
}

ScreensaverHost::~ScreensaverHost()
{
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->removeNativeEventFilter(this);
}

QSize ScreensaverHost::DrawableSize(const QSize& host, const QSize& glLimit, const QSize& screen)
{
    const auto side = [](int wanted, int gl, int shown) {
        int result = wanted;
        if (gl > 0)
            result = std::min(result, gl);
        if (shown > 0)
            result = std::min(result, shown);
        return std::max(result, 1);
    };
    return QSize(side(host.width(), glLimit.width(), screen.width()),
                 side(host.height(), glLimit.height(), screen.height()));
}

void ScreensaverHost::FitView(int hostWidth, int hostHeight)
{
    // The host's size goes to the drawable only within these limits: a
    // software renderer given a 65535 x 65535 window tries to allocate
    // buffers of that size, and even a 16000 x 16000 one takes seconds a
    // frame for pixels no screen shows.
    const QSize size = DrawableSize(QSize(hostWidth, hostHeight), m_glLimit, m_screen);
    const qreal ratio = m_view->devicePixelRatio();
    m_view->setGeometry(0, 0, std::max(1, int(size.width() / ratio)), std::max(1, int(size.height() / ratio)));
}

int ScreensaverHost::Fail(const std::string& message) const
{
    std::fprintf(stderr, "plovi: %s\n", message.c_str());
    return 1;
}

std::uint32_t ScreensaverHost::FindHostWindow() const
{
    if (m_target.kind == ScreensaverTarget::Kind::Window)
        return m_target.window;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const xcb_window_t vroot = VirtualRoot(m_connection, root);
    return vroot != XCB_WINDOW_NONE ? vroot : root;
}

// Asks for the host's structure events (size, destruction) on Qt's own
// connection, keeping whatever else this client already selected there.
bool ScreensaverHost::WatchHostWindow()
{
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, m_host), nullptr);
    if (!attributes)
        return false;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::free(attributes);
    xcb_void_cookie_t cookie = xcb_change_window_attributes_checked(m_connection, m_host, XCB_CW_EVENT_MASK, &mask);
    xcb_generic_error_t* error = xcb_request_check(m_connection, cookie);
    std::free(error);
    return error == nullptr;
}

int ScreensaverHost::Start()
{
    InstallSignalHandlers();
    SetMessageBoxHandler(PrintMessage);
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    m_connection = x11 ? x11->connection() : nullptr;
    if (!m_connection)
        return Fail("the screensaver mode needs an X11 display");

    m_host = FindHostWindow();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_coversRoot = m_host == root;
    const Geometry geometry = QueryGeometry(m_connection, m_host);
    char id[32];
    std::snprintf(id, sizeof id, "0x%x", unsigned(m_host));
    if (!geometry.exists || !WatchHostWindow())
        return Fail(std::string("window ") + id + " does not exist; nothing to draw into");
    QAbstractEventDispatcher::instance()->installNativeEventFilter(this);

    const xcb_screen_t* rootScreen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_screen = QSize(rootScreen->width_in_pixels, rootScreen->height_in_pixels);
    m_view = std::make_unique<AquariumView>(AquariumView::Role::Screensaver);
    if (m_coversRoot) {
        m_view->setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    } else {
        m_hostWindow.reset(QWindow::fromWinId(m_host));
        m_view->setParent(m_hostWindow.get());
    }
    // The screen's size bounds the drawable before any GL buffer exists; the
    // GL implementation's own limit, known once the context does, may bound
    // it further (a desktop wider than a GL drawable can be).
    FitView(geometry.width, geometry.height);
    const qreal ratio = m_view->devicePixelRatio();
    if (!m_view->OnCreate(int(m_view->width() * ratio), int(m_view->height() * ratio)))
        return 1;
    ApplyRunOptions(m_options, *m_view);
    m_glLimit = m_view->MaxDrawableSize();
    if (DrawableSize(QSize(geometry.width, geometry.height), m_glLimit, m_screen) !=
        QSize(int(m_view->width() * ratio), int(m_view->height() * ratio)))
        FitView(geometry.width, geometry.height);
    // The host may have gone while the view was being made inside it.
    if (!QueryGeometry(m_connection, m_host).exists)
        return Fail(std::string("window ") + id + " disappeared; nothing to draw into");
    m_view->show();
    m_view->StartTimer();
    return -1;
}

bool ScreensaverHost::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (configure->window == m_host && m_view)
            FitView(configure->width, configure->height);
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        // The owner took its window away (a preview closed, the daemon
        // finished): the module's work is done. Ending here, before the
        // next tick, never draws into a window that is gone.
        if (destroyed->window == m_host || (m_view && destroyed->window == m_view->winId())) {
            std::fflush(nullptr);
            ::_exit(0);
        }
        break;
    }
    default:
        break;
    }
    return false;
}
