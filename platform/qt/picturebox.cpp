#include "platform/qt/picturebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTouchEvent>

#include <algorithm>
#include <cmath>

#include "platform/qt/internal.h"

namespace platform::qt {

namespace {
// The drawing area inside the frame's 2-pixel border, in the layout's pixels.
QSize clientSize(const Layout& l) { return {twipsToPixels(l.width) - 4, twipsToPixels(l.height) - 4}; }
}  // namespace

Canvas::Canvas(QtPictureBox& box, QWidget* parent) : QWidget(parent), box_(box)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_AcceptTouchEvents);
}

void Canvas::paintEvent(QPaintEvent* e)
{
    box_.fitLayer();
    QPainter p(this);
    const QRect r = e->rect();
    const QImage image = view(box_.layer_.display());
    const double z = box_.zoom();
    if (z == 1 && devicePixelRatioF() == 1) {
        p.drawImage(r, image, r);
    } else {
        // One image pixel to one screen pixel: the layer is drawn at this scale.
        const double ratio = devicePixelRatioF();
        p.setClipRect(r);
        p.save();
        p.scale(1 / ratio, 1 / ratio);
        p.drawImage(QPoint(0, 0), image);
        p.restore();
        const QRectF shown(0, 0, image.width() / ratio, image.height() / ratio);
        if (!shown.contains(QRectF(r)))  // beyond the layer's last whole pixel
            for (const QRectF& beyond : {QRectF(shown.right(), 0, width(), height()), QRectF(0, shown.bottom(), width(), height())})
                p.fillRect(beyond, toQColor(box_.BackColor()));
    }
    paintGraphics(p, box_, r, z);
}

void Canvas::mousePressEvent(QMouseEvent* e) { deliver(Down, e->position(), e->button(), e->modifiers()); }
void Canvas::mouseMoveEvent(QMouseEvent* e) { deliver(Move, e->position(), e->buttons(), e->modifiers()); }
void Canvas::mouseReleaseEvent(QMouseEvent* e) { deliver(Up, e->position(), e->button(), e->modifiers()); }

void Canvas::deliver(Kind kind, QPointF pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    const MouseHandler& h = kind == Down ? box_.MouseDown : kind == Move ? box_.MouseMove : box_.MouseUp;
    if (!h)
        return;
    // Down and up report the button that changed, move the buttons held.
    std::int16_t button = 0;
    if (buttons & Qt::LeftButton) button |= 1;
    if (buttons & Qt::RightButton) button |= 2;
    if (buttons & Qt::MiddleButton) button |= 4;
    std::int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    // The handlers work in the layout's pixels at every zoom.
    const double z = box_.zoom();
    guarded([&] { h(button, shift, toLayout(pos.x(), z), toLayout(pos.y(), z)); });
}

bool Canvas::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return touch(static_cast<QTouchEvent*>(e));
    default:
        return QWidget::event(e);
    }
}

// One finger drags as the left mouse button does (platform/pointer.h).
bool Canvas::touch(QTouchEvent* e)
{
    e->accept();  // handled here: no mouse events are made up from it
    const auto deliverEvent = [&](std::optional<PointerRule::Event> ev) {
        if (ev)
            deliver(ev->kind == PointerRule::Down ? Down : ev->kind == PointerRule::Move ? Move : Up, QPointF(ev->x, ev->y),
                    Qt::LeftButton, e->modifiers());
    };
    if (e->type() == QEvent::TouchCancel) {
        deliverEvent(fingers_.cancelled(kFarBelow * box_.zoom()));
        return true;
    }
    for (const QEventPoint& point : e->points()) {
        const QPointF at = point.position();
        if (point.state() == QEventPoint::Pressed)
            deliverEvent(fingers_.pressed(point.id(), at.x(), at.y()));
        else if (point.state() == QEventPoint::Released)
            deliverEvent(fingers_.released(point.id(), at.x(), at.y()));
        else
            deliverEvent(fingers_.moved(point.id(), at.x(), at.y()));
    }
    if (e->type() == QEvent::TouchEnd && fingers_.active())
        fingers_ = PointerRule();
    return true;
}

QtPictureBox::QtPictureBox(QWidget* parent, const Layout& l)
    : layer_(clientSize(l).width(), clientSize(l).height(), l.back, PixelOrder::Argb)
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
    lineHeight_ = QFontMetrics(programFont(font_, false)).height();
    fitLayer();  // a scaled screen's ratio is known before the box is shown
}

void QtPictureBox::setZoom(double z)
{
    zoom_ = z;
    fitLayer();
}

void QtPictureBox::fitLayer()
{
    const double scale = zoom_ * canvas_->devicePixelRatioF();
    if (layer_.scale() == scale)
        return;
    layer_.setScale(scale);
    markDirty();
}

void QtPictureBox::invalidate(const Box& b)
{
    if (zoom_ == 1) {
        canvas_->update(toRect(b));
        return;
    }
    canvas_->update(QRectF(b.left * zoom_, b.top * zoom_, b.width * zoom_, b.height * zoom_).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void QtPictureBox::Cls()
{
    layer_.clear();
    currentX_ = currentY_ = 0;
    markDirty();
}

void QtPictureBox::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    currentX_ = x2;
    currentY_ = y2;
    layer_.line(x1, y1, x2, y2, colour, drawWidth_);
    markDirty();
}

void QtPictureBox::Print(const std::string& text)
{
    layer_.print(static_cast<int>(std::lround(currentX_)), static_cast<int>(std::lround(currentY_)), text, font_, foreColor_);
    markDirty();
    currentX_ = 0;
    currentY_ += lineHeight_;
}

void QtPictureBox::FloodFill(int x, int y, Colour border)
{
    if (fillStyle_ != 0)
        return;  // a transparent brush paints nothing
    layer_.fill(x, y, border, fillColor_);
    markDirty();
}

Colour QtPictureBox::Point(int x, int y) const
{
    if (x < 0 || y < 0 || x >= scaleWidth() || y >= scaleHeight())
        return 0xFFFFFFFFu;
    return layer_.pixel(x, y);
}

const QImage& QtPictureBox::designImage() const
{
    if (design_.version != layer_.version()) {
        design_.image = view(layer_.design()).copy();
        design_.version = layer_.version();
    }
    return design_.image;
}

const QImage& QtPictureBox::displayImage() const
{
    if (display_.version != layer_.version() || display_.scale != layer_.scale()) {
        display_.image = view(layer_.display()).copy();
        display_.version = layer_.version();
        display_.scale = layer_.scale();
    }
    return display_.image;
}

void QtPictureBox::markDirty()
{
    if (updateQueued_)
        return;
    updateQueued_ = true;
    QMetaObject::invokeMethod(
        canvas_,
        [this] {
            updateQueued_ = false;
            const Box r = layer_.takeDirty();
            if (!r.empty())
                invalidate(r);
        },
        Qt::QueuedConnection);
}

}  // namespace platform::qt
