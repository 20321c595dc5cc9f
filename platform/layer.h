// The drawing layer of a picture box at any scale, without a toolkit. What
// Line, Print and the border fill put on it is kept twice over: as an image in
// the layout's own pixels (the one Point reads and the tests compare) and as
// an image at the screen's resolution, drawn there from the same calls rather
// than enlarged, so that lines keep one width, edges stay sharp and only the
// program's own colours appear. The calls since the last clear are kept, so
// that the layer can be drawn again at another scale: after a change of zoom,
// or for a picture on the clipboard or on paper. A platform supplies only the
// glyphs of printed texts (platform/glyphs.h) and shows the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/surface.h"

namespace platform {

// How a platform's images lay out a pixel's channels in a 32-bit word:
// 0xAARRGGBB (the desktop toolkit's), or red, green, blue, alpha bytes in
// memory (a browser's canvas), which on a little-endian machine is the
// program's own colour word 0x00BBGGRR with the alpha above.
enum class PixelOrder { Argb, Rgba };
std::uint32_t toWord(Colour c, PixelOrder order);
Colour toColour(std::uint32_t word, PixelOrder order);

// An image of opaque 32-bit pixels, rows `width` pixels apart.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    Image() = default;
    Image(int w, int h, std::uint32_t fill) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), fill) {}
    std::uint32_t* row(int y) { return pixels.data() + std::ptrdiff_t(y) * width; }
    const std::uint32_t* row(int y) const { return pixels.data() + std::ptrdiff_t(y) * width; }
    bool null() const { return pixels.empty(); }
    bool operator==(const Image&) const = default;
};

// Device pixel of layout coordinate v at scale s: v·s rounded half up. Every
// drawing at a scale places its edges with this one rule, so that the lines
// that bound a fill meet at the same pixels at every scale.
int toDevice(double v, double s);
// Device pixels across a line of the given width at scale s (at least one).
int deviceWidth(int width, double s);

class Layer {
public:
    Layer(int width, int height, Colour background, PixelOrder order);

    int width() const { return width_; }  ///< in the layout's pixels
    int height() const { return height_; }
    Colour background() const { return back_; }
    PixelOrder order() const { return order_; }

    // Drawing, in the layout's pixels. `width` is the pen width in pixels.
    void clear();
    void line(double x1, double y1, double x2, double y2, Colour colour, int width);
    void print(int left, int top, const std::string& text, const Font& font, Colour colour);
    void fill(int x, int y, Colour border, Colour colour);

    // The layer in the layout's pixels.
    const Image& design() const;
    Colour pixel(int x, int y) const;

    // The scale of the shown image: device pixels per layout pixel.
    double scale() const { return scale_; }
    // Draws the shown image again at scale s from the calls kept.
    void setScale(double s);
    // The shown image (the layout image itself at scale 1).
    const Image& display() const { return separate() ? display_ : design(); }
    // A new image of the layer at scale s, drawn from the calls kept: the same
    // pixels as display() would hold at that scale.
    Image render(double s) const;

    // What changed since the last call, in the layout's pixels.
    Box takeDirty();
    // How many drawing calls are kept (bounded however long a lesson runs).
    std::size_t kept() const { return live_; }
    // Counts every change of the layout image, for those who keep a copy of it.
    std::uint64_t version() const { return version_; }

private:
    // Pixel rectangle with exclusive right and bottom edges.
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool empty() const { return right <= left || bottom <= top; }
        Rect united(const Rect& o) const;
        Rect intersected(const Rect& o) const;
    };
    struct Call {
        enum Kind { Line, Print, Fill } kind = Line;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  ///< line ends; print's top left; fill's seed
        Colour colour = 0;   ///< pen, text or fill colour
        Colour border = 0;   ///< fill: the colour it stops at
        int width = 1;       ///< line: pen width
        Font font;           ///< print
        std::string text;    ///< print
        bool live = true;    ///< false once a later call covers exactly the same pixels
        bool sameFootprint(const Call& o) const;
    };
    // Draws one call onto an image at scale s; returns the device pixels it may have changed.
    Rect draw(Image& image, double s, const Call& c) const;
    void record(Call c);
    void forget(std::size_t index);
    void compact();
    void applyPending() const;
    static std::size_t footprint(const Call& c);
    bool separate() const { return scale_ != 1; }
    Image blank(double s) const;

    int width_, height_;
    Colour back_;
    PixelOrder order_;
    std::uint32_t backWord_;
    double scale_ = 1;
    mutable Image design_;
    Image display_;
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
    Rect dirty_;                 ///< in the layout's pixels
    Rect drawnDisplay_;          ///< what differs from the background since the last clear
    mutable Rect drawnDesign_;   ///< the same on the layout image
    Image base_;                 ///< what was drawn before the calls kept, when too many came
    mutable std::uint64_t version_ = 0;
};

}  // namespace platform
