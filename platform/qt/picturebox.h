// A picture box on Qt Widgets: a sunken frame around a client area that shows
// the persistent drawing layer with the graphical controls above it, at the
// window's zoom.
#pragma once

#include <QFrame>
#include <QTouchEvent>
#include <QWidget>

#include "platform/layer.h"
#include "platform/pointer.h"
#include "platform/surface.h"

namespace platform::qt {

class QtPictureBox;

// The client area of a picture box: it paints the layer and the graphical
// controls, and hands the mouse (and one finger on a touch screen) to the
// box's handlers in the layout's pixels.
class Canvas : public QWidget {
public:
    Canvas(QtPictureBox& box, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    enum Kind { Down, Move, Up };
    void deliver(Kind kind, QPointF pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    bool touch(QTouchEvent* e);
    QtPictureBox& box_;
    PointerRule fingers_;
};

class QtPictureBox : public PictureBox {
public:
    QtPictureBox(QWidget* parent, const Layout& l);

    void invalidate(const Box& b) override;
    void Cls() override;
    void Line(float x1, float y1, float x2, float y2, Colour colour) override;
    void Print(const std::string& text) override;
    void FloodFill(int x, int y, Colour border) override;
    Colour Point(int x, int y) const override;
    int scaleWidth() const override { return layer_.width(); }
    int scaleHeight() const override { return layer_.height(); }

    // The zoom of the window: the layer is drawn at zoom × the screen's ratio.
    double zoom() const { return zoom_; }
    void setZoom(double z);
    // Brings the layer's scale in line with the zoom and the screen it is on.
    void fitLayer();

    // Copies of the layer's images for those who keep them (tests, pictures).
    const QImage& designImage() const;
    const QImage& displayImage() const;

    QFrame* frame_ = nullptr;
    Canvas* canvas_ = nullptr;
    Layer layer_;

private:
    // Drawing collects what it changed; the screen is told once, when the
    // handler that drew has returned, instead of after every line and text.
    void markDirty();

    struct Copy {
        QImage image;
        std::uint64_t version = ~std::uint64_t(0);
        double scale = 0;
    };
    mutable Copy design_, display_;
    bool updateQueued_ = false;
    int lineHeight_ = 0;
    double zoom_ = 1;
};

}  // namespace platform::qt
