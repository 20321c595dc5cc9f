// The window and its windowed controls for every platform: what each control
// keeps, where it goes at a zoom, the size of an ordinary window, the fit of
// a full screen, a maximised window or a browser's viewport, and the order of
// the focus. The backend makes and moves the native controls.
#include <algorithm>
#include <cmath>

#include "platform/marks.h"
#include "platform/shell/shell.h"

namespace platform {

namespace shell {

namespace {

std::vector<ShellWindow*>& windows()
{
    static std::vector<ShellWindow*> all;
    return all;
}

Box layoutBox(const Layout& l)
{
    return {twipsToPixels(l.left), twipsToPixels(l.top), twipsToPixels(l.width), twipsToPixels(l.height)};
}

backend::NewControl newControl(backend::Kind kind, const ShellWindow& w, const ShellPictureBox* parent,
                               const Layout& l, std::string text)
{
    backend::NewControl s(kind);
    s.window = w.native();
    s.parent = parent ? parent->native : 0;
    s.text = std::move(text);
    s.back = l.back;
    s.fore = l.fore;
    s.platformColours = l.defaultBack;
    s.font = l.font;
    return s;
}

}  // namespace

const std::vector<ShellWindow*>& allWindows() { return windows(); }

ShellWindow* windowOf(Native native)
{
    for (ShellWindow* w : windows())
        if (w->native() == native || w->find(native))
            return w;
    return nullptr;
}

// ---- controls ------------------------------------------------------------------

Control::Control(ShellWindow& w, ShellPictureBox* p, const Layout& l)
    : window(w), parent(p), design(layoutBox(l)), font(l.font), tabIndex(l.tabIndex)
{
}

void Control::place(double zoom, double ratio)
{
    backend::place(native, scaled({design.left, design.top, design.width + widened, design.height}, zoom * ratio), fontPixelsAt(font.points * textScale, zoom),
                   view::borderAt(zoom * ratio), zoom);
}

ShellButton::ShellButton(ShellWindow& w, const std::string& caption, const Layout& l)
    : Control(w, nullptr, l), caption_(caption), back_(l.back)
{
    native = backend::make(newControl(backend::Kind::Button, w, nullptr, l, caption));
}

// The face of a graphical button leaves its border and a little room on each side.
void ShellButton::relabel()
{
    const backend::Caption c = fitCaption(caption_, font, design.width - 8, design.height - 4);
    textScale = c.scale;
    backend::setCaption(native, c);
}

void ShellButton::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    backend::setEnabled(native, enabled);
}

ShellCheckBox::ShellCheckBox(ShellWindow& w, ShellPictureBox* p, const std::string& caption, int value, const Layout& l)
    : Control(w, p, l), caption_(caption), value_(value != 0), back_(l.back), fore_(l.fore)
{
    backend::NewControl s = newControl(backend::Kind::CheckBox, w, p, l, caption);
    s.checked = value_;
    native = backend::make(s);
}

// The box and the gap after it take 20 of the control's pixels. A caption too
// long for the box at its smallest takes the room beside it, where there is.
void ShellCheckBox::relabel()
{
    // Two pixels spare: at a zoom the font's size and the box's are rounded apart.
    const int room = design.width - 22;
    backend::Caption c = fitCaption(caption_, font, room, design.height);
    widened = 0;
    if (c.width > room + 0.5 && !parent) {
        c = fitCaption(caption_, font, room + window.roomBeside(*this), design.height);
        widened = static_cast<int>(std::ceil(std::max(0.0, c.width - room)));
    }
    textScale = c.scale;
    backend::setCaption(native, c);
}

void ShellCheckBox::setValue(int value)
{
    if ((value != 0) == value_)
        return;
    value_ = value != 0;
    backend::setChecked(native, value_);
    // As if ticked by hand: what a screen reader is told follows at once.
    if (Click)
        dispatch(Click);
}

void ShellCheckBox::toggled(bool value)
{
    if (value == value_)
        return;
    value_ = value;
    if (Click)
        Click();
}

ShellTextBox::ShellTextBox(ShellWindow& w, ShellPictureBox* p, const std::string& text, const Layout& l)
    : Control(w, p, l), text_(text)
{
    native = backend::make(newControl(backend::Kind::TextBox, w, p, l, text));
}

void ShellTextBox::setText(const std::string& text)
{
    if (text == text_)
        return;
    text_ = text;
    backend::setText(native, text);
}

ShellComboBox::ShellComboBox(ShellWindow& w, const std::vector<std::string>& items, const std::string& text, const Layout& l)
    : Control(w, nullptr, l), items_(items)
{
    backend::NewControl s = newControl(backend::Kind::ComboBox, w, nullptr, l, text);
    s.items = items;
    native = backend::make(s);
}

// ---- the window ------------------------------------------------------------------

ShellWindow::ShellWindow(const std::string& caption, Colour back, int clientW, int clientH) : caption_(caption), back_(back)
{
    const view::Size layout{twipsToPixels(clientW), twipsToPixels(clientH)};
    native_ = backend::makeWindow(lang::tr(caption), back, layout);
    const view::Frame frame;
    widthTwips_ = (layout.width + frame.left + frame.right) * 15;
    heightTwips_ = (layout.height + frame.top + frame.bottom) * 15;
    windows().push_back(this);
}

ShellWindow::~ShellWindow()
{
    alive_ = false;
    std::erase(windows(), this);
    byNative_.clear();
    byControl_.clear();
    controls_.clear();
    backend::destroyWindow(native_);
}

void ShellWindow::invalidate(const Box& b)
{
    if (placed_)
        backend::repaint(native_, scaled({b.left - 1, b.top - 1, b.width + 2, b.height + 2}, zoom_ * ratio_));
}

void ShellWindow::setWidth(int twips)
{
    widthTwips_ = twips;
    layOut();
}

void ShellWindow::setHeight(int twips)
{
    heightTwips_ = twips;
    layOut();
}

template <typename T>
T& ShellWindow::keep(std::unique_ptr<T> control)
{
    T& ref = *control;
    if (ref.parent)
        ref.parent->children.push_back(&ref);
    if constexpr (std::is_same_v<T, ShellPictureBox>)
        boxes_.push_back(&ref);
    // Shown at once where the window is laid out, as the toolkit shows a
    // control made in a visible window.
    ref.place(zoom_, ratio_);
    byNative_[ref.native] = &ref;
    byControl_[ref.control()] = &ref;
    controls_.push_back(std::move(control));
    return ref;
}

ShellPictureBox* ShellWindow::parentBox(Container* parent) const
{
    if (!parent || parent == this)
        return nullptr;
    return static_cast<ShellPictureBox*>(static_cast<PictureBox*>(parent));
}

PictureBox& ShellWindow::addPictureBox(Container* parent, const Layout& l)
{
    return keep(std::make_unique<ShellPictureBox>(*this, parentBox(parent), l));
}
CommandButton& ShellWindow::addButton(const std::string& caption, const Layout& l)
{
    return keep(std::make_unique<ShellButton>(*this, caption, l));
}
CheckBox& ShellWindow::addCheckBox(Container* parent, const std::string& caption, int value, const Layout& l)
{
    return keep(std::make_unique<ShellCheckBox>(*this, parentBox(parent), caption, value, l));
}
TextBox& ShellWindow::addTextBox(Container* parent, const std::string& text, const Layout& l)
{
    return keep(std::make_unique<ShellTextBox>(*this, parentBox(parent), text, l));
}
ComboBox& ShellWindow::addComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& l)
{
    return keep(std::make_unique<ShellComboBox>(*this, items, text, l));
}

