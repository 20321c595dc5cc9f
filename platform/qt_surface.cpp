// The surface on Qt Widgets.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStaticText>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "platform/floodfill.h"
#include "platform/qt_bridge.h"

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

QFont programFont(const Font& font, bool smooth)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic")});
    f.setPixelSize(fontPixels(font.points));
    f.setBold(font.bold);
    if (!smooth)
        f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Runs a handler. A run-time error (an overflow, an index out of bounds) that
// escapes it is reported and ends the program, rather than unwinding through
// the toolkit.
template <typename F>
void guarded(F&& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        const QString message = QStringLiteral("Run-time error: %1").arg(QString::fromUtf8(e.what()));
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::critical(nullptr, QString(), message);
        std::exit(1);
    }
}

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

// Paints the graphical controls of a container, bottom first.
void paintGraphics(QPainter& p, const Container& c, const QRect& dirty)
{
    const auto& gs = c.graphics();
    for (auto it = gs.rbegin(); it != gs.rend(); ++it) {
        const Graphic* g = *it;
        if (!g->Visible())
            continue;
        const Box b = g->bounds();
        if (!dirty.intersects(QRect(b.left, b.top, b.width, b.height)))
            continue;
        if (auto* line = dynamic_cast<const LineControl*>(g)) {
            const QColor colour = toQColor(line->BorderColor());
            const int w = line->BorderWidth();
            const QLineF l(line->X1(), line->Y1(), line->X2(), line->Y2());
            if ((l.dx() == 0) != (l.dy() == 0)) {
                // A straight line is the rectangle its pen covers (the tray band
                // is 150 pixels thick: stroking it would be slow).
                const QRectF r = QRectF(l.p1(), l.p2()).normalized();
                p.fillRect(r.adjusted(-w / 2.0, -w / 2.0, w / 2.0, w / 2.0).toRect(), colour);
            } else {
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawLine(l);
            }
        } else if (auto* label = dynamic_cast<const Label*>(g)) {
            const QRectF r(label->Left(), label->Top(), label->Width(), label->Height());
            if (!label->transparent())
                p.fillRect(r, toQColor(label->BackColor()));
            p.setRenderHint(QPainter::TextAntialiasing, true);
            p.setFont(labelFont(label->font()));
            p.setPen(toQColor(label->ForeColor()));
            p.drawStaticText(r.topLeft(), labelText(*label));
        } else if (auto* shape = dynamic_cast<const Shape*>(g)) {
            const double d = std::min(shape->Width(), shape->Height());
            const QRectF r(shape->Left() + (shape->Width() - d) / 2, shape->Top() + (shape->Height() - d) / 2, d, d);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(toQColor(shape->colour()), 1));
            p.setBrush(toQColor(shape->colour()));
            p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
            p.setBrush(Qt::NoBrush);
        }
    }
}

QRect toRect(const Box& b) { return QRect(b.left, b.top, b.width, b.height); }

// ---- picture box ---------------------------------------------------------

class QtPictureBox;

// The client area of a picture box: its drawing layer, graphical controls and mouse.
class Canvas : public QWidget {
public:
    Canvas(QtPictureBox& box, QWidget* parent) : QWidget(parent), box_(box)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
    }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { deliver(e, true, 0); }
    void mouseMoveEvent(QMouseEvent* e) override { deliver(e, false, 1); }
    void mouseReleaseEvent(QMouseEvent* e) override { deliver(e, false, 2); }

private:
    void deliver(QMouseEvent* e, bool press, int kind);
    QtPictureBox& box_;
};

