#include "platform/qt_picturebox.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/floodfill.h"
#include "platform/qt_internal.h"

namespace platform::qt {

Canvas::Canvas(QtPictureBox& box, QWidget* parent) : QWidget(parent), box_(box)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
}

void Canvas::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r, box_.layer_, r);
    paintGraphics(p, box_, r);
}

void Canvas::deliver(QMouseEvent* e, int kind)
{
    const MouseHandler& h = kind == 0 ? box_.MouseDown : kind == 1 ? box_.MouseMove : box_.MouseUp;
    if (!h)
        return;
    // Down and up report the button that changed, move the buttons held.
    const Qt::MouseButtons buttons = kind == 1 ? e->buttons() : Qt::MouseButtons(e->button());
    std::int16_t button = 0;
    if (buttons & Qt::LeftButton) button |= 1;
    if (buttons & Qt::RightButton) button |= 2;
    if (buttons & Qt::MiddleButton) button |= 4;
    std::int16_t shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    const QPointF pos = e->position();
    // Pointer positions, also far outside the box while a button is held,
    // stay within what the handlers can take as 16-bit coordinates.
    const auto clampToShort = [](qreal v) { return static_cast<float>(std::clamp<qreal>(v, -30000, 30000)); };
    guarded([&] { h(button, shift, clampToShort(pos.x()), clampToShort(pos.y())); });
}

QtPictureBox::QtPictureBox(QWidget* parent, const Layout& l)
{
    frame_ = new QFrame(parent);
    frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame_->setLineWidth(2);
    frame_->setGeometry(twipsToPixels(l.left), twipsToPixels(l.top), twipsToPixels(l.width), twipsToPixels(l.height));
    frame_->setFocusPolicy(Qt::StrongFocus);
    canvas_ = new Canvas(*this, frame_);
    canvas_->setGeometry(2, 2, frame_->width() - 4, frame_->height() - 4);
    backColor_ = l.back;
    foreColor_ = l.fore;
    font_ = l.font;
    printFont_ = programFont(font_, false);
    lineHeight_ = QFontMetrics(printFont_).height();
    layer_ = QImage(canvas_->size(), QImage::Format_RGB32);
    layer_.fill(toQColor(backColor_));
}

void QtPictureBox::invalidate(const Box& b) { canvas_->update(toRect(b)); }

void QtPictureBox::Cls()
{
    layer_.fill(toQColor(backColor_));
    currentX_ = currentY_ = 0;
    markDirty(layer_.rect());
}

void QtPictureBox::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    currentX_ = x2;
    currentY_ = y2;
    if (straightLine(x1, y1, x2, y2, colour))
        return;
    // Always draw from the same end, so that a line drawn again backwards
    // covers exactly the same pixels.
    QPointF a(x1, y1), b(x2, y2);
    if (b.x() < a.x() || (b.x() == a.x() && b.y() < a.y()))
        std::swap(a, b);
    {
        QPainter p(&layer_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(toQColor(colour), drawWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(a, b);
    }
    const int m = drawWidth_ + 2;
    markDirty(QRectF(a, b).normalized().toAlignedRect().adjusted(-m, -m, m, m));
}

// Horizontal and vertical lines between whole pixels, which are nearly all
// the lines drawn (grid, outlines, axes), are written straight into the
// layer: the pixels the painter's wide pen would cover, at a fraction of
// the cost. False for any other line.
bool QtPictureBox::straightLine(float x1, float y1, float x2, float y2, Colour colour)
{
    const bool whole = x1 == std::floor(x1) && y1 == std::floor(y1) && x2 == std::floor(x2) && y2 == std::floor(y2);
    if (!whole || (x1 != x2 && y1 != y2) || (x1 == x2 && y1 == y2) || drawWidth_ > 3)
        return false;
    const int w = drawWidth_;
    const int across0 = -w / 2, across1 = across0 + w - 1;   // across the line
    const int before = w / 2, after = std::max(0, (w - 3) / 2);  // beyond its ends
    QRect r;
    if (y1 == y2) {
        const int lo = static_cast<int>(std::min(x1, x2)), hi = static_cast<int>(std::max(x1, x2));
        r = QRect(QPoint(lo - before, static_cast<int>(y1) + across0), QPoint(hi + after, static_cast<int>(y1) + across1));
    } else {
        const int lo = static_cast<int>(std::min(y1, y2)), hi = static_cast<int>(std::max(y1, y2));
        r = QRect(QPoint(static_cast<int>(x1) + across0, lo - before), QPoint(static_cast<int>(x1) + across1, hi + after));
    }
    r = r.intersected(layer_.rect());
    if (r.isEmpty())
        return true;
    const QRgb value = toQColor(colour).rgb();
    QRgb* base = pixels();
    const std::ptrdiff_t step = stride();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* row = base + y * step;
        std::fill(row + r.left(), row + r.right() + 1, value);
    }
    markDirty(r);
    return true;
}

void QtPictureBox::Print(const std::string& text)
{
    const QImage& mask = textMask(text);
    const int left = static_cast<int>(std::lround(currentX_)), top = static_cast<int>(std::lround(currentY_));
    const QRgb value = toQColor(foreColor_).rgb();
    QRgb* base = pixels();
    // The text is drawn once into a mask and then stamped: the same pixels
    // as drawing it directly without smoothing, far faster on repeats.
    for (int y = 0; y < mask.height(); ++y) {
        const int ly = top + y;
        if (ly < 0 || ly >= layer_.height())
            continue;
        const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        QRgb* out = base + ly * stride();
        for (int x = 0; x < mask.width(); ++x)
            if (qAlpha(in[x]) != 0 && left + x >= 0 && left + x < layer_.width())
                out[left + x] = value;
    }
    markDirty(QRect(left, top, mask.width(), mask.height()).adjusted(-2, -2, 2, 2));
    currentX_ = 0;
    currentY_ += lineHeight_;
}

const QImage& QtPictureBox::textMask(const std::string& text)
{
    auto it = masks_.find(text);
    if (it != masks_.end())
        return it->second;
    if (masks_.size() > 256)  // texts are few; keep the cache bounded all the same
        masks_.clear();
    const QString s = q(text);
    const QFontMetrics fm(printFont_);
    QImage mask(std::max(1, fm.horizontalAdvance(s) + 4), fm.height(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setFont(printFont_);
        p.setPen(Qt::black);
        p.drawText(mask.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, s);
    }
    return masks_.emplace(text, std::move(mask)).first->second;
}

void QtPictureBox::FloodFill(int x, int y, Colour border)
{
    if (fillStyle_ != 0)
        return;  // a transparent brush paints nothing
    const QRgb borderPixel = toQColor(border).rgb();
    const QRgb fillPixel = toQColor(fillColor_).rgb();
    if (borderFill(reinterpret_cast<std::uint32_t*>(layer_.bits()), layer_.width(), layer_.height(),
                   static_cast<int>(layer_.bytesPerLine() / 4), x, y, borderPixel, fillPixel) > 0)
        markDirty(layer_.rect());
}

Colour QtPictureBox::Point(int x, int y) const
{
    if (!layer_.rect().contains(x, y))
        return 0xFFFFFFFFu;
    return fromQColor(QColor(layer_.pixel(x, y)));
}

void QtPictureBox::markDirty(const QRect& r)
{
    const bool first = dirty_.isEmpty();
    dirty_ = dirty_.united(r);
    if (first)
        QMetaObject::invokeMethod(
            canvas_,
            [this] {
                canvas_->update(dirty_);
                dirty_ = QRect();
            },
            Qt::QueuedConnection);
}

}  // namespace platform::qt
