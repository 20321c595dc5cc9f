#include "platform/qt_layer.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/floodfill.h"
#include "platform/qt_bridge.h"

namespace platform::qt {

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

// An image's pixels for writing, fetched once per drawing call: bits() makes
// the image its own if a copy of it is held elsewhere, which costs a check
// every time it is called.
class Pixels {
public:
    explicit Pixels(QImage& image)
        : base_(reinterpret_cast<QRgb*>(image.bits())), stride_(image.bytesPerLine() / 4), width_(image.width()),
          height_(image.height())
    {
    }
    QRgb* row(int y) const { return base_ + std::ptrdiff_t(y) * stride_; }
    QRgb* base() const { return base_; }
    int stride() const { return static_cast<int>(stride_); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    QRgb* base_;
    std::ptrdiff_t stride_;
    int width_, height_;
};

// A printed text, rendered once per size into a mask without smoothing.
const QImage& textMask(const QString& text, const Font& font, double s)
{
    using Key = std::tuple<QString, int, bool>;
    static std::map<Key, QImage> masks;
    const Key key{text, fontPixelsAt(font.points, s), font.bold};
    auto it = masks.find(key);
    if (it != masks.end())
        return it->second;
    if (masks.size() > 512)  // texts are few; keep the cache bounded all the same
        masks.clear();
    const QFont f = programFont(font, false, s);
    const QFontMetrics fm(f);
    const int slack = 4 * static_cast<int>(std::ceil(s));
    QImage mask(std::max(1, fm.horizontalAdvance(text) + slack), fm.height(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(mask.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    }
    return masks.emplace(key, std::move(mask)).first->second;
}

// Horizontal and vertical lines between whole pixels, nearly all the lines
// drawn, are written straight into the image as the rectangle of pixels the
// pen covers. Across the line the rectangle is always deviceWidth() pixels,
// so one width stays one width at every scale; along it, it runs from the
// device pixel of its first layout pixel to that of the pixel after its last.
// False for any other line.
bool straightLine(QImage& image, double s, QPointF a, QPointF b, QRgb colour, int w, QRect* touched)
{
    const bool whole = a.x() == std::floor(a.x()) && a.y() == std::floor(a.y()) && b.x() == std::floor(b.x()) &&
                       b.y() == std::floor(b.y());
    if (!whole || (a.x() != b.x() && a.y() != b.y()) || a == b || w > 3)
        return false;
    const int across0 = -w / 2;                                  // first pixel across the line
    const int before = w / 2, after = std::max(0, (w - 3) / 2);  // beyond its ends
    const int across = deviceWidth(w, s);
    QRect r;
    if (a.y() == b.y()) {
        const int lo = static_cast<int>(std::min(a.x(), b.x())) - before, hi = static_cast<int>(std::max(a.x(), b.x())) + after;
        const int top = toDevice(a.y() + across0, s);
        r = QRect(QPoint(toDevice(lo, s), top), QPoint(toDevice(hi + 1, s) - 1, top + across - 1));
    } else {
        const int lo = static_cast<int>(std::min(a.y(), b.y())) - before, hi = static_cast<int>(std::max(a.y(), b.y())) + after;
        const int left = toDevice(a.x() + across0, s);
        r = QRect(QPoint(left, toDevice(lo, s)), QPoint(left + across - 1, toDevice(hi + 1, s) - 1));
    }
    r = r.intersected(image.rect());
    *touched = r;
    if (r.isEmpty())
        return true;
    const Pixels pixels(image);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* row = pixels.row(y);
        std::fill(row + r.left(), row + r.right() + 1, colour);
    }
    return true;
}

}  // namespace

Layer::Layer(QSize size, QRgb background) : size_(size), back_(background | 0xFF000000u)
{
    design_ = QImage(size_, QImage::Format_RGB32);
    design_.fill(back_);
}

QRect Layer::draw(QImage& image, double s, const Call& c)
{
    QRect touched;
    switch (c.kind) {
    case Call::Line: {
        if (straightLine(image, s, c.a, c.b, c.colour, c.width, &touched))
            break;
        // Any other line goes through the painter without smoothing, always
        // from the same end, so that the line drawn again backwards covers
        // exactly the same pixels. A layout coordinate names the middle of a
        // pixel, which at scale s lies at (v + ½)·s − ½.
        QPointF a = c.a, b = c.b;
        if (b.x() < a.x() || (b.x() == a.x() && b.y() < a.y()))
            std::swap(a, b);
        const auto map = [s](QPointF p) { return QPointF((p.x() + 0.5) * s - 0.5, (p.y() + 0.5) * s - 0.5); };
        const int w = deviceWidth(c.width, s);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(QColor::fromRgb(c.colour), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(map(a), map(b));
        }
        const int m = w + 2;
        touched = QRectF(map(a), map(b)).normalized().toAlignedRect().adjusted(-m, -m, m, m).intersected(image.rect());
        break;
    }
    case Call::Print: {
        // The text is drawn once into a mask and then stamped: the same pixels
        // as drawing it directly without smoothing, far faster on repeats.
        const QImage& mask = textMask(c.text, c.font, s);
        const int left = toDevice(c.a.x(), s), top = toDevice(c.a.y(), s);
        const Pixels pixels(image);
        const int x0 = std::max(0, -left), x1 = std::min(mask.width(), pixels.width() - left);
        for (int y = std::max(0, -top); y < std::min(mask.height(), pixels.height() - top); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            QRgb* out = pixels.row(top + y) + left;
            for (int x = x0; x < x1; ++x)
                if (qAlpha(in[x]) != 0)
                    out[x] = c.colour;
        }
        touched = QRect(left, top, mask.width(), mask.height()).intersected(image.rect());
        break;
    }
    case Call::Fill: {
        // The seed is the device pixel in the middle of the seed's layout pixel.
        const int x = static_cast<int>(std::floor((c.a.x() + 0.5) * s)), y = static_cast<int>(std::floor((c.a.y() + 0.5) * s));
        FillBounds box;
        const Pixels pixels(image);
        if (borderFill(pixels.base(), pixels.width(), pixels.height(), pixels.stride(), x, y, c.border, c.colour, &box) > 0)
            touched = QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom));
        break;
    }
    }
    return touched;
}

