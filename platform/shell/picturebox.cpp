// A picture box for every platform: its drawing layer, what of it the screen
// must paint again, the painting of its pixels with the graphical controls
// and the keyboard's marks above them, its pointers, and the shell's own
// drawing of the text box and the check box for pictures.
#include <algorithm>
#include <cmath>

#include "platform/marks.h"
#include "platform/shell/shell.h"

namespace platform::shell {

namespace {

// The drawing area inside the box's 2-pixel border, in the layout's pixels.
Box inside(const Layout& l) { return {0, 0, twipsToPixels(l.width) - 4, twipsToPixels(l.height) - 4}; }

Box deviceRect(const Box& b, double s)
{
    const int left = toDevice(b.left, s), top = toDevice(b.top, s);
    return {left, top, toDevice(b.left + b.width, s) - left, toDevice(b.top + b.height, s) - top};
}

// A colour a shade darker, as the frame of a check box's box is drawn.
Colour darker(Colour c)
{
    const auto part = [c](int shift) { return static_cast<Colour>(((c >> shift) & 0xFF) * 79 / 100) << shift; };
    return part(0) | part(8) | part(16);
}

// Fills a band `width` device pixels wide just inside `outer`.
void band(GraphicsPainter& p, const Box& outer, int width, Colour colour)
{
    const int w = std::min({width, outer.width, outer.height});
    p.fillDevice({outer.left, outer.top, outer.width, w}, colour);
    p.fillDevice({outer.left, outer.top + outer.height - w, outer.width, w}, colour);
    p.fillDevice({outer.left, outer.top + w, w, outer.height - 2 * w}, colour);
    p.fillDevice({outer.left + outer.width - w, outer.top + w, w, outer.height - 2 * w}, colour);
}

}  // namespace

ShellPictureBox::ShellPictureBox(ShellWindow& w, ShellPictureBox* p, const Layout& l)
    : Control(w, p, l), layer_(inside(l).width, inside(l).height, l.back, backend::kPixelOrder)
{
    backColor_ = l.back;
    foreColor_ = l.fore;
    font_ = l.font;
    backend::NewControl s(backend::Kind::PictureBox);
    s.window = w.native();
    s.parent = p ? p->native : 0;
    s.back = l.back;
    s.fore = l.fore;
    s.font = l.font;
    native = backend::make(s);
    // A printed line is the face's line high.
    lineHeight_ = renderGlyphs(" ", fontPixels(font_.points), font_.bold).height;
}

void ShellPictureBox::place(double zoom, double ratio)
{
    Control::place(zoom, ratio);
    zoom_ = zoom;
    placeRatio_ = ratio;
    setDeviceRatio(backend::deviceRatio(native));
    for (Control* child : children)
        child->place(zoom, ratio);
}

void ShellPictureBox::setDeviceRatio(double ratio)
{
    deviceRatio_ = ratio;
    const double s = zoom_ * ratio;
    if (layer_.scale() == s && canvasSized_)
        return;
    canvasSized_ = true;
    layer_.setScale(s);
    const Image& image = layer_.display();
    backend::setCanvas(native, {image.width, image.height});
    dirty_ = {0, 0, image.width, image.height};
    backend::repaint(native, {});
}

Box ShellPictureBox::deviceBox(const Box& b) const
{
    const double s = layer_.scale();
    return {static_cast<int>(std::floor(b.left * s)) - 1, static_cast<int>(std::floor(b.top * s)) - 1,
            static_cast<int>(std::ceil(b.width * s)) + 3, static_cast<int>(std::ceil(b.height * s)) + 3};
}

void ShellPictureBox::invalidate(const Box& b)
{
    if (b.empty())
        return;
    dirty_ = dirty_.united(deviceBox(b));
    const double s = zoom_ * placeRatio_;
    if (s == 1) {
        backend::repaint(native, b);
        return;
    }
    backend::repaint(native, {static_cast<int>(std::floor(b.left * s)) - 1, static_cast<int>(std::floor(b.top * s)) - 1,
                              static_cast<int>(std::ceil(b.width * s)) + 3, static_cast<int>(std::ceil(b.height * s)) + 3});
}

// Drawing collects what it changed; the screen is told once, when the
// handler that drew has returned, instead of after every line and text.
void ShellPictureBox::drawn()
{
    if (flushQueued_)
        return;
    flushQueued_ = true;
    backend::later([n = native] {
        ShellWindow* w = windowOf(n);
        ShellPictureBox* box = w ? w->box(n) : nullptr;
        if (!box)
            return;  // the window went in the meantime
        box->flushQueued_ = false;
        box->invalidate(box->layer_.takeDirty());
    });
}

void ShellPictureBox::Cls()
{
    layer_.clear();
    currentX_ = currentY_ = 0;
    drawn();
}

void ShellPictureBox::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    currentX_ = x2;
    currentY_ = y2;
    layer_.line(x1, y1, x2, y2, colour, drawWidth_);
    drawn();
}

