// The parts of the surface that need no toolkit: boxes, font sizes, and the
// graphical controls, which only keep their properties and ask their
// container to repaint what a change uncovers or covers.
#include "platform/surface.h"

#include <algorithm>
#include <cmath>

#include "platform/glyphs.h"

namespace platform {

Box Box::united(const Box& other) const
{
    if (empty())
        return other;
    if (other.empty())
        return *this;
    const int l = std::min(left, other.left), t = std::min(top, other.top);
    const int r = std::max(left + width, other.left + other.width);
    const int b = std::max(top + height, other.top + other.height);
    return {l, t, r - l, b - t};
}

bool Box::intersects(const Box& o) const
{
    return !empty() && !o.empty() && left < o.left + o.width && o.left < left + width && top < o.top + o.height &&
           o.top < top + height;
}

Box scaled(const Box& b, double zoom)
{
    if (zoom == 1)
        return b;
    const auto at = [zoom](int v) { return static_cast<int>(std::lround(v * zoom)); };
    return {at(b.left), at(b.top), at(b.left + b.width) - at(b.left), at(b.top + b.height) - at(b.top)};
}

int fontPixels(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

int fontPixelsAt(double points, double zoom)
{
    return std::max(1, static_cast<int>(std::lround(fontPixels(points) * zoom)));
}

// ---- graphical controls -------------------------------------------------

void Graphic::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    owner_.invalidate(bounds());
}

Graphic::Change::~Change()
{
    g_.owner_.invalidate(before_.united(g_.bounds()));
}

LineControl::LineControl(Container& owner, float x1, float y1, float x2, float y2, Colour colour, int width)
    : Graphic(owner), x1_(x1), y1_(y1), x2_(x2), y2_(y2), colour_(colour), width_(width)
{
}

void LineControl::setX1(float v) { Change c(*this); x1_ = v; }
void LineControl::setY1(float v) { Change c(*this); y1_ = v; }
void LineControl::setX2(float v) { Change c(*this); x2_ = v; }
void LineControl::setY2(float v) { Change c(*this); y2_ = v; }
void LineControl::Refresh() { owner().invalidate(bounds()); }

Box LineControl::bounds() const
{
    const int m = width_ / 2 + 2;
    const int l = static_cast<int>(std::floor(std::min(x1_, x2_))) - m;
    const int t = static_cast<int>(std::floor(std::min(y1_, y2_))) - m;
    const int r = static_cast<int>(std::ceil(std::max(x1_, x2_))) + m;
    const int b = static_cast<int>(std::ceil(std::max(y1_, y2_))) + m;
    return {l, t, r - l + 1, b - t + 1};
}

void Placed::setLeft(float v) { Change c(*this); left_ = v; }
void Placed::setTop(float v) { Change c(*this); top_ = v; }

Label::Label(Container& owner, std::string caption, Box box, Colour fore, Colour back, bool transparent, Font font)
    : Placed(owner, box), caption_(std::move(caption)), shown_{lang::Run{caption_, {}}}, fore_(fore), back_(back),
      transparent_(transparent), font_(font)
{
}

bool Label::hasReadings() const
{
    return std::any_of(shown_.begin(), shown_.end(), [](const lang::Run& r) { return !r.reading.empty(); });
}

void Label::show(std::vector<lang::Run> runs, double textScale, bool ownFace)
{
    if (runs == shown_ && textScale == textScale_ && ownFace == ownFace_)
        return;
    const Change change(*this);
    shown_ = std::move(runs);
    textScale_ = textScale;
    ownFace_ = ownFace;
}

Box Label::bounds() const
{
    // Glyphs of this face may reach past the box that the caption was laid
    // out for: repaint generously.
    return {static_cast<int>(std::floor(Left())) - 2, static_cast<int>(std::floor(Top())) - 2, Width() + Height() + 4,
            Height() + 4};
}

Box Shape::bounds() const
{
    return {static_cast<int>(std::floor(Left())) - 1, static_cast<int>(std::floor(Top())) - 1, Width() + 2, Height() + 2};
}

}  // namespace platform