void Layer::clear()
{
    // Only what was drawn since the last clear differs from the background.
    const auto wipe = [this](QImage& image, QRect& drawn) {
        if (drawn.isEmpty())
            return;
        const Pixels pixels(image);
        for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
            QRgb* row = pixels.row(y);
            std::fill(row + drawn.left(), row + drawn.right() + 1, back_);
        }
        drawn = QRect();
    };
    pending_.clear();
    if (designStale_) {  // nothing of it is kept: start from the background
        design_.fill(back_);
        drawnDesign_ = QRect();
        designStale_ = false;
    }
    wipe(design_, drawnDesign_);
    if (separate())
        wipe(display_, drawnDisplay_);
    calls_.clear();
    byFootprint_.clear();
    live_ = 0;
    base_ = QImage();
    dirty_ = QRect(QPoint(0, 0), size_);
}

void Layer::line(QPointF from, QPointF to, QRgb colour, int width)
{
    // A line covers the same pixels drawn from either end: keep it one way round.
    if (to.x() < from.x() || (to.x() == from.x() && to.y() < from.y()))
        std::swap(from, to);
    record({Call::Line, from, to, colour | 0xFF000000u, 0, width, {}, {}});
}

void Layer::print(QPoint topLeft, const QString& text, const Font& font, QRgb colour)
{
    record({Call::Print, topLeft, {}, colour | 0xFF000000u, 0, 1, font, text});
}

void Layer::fill(QPoint seed, QRgb border, QRgb colour)
{
    record({Call::Fill, seed, {}, colour | 0xFF000000u, border | 0xFF000000u, 1, {}, {}});
}

void Layer::record(Call c)
{
    // Draw it where it shows now: on the layout image at scale 1, else on the
    // shown image (the layout image catches up when it is read).
    QRect device;
    if (!separate()) {
        device = draw(design_, 1, c);
        drawnDesign_ |= device;
    } else {
        device = draw(display_, scale_, c);
        drawnDisplay_ |= device;
        if (!designStale_)
            pending_.push_back(c);
        if (pending_.size() > kMaxPending) {
            // Too much to catch up with call by call: the layout image is
            // drawn afresh from the calls kept when somebody reads it.
            pending_.clear();
            designStale_ = true;
        }
    }
    if (!device.isEmpty()) {
        const double s = scale_;
        dirty_ |= QRect(QPoint(static_cast<int>(std::floor(device.left() / s)) - 1, static_cast<int>(std::floor(device.top() / s)) - 1),
                        QPoint(static_cast<int>(std::ceil((device.right() + 1) / s)) + 1,
                               static_cast<int>(std::ceil((device.bottom() + 1) / s)) + 1));
    }

    if (c.kind == Call::Fill) {
        // A fill depends on everything before it: nothing before it may be dropped any more.
        byFootprint_.clear();
    } else {
        const std::size_t key = footprint(c);
        auto [first, last] = byFootprint_.equal_range(key);
        for (auto it = first; it != last; ++it) {
            const Call& old = calls_[it->second];
            if (old.kind == c.kind && old.a == c.a && old.b == c.b && old.width == c.width && old.text == c.text &&
                old.font.points == c.font.points && old.font.bold == c.font.bold) {
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
        base_ = design().copy();
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
    std::size_t h = qHash(c.text);
    for (double v : {c.a.x(), c.a.y(), c.b.x(), c.b.y(), double(c.width), c.font.points, double(c.font.bold), double(c.kind)})
        h = h * 1000003u ^ std::hash<double>{}(v);
    return h;
}

void Layer::applyPending() const
{
    if (designStale_) {
        design_ = render(1);
        drawnDesign_ = design_.rect();
        designStale_ = false;
    }
    for (const Call& c : pending_)
        drawnDesign_ |= draw(design_, 1, c);
    pending_.clear();
}

const QImage& Layer::design() const
{
    applyPending();
    return design_;
}

QRgb Layer::pixel(int x, int y) const
{
    const QImage& image = design();
    return image.pixel(x, y);
}

void Layer::setScale(double s)
{
    if (s == scale_)
        return;
    applyPending();
    scale_ = s;
    if (!separate()) {
        display_ = QImage();
        drawnDisplay_ = QRect();
    } else {
        display_ = QImage();  // the old scale's image is gone before the new one is drawn
        display_ = render(s);
        drawnDisplay_ = display_.rect();
    }
    dirty_ = QRect(QPoint(0, 0), size_);
}

QImage Layer::render(double s) const
{
    const QSize device(toDevice(size_.width(), s), toDevice(size_.height(), s));
    QImage image;
    if (base_.isNull()) {
        image = QImage(device, QImage::Format_RGB32);
        image.fill(back_);
    } else {
        image = base_.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    for (const Call& c : calls_)
        if (c.live)
            draw(image, s, c);
    return image;
}

QRect Layer::takeDirty()
{
    const QRect r = dirty_;
    dirty_ = QRect();
    return r;
}

}  // namespace platform::qt
