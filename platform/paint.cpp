#include "platform/paint.h"

#include <algorithm>
#include <cmath>

#include "platform/backend.h"

namespace platform {

namespace {

// A label with readings: each word, its reading centred above it at half the
// size, as the captions of the controls show them.
void labelWithReadings(GraphicsPainter& p, const Label& label)
{
    const double s = p.scale();
    if (!label.transparent())
        p.fillDevice(scaled({static_cast<int>(label.Left()), static_cast<int>(label.Top()), label.Width(), label.Height()}, s),
                     label.BackColor());
    const bool bold = label.font().bold;
    const int pixels = static_cast<int>(std::lround(fontPixels(label.font().points) * label.textScale()));
    const int small = std::max(1, pixels / 2);
    const auto& runs = label.shown();
    const auto cells = rubyCells(runs, [&](const std::string& text, bool reading) {
        return backend::textWidth(text, reading ? small : pixels, bold);
    });
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RubyCell& c = cells[i];
        const double x = label.Left() + c.left;
        if (c.reading > 0)
            p.text((x + (c.width - c.reading) / 2) * s, label.Top() * s, runs[i].reading, small, bold, s, label.ForeColor(), false);
        p.text((x + (c.width - c.text) / 2) * s, (label.Top() + small) * s, runs[i].text, pixels, bold, s, label.ForeColor(), false);
    }
}

}  // namespace

std::vector<RubyCell> rubyCells(const std::vector<lang::Run>& runs,
                                const std::function<double(const std::string& text, bool reading)>& width)
{
    std::vector<RubyCell> cells;
    double left = 0;
    for (const lang::Run& r : runs) {
        RubyCell c{left, 0, width(r.text, false), r.reading.empty() ? 0 : width(r.reading, true)};
        c.width = std::max(c.text, c.reading);
        left += c.width;
        cells.push_back(c);
    }
    return cells;
}

bool isStraight(const LineControl& line)
{
    return (line.X1() == line.X2()) != (line.Y1() == line.Y2());
}

Box straightLinePixels(const LineControl& line, double s)
{
    const double half = line.BorderWidth() / 2.0;
    const double left = std::min(line.X1(), line.X2()) - half, top = std::min(line.Y1(), line.Y2()) - half;
    const double width = std::fabs(line.X2() - line.X1()) + 2 * half, height = std::fabs(line.Y2() - line.Y1()) + 2 * half;
    const auto at = [](double v) { return static_cast<int>(std::lround(v)); };
    return {at(left * s), at(top * s), at(width * s), at(height * s)};
}

void paintGraphics(GraphicsPainter& p, const Container& c, const Box& dirty, double zoom, double ratio)
{
    const auto& gs = c.graphics();
    for (auto it = gs.rbegin(); it != gs.rend(); ++it) {
        const Graphic* g = *it;
        if (!g->Visible())
            continue;
        const Box b = scaled(g->bounds(), zoom);
        if (!dirty.intersects({b.left - 1, b.top - 1, b.width + 2, b.height + 2}))
            continue;
        if (auto* line = dynamic_cast<const LineControl*>(g)) {
            // A straight line is the rectangle its pen covers (the tray band
            // is 150 pixels thick: stroking it would be slow).
            if (isStraight(*line))
                p.fillDevice(straightLinePixels(*line, zoom * ratio), line->BorderColor());
            else
                p.slopedLine(*line);
        } else if (auto* label = dynamic_cast<const Label*>(g)) {
            if (label->hasReadings())
                labelWithReadings(p, *label);
            else
                p.label(*label);
        } else if (auto* shape = dynamic_cast<const Shape*>(g)) {
            p.shape(*shape);
        }
    }
}

}  // namespace platform