class QtPictureBox : public PictureBox {
public:
    QtPictureBox(QWidget* parent, const Layout& l)
    {
        frame_ = new QFrame(parent);
        frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame_->setLineWidth(2);
        frame_->setGeometry(twipsToPixels(l.left), twipsToPixels(l.top), twipsToPixels(l.width), twipsToPixels(l.height));
        frame_->setFocusPolicy(Qt::StrongFocus);
        canvas_ = new Canvas(*this, frame_);
        canvas_->setGeometry(2, 2, frame_->width() - 4, frame_->height() - 4);
        backColor_ = l.back;
        foreColor_ = l.fore;
        font_ = l.font;
        printFont_ = programFont(font_, false);
        lineHeight_ = QFontMetrics(printFont_).height();
        layer_ = QImage(canvas_->size(), QImage::Format_RGB32);
        layer_.fill(toQColor(backColor_));
    }

    void invalidate(const Box& b) override { canvas_->update(toRect(b)); }

    void Cls() override
    {
        layer_.fill(toQColor(backColor_));
        currentX_ = currentY_ = 0;
        markDirty(layer_.rect());
    }

    void Line(float x1, float y1, float x2, float y2, Colour colour) override
    {
        currentX_ = x2;
        currentY_ = y2;
        if (straightLine(x1, y1, x2, y2, colour))
            return;
        // Always draw from the same end, so that a line drawn again backwards
        // covers exactly the same pixels.
        QPointF a(x1, y1), b(x2, y2);
        if (b.x() < a.x() || (b.x() == a.x() && b.y() < a.y()))
            std::swap(a, b);
        {
            QPainter p(&layer_);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(toQColor(colour), drawWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(a, b);
        }
        const int m = drawWidth_ + 2;
        markDirty(QRectF(a, b).normalized().toAlignedRect().adjusted(-m, -m, m, m));
    }

    // Horizontal and vertical lines between whole pixels, which are nearly all
    // the lines drawn (grid, outlines, axes), are written straight into the
    // layer: the pixels the painter's wide pen would cover, at a fraction of
    // the cost. False for any other line.
    bool straightLine(float x1, float y1, float x2, float y2, Colour colour)
    {
        const bool whole = x1 == std::floor(x1) && y1 == std::floor(y1) && x2 == std::floor(x2) && y2 == std::floor(y2);
        if (!whole || (x1 != x2 && y1 != y2) || (x1 == x2 && y1 == y2) || drawWidth_ > 3)
            return false;
        const int w = drawWidth_;
        const int across0 = -w / 2, across1 = across0 + w - 1;   // across the line
        const int before = w / 2, after = std::max(0, (w - 3) / 2);  // beyond its ends
        QRect r;
        if (y1 == y2) {
            const int lo = static_cast<int>(std::min(x1, x2)), hi = static_cast<int>(std::max(x1, x2));
            r = QRect(QPoint(lo - before, static_cast<int>(y1) + across0), QPoint(hi + after, static_cast<int>(y1) + across1));
        } else {
            const int lo = static_cast<int>(std::min(y1, y2)), hi = static_cast<int>(std::max(y1, y2));
            r = QRect(QPoint(static_cast<int>(x1) + across0, lo - before), QPoint(static_cast<int>(x1) + across1, hi + after));
        }
        r = r.intersected(layer_.rect());
        if (r.isEmpty())
            return true;
        const QRgb value = toQColor(colour).rgb();
        QRgb* base = pixels();
        const std::ptrdiff_t step = stride();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QRgb* row = base + y * step;
            std::fill(row + r.left(), row + r.right() + 1, value);
        }
        markDirty(r);
        return true;
    }

    void Print(const std::string& text) override
    {
        const QImage& mask = textMask(text);
        const int left = static_cast<int>(std::lround(currentX_)), top = static_cast<int>(std::lround(currentY_));
        const QRgb value = toQColor(foreColor_).rgb();
        QRgb* base = pixels();
        // The text is drawn once into a mask and then stamped: the same pixels
        // as drawing it directly without smoothing, far faster on repeats.
        for (int y = 0; y < mask.height(); ++y) {
            const int ly = top + y;
            if (ly < 0 || ly >= layer_.height())
                continue;
            const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            QRgb* out = base + ly * stride();
            for (int x = 0; x < mask.width(); ++x)
                if (qAlpha(in[x]) != 0 && left + x >= 0 && left + x < layer_.width())
                    out[left + x] = value;
        }
        markDirty(QRect(left, top, mask.width(), mask.height()).adjusted(-2, -2, 2, 2));
        currentX_ = 0;
        currentY_ += lineHeight_;
    }

