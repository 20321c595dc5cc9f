// Graphical controls (lines, labels, the shape), colours and fonts, and the
// painting of the graphical controls above a container's drawing.
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/qt_internal.h"

namespace platform {

Box Box::united(const Box& other) const
{
    if (empty())
        return other;
    if (other.empty())
        return *this;
    const int l = std::min(left, other.left), t = std::min(top, other.top);
    const int r = std::max(left + width, other.left + other.width);
    const int b = std::max(top + height, other.top + other.height);
    return {l, t, r - l, b - t};
}

int fontPixels(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

// ---- graphical controls -------------------------------------------------

void Graphic::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    owner_.invalidate(bounds());
}

Graphic::Change::~Change()
{
    g_.owner_.invalidate(before_.united(g_.bounds()));
}

LineControl::LineControl(Container& owner, float x1, float y1, float x2, float y2, Colour colour, int width)
    : Graphic(owner), x1_(x1), y1_(y1), x2_(x2), y2_(y2), colour_(colour), width_(width)
{
}

void LineControl::setX1(float v) { Change c(*this); x1_ = v; }
void LineControl::setY1(float v) { Change c(*this); y1_ = v; }
void LineControl::setX2(float v) { Change c(*this); x2_ = v; }
void LineControl::setY2(float v) { Change c(*this); y2_ = v; }
void LineControl::Refresh() { owner().invalidate(bounds()); }

Box LineControl::bounds() const
{
    const int m = width_ / 2 + 2;
    const int l = static_cast<int>(std::floor(std::min(x1_, x2_))) - m;
    const int t = static_cast<int>(std::floor(std::min(y1_, y2_))) - m;
    const int r = static_cast<int>(std::ceil(std::max(x1_, x2_))) + m;
    const int b = static_cast<int>(std::ceil(std::max(y1_, y2_))) + m;
    return {l, t, r - l + 1, b - t + 1};
}

void Placed::setLeft(float v) { Change c(*this); left_ = v; }
void Placed::setTop(float v) { Change c(*this); top_ = v; }

Label::Label(Container& owner, std::string caption, Box box, Colour fore, Colour back, bool transparent, Font font)
    : Placed(owner, box), caption_(std::move(caption)), fore_(fore), back_(back), transparent_(transparent), font_(font)
{
}

Box Label::bounds() const
{
    // Glyphs of this face may reach past the box that the caption was laid
    // out for: repaint generously.
    return {static_cast<int>(std::floor(Left())) - 2, static_cast<int>(std::floor(Top())) - 2, Width() + Height() + 4,
            Height() + 4};
}

Box Shape::bounds() const
{
    return {static_cast<int>(std::floor(Left())) - 1, static_cast<int>(std::floor(Top())) - 1, Width() + 2, Height() + 2};
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

int fontPixelsAt(double points, double zoom)
{
    return std::max(1, static_cast<int>(std::lround(fontPixels(points) * zoom)));
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

}  // namespace

QRect scaled(const QRect& r, double zoom)
{
    if (zoom == 1)
        return r;
    const auto at = [zoom](int v) { return static_cast<int>(std::lround(v * zoom)); };
    return QRect(QPoint(at(r.left()), at(r.top())), QPoint(at(r.left() + r.width()) - 1, at(r.top() + r.height()) - 1));
}

void paintGraphics(QPainter& p, const Container& c, const QRect& dirty, double zoom)
{
    // Straight line controls are filled in whole screen pixels, each as many
    // pixels across as its width at this scale, so that lines of one width
    // stay one width on a scaled screen.
    const double ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const double s = zoom * ratio;
    const auto& gs = c.graphics();
    for (auto it = gs.rbegin(); it != gs.rend(); ++it) {
        const Graphic* g = *it;
        if (!g->Visible())
            continue;
        const Box b = g->bounds();
        if (!dirty.intersects(scaled(QRect(b.left, b.top, b.width, b.height), zoom).adjusted(-1, -1, 1, 1)))
            continue;
        if (auto* line = dynamic_cast<const LineControl*>(g)) {
            const QColor colour = toQColor(line->BorderColor());
            const int w = line->BorderWidth();
            const QLineF l(line->X1(), line->Y1(), line->X2(), line->Y2());
            if ((l.dx() == 0) != (l.dy() == 0)) {
                // A straight line is the rectangle its pen covers (the tray band
                // is 150 pixels thick: stroking it would be slow).
                const QRectF r = QRectF(l.p1(), l.p2()).normalized().adjusted(-w / 2.0, -w / 2.0, w / 2.0, w / 2.0);
                const QRect device(qRound(r.x() * s), qRound(r.y() * s), qRound(r.width() * s), qRound(r.height() * s));
                p.save();
                p.scale(1 / ratio, 1 / ratio);
                p.fillRect(device, colour);
                p.restore();
            } else {
                p.save();
                p.scale(zoom, zoom);
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawLine(l);
                p.restore();
            }
        } else if (auto* label = dynamic_cast<const Label*>(g)) {
            p.save();
            p.scale(zoom, zoom);
            const QRectF r(label->Left(), label->Top(), label->Width(), label->Height());
            if (!label->transparent())
                p.fillRect(r, toQColor(label->BackColor()));
            p.setRenderHint(QPainter::TextAntialiasing, true);
            p.setFont(labelFont(label->font()));
            p.setPen(toQColor(label->ForeColor()));
            p.drawStaticText(r.topLeft(), labelText(*label));
            p.restore();
        } else if (auto* shape = dynamic_cast<const Shape*>(g)) {
            p.save();
            p.scale(zoom, zoom);
            const double d = std::min(shape->Width(), shape->Height());
            const QRectF r(shape->Left() + (shape->Width() - d) / 2, shape->Top() + (shape->Height() - d) / 2, d, d);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(toQColor(shape->colour()), 1));
            p.setBrush(toQColor(shape->colour()));
            p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
            p.restore();
        }
    }
}

}  // namespace qt

}  // namespace platform
