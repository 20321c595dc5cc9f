// Colours, fonts and glyphs on Qt, and the strokes, texts and circles of the
// graphical controls (lines, labels, the shape) painted above a container's
// drawing.
#include <QFontMetrics>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/glyphs.h"
#include "platform/paint.h"
#include "platform/qt/internal.h"

namespace platform {

GlyphMask renderGlyphs(const std::string& text, int pixelSize, bool bold)
{
    QFont f = qt::programFont(Font{}, false);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    const QFontMetrics fm(f);
    const QString t = qt::q(text);
    // Room for glyphs that reach past the advance.
    const int slack = 4 * static_cast<int>(std::ceil(pixelSize / 32.0));
    QImage image(std::max(1, fm.horizontalAdvance(t) + slack), fm.height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(image.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, t);
    }
    GlyphMask mask{image.width(), image.height(), {}};
    mask.ink.resize(std::size_t(mask.width) * std::size_t(mask.height));
    for (int y = 0; y < mask.height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < mask.width; ++x)
            mask.ink[std::size_t(y) * std::size_t(mask.width) + std::size_t(x)] = qAlpha(in[x]) != 0;
    }
    return mask;
}

namespace qt {

QColor toQColor(Colour c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

Colour fromQColor(const QColor& c)
{
    return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8) | (static_cast<Colour>(c.blue()) << 16);
}

QFont programFont(const Font& font, bool smooth, double zoom)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic")});
    f.setPixelSize(fontPixelsAt(font.points, zoom));
    f.setBold(font.bold);
    if (!smooth)
        f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

QImage view(const Image& image)
{
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 4,
                  QImage::Format_RGB32);
}

namespace {

// The fonts of the labels, made once: painting is frequent, fonts are few.
const QFont& labelFont(const Font& font)
{
    static std::map<std::pair<double, bool>, QFont> fonts;
    const auto key = std::make_pair(font.points, font.bold);
    auto it = fonts.find(key);
    if (it == fonts.end())
        it = fonts.emplace(key, programFont(font)).first;
    return it->second;
}

// The laid-out text of a caption, made once.
const QStaticText& labelText(const Label& label)
{
    static std::map<std::tuple<std::string, double, bool>, QStaticText> texts;
    const auto key = std::make_tuple(label.Caption(), label.font().points, label.font().bold);
    auto it = texts.find(key);
    if (it == texts.end()) {
        QStaticText t(q(label.Caption()));
        t.setTextFormat(Qt::PlainText);
        t.prepare(QTransform(), labelFont(label.font()));
        it = texts.emplace(key, t).first;
    }
    return it->second;
}

class QtGraphicsPainter : public GraphicsPainter {
public:
    QtGraphicsPainter(QPainter& p, double zoom, double ratio) : p_(p), zoom_(zoom), ratio_(ratio) {}

    void fillDevice(const Box& device, Colour colour) override
    {
        p_.save();
        p_.scale(1 / ratio_, 1 / ratio_);
        p_.fillRect(toRect(device), toQColor(colour));
        p_.restore();
    }
    void slopedLine(const LineControl& line) override
    {
        p_.save();
        p_.scale(zoom_, zoom_);
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.setPen(QPen(toQColor(line.BorderColor()), line.BorderWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p_.drawLine(QLineF(line.X1(), line.Y1(), line.X2(), line.Y2()));
        p_.restore();
    }
    void label(const Label& label) override
    {
        p_.save();
        p_.scale(zoom_, zoom_);
        const QRectF r(label.Left(), label.Top(), label.Width(), label.Height());
        if (!label.transparent())
            p_.fillRect(r, toQColor(label.BackColor()));
        p_.setRenderHint(QPainter::TextAntialiasing, true);
        p_.setFont(labelFont(label.font()));
        p_.setPen(toQColor(label.ForeColor()));
        p_.drawStaticText(r.topLeft(), labelText(label));
        p_.restore();
    }
    void shape(const Shape& shape) override
    {
        p_.save();
        p_.scale(zoom_, zoom_);
        const double d = std::min(shape.Width(), shape.Height());
        const QRectF r(shape.Left() + (shape.Width() - d) / 2, shape.Top() + (shape.Height() - d) / 2, d, d);
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setPen(QPen(toQColor(shape.colour()), 1));
        p_.setBrush(toQColor(shape.colour()));
        p_.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
        p_.restore();
    }

private:
    QPainter& p_;
    double zoom_, ratio_;
};

}  // namespace

QRect scaled(const QRect& r, double zoom)
{
    return toRect(platform::scaled({r.left(), r.top(), r.width(), r.height()}, zoom));
}

void paintGraphics(QPainter& p, const Container& c, const QRect& dirty, double zoom)
{
    const double ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    QtGraphicsPainter painter(p, zoom, ratio);
    platform::paintGraphics(painter, c, {dirty.left(), dirty.top(), dirty.width(), dirty.height()}, zoom, ratio);
}

}  // namespace qt

}  // namespace platform