    const QImage& textMask(const std::string& text)
    {
        auto it = masks_.find(text);
        if (it != masks_.end())
            return it->second;
        if (masks_.size() > 256)  // texts are few; keep the cache bounded all the same
            masks_.clear();
        const QString s = q(text);
        const QFontMetrics fm(printFont_);
        QImage mask(std::max(1, fm.horizontalAdvance(s) + 4), fm.height(), QImage::Format_ARGB32);
        mask.fill(Qt::transparent);
        {
            QPainter p(&mask);
            p.setFont(printFont_);
            p.setPen(Qt::black);
            p.drawText(mask.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, s);
        }
        return masks_.emplace(text, std::move(mask)).first->second;
    }

    void FloodFill(int x, int y, Colour border) override
    {
        if (fillStyle_ != 0)
            return;  // a transparent brush paints nothing
        const QRgb borderPixel = toQColor(border).rgb();
        const QRgb fillPixel = toQColor(fillColor_).rgb();
        if (borderFill(reinterpret_cast<std::uint32_t*>(layer_.bits()), layer_.width(), layer_.height(),
                       static_cast<int>(layer_.bytesPerLine() / 4), x, y, borderPixel, fillPixel) > 0)
            markDirty(layer_.rect());
    }

    Colour Point(int x, int y) const override
    {
        if (!layer_.rect().contains(x, y))
            return 0xFFFFFFFFu;
        return fromQColor(QColor(layer_.pixel(x, y)));
    }
    int scaleWidth() const override { return layer_.width(); }
    int scaleHeight() const override { return layer_.height(); }

    // The layer's pixels for writing, once per drawing operation: bits()
    // makes the layer its own if a copy of it is held elsewhere (QImage's
    // scanLine would check that on every row).
    QRgb* pixels() { return reinterpret_cast<QRgb*>(layer_.bits()); }
    std::ptrdiff_t stride() const { return layer_.bytesPerLine() / 4; }

    // Drawing marks what it changed; the screen is told once, when the
    // handler that drew has returned, instead of after every line and text.
    void markDirty(const QRect& r)
    {
        const bool first = dirty_.isEmpty();
        dirty_ = dirty_.united(r);
        if (first)
            QMetaObject::invokeMethod(canvas_, [this] { flush(); }, Qt::QueuedConnection);
    }
    void flush()
    {
        canvas_->update(dirty_);
        dirty_ = QRect();
    }

    QRect dirty_;
    QFrame* frame_ = nullptr;
    Canvas* canvas_ = nullptr;
    QImage layer_;
    QFont printFont_;
    int lineHeight_ = 0;
    std::map<std::string, QImage> masks_;
};

void Canvas::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r, box_.layer_, r);
    paintGraphics(p, box_, r);
}

void Canvas::deliver(QMouseEvent* e, bool press, int kind)
{
    (void)press;
    const MouseHandler& h = kind == 0 ? box_.MouseDown : kind == 1 ? box_.MouseMove : box_.MouseUp;
    if (!h)
        return;
    // Down and up report the button that changed, move the buttons held.
    const Qt::MouseButtons buttons = kind == 1 ? e->buttons() : Qt::MouseButtons(e->button());
    std::int16_t button = 0;
    if (buttons & Qt::LeftButton) button |= 1;
    if (buttons & Qt::RightButton) button |= 2;
    if (buttons & Qt::MiddleButton) button |= 4;
    std::int16_t shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    const QPointF pos = e->position();
    // Pointer positions, also far outside the box while a button is held,
    // stay within what the handlers can take as 16-bit coordinates.
    const auto clampToShort = [](qreal v) { return static_cast<float>(std::clamp<qreal>(v, -30000, 30000)); };
    guarded([&] { h(button, shift, clampToShort(pos.x()), clampToShort(pos.y())); });
}

