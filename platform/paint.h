// Painting the graphical controls of a container (lines, labels, the shape)
// above its drawing, for any platform: which controls a repaint must draw, in
// which order, and where a straight line's pixels go at a scale. A platform
// supplies the strokes, the text and the circle.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/layer.h"
#include "platform/surface.h"

namespace platform {

class GraphicsPainter {
public:
    virtual ~GraphicsPainter() = default;
    // Where the container being painted lies: `scale` of the painter's pixels
    // to one of the layout's, its top left at (x, y) of the painter's pixels.
    // Every place below counts from there.
    void place(double scale, double x = 0, double y = 0) { scale_ = scale, x_ = x, y_ = y; }
    double scale() const { return scale_; }
    double x() const { return x_; }
    double y() const { return y_; }

    // A rectangle of device pixels in one colour.
    virtual void fillDevice(const Box& device, Colour colour) = 0;
    // A line control that is neither horizontal nor vertical: no smoothing, round ends.
    virtual void slopedLine(const LineControl& line) = 0;
    // A label: its background unless transparent, then its caption.
    virtual void label(const Label& label) = 0;
    virtual void shape(const Shape& shape) = 0;
    // An image of device pixels, one to one, with its top left at (x, y),
    // only where it meets `clip` (device pixels).
    virtual void image(const Image& image, int x, int y, const Box& clip) = 0;
    // A smoothed stroke with round ends from (x1, y1) to (x2, y2), `width`
    // wide, all in device pixels.
    virtual void stroke(double x1, double y1, double x2, double y2, double width, Colour colour) = 0;
    // A smoothed text with the top left of its line box at (x, y) (device
    // pixels): a font of `pixels` layout pixels, `scale` device pixels to one of
    // them; in the faces of the chosen language, or in the program's own face
    // when `ownFace` (digits, which sit as designed in every language).
    virtual void text(double x, double y, const std::string& text, int pixels, bool bold, double scale, Colour colour,
                      bool ownFace) = 0;
    // Painting keeps inside a box of device pixels until unclip().
    virtual void clip(const Box& device) = 0;
    virtual void unclip() = 0;

private:
    double scale_ = 1;
    double x_ = 0, y_ = 0;
};

// The device pixels of a horizontal or vertical line control at scale s: the
// rectangle its pen covers, in whole pixels, so that lines of one width stay
// one width on a scaled screen.
Box straightLinePixels(const LineControl& line, double s);
bool isStraight(const LineControl& line);

// Paints the graphical controls of `c` that meet `dirty` (the painter's
// pixels: the layout's at `zoom`), bottom first. The screen has `ratio`
// device pixels to one of the painter's.
void paintGraphics(GraphicsPainter& p, const Container& c, const Box& dirty, double zoom, double ratio);

// A caption with readings laid out word by word: each word's cell as wide as
// the word or its reading, whichever is wider, the reading centred above the
// word. `width(text, reading)` measures a word, or a reading at half the size.
struct RubyCell {
    double left, width;   ///< the cell, from the caption's left
    double text, reading; ///< the widths of its word and of its reading (0: none)
};
std::vector<RubyCell> rubyCells(const std::vector<lang::Run>& runs,
                                const std::function<double(const std::string& text, bool reading)>& width);

}  // namespace platform
