// What the toolkit does not tell about an X11 display: whether a window
// manager runs there, and when another client destroys the program's window.
// Built without X11 (another system, or no XCB headers), neither question
// arises: windows are always managed and never destroyed from outside.
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include "platform/qt/internal.h"

#ifdef KANSU_X11
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#endif

namespace platform::qt::x11 {

#ifdef KANSU_X11

namespace {

xcb_connection_t* connection()
{
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Up to `most` 32-bit values of a property of a window; empty when unset.
std::vector<uint32_t> values(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type, uint32_t most)
{
    const Reply reply(xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, most), nullptr), &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    return setup ? xcb_setup_roots_iterator(setup).data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Ends the program's window when the X server reports it destroyed.
class DestroyWatch : public QAbstractNativeEventFilter {
public:
    DestroyWatch(QWidget* window, std::function<void()> gone) : window_(window), gone_(std::move(gone)) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || !window_)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY)
            return false;
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        if (!window_->testAttribute(Qt::WA_WState_Created) || destroyed->window != window_->winId())
            return false;
        gone_();
        return false;
    }

private:
    QPointer<QWidget> window_;
    std::function<void()> gone_;
};

}  // namespace

bool windowManaged()
{
    xcb_connection_t* c = connection();
    if (!c)
        return true;  // not X11: the window system places every window itself
    // A manager that follows the freedesktop hints names a window of its own
    // on the root window, and names it again on that window (so that a name
    // left behind by one that has ended does not count), and lists what it
    // supports.
    const xcb_window_t root = rootOf(c);
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const std::vector<uint32_t> named = values(c, root, check, XCB_ATOM_WINDOW, 1);
    if (named.empty() || values(c, named.front(), check, XCB_ATOM_WINDOW, 1) != named)
        return false;
    const std::vector<uint32_t> supported = values(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    const xcb_atom_t fullScreen = atom(c, "_NET_WM_STATE_FULLSCREEN");
    return std::find(supported.begin(), supported.end(), fullScreen) != supported.end();
}

void onDestroyed(QWidget* window, std::function<void()> gone)
{
    if (!connection())
        return;
    static std::vector<std::unique_ptr<DestroyWatch>> watches;  // for the program's life, like the application
    watches.push_back(std::make_unique<DestroyWatch>(window, std::move(gone)));
    qApp->installNativeEventFilter(watches.back().get());
}

#else

bool windowManaged() { return true; }
void onDestroyed(QWidget*, std::function<void()>) {}

#endif

}  // namespace platform::qt::x11