// ---- windowed controls -----------------------------------------------------

void place(QWidget* w, const Layout& l)
{
    w->setGeometry(twipsToPixels(l.left), twipsToPixels(l.top), twipsToPixels(l.width), twipsToPixels(l.height));
    w->setFont(programFont(l.font));
}

QString colourName(Colour c) { return toQColor(c).name(); }

class QtButton : public CommandButton {
public:
    QtButton(QWidget* parent, const std::string& caption, const Layout& l) : back_(l.back)
    {
        button_ = new QPushButton(q(caption), parent);
        place(button_, l);
        // A graphical button: its colour fills the whole face.
        button_->setStyleSheet(QStringLiteral(
            "QPushButton { background-color: %1; color: black; border: 2px outset %2; }"
            "QPushButton:pressed { border: 2px inset %2; }"
            "QPushButton:disabled { color: #808080; }"
            "QPushButton:focus { outline: none; }")
            .arg(colourName(l.back), toQColor(l.back).darker(130).name()));
        QObject::connect(button_, &QPushButton::clicked, button_, [this] {
            if (Click)
                guarded(Click);
        });
    }
    bool Enabled() const override { return button_->isEnabled(); }
    void setEnabled(bool e) override { button_->setEnabled(e); }
    std::string Caption() const override { return button_->text().toStdString(); }
    Colour BackColor() const override { return back_; }
    QPushButton* button_;
    Colour back_;
};

class QtCheckBox : public CheckBox {
public:
    QtCheckBox(QWidget* parent, const std::string& caption, int value, const Layout& l)
    {
        box_ = new QCheckBox(q(caption), parent);
        place(box_, l);
        box_->setStyleSheet(QStringLiteral("QCheckBox { background-color: %1; color: %2; }")
                                .arg(colourName(l.back), colourName(l.fore)));
        box_->setChecked(value != 0);
        // Both the pupil's clicks and changes made in code arrive here, and
        // only when the value changes.
        QObject::connect(box_, &QCheckBox::toggled, box_, [this] {
            if (Click)
                guarded(Click);
        });
    }
    int Value() const override { return box_->isChecked() ? 1 : 0; }
    void setValue(int v) override { box_->setChecked(v != 0); }
    std::string Caption() const override { return box_->text().toStdString(); }
    QCheckBox* box_;
};

class QtTextBox : public TextBox {
public:
    QtTextBox(QWidget* parent, const std::string& text, const Layout& l)
    {
        edit_ = new QLineEdit(q(text), parent);
        place(edit_, l);
        // The box shows the distance P has moved; the program reads it back,
        // so it is for reading only.
        edit_->setReadOnly(true);
    }
    std::string Text() const override { return edit_->text().toStdString(); }
    void setText(const std::string& t) override { edit_->setText(q(t)); }
    QLineEdit* edit_;
};

class QtComboBox : public ComboBox {
public:
    QtComboBox(QWidget* parent, const std::vector<std::string>& items, const std::string& text, const Layout& l)
    {
        combo_ = new QComboBox(parent);
        combo_->setEditable(true);
        combo_->setInsertPolicy(QComboBox::NoInsert);
        for (const auto& i : items)
            combo_->addItem(q(i), 0);
        place(combo_, l);
        combo_->setEditText(q(text));
    }
    std::string Text() const override { return combo_->currentText().toStdString(); }
    void setText(const std::string& t) override { combo_->setEditText(q(t)); }
    std::vector<std::string> items() const override
    {
        std::vector<std::string> r;
        for (int i = 0; i < combo_->count(); ++i)
            r.push_back(combo_->itemText(i).toStdString());
        return r;
    }
    QComboBox* combo_;
};

// ---- the window ------------------------------------------------------------

// Frame around the client area assumed while the window manager gives none
// (or before the window is shown): the borders and caption of a standard
// sizable window, so that the outer size in twips leaves the client area the
// layout was made for.
constexpr int kFrameLeft = 8, kFrameRight = 8, kFrameTop = 31, kFrameBottom = 8;

