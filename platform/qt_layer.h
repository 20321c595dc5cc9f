// The drawing layer of a picture box at any scale. What Line, Print and the
// border fill put on it is kept twice over: as an image in the layout's own
// pixels (the one Point reads and the tests compare) and as an image at the
// screen's resolution, drawn there from the same calls rather than enlarged,
// so that lines keep one width, edges stay sharp and only the program's own
// colours appear. The calls since the last clear are kept, so that the layer
// can be drawn again at another scale: after a change of zoom, or for a
// picture on the clipboard or on paper.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "platform/surface.h"

namespace platform::qt {

// Device pixel of layout coordinate v at scale s: v·s rounded half up. Every
// drawing at a scale places its edges with this one rule, so that the lines
// that bound a fill meet at the same pixels at every scale.
int toDevice(double v, double s);
// Device pixels across a line of the given width at scale s (at least one).
int deviceWidth(int width, double s);

class Layer {
public:
    Layer(QSize size, QRgb background);

    QSize size() const { return size_; }  ///< in the layout's pixels
    QRgb background() const { return back_; }

    // Drawing, in the layout's pixels. `width` is the pen width in pixels.
    void clear();
    void line(QPointF from, QPointF to, QRgb colour, int width);
    void print(QPoint topLeft, const QString& text, const Font& font, QRgb colour);
    void fill(QPoint seed, QRgb border, QRgb colour);

    // The layer in the layout's pixels.
    const QImage& design() const;
    QRgb pixel(int x, int y) const;

    // The scale of the shown image: device pixels per layout pixel.
    double scale() const { return scale_; }
    // Draws the shown image again at scale s from the calls kept.
    void setScale(double s);
    // The shown image (the layout image itself at scale 1).
    const QImage& display() const { return separate() ? display_ : design(); }
    // A new image of the layer at scale s, drawn from the calls kept: the same
    // pixels as display() would hold at that scale.
    QImage render(double s) const;

    // What changed since the last call, in the layout's pixels.
    QRect takeDirty();
    // How many drawing calls are kept (bounded however long a lesson runs).
    std::size_t kept() const { return live_; }

private:
    struct Call {
        enum Kind { Line, Print, Fill } kind;
        QPointF a, b;      ///< line ends; print's top left; fill's seed
        QRgb colour;       ///< pen, text or fill colour
        QRgb border = 0;   ///< fill: the colour it stops at
        int width = 1;     ///< line: pen width
        Font font;         ///< print
        QString text;      ///< print
        bool live = true;  ///< false once a later call covers exactly the same pixels
    };
    // Draws one call onto an image at scale s; returns the layout pixels it may have changed.
    static QRect draw(QImage& image, double s, const Call& c);
    void record(Call c);
    void forget(std::size_t index);
    void compact();
    void applyPending() const;
    static std::size_t footprint(const Call& c);
    bool separate() const { return scale_ != 1; }

    QSize size_;
    QRgb back_;
    double scale_ = 1;
    mutable QImage design_;
    QImage display_;
    // Calls not yet drawn onto the layout image while another scale is shown:
    // it is brought up to date when somebody reads it.
    mutable std::vector<Call> pending_;
    mutable bool designStale_ = false;  ///< too many were pending: draw it afresh when read
    std::vector<Call> calls_;
    std::size_t live_ = 0;
    // Live calls by the pixels they cover. A call that covers exactly the
    // pixels of an earlier one (the grid drawn again over the trace, a piece
    // of trace wiped in the background colour) makes the earlier one
    // redundant, unless a fill came between them: a fill depends on what was
    // there before it.
    std::unordered_multimap<std::size_t, std::size_t> byFootprint_;
    QRect dirty_;
    QRect drawnDisplay_;           ///< what differs from the background since the last clear
    mutable QRect drawnDesign_;    ///< the same on the layout image
    QImage base_;                  ///< what was drawn before the calls kept, when too many came
};

}  // namespace platform::qt
