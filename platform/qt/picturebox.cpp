// A picture box on Qt Widgets: a sunken frame around a canvas that the shell
// paints (the layer, the graphical controls above it, the keyboard's marks),
// and the mouse and fingers on it handed to the shell.
#include <QMouseEvent>
#include <QPainter>
#include <QTouchEvent>

#include "platform/qt/internal.h"
#include "platform/shell/shell.h"

namespace platform {

namespace qt {

BoxFrame::BoxFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    canvas = new Canvas(this);
}

Canvas::Canvas(QWidget* frame) : QWidget(frame)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_AcceptTouchEvents);
}

void Canvas::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    Painter painter(p, devicePixelRatioF());
    const QRect r = e->rect();
    shell::paint(nativeOf(parentWidget()), painter, {r.left(), r.top(), r.width(), r.height()}, devicePixelRatioF());
}

void Canvas::mousePressEvent(QMouseEvent* e) { deliver(shell::Pointer::Down, e->position(), e->button(), e->modifiers()); }
void Canvas::mouseMoveEvent(QMouseEvent* e) { deliver(shell::Pointer::Move, e->position(), e->buttons(), e->modifiers()); }
void Canvas::mouseReleaseEvent(QMouseEvent* e) { deliver(shell::Pointer::Up, e->position(), e->button(), e->modifiers()); }

void Canvas::deliver(shell::Pointer what, QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    // Down and up report the button that changed, move the buttons held.
    std::int16_t button = 0;
    if (buttons & Qt::LeftButton) button |= 1;
    if (buttons & Qt::RightButton) button |= 2;
    if (buttons & Qt::MiddleButton) button |= 4;
    std::int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    shell::mouse(nativeOf(parentWidget()), what, button, shift, at.x(), at.y());
}

bool Canvas::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
        // Handled here: no mouse events are made up from it. One finger drags
        // as the left mouse button does.
        auto* t = static_cast<QTouchEvent*>(e);
        t->accept();
        const Native box = nativeOf(parentWidget());
        if (t->type() == QEvent::TouchCancel) {
            shell::pointer(box, shell::Pointer::Cancel, 0, 1, 0, 0, 0);
            return true;
        }
        for (const QEventPoint& point : t->points()) {
            const shell::Pointer what = point.state() == QEventPoint::Pressed    ? shell::Pointer::Down
                                        : point.state() == QEventPoint::Released ? shell::Pointer::Up
                                                                                 : shell::Pointer::Move;
            shell::pointer(box, what, point.id(), 1, 0, point.position().x(), point.position().y());
        }
        if (t->type() == QEvent::TouchEnd)
            shell::pointer(box, shell::Pointer::Forget, 0, 0, 0, 0, 0);
        return true;
    }
    default:
        return QWidget::event(e);
    }
}

}  // namespace qt

namespace backend {

using namespace qt;

void setCanvas(Native, view::Size) {}  // the canvas fills the frame's inside

double deviceRatio(Native box) { return widget<BoxFrame>(box)->canvas->devicePixelRatioF(); }

}  // namespace backend

}  // namespace platform