class QtWindow;

class WindowWidget : public QWidget {
public:
    explicit WindowWidget(QtWindow& w) : window_(w) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QtWindow& window_;
};

class QtWindow : public Window {
public:
    QtWindow(const std::string& caption, Colour back, int clientW, int clientH) : back_(back)
    {
        widget_ = new WindowWidget(*this);
        widget_->setWindowTitle(q(caption));
        widget_->setFont(programFont(Font{}));
        widget_->resize(twipsToPixels(clientW), twipsToPixels(clientH));
        widthTwips_ = (twipsToPixels(clientW) + kFrameLeft + kFrameRight) * 15;
        heightTwips_ = (twipsToPixels(clientH) + kFrameTop + kFrameBottom) * 15;
    }
    ~QtWindow() override
    {
        alive_ = false;
        delete widget_;
    }

    void invalidate(const Box& b) override { widget_->update(toRect(b)); }

    int Width() const override { return widthTwips_; }
    int Height() const override { return heightTwips_; }
    void setWidth(int twips) override
    {
        widthTwips_ = twips;
        resizeClient();
    }
    void setHeight(int twips) override
    {
        heightTwips_ = twips;
        resizeClient();
    }
    std::string Caption() const override { return widget_->windowTitle().toStdString(); }

    QWidget* parentWidget(Container* parent)
    {
        if (!parent || parent == this)
            return widget_;
        return static_cast<QtPictureBox*>(parent)->canvas_;
    }

    PictureBox& addPictureBox(Container* parent, const Layout& l) override
    {
        auto box = std::make_unique<QtPictureBox>(parentWidget(parent), l);
        QWidget* w = box->frame_;
        return keep(std::move(box), w);
    }
    CommandButton& addButton(const std::string& caption, const Layout& l) override
    {
        auto b = std::make_unique<QtButton>(widget_, caption, l);
        QWidget* w = b->button_;
        return keep(std::move(b), w);
    }
    CheckBox& addCheckBox(Container* parent, const std::string& caption, int value, const Layout& l) override
    {
        auto c = std::make_unique<QtCheckBox>(parentWidget(parent), caption, value, l);
        QWidget* w = c->box_;
        return keep(std::move(c), w);
    }
    TextBox& addTextBox(Container* parent, const std::string& text, const Layout& l) override
    {
        auto t = std::make_unique<QtTextBox>(parentWidget(parent), text, l);
        QWidget* w = t->edit_;
        return keep(std::move(t), w);
    }
    ComboBox& addComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& l) override
    {
        auto c = std::make_unique<QtComboBox>(widget_, items, text, l);
        QWidget* w = c->combo_;
        return keep(std::move(c), w);
    }

    void setTabOrder(const std::vector<const void*>& controls) override
    {
        QWidget* previous = nullptr;
        for (const void* c : controls) {
            QWidget* w = widgetFor(c);
            if (!w)
                continue;
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }

    void Show() override
    {
        widget_->show();
        resizeClient();
    }

    void End() override
    {
        if (!alive_)
            return;
        alive_ = false;
        events::wake();
        widget_->hide();
        QCoreApplication::exit(0);
    }
    bool alive() const override { return alive_; }

    void markClosed()
    {
        alive_ = false;
        events::wake();
    }

    QWidget* widgetFor(const void* control) const
    {
        for (const auto& [c, w] : widgets_)
            if (c == control)
                return w;
        return nullptr;
    }

    WindowWidget* widget_;
    Colour back_;

private:
    template <typename T>
    T& keep(std::unique_ptr<T> control, QWidget* w)
    {
        T& ref = *control;
        // Created in stacking order, first on top: each new one goes below
        // the windowed siblings made before it.
        QWidget* parent = w->parentWidget();
        const QObjectList siblings = parent->children();  // raise() reorders the live list
        for (QObject* o : siblings) {
            auto* sibling = qobject_cast<QWidget*>(o);
            if (sibling && sibling != w && ownedWidget(sibling))
                sibling->raise();
        }
        widgets_.emplace_back(static_cast<const void*>(&ref), w);
        keepAlive_.push_back(std::shared_ptr<void>(control.release(), [](void* p) { delete static_cast<T*>(p); }));
        return ref;
    }
    bool ownedWidget(QWidget* w) const
    {
        return std::any_of(widgets_.begin(), widgets_.end(), [w](const auto& e) { return e.second == w; });
    }

    void resizeClient()
    {
        int left = kFrameLeft, right = kFrameRight, top = kFrameTop, bottom = kFrameBottom;
        if (widget_->isVisible()) {
            const QRect fg = widget_->frameGeometry(), g = widget_->geometry();
            if (fg != g) {  // a window manager put a frame around it: use its real size
                left = g.left() - fg.left();
                right = fg.right() - g.right();
                top = g.top() - fg.top();
                bottom = fg.bottom() - g.bottom();
            }
        }
        const int w = std::lround(widthTwips_ / 15.0) - left - right;
        const int h = std::lround(heightTwips_ / 15.0) - top - bottom;
        widget_->resize(std::max(w, 1), std::max(h, 1));
    }

    int widthTwips_ = 0, heightTwips_ = 0;
    bool alive_ = true;
    std::vector<std::pair<const void*, QWidget*>> widgets_;
    std::vector<std::shared_ptr<void>> keepAlive_;
};

