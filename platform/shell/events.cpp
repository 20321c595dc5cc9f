// The platform's events handed to the program's handlers, each through
// dispatch(); the clock and the automatic run's pause; the store of what is
// kept between runs.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/shell/shell.h"

namespace platform {

namespace shell {

namespace {

ShellPictureBox* boxOf(Native native)
{
    ShellWindow* w = windowOf(native);
    ShellPictureBox* box = w ? w->box(native) : nullptr;
    return box && w->alive() ? box : nullptr;
}

template <typename T>
T* controlOf(Native native)
{
    ShellWindow* w = windowOf(native);
    return w && w->alive() ? dynamic_cast<T*>(w->find(native)) : nullptr;
}

ShellWindow* liveWindow(Native native)
{
    ShellWindow* w = windowOf(native);
    return w && w->alive() ? w : nullptr;
}

}  // namespace

void failed(const char* what)
{
    backend::fatal(std::string("Run-time error: ") + what);
}

void clicked(Native n)
{
    if (auto* b = controlOf<ShellButton>(n); b && b->Enabled() && b->Click)
        dispatch(b->Click);
}

void toggled(Native n, bool checked)
{
    if (auto* c = controlOf<ShellCheckBox>(n))
        dispatch([&] { c->toggled(checked); });
}

bool key(Native window, Key k, Native focus)
{
    ShellWindow* w = liveWindow(window);
    if (!w || !w->KeyDown)
        return false;
    const Control* c = w->find(focus);
    k.focus = c ? c->control() : nullptr;
    bool taken = false;
    dispatch([&] { taken = w->KeyDown(k); });
    return taken;
}

void mouse(Native box, Pointer what, std::int16_t button, std::int16_t shift, double x, double y)
{
    if (ShellPictureBox* b = boxOf(box))
        b->mouse(what, button, shift, x, y);
}

void pointer(Native box, Pointer what, int id, std::int16_t button, std::int16_t shift, double x, double y)
{
    if (ShellPictureBox* b = boxOf(box))
        b->pointer(what, id, button, shift, x, y);
}

void longPress(Native box, double x, double y)
{
    if (ShellPictureBox* b = boxOf(box))
        b->longPress(x, y);
}

void paint(Native box, GraphicsPainter& painter, Box dirty, double ratio)
{
    ShellWindow* w = windowOf(box);
    if (ShellPictureBox* b = w ? w->box(box) : nullptr)
        b->paintScreen(painter, dirty, ratio);
}

void paintWindow(Native window, GraphicsPainter& painter, Box dirty, double ratio)
{
    if (ShellWindow* w = windowOf(window))
        w->paintLabels(painter, dirty, ratio);
}

void paintControl(Native control, GraphicsPainter& painter, double ratio)
{
    ShellWindow* w = windowOf(control);
    const Control* c = w ? w->find(control) : nullptr;
    if (!c || !c->parent)
        return;
    // The control where its own widget is: its box's top left at the painter's origin.
    const double s = c->parent->zoom() * ratio;
    const Box d = scaled(c->design, s);
    painter.place(c->parent->zoom(), -d.left / ratio, -d.top / ratio);
    c->paint(painter, s);
}

void frame(const std::function<std::unique_ptr<GraphicsPainter>(Native box)>& makePainter)
{
    for (ShellWindow* w : allWindows())
        if (w->alive())
            for (ShellPictureBox* b : w->boxes())
                if (auto painter = makePainter(b->native))
                    b->paintChanges(*painter);
}

void windowResized(Native window)
{
    if (ShellWindow* w = liveWindow(window))
        w->resized();
}

void windowStateChanged(Native window)
{
    if (ShellWindow* w = liveWindow(window))
        w->stateChanged();
}

void windowFramed(Native window)
{
    if (ShellWindow* w = liveWindow(window))
        w->framed();
}

void windowClosed(Native window)
{
    if (ShellWindow* w = windowOf(window))
        w->closed();
}

}  // namespace shell

// ---- time and the pause ---------------------------------------------------------------

namespace events {

std::int64_t monotonicMs()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

bool waitHandlingEvents(std::int32_t ms)
{
    if (ms <= 0)
        return true;
    // What the step before this pause changed is told before the wait.
    shell::dispatch([] {});
    const std::int64_t deadline = monotonicMs() + ms;
    for (;;) {
        const std::int64_t left = deadline - monotonicMs();
        if (left <= 0)
            return true;
        if (!backend::sleep(static_cast<int>(std::min<std::int64_t>(left, 1 << 30))))
            return false;  // woken: ストップ, or the program is ending
    }
}

void wake() { backend::wake(); }

}  // namespace events

// ---- what is kept between runs ------------------------------------------------------------

namespace settings {

namespace {
const std::string kZoom = "window/zoom";
}

void open(const std::string& path) { backend::openStore(path); }
void close() { backend::closeStore(); }

std::optional<double> keptZoom()
{
    const std::optional<std::string> kept = backend::stored(kZoom);
    if (!kept)
        return std::nullopt;
    char* end = nullptr;
    const double z = std::strtod(kept->c_str(), &end);
    if (end == kept->c_str() || *end != '\0' || !(z >= view::kMinZoom && z <= view::kMaxZoom))
        return std::nullopt;
    return z;
}

double savedZoom() { return keptZoom().value_or(1); }

std::optional<std::string> keptLanguage() { return backend::stored("lesson/language"); }
void saveLanguage(const std::string& code) { backend::store("lesson/language", code); }
bool keptReadAloud() { return backend::stored("lesson/readAloud").value_or("") == "1"; }
void saveReadAloud(bool on) { backend::store("lesson/readAloud", on ? "1" : "0"); }

void saveZoom(double z)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", z);
    backend::store(kZoom, text);
}

}  // namespace settings

namespace page {
std::string address() { return backend::address(); }
void notice(const std::string& text, bool error) { backend::notice(text, error); }
}  // namespace page

void handled(const std::function<void()>& handler) { shell::dispatch(handler); }

}  // namespace platform
