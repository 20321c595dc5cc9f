// Painting the graphical controls of a container (lines, labels, the shape)
// above its drawing, for any platform: which controls a repaint must draw, in
// which order, and where a straight line's pixels go at a scale. A platform
// supplies the strokes, the text and the circle.
#pragma once

#include "platform/surface.h"

namespace platform {

class GraphicsPainter {
public:
    virtual ~GraphicsPainter() = default;
    // A rectangle of device pixels in one colour.
    virtual void fillDevice(const Box& device, Colour colour) = 0;
    // A line control that is neither horizontal nor vertical: no smoothing, round ends.
    virtual void slopedLine(const LineControl& line) = 0;
    // A label: its background unless transparent, then its caption.
    virtual void label(const Label& label) = 0;
    virtual void shape(const Shape& shape) = 0;
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

}  // namespace platform
