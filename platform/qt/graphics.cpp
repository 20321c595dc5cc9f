// Colours, fonts and glyphs on Qt, and the painter of the shell's pictures and
// of the graphical controls (lines, labels, the shape), strokes and texts.
#include <QFontMetrics>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/face.h"
#include "platform/glyphs.h"
#include "platform/qt/internal.h"

namespace platform {

GlyphMask renderGlyphs(const std::string& text, int pixelSize, bool bold)
{
    // The program's own face in every language: the numbers on the table and
    // the graph stay as they are.
    QFont f = qt::programFont(Font{}, false);
    f.setFamilies(qt::ownFamilies());
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

QColor toQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

Colour fromQColor(const QColor& c)
{
    return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8) | (static_cast<Colour>(c.blue()) << 16);
}

const QStringList& ownFamilies()
{
    static const QStringList families = [] {
        QStringList f;
        for (const char* family : face::kFamilies)
            f << QString::fromUtf8(family);
        return f;
    }();
    return families;
}

QStringList& captionFamilies()
{
    static QStringList families = ownFamilies();
    return families;
}

QFont programFont(const Font& font, bool smooth, double zoom)
{
    const QStringList& families = captionFamilies();
    QFont f(families.first());
    f.setFamilies(families);
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

// The fonts of the texts, made once: painting is frequent, fonts are few.
std::map<std::pair<int, bool>, QFont> fonts;
const QFont& textFont(int pixels, bool bold)
{
    const auto key = std::make_pair(pixels, bold);
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        QFont f = programFont(Font{9, bold});
        f.setPixelSize(pixels);
        it = fonts.emplace(key, f).first;
    }
    return it->second;
}

// The laid-out text, made once, in the language's faces or the program's own.
std::map<std::tuple<std::string, int, bool, bool>, QStaticText> texts;
const QStaticText& staticText(const std::string& text, int pixels, bool bold, bool ownFace = false)
{
    const auto key = std::make_tuple(text, pixels, bold, ownFace);
    auto it = texts.find(key);
    if (it == texts.end()) {
        QStaticText t(q(text));
        t.setTextFormat(Qt::PlainText);
        t.prepare(QTransform(), ownFace ? ownFont(pixels, bold) : textFont(pixels, bold));
        it = texts.emplace(key, t).first;
    }
    return it->second;
}

}  // namespace

template <typename Base>
void PainterOf<Base>::atDevice()
{
    p_.save();
    p_.translate(this->x(), this->y());
    p_.scale(1 / ratio_, 1 / ratio_);
}

template <typename Base>
void PainterOf<Base>::atLayout()
{
    p_.save();
    p_.translate(this->x(), this->y());
    p_.scale(this->scale(), this->scale());
}