void ShellPictureBox::Print(const std::string& text)
{
    layer_.print(static_cast<int>(std::lround(currentX_)), static_cast<int>(std::lround(currentY_)), text, font_, foreColor_);
    drawn();
    currentX_ = 0;
    currentY_ += lineHeight_;
}

void ShellPictureBox::FloodFill(int x, int y, Colour border)
{
    if (fillStyle_ != 0)
        return;  // a transparent brush paints nothing
    layer_.fill(x, y, border, fillColor_);
    drawn();
}

Colour ShellPictureBox::Point(int x, int y) const
{
    if (x < 0 || y < 0 || x >= scaleWidth() || y >= scaleHeight())
        return 0xFFFFFFFFu;
    return layer_.pixel(x, y);
}

// ---- painting ----------------------------------------------------------------------

void ShellPictureBox::paintScreen(GraphicsPainter& p, const Box& dirty, double ratio)
{
    setDeviceRatio(backend::deviceRatio(native));
    const double zoom = layer_.scale() / ratio;
    const Box device{static_cast<int>(std::floor(dirty.left * ratio)), static_cast<int>(std::floor(dirty.top * ratio)),
                     static_cast<int>(std::ceil((dirty.left + dirty.width) * ratio) - std::floor(dirty.left * ratio)),
                     static_cast<int>(std::ceil((dirty.top + dirty.height) * ratio) - std::floor(dirty.top * ratio))};
    p.place(zoom);
    const Image& image = layer_.display();
    p.image(image, 0, 0, device);
    // Beyond the layer's last whole device pixel, the box's own colour.
    const int right = device.left + device.width, bottom = device.top + device.height;
    if (right > image.width)
        p.fillDevice({image.width, device.top, right - image.width, device.height}, backColor_);
    if (bottom > image.height)
        p.fillDevice({device.left, image.height, std::min(right, image.width) - device.left, bottom - image.height}, backColor_);
    paintGraphics(p, *this, dirty, zoom, ratio);
    paintMarks(p);
}

void ShellPictureBox::paintChanges(GraphicsPainter& p)
{
    const Box changed = layer_.takeDirty();
    if (!changed.empty())
        dirty_ = dirty_.united(deviceBox(changed));
    const Image& image = layer_.display();
    const int left = std::max(0, dirty_.left), top = std::max(0, dirty_.top);
    const Box d{left, top, std::min(image.width, dirty_.left + dirty_.width) - left,
                std::min(image.height, dirty_.top + dirty_.height) - top};
    dirty_ = {};
    if (d.empty())
        return;
    p.clip(d);
    paintScreen(p, d, 1);
    p.unclip();
}

// The cursor's frame and the selection's outline: bands of device pixels, as
// wide at every zoom as the marks are laid out. The platform keeps them to
// the part being painted.
void ShellPictureBox::paintMarks(GraphicsPainter& p) const
{
    const double s = layer_.scale();
    const int width = std::max(1, static_cast<int>(std::lround(marks::kBand * s)));
    if (showCursor_ && !cursor_.empty())
        band(p, deviceRect(cursor_, s), width, marks::kCursor);
    if (!selection_.empty())
        band(p, deviceRect(selection_, s), width, marks::kSelection);
}

void ShellPictureBox::paintPicture(GraphicsPainter& p, double s, int x, int y) const
{
    const Image image = layer_.render(s);
    const Box all{0, 0, image.width, image.height};
    p.place(s, x, y);
    p.clip(all);
    p.image(image, 0, 0, all);
    paintGraphics(p, *this, all, s, 1);
    // The windowed controls inside, drawn by the shell at that scale. The
    // keyboard's cursor and the selection are marks for the eye on screen,
    // not part of the lesson: they stay out of the picture.
    for (const Control* child : children)
        child->paint(p, s);
    p.unclip();
}

void ShellPictureBox::setMarks(Box cursor, bool showCursor, Box selection)
{
    const auto changed = [this](const Box& was, const Box& now) {
        if (was == now)
            return;
        for (const Box& b : {was, now})
            if (!b.empty())
                invalidate({b.left - 1, b.top - 1, b.width + 2, b.height + 2});
    };
    changed(showCursor_ ? cursor_ : Box{}, showCursor ? cursor : Box{});
    changed(selection_, selection);
    cursor_ = cursor;
    showCursor_ = showCursor;
    selection_ = selection;
}

