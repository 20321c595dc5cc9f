// A picture box on Qt Widgets: a sunken frame around a client area that shows
// the persistent drawing layer (a QImage) with the graphical controls above it.
#pragma once

#include <QFont>
#include <QFrame>
#include <QImage>
#include <QWidget>

#include <map>
#include <string>

#include "platform/surface.h"

namespace platform::qt {

class QtPictureBox;

// The client area of a picture box: it paints the layer and the graphical
// controls, and hands the mouse to the box's handlers.
class Canvas : public QWidget {
public:
    Canvas(QtPictureBox& box, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { deliver(e, 0); }
    void mouseMoveEvent(QMouseEvent* e) override { deliver(e, 1); }
    void mouseReleaseEvent(QMouseEvent* e) override { deliver(e, 2); }

private:
    void deliver(QMouseEvent* e, int kind);  // 0 down, 1 move, 2 up
    QtPictureBox& box_;
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

    QFrame* frame_ = nullptr;
    Canvas* canvas_ = nullptr;
    QImage layer_;

private:
    bool straightLine(float x1, float y1, float x2, float y2, Colour colour);
    const QImage& textMask(const std::string& text);
    // The layer's pixels for writing, once per drawing operation: bits()
    // makes the layer its own if a copy of it is held elsewhere (QImage's
    // scanLine would check that on every row).
    QRgb* pixels() { return reinterpret_cast<QRgb*>(layer_.bits()); }
    std::ptrdiff_t stride() const { return layer_.bytesPerLine() / 4; }
    // Drawing marks what it changed; the screen is told once, when the
    // handler that drew has returned, instead of after every line and text.
    void markDirty(const QRect& r);

    QRect dirty_;
    QFont printFont_;
    int lineHeight_ = 0;
    std::map<std::string, QImage> masks_;  ///< printed texts, rendered once
};

}  // namespace platform::qt