template <typename Base>
void PainterOf<Base>::fillDevice(const Box& device, Colour colour)
{
    atDevice();
    p_.fillRect(toRect(device), toQColor(colour));
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::slopedLine(const LineControl& line)
{
    atLayout();
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setPen(QPen(toQColor(line.BorderColor()), line.BorderWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p_.drawLine(QLineF(line.X1(), line.Y1(), line.X2(), line.Y2()));
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::label(const Label& label)
{
    atLayout();
    const QRectF r(label.Left(), label.Top(), label.Width(), label.Height());
    if (!label.transparent())
        p_.fillRect(r, toQColor(label.BackColor()));
    const int pixels = static_cast<int>(std::lround(fontPixels(label.font().points) * label.textScale()));
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    p_.setFont(label.ownFace() ? ownFont(pixels, label.font().bold) : textFont(pixels, label.font().bold));
    p_.setPen(toQColor(label.ForeColor()));
    if (label.ownFace())
        p_.drawText(r.topLeft() + QPointF(0, QFontMetricsF(p_.font()).ascent()), q(label.shownText()));
    else
        p_.drawStaticText(r.topLeft(), staticText(label.shownText(), pixels, label.font().bold));
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::shape(const Shape& shape)
{
    atLayout();
    const double d = std::min(shape.Width(), shape.Height());
    const QRectF r(shape.Left() + (shape.Width() - d) / 2, shape.Top() + (shape.Height() - d) / 2, d, d);
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setPen(QPen(toQColor(shape.colour()), 1));
    p_.setBrush(toQColor(shape.colour()));
    p_.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::image(const Image& image, int x, int y, const Box& clip)
{
    const QImage shown = view(image);
    if (ratio_ == 1) {
        // One image pixel to one screen pixel.
        const QRect part = toRect(clip);
        p_.drawImage(part.translated(QPointF(this->x(), this->y()).toPoint()), shown, part.translated(-x, -y));
        return;
    }
    atDevice();
    p_.setClipRect(toRect(clip), Qt::IntersectClip);
    p_.drawImage(QPoint(x, y), shown);
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::stroke(double x1, double y1, double x2, double y2, double width, Colour colour)
{
    atDevice();
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p_.drawLine(QLineF(x1, y1, x2, y2));
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::text(double x, double y, const std::string& text, int pixels, bool bold, double scale, Colour colour,
                           bool ownFace)
{
    atDevice();
    p_.translate(x, y);
    p_.scale(scale, scale);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    p_.setFont(ownFace ? ownFont(pixels, bold) : textFont(pixels, bold));
    p_.setPen(toQColor(colour));
    p_.drawStaticText(QPointF(0, 0), staticText(text, pixels, bold, ownFace));
    p_.restore();
}

template <typename Base>
void PainterOf<Base>::clip(const Box& device)
{
    p_.save();
    const QRectF r(device.left / ratio_ + this->x(), device.top / ratio_ + this->y(), device.width / ratio_, device.height / ratio_);
    p_.setClipRect(r, Qt::IntersectClip);
}

template class PainterOf<GraphicsPainter>;
template class PainterOf<backend::Picture>;

const QFont& ownFont(int pixels, bool bold)
{
    static std::map<std::pair<int, bool>, QFont> own;
    const auto key = std::make_pair(pixels, bold);
    auto it = own.find(key);
    if (it == own.end()) {
        QFont f(ownFamilies().first());
        f.setFamilies(ownFamilies());
        f.setPixelSize(pixels);
        f.setBold(bold);
        it = own.emplace(key, f).first;
    }
    return it->second;
}

double lineHeight(int pixels, bool bold) { return QFontMetricsF(textFont(pixels, bold)).height(); }

void forgetFonts()
{
    fonts.clear();
    texts.clear();
}

double textWidth(const std::string& text, int pixels, bool bold)
{
    return QFontMetricsF(textFont(pixels, bold)).horizontalAdvance(q(text));
}

void drawRuns(QPainter& p, const QRectF& area, const std::vector<lang::Run>& runs, const QFont& font, bool centred)
{
    QFont small = font;
    small.setPixelSize(std::max(1, font.pixelSize() / 2));
    const QFontMetricsF big(font), little(small);
    const auto cells = rubyCells(
        runs, [&](const std::string& text, bool reading) { return (reading ? little : big).horizontalAdvance(q(text)); });
    const double width = cells.empty() ? 0 : cells.back().left + cells.back().width;
    const double height = big.height() + little.height();
    const double left = centred ? area.left() + (area.width() - width) / 2 : area.left();
    const double top = area.top() + (area.height() - height) / 2;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RubyCell& c = cells[i];
        if (c.reading > 0) {
            p.setFont(small);
            p.drawText(QPointF(left + c.left + (c.width - c.reading) / 2, top + little.ascent()), q(runs[i].reading));
        }
        p.setFont(font);
        p.drawText(QPointF(left + c.left + (c.width - c.text) / 2, top + little.height() + big.ascent()), q(runs[i].text));
    }
}

PictureImage::PictureImage(view::Size size, Colour back) : pixels(size.width, size.height, QImage::Format_RGB32)
{
    pixels.fill(toQColor(back));
    onPixels.begin(&pixels);
}

QImage QtPicture::finished(int dotsPerInch)
{
    if (onPixels.isActive())
        onPixels.end();
    const int perMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    pixels.setDotsPerMeterX(perMetre);
    pixels.setDotsPerMeterY(perMetre);
    return pixels;
}

}  // namespace qt

namespace backend {
std::unique_ptr<Picture> makePicture(view::Size size, Colour back) { return std::make_unique<qt::QtPicture>(size, back); }
}  // namespace backend

}  // namespace platform