void ShellPictureBox::setHitArea(ShellCheckBox* check, Box area)
{
    hitCheck_ = check;
    hitArea_ = area;
}

// ---- pointers -----------------------------------------------------------------------

void ShellPictureBox::mouse(Pointer what, std::int16_t button, std::int16_t shift, double x, double y)
{
    handle(what, button, shift, toLayout(x, zoom_), toLayout(y, zoom_));
}

void ShellPictureBox::pointer(Pointer what, int id, std::int16_t button, std::int16_t shift, double x, double y)
{
    std::optional<PointerRule::Event> e;
    switch (what) {
    case Pointer::Down: e = fingers_.pressed(id, x, y); break;
    case Pointer::Move: e = fingers_.moved(id, x, y); break;
    case Pointer::Up: e = fingers_.released(id, x, y); break;
    case Pointer::Cancel: e = fingers_.cancelled(kFarBelow * zoom_); break;
    case Pointer::Forget: fingers_ = PointerRule(); break;
    }
    if (e)
        handle(e->kind == PointerRule::Down ? Pointer::Down : e->kind == PointerRule::Move ? Pointer::Move : Pointer::Up,
               button, shift, toLayout(e->x, zoom_), toLayout(e->y, zoom_));
}

void ShellPictureBox::longPress(double x, double y)
{
    if (fingers_.active())
        return;  // a finger is dragging: its long press neither drops nor opens a menu
    handle(Pointer::Up, 2, 0, toLayout(x, zoom_), toLayout(y, zoom_));
}

void ShellPictureBox::handle(Pointer what, std::int16_t button, std::int16_t shift, double x, double y)
{
    if (hitCheck_) {
        // A press and release inside the hit area but beside the check box toggle it.
        const bool inside = x >= hitArea_.left && x <= hitArea_.left + hitArea_.width && y >= hitArea_.top &&
                            y <= hitArea_.top + hitArea_.height;
        if (what == Pointer::Down) {
            hitPressed_ = inside;
            if (inside)
                return;
        } else if (what == Pointer::Move && hitPressed_) {
            return;
        } else if (what == Pointer::Up && hitPressed_) {
            hitPressed_ = false;
            if (inside) {
                backend::focus(hitCheck_->native);
                dispatch([this] { hitCheck_->setValue(hitCheck_->Value() ? 0 : 1); });
            }
            return;
        }
    }
    const MouseHandler& h = what == Pointer::Down ? MouseDown : what == Pointer::Move ? MouseMove : MouseUp;
    if (h && window.alive())
        dispatch([&] { h(button, shift, static_cast<float>(x), static_cast<float>(y)); });
}

// ---- the shell's drawing of controls inside a box --------------------------------------

// Its colour, the box with its frame and, when ticked, the tick; the caption
// beside it, cut at the control's edge.
void ShellCheckBox::paint(GraphicsPainter& p, double s) const
{
    const Box d = scaled(design, s);
    p.fillDevice(d, back_);
    const double box = 14 * s, bx = d.left, by = d.top + (d.height - box) / 2;
    const int w = std::max(1, static_cast<int>(std::lround(s)));
    const int l = static_cast<int>(bx), t = static_cast<int>(by), n = static_cast<int>(box);
    for (const Box& side : {Box{l, t, n, w}, Box{l, t + n - w, n, w}, Box{l, t, w, n}, Box{l + n - w, t, w, n}})
        p.fillDevice(side, darker(back_));
    if (value_) {
        const double u = box / 14;
        p.stroke(bx + 3 * u, by + 7 * u, bx + 5.5 * u, by + 10 * u, 1.8 * u, fore_);
        p.stroke(bx + 5.5 * u, by + 10 * u, bx + 10 * u, by + 3 * u, 1.8 * u, fore_);
    }
    p.clip(d);
    p.text(bx + box + 6 * s, d.top + (d.height - fontPixels(font.points) * s) / 2, caption_, fontPixels(font.points),
           font.bold, s, fore_, false);
    p.unclip();
}

// A white field in a thin grey frame, the text at its left, in the middle.
void ShellTextBox::paint(GraphicsPainter& p, double s) const
{
    const Box d = scaled(design, s);
    const int w = std::max(1, static_cast<int>(std::lround(s)));
    p.fillDevice(d, 0xABABAB);
    p.fillDevice({d.left + w, d.top + w, d.width - 2 * w, d.height - 2 * w}, 0xFFFFFF);
    const int font = fontPixels(this->font.points);
    p.clip(d);
    p.text(d.left + 3 * s, d.top + (d.height - font * s) / 2, text_, font, false, s, 0, true);
    p.unclip();
}

}  // namespace platform::shell