void WindowWidget::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), toQColor(window_.back_));
    paintGraphics(p, window_, e->rect());
}

void WindowWidget::closeEvent(QCloseEvent* e)
{
    window_.markClosed();
    QWidget::closeEvent(e);
}

}  // namespace

QWidget* widgetOf(const Window& window) { return static_cast<const QtWindow&>(window).widget_; }
QWidget* widgetOf(const PictureBox& box) { return static_cast<const QtPictureBox&>(box).canvas_; }
QWidget* frameOf(const PictureBox& box) { return static_cast<const QtPictureBox&>(box).frame_; }
QWidget* widgetOf(const CommandButton& b) { return static_cast<const QtButton&>(b).button_; }
QWidget* widgetOf(const CheckBox& b) { return static_cast<const QtCheckBox&>(b).box_; }
QWidget* widgetOf(const TextBox& b) { return static_cast<const QtTextBox&>(b).edit_; }
QWidget* widgetOf(const ComboBox& b) { return static_cast<const QtComboBox&>(b).combo_; }
const QImage& layerOf(const PictureBox& box) { return static_cast<const QtPictureBox&>(box).layer_; }

}  // namespace qt

std::unique_ptr<Window> Window::create(const std::string& caption, Colour back, int clientW, int clientH)
{
    return std::make_unique<qt::QtWindow>(caption, back, clientW, clientH);
}

// ---- time and events ---------------------------------------------------------

namespace events {

namespace {
QElapsedTimer& clock()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}
QPointer<QEventLoop> currentWait;
bool woken = false;
}  // namespace

std::int64_t monotonicMs() { return clock().elapsed(); }

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool waitHandlingEvents(std::int32_t ms)
{
    if (ms <= 0)
        return true;
    const std::int64_t deadline = monotonicMs() + ms;
    QPointer<QEventLoop> outer = currentWait;
    woken = false;
    bool completed = true;
    for (;;) {
        const std::int64_t left = deadline - monotonicMs();
        if (left <= 0)
            break;
        QEventLoop loop;
        currentWait = &loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(std::min<std::int64_t>(left, 1 << 30)));
        // exec() returns at once while the application is quitting.
        const int rc = loop.exec();
        currentWait = outer;
        if (woken || rc != 0) {
            completed = false;
            break;
        }
    }
    woken = false;
    return completed;
}

void wake()
{
    woken = true;
    if (currentWait)
        currentWait->exit(1);
}

}  // namespace events

}  // namespace platform
