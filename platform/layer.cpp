#include "platform/layer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>

#include "platform/floodfill.h"
#include "platform/glyphs.h"

namespace platform {

std::uint32_t toWord(Colour c, PixelOrder order)
{
    c &= 0xFFFFFF;
    if (order == PixelOrder::Rgba)
        return 0xFF000000u | c;
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

Colour toColour(std::uint32_t word, PixelOrder order)
{
    word &= 0xFFFFFF;
    if (order == PixelOrder::Rgba)
        return word;
    return ((word & 0xFF) << 16) | (word & 0xFF00) | ((word >> 16) & 0xFF);
}

int toDevice(double v, double s) { return static_cast<int>(std::floor(v * s + 0.5)); }

int deviceWidth(int width, double s) { return std::max(1, static_cast<int>(std::lround(width * s))); }

namespace {

// Beyond this many kept calls the layer stops keeping them and is enlarged
// from its layout image when it must be drawn at another scale. The program
// never comes near it: what it draws between two clears covers a few hundred
// distinct places at most.
constexpr std::size_t kMaxKept = 20000;
// Calls kept for the layout image while another scale is shown; beyond them
// it is drawn afresh when it is read.
constexpr std::size_t kMaxPending = 4096;

// A printed text's glyphs, rendered once per text and size.
const GlyphMask& glyphs(const std::string& text, const Font& font, double s)
{
    using Key = std::tuple<std::string, int, bool>;
    static std::map<Key, GlyphMask> masks;
    const Key key{text, fontPixelsAt(font.points, s), font.bold};
    auto it = masks.find(key);
    if (it != masks.end())
        return it->second;
    if (masks.size() > 512)  // texts are few; keep the cache bounded all the same
        masks.clear();
    return masks.emplace(key, renderGlyphs(text, std::get<1>(key), font.bold)).first->second;
}

void fillRect(Image& image, int left, int top, int right, int bottom, std::uint32_t word)
{
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = image.row(y);
        std::fill(row + left, row + right, word);
    }
}

}  // namespace

Layer::Rect Layer::Rect::united(const Rect& o) const
{
    if (empty())
        return o;
    if (o.empty())
        return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
}

Layer::Rect Layer::Rect::intersected(const Rect& o) const
{
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    return r.empty() ? Rect{} : r;
}

bool Layer::Call::sameFootprint(const Call& o) const
{
    return kind == o.kind && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 && width == o.width &&
           text == o.text && font.points == o.font.points && font.bold == o.font.bold;
}

Layer::Layer(int width, int height, Colour background, PixelOrder order)
    : width_(width), height_(height), back_(background & 0xFFFFFF), order_(order), backWord_(toWord(background, order))
{
    design_ = blank(1);
}

Image Layer::blank(double s) const { return Image(toDevice(width_, s), toDevice(height_, s), backWord_); }

Layer::Rect Layer::draw(Image& image, double s, const Call& c) const
{
    const Rect whole{0, 0, image.width, image.height};
    switch (c.kind) {
    case Call::Line: {
        const std::uint32_t word = toWord(c.colour, order_);
        const int across = deviceWidth(c.width, s);
        const bool wholePixels = c.x1 == std::floor(c.x1) && c.y1 == std::floor(c.y1) && c.x2 == std::floor(c.x2) &&
                                 c.y2 == std::floor(c.y2);
        const bool straight = (c.x1 == c.x2) != (c.y1 == c.y2);
        if (wholePixels && straight && c.width <= 3) {
            // Horizontal and vertical lines between whole pixels, nearly all
            // the lines drawn, are the rectangle of pixels the pen covers.
            // Across the line it is always deviceWidth() pixels, so one width
            // stays one width at every scale; along it, it runs from the device
            // pixel of its first layout pixel to that of the pixel after its last.
            const int w = c.width;
            const int across0 = -w / 2;                                  // first pixel across the line
            const int before = w / 2, after = std::max(0, (w - 3) / 2);  // beyond its ends
            Rect r;
            if (c.y1 == c.y2) {
                const int lo = static_cast<int>(std::min(c.x1, c.x2)) - before;
                const int hi = static_cast<int>(std::max(c.x1, c.x2)) + after;
                const int top = toDevice(c.y1 + across0, s);
                r = {toDevice(lo, s), top, toDevice(hi + 1, s), top + across};
            } else {
                const int lo = static_cast<int>(std::min(c.y1, c.y2)) - before;
                const int hi = static_cast<int>(std::max(c.y1, c.y2)) + after;
                const int left = toDevice(c.x1 + across0, s);
                r = {left, toDevice(lo, s), left + across, toDevice(hi + 1, s)};
            }
            r = r.intersected(whole);
            fillRect(image, r.left, r.top, r.right, r.bottom, word);
            return r;
        }
        // Any other line is the set of device pixels whose centres lie closer
        // than half the pen's width to the segment between its ends, each end
        // on the device pixel of its layout point (a layout coordinate names
        // the middle of a pixel, at (v + ½)·s − ½): round ends, no smoothing,
        // the same pixels drawn from either end. An even width is centred on
        // the pixel edge before the point, as a straight line of that width is.
        const auto snap = [s](double v) { return std::floor((v + 0.5) * s); };
        const double shift = across % 2 == 0 ? -0.5 : 0;
        const double ax = snap(c.x1) + shift, ay = snap(c.y1) + shift, bx = snap(c.x2) + shift, by = snap(c.y2) + shift;
        const double r = across / 2.0, r2 = r * r;
        Rect box{static_cast<int>(std::floor(std::min(ax, bx) - r)), static_cast<int>(std::floor(std::min(ay, by) - r)),
                 static_cast<int>(std::ceil(std::max(ax, bx) + r)) + 1, static_cast<int>(std::ceil(std::max(ay, by) + r)) + 1};
        box = box.intersected(whole);
        const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
        for (int y = box.top; y < box.bottom; ++y) {
            std::uint32_t* row = image.row(y);
            for (int x = box.left; x < box.right; ++x) {
                double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                const double ex = ax + t * dx - x, ey = ay + t * dy - y;
                if (ex * ex + ey * ey < r2)
                    row[x] = word;
            }
        }
        return box;
    }
    case Call::Print: {
        // Stamped from the text's glyphs: the same pixels at every print of it.
        const GlyphMask& mask = glyphs(c.text, c.font, s);
        const int left = toDevice(c.x1, s), top = toDevice(c.y1, s);
        const std::uint32_t word = toWord(c.colour, order_);
        const int x0 = std::max(0, -left), x1 = std::min(mask.width, image.width - left);
        for (int y = std::max(0, -top); y < std::min(mask.height, image.height - top); ++y) {
            const std::uint8_t* in = mask.ink.data() + std::ptrdiff_t(y) * mask.width;
            std::uint32_t* out = image.row(top + y) + left;
            for (int x = x0; x < x1; ++x)
                if (in[x])
                    out[x] = word;
        }
        return Rect{left, top, left + mask.width, top + mask.height}.intersected(whole);
    }
    case Call::Fill: {
        // The seed is the device pixel in the middle of the seed's layout pixel.
        const int x = static_cast<int>(std::floor((c.x1 + 0.5) * s)), y = static_cast<int>(std::floor((c.y1 + 0.5) * s));
        FillBounds b;
        if (borderFill(image.pixels.data(), image.width, image.height, image.width, x, y, toWord(c.border, order_),
                       toWord(c.colour, order_), &b) > 0)
            return {b.left, b.top, b.right + 1, b.bottom + 1};
        return {};
    }
    }
    return {};
}

void Layer::clear()
{
    // Only what was drawn since the last clear differs from the background.
    const auto wipe = [this](Image& image, Rect& drawn) {
        if (!drawn.empty())
            fillRect(image, drawn.left, drawn.top, drawn.right, drawn.bottom, backWord_);
        drawn = {};
    };
    pending_.clear();
    if (designStale_) {  // nothing of it is kept: start from the background
        design_ = blank(1);
        drawnDesign_ = {};
        designStale_ = false;
    }
    wipe(design_, drawnDesign_);
    if (separate())
        wipe(display_, drawnDisplay_);
    calls_.clear();
    byFootprint_.clear();
    live_ = 0;
    base_ = Image();
    dirty_ = {0, 0, width_, height_};
    ++version_;
}

void Layer::line(double x1, double y1, double x2, double y2, Colour colour, int width)
{
    // A line covers the same pixels drawn from either end: keep it one way round.
    if (x2 < x1 || (x2 == x1 && y2 < y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    Call c;
    c.kind = Call::Line;
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    c.colour = colour & 0xFFFFFF;
    c.width = width;
    record(std::move(c));
}

void Layer::print(int left, int top, const std::string& text, const Font& font, Colour colour)
{
    Call c;
    c.kind = Call::Print;
    c.x1 = left, c.y1 = top;
    c.colour = colour & 0xFFFFFF;
    c.font = font;
    c.text = text;
    record(std::move(c));
}

void Layer::fill(int x, int y, Colour border, Colour colour)
{
    Call c;
    c.kind = Call::Fill;
    c.x1 = x, c.y1 = y;
    c.colour = colour & 0xFFFFFF;
    c.border = border & 0xFFFFFF;
    record(std::move(c));
}

void Layer::record(Call c)
{
    // Draw it where it shows now: on the layout image at scale 1, else on the
    // shown image (the layout image catches up when it is read).
    Rect device;
    if (!separate()) {
        device = draw(design_, 1, c);
        drawnDesign_ = drawnDesign_.united(device);
    } else {
        device = draw(display_, scale_, c);
        drawnDisplay_ = drawnDisplay_.united(device);
        if (!designStale_)
            pending_.push_back(c);
        if (pending_.size() > kMaxPending) {
            // Too much to catch up with call by call: the layout image is
            // drawn afresh from the calls kept when somebody reads it.
            pending_.clear();
            designStale_ = true;
        }
    }
    ++version_;
    if (!device.empty()) {
        const double s = scale_;
        dirty_ = dirty_.united({static_cast<int>(std::floor(device.left / s)) - 1, static_cast<int>(std::floor(device.top / s)) - 1,
                                static_cast<int>(std::ceil(device.right / s)) + 2, static_cast<int>(std::ceil(device.bottom / s)) + 2});
    }

    if (c.kind == Call::Fill) {
        // A fill depends on everything before it: nothing before it may be dropped any more.
        byFootprint_.clear();
    } else {
        const std::size_t key = footprint(c);
        auto [first, last] = byFootprint_.equal_range(key);
        for (auto it = first; it != last; ++it) {
            if (calls_[it->second].sameFootprint(c)) {
                forget(it->second);
                byFootprint_.erase(it);
                break;
            }
        }
        byFootprint_.emplace(key, calls_.size());
    }
    calls_.push_back(std::move(c));
    ++live_;
    if (live_ > kMaxKept) {
        // Not reached by the program; if it were, what was drawn so far is
        // enlarged from the layout image when another scale is wanted.
        base_ = design();
        calls_.clear();
        byFootprint_.clear();
        live_ = 0;
    }
    // Drop the forgotten calls once they are the majority.
    if (calls_.size() > 64 && calls_.size() > 2 * live_)
        compact();
}

void Layer::compact()
{
    std::size_t lastFill = 0;
    for (std::size_t i = 0; i < calls_.size(); ++i)
        if (calls_[i].kind == Call::Fill)
            lastFill = i + 1;
    std::vector<Call> kept;
    kept.reserve(live_);
    byFootprint_.clear();
    for (std::size_t i = 0; i < calls_.size(); ++i) {
        if (!calls_[i].live)
            continue;
        if (i >= lastFill)
            byFootprint_.emplace(footprint(calls_[i]), kept.size());
        kept.push_back(std::move(calls_[i]));
    }
    calls_ = std::move(kept);
}

void Layer::forget(std::size_t index)
{
    calls_[index].live = false;
    --live_;
}

std::size_t Layer::footprint(const Call& c)
{
    std::size_t h = std::hash<std::string>{}(c.text);
    for (double v : {c.x1, c.y1, c.x2, c.y2, double(c.width), c.font.points, double(c.font.bold), double(c.kind)})
        h = h * 1000003u ^ std::hash<double>{}(v);
    return h;
}

void Layer::applyPending() const
{
    if (designStale_) {
        design_ = render(1);
        drawnDesign_ = {0, 0, design_.width, design_.height};
        designStale_ = false;
    }
    for (const Call& c : pending_)
        drawnDesign_ = drawnDesign_.united(draw(design_, 1, c));
    pending_.clear();
}

const Image& Layer::design() const
{
    applyPending();
    return design_;
}

Colour Layer::pixel(int x, int y) const
{
    const Image& image = design();
    return toColour(image.row(y)[x], order_);
}

void Layer::setScale(double s)
{
    if (s == scale_)
        return;
    applyPending();
    scale_ = s;
    display_ = Image();  // the old scale's image is gone before the new one is drawn
    drawnDisplay_ = {};
    if (separate()) {
        display_ = render(s);
        drawnDisplay_ = {0, 0, display_.width, display_.height};
    }
    dirty_ = {0, 0, width_, height_};
}

Image Layer::render(double s) const
{
    Image image;
    if (base_.null()) {
        image = blank(s);
    } else {
        // Enlarged from the layout image, nearest pixel.
        image = blank(s);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.row(y)[x] = base_.row(std::min(base_.height - 1, static_cast<int>(y / s)))[std::min(base_.width - 1, static_cast<int>(x / s))];
    }
    for (const Call& c : calls_)
        if (c.live)
            draw(image, s, c);
    return image;
}

Box Layer::takeDirty()
{
    const Rect r = dirty_;
    dirty_ = {};
    if (r.empty())
        return {};
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace platform