void ShellWindow::setTabOrder()
{
    tabOrder_.clear();
    for (const auto& c : controls_)
        if (c->tabIndex >= 0)
            tabOrder_.push_back(c.get());
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(), [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    std::vector<Native> order;
    for (const Control* c : tabOrder_)
        order.push_back(c->native);
    backend::setTabOrder(order);
    if (const auto shown = focusOrder(); !shown.empty())
        backend::focus(shown.front()->native);  // the first takes the focus when the window opens
}

std::vector<const Control*> ShellWindow::focusOrder() const
{
    std::vector<const Control*> order;
    for (const Control* c : tabOrder_)
        if (std::find(hiddenPanes_.begin(), hiddenPanes_.end(), c) == hiddenPanes_.end())
            order.push_back(c);
    return order;
}

void ShellWindow::setPaneShown(const PictureBox& box, bool shown)
{
    const Control* pane = find(&box);
    if (!pane || shown == (std::find(hiddenPanes_.begin(), hiddenPanes_.end(), pane) == hiddenPanes_.end()))
        return;
    std::erase(hiddenPanes_, pane);
    if (!shown)
        hiddenPanes_.push_back(pane);
    backend::setShown(pane->native, shown);
    if (shown)
        return;
    // Before the window opens, the first control shown takes the focus; once
    // it is open, a pane that goes hands the focus on to the next one shown.
    const Native focused = backend::focused();
    if (showing_ && focused != pane->native)
        return;
    const auto order = focusOrder();
    if (order.empty())
        return;
    const Control* next = order.front();
    if (showing_)
        for (auto at = std::find(tabOrder_.begin(), tabOrder_.end(), pane); at != tabOrder_.end(); ++at)
            if (std::find(order.begin(), order.end(), *at) != order.end()) {
                next = *at;
                break;
            }
    backend::focus(next->native);
}

void ShellWindow::Show()
{
    // The window's labels, where the backend shows them as controls of their own.
    for (const Graphic* g : graphics())
        if (auto* label = dynamic_cast<const Label*>(g); label && !labels_.count(g)) {
            backend::NewControl s(backend::Kind::Label);
            s.window = native_;
            s.text = label->Caption();
            s.back = label->BackColor();
            s.fore = label->ForeColor();
            s.font = label->font();
            s.transparent = label->transparent();
            const Native native = labels_[g] = backend::make(s);
            if (native && lang::current().file)  // shown in another language already
                backend::setCaption(native, {label->shown(), label->textScale()});
        }
    showing_ = true;
    backend::showWindow(native_);
    placed_ = false;  // the labels made just now are placed too
    layOut();
}

void ShellWindow::End()
{
    if (!alive_)
        return;
    alive_ = false;
    events::wake();
    backend::endWindow(native_);
}

void ShellWindow::closed()
{
    alive_ = false;
    events::wake();
}

void ShellWindow::setZoom(double z)
{
    chosen_ = view::clampZoom(z);
    layOut();
}

double ShellWindow::largestZoom() const { return arrange(backend::surroundings(native_), client(), chosen_).largest; }

Arrangement arrange(const backend::Surroundings& s, view::Size client, std::optional<double> chosen)
{
    Arrangement a;
    a.largest = s.screen.width > 0 && s.screen.height > 0 ? view::largestZoom(s.screen, client, s.frame) : view::kMaxZoom;
    a.fitted = s.fills || (!s.sizable && !chosen);
    if (!s.sizable && (s.window.width <= 0 || s.window.height <= 0))
        return a;  // a page is laid out once it knows its viewport
    a.ready = true;
    if (a.fitted) {
        const view::Fit f = view::fit(s.window, client);
        a.zoom = f.zoom;
        a.shown = {f.left, f.top, 0, 0};
    } else if (s.sizable) {
        a.zoom = std::min(chosen.value_or(1), a.largest);
        a.sized = true;
    } else {
        // A page at a zoom asked for: centred where it is smaller than the viewport.
        a.zoom = *chosen;
        const view::Size shown = view::atZoom(client, a.zoom);
        a.shown = {std::max(0, (s.window.width - shown.width) / 2), std::max(0, (s.window.height - shown.height) / 2), 0, 0};
    }
    const view::Size shown = view::atZoom(client, a.zoom);
    a.shown.width = shown.width;
    a.shown.height = shown.height;
    return a;
}

void ShellWindow::layOut()
{
    if (!backend::surroundings(native_).sizable && !showing_)
        return;  // a page is laid out once it is shown
    const backend::Surroundings s = backend::surroundings(native_);
    const Arrangement a = arrange(s, client(), chosen_);
    if (!a.ready)
        return;
    fitted_ = a.fitted;
    if (a.sized)
        sizedFor_ = s.frame;
    apply(a.zoom, a.shown, s.ratio);
    if (a.sized)
        backend::sizeWindow(native_, {a.shown.width, a.shown.height});
}

void ShellWindow::apply(double zoom, Box shown, double ratio)
{
    const bool moved = shown.left != shown_.left || shown.top != shown_.top;
    shown_ = shown;
    backend::showLayout(native_, shown, zoom, marks::focusWidth(zoom));
    if (placed_ && zoom == zoom_ && ratio == ratio_ && !moved)
        return;
    placed_ = true;
    zoom_ = zoom;
    ratio_ = ratio;
    for (const auto& c : controls_)
        c->place(zoom, ratio);
    for (const auto& [g, native] : labels_)
        if (native) {
            const auto& l = static_cast<const Label&>(*g);
            backend::place(native, scaled({static_cast<int>(l.Left()), static_cast<int>(l.Top()), l.Width(), l.Height()}, zoom * ratio),
                           fontPixelsAt(l.font().points * l.textScale(), zoom), 0, zoom);
        }
    backend::repaint(native_, {});
    settled();
}

void ShellWindow::resized()
{
    if (fitted_ || !backend::surroundings(native_).sizable)
        layOut();
}

void ShellWindow::stateChanged()
{
    if (!backend::surroundings(native_).fills && !fitted_)
        return;
    layOut();
}

void ShellWindow::framed()
{
    const backend::Surroundings s = backend::surroundings(native_);
    if (!fitted_ && s.sizable && s.frame != sizedFor_)
        layOut();
}

void ShellWindow::paintLabels(GraphicsPainter& p, const Box& dirty, double ratio)
{
    const double zoom = zoom_ * ratio_;
    p.place(zoom, shown_.left, shown_.top);
    paintGraphics(p, *this, {dirty.left - shown_.left, dirty.top - shown_.top, dirty.width, dirty.height}, zoom, ratio);
}

Control* ShellWindow::find(Native native) const
{
    const auto it = byNative_.find(native);
    return native && it != byNative_.end() ? it->second : nullptr;
}

Control* ShellWindow::find(const void* control) const
{
    const auto it = byControl_.find(control);
    return it != byControl_.end() ? it->second : nullptr;
}

ShellPictureBox* ShellWindow::box(Native native) const
{
    for (ShellPictureBox* b : boxes_)
        if (b->native == native)
            return b;
    return nullptr;
}

}  // namespace shell

std::unique_ptr<Window> Window::create(const std::string& caption, Colour back, int clientW, int clientH)
{
    return std::make_unique<shell::ShellWindow>(caption, back, clientW, clientH);
}

}  // namespace platform
