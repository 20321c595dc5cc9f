// The window and its windowed controls (buttons, check boxes, the text box,
// the combo box) on Qt Widgets, and the factory that lays them out.
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTranslator>
#include <QWindow>

#include <algorithm>
#include <cmath>

#include "platform/qt/internal.h"
#include "platform/qt/picturebox.h"
#include "platform/view.h"

namespace platform {

namespace qt {

namespace {

// ---- windowed controls -----------------------------------------------------

// A windowed control's place and font as laid out, and how it is shown at a
// zoom: place and font scaled, the rest by the control itself.
class Placement {
public:
    Placement(QWidget* w, const Layout& l)
        : widget_(w), design_(twipsToPixels(l.left), twipsToPixels(l.top), twipsToPixels(l.width), twipsToPixels(l.height)),
          font_(l.font)
    {
    }
    virtual ~Placement() = default;
    // Places the control at zoom z; `offset` moves the top-level controls
    // when the layout is centred in a full-screen window.
    virtual void zoomTo(double z, QPoint offset)
    {
        widget_->setGeometry(scaled(design_, z).translated(offset));
        widget_->setFont(programFont(font_, true, z));
    }
    QWidget* widget() const { return widget_; }

protected:
    QWidget* widget_;
    QRect design_;
    Font font_;
};

QString colourName(Colour c) { return toQColor(c).name(); }

class QtButton : public CommandButton, public Placement {
public:
    QtButton(QWidget* parent, const std::string& caption, const Layout& l)
        : Placement(new QPushButton(q(caption), parent), l), button_(static_cast<QPushButton*>(widget_)), back_(l.back)
    {
        zoomTo(1, {});
        QObject::connect(button_, &QPushButton::clicked, button_, [this] {
            if (Click)
                guarded(Click);
        });
    }
    void zoomTo(double z, QPoint offset) override
    {
        Placement::zoomTo(z, offset);
        // A graphical button: its colour fills the whole face.
        button_->setStyleSheet(QStringLiteral(
            "QPushButton { background-color: %1; color: black; border: %3px outset %2; }"
            "QPushButton:pressed { border: %3px inset %2; }"
            "QPushButton:disabled { color: #808080; }"
            "QPushButton:focus { outline: none; }")
            .arg(colourName(back_), toQColor(back_).darker(130).name()).arg(view::borderAt(z)));
    }
    bool Enabled() const override { return button_->isEnabled(); }
    void setEnabled(bool e) override { button_->setEnabled(e); }
    std::string Caption() const override { return button_->text().toStdString(); }
    Colour BackColor() const override { return back_; }
    QPushButton* button_;
    Colour back_;
};

class QtCheckBox : public CheckBox, public Placement {
public:
    QtCheckBox(QWidget* parent, const std::string& caption, int value, const Layout& l)
        : Placement(new QCheckBox(q(caption), parent), l), box_(static_cast<QCheckBox*>(widget_)), back_(l.back), fore_(l.fore)
    {
        zoomTo(1, {});
        box_->setChecked(value != 0);
        // Both the pupil's clicks and changes made in code arrive here, and
        // only when the value changes.
        QObject::connect(box_, &QCheckBox::toggled, box_, [this] {
            if (Click)
                guarded(Click);
        });
    }
    void zoomTo(double z, QPoint offset) override
    {
        Placement::zoomTo(z, offset);
        QString sheet = QStringLiteral("QCheckBox { background-color: %1; color: %2; }").arg(colourName(back_), colourName(fore_));
        if (z != 1) {  // the box and the gap after it grow with the caption
            const int box = static_cast<int>(std::lround(indicator_ * z));
            sheet += QStringLiteral(" QCheckBox { spacing: %1px; } QCheckBox::indicator { width: %2px; height: %2px; }")
                         .arg(std::lround(spacing_ * z))
                         .arg(box);
        }
        box_->setStyleSheet(sheet);
    }
    int Value() const override { return box_->isChecked() ? 1 : 0; }
    void setValue(int v) override { box_->setChecked(v != 0); }
    std::string Caption() const override { return box_->text().toStdString(); }
    QCheckBox* box_;

private:
    Colour back_, fore_;
    int indicator_ = box_->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box_);
    int spacing_ = box_->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box_);
};

class QtTextBox : public TextBox, public Placement {
public:
    QtTextBox(QWidget* parent, const std::string& text, const Layout& l)
        : Placement(new QLineEdit(q(text), parent), l), edit_(static_cast<QLineEdit*>(widget_))
    {
        zoomTo(1, {});
        // The box shows the distance P has moved; the program reads it back,
        // so it is for reading only.
        edit_->setReadOnly(true);
    }
    std::string Text() const override { return edit_->text().toStdString(); }
    void setText(const std::string& t) override { edit_->setText(q(t)); }
    QLineEdit* edit_;
};

class QtComboBox : public ComboBox, public Placement {
public:
    QtComboBox(QWidget* parent, const std::vector<std::string>& items, const std::string& text, const Layout& l)
        : Placement(new QComboBox(parent), l), combo_(static_cast<QComboBox*>(widget_))
    {
        combo_->setEditable(true);
        combo_->setInsertPolicy(QComboBox::NoInsert);
        for (const auto& i : items)
            combo_->addItem(q(i), 0);
        zoomTo(1, {});
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

// A picture box: its frame and border grow with the zoom, and its layer is
// drawn again at the new scale.
class BoxPlacement : public Placement {
public:
    BoxPlacement(QtPictureBox& box, const Layout& l) : Placement(box.frame_, l), box_(box) {}
    void zoomTo(double z, QPoint offset) override
    {
        box_.frame_->setGeometry(scaled(design_, z).translated(offset));
        const int border = view::borderAt(z);
        box_.frame_->setLineWidth(border);
        box_.canvas_->setGeometry(border, border, box_.frame_->width() - 2 * border, box_.frame_->height() - 2 * border);
        box_.setZoom(z);
    }

private:
    QtPictureBox& box_;
};

// ---- the window ------------------------------------------------------------

// The toolkit's own texts (the file and print dialogs, the question before a
// file is overwritten, the buttons of a message box) in Japanese like the
// rest of the window, whatever the system's language; they stay in English
// only where the toolkit's translation is not installed.
void toolkitInJapanese()
{
    static QTranslator* translator = nullptr;
    if (translator)
        return;
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);  // dates and sizes in the file dialog
    translator = new QTranslator(qApp);
    if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

class QtWindow;

class WindowWidget : public QWidget {
public:
    explicit WindowWidget(QtWindow& w) : window_(w) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    QtWindow& window_;
};

// Hands every key pressed in the window to the program's key handler before
// the focused control sees it.
class KeyFilter : public QObject {
public:
    explicit KeyFilter(QtWindow& w) : window_(w) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QtWindow& window_;
};

class QtWindow : public Window {
public:
    QtWindow(const std::string& caption, Colour back, int clientW, int clientH)
        : back_(back), keys_(*this), layout_(twipsToPixels(clientW), twipsToPixels(clientH))
    {
        qApp->installEventFilter(&keys_);
        toolkitInJapanese();
        widget_ = new WindowWidget(*this);
        widget_->setWindowTitle(q(caption));
        widget_->setFont(programFont(Font{}));
        widget_->resize(layout_);
        const view::Frame frame;
        widthTwips_ = (layout_.width() + frame.left + frame.right) * 15;
        heightTwips_ = (layout_.height() + frame.top + frame.bottom) * 15;
        // Never larger than the whole layout at the largest zoom, or the
        // screen, whichever is larger: a window as large as the toolkit
        // allows would take gigabytes.
        QSize limit = layout_ * view::kMaxZoom;
        if (const QScreen* screen = widget_->screen())
            limit = limit.expandedTo(screen->geometry().size());
        widget_->setMaximumSize(limit);
        // Destroyed by another client, the window is gone as after 終了.
        x11::onDestroyed(widget_, [this] { End(); });
    }
    ~QtWindow() override
    {
        alive_ = false;
        delete widget_;
    }

    void invalidate(const Box& b) override
    {
        const QRect r = toRect(b);
        widget_->update(zoom_ == 1 ? r.translated(offset_) : scaled(r, zoom_).translated(offset_).adjusted(-1, -1, 1, 1));
    }

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
    Colour BackColor() const override { return back_; }

    double zoom() const override { return zoom_; }
    // The zoom of the ordinary window. Full screen and maximised windows show
    // the layout as large as fits; this zoom comes back when they end.
    void setZoom(double z) override
    {
        chosen_ = view::clampZoom(z);
        resizeClient();
    }
    double largestZoom() const override
    {
        const QScreen* screen = widget_->screen();
        if (!screen)
            return view::kMaxZoom;
        const QSize area = screen->availableGeometry().size();
        return view::largestZoom({area.width(), area.height()}, client(), frame());
    }
    bool fullScreen() const override { return widget_->isFullScreen(); }
    void setFullScreen(bool on) override
    {
        if (on == fullScreen())
            return;
        if (on && !widget_->isVisible()) {
            // Full screen from the start: the window manager is told before
            // it first maps the window, so it never shows an ordinary one.
            widget_->setWindowState(widget_->windowState() | Qt::WindowFullScreen);
        } else if (on) {
            widget_->showFullScreen();
            coverScreen();
        } else if (wasMaximized_)
            widget_->showMaximized();
        else
            widget_->showNormal();
    }

    // Where no window manager places it (a bare X session in a classroom),
    // a full-screen window covers the screen by itself. Never where one does:
    // a geometry set by hand makes it take the window out of full screen.
    void coverScreen()
    {
        if (const QScreen* screen = widget_->screen(); screen && widget_->windowHandle() && !x11::windowManaged())
            widget_->windowHandle()->setGeometry(screen->geometry());
    }

    // The window became or stopped being full screen or maximised.
    void stateChanged()
    {
        const bool fit = widget_->isFullScreen() || widget_->isMaximized();
        if (!widget_->isFullScreen())
            wasMaximized_ = widget_->isMaximized();
        if (fit == fitted_) {
            if (fit)
                refit();
            return;
        }
        fitted_ = fit;
        resizeClient();
    }
    void resized()
    {
        if (fitted_)
            refit();
    }
    // A window manager framed or moved the window: once its frame is known,
    // the largest zoom that fits may differ from the one assumed.
    void moved()
    {
        if (!fitted_ && widget_->isVisible() && frame() != sizedFor_)
            resizeClient();
    }

    QWidget* parentWidget(Container* parent)
    {
        if (!parent || parent == this)
            return widget_;
        return static_cast<QtPictureBox*>(parent)->canvas_;
    }

    PictureBox& addPictureBox(Container* parent, const Layout& l) override
    {
        auto box = std::make_unique<QtPictureBox>(parentWidget(parent), l);
        boxPlacements_.push_back(std::make_unique<BoxPlacement>(*box, l));
        placements_.push_back(boxPlacements_.back().get());
        QWidget* w = box->frame_;
        return keep(std::move(box), w);
    }
    CommandButton& addButton(const std::string& caption, const Layout& l) override
    {
        return keepPlaced(std::make_unique<QtButton>(widget_, caption, l));
    }
    CheckBox& addCheckBox(Container* parent, const std::string& caption, int value, const Layout& l) override
    {
        return keepPlaced(std::make_unique<QtCheckBox>(parentWidget(parent), caption, value, l));
    }
    TextBox& addTextBox(Container* parent, const std::string& text, const Layout& l) override
    {
        return keepPlaced(std::make_unique<QtTextBox>(parentWidget(parent), text, l));
    }
    ComboBox& addComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& l) override
    {
        return keepPlaced(std::make_unique<QtComboBox>(widget_, items, text, l));
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
            else
                w->setFocus(Qt::OtherFocusReason);  // the first takes the focus when the window opens
            previous = w;
        }
    }

    // A pane not shown takes no focus; should it hold the window's focus
    // (the first of the tab order, given before the window opened), the
    // focus goes on to the next control that takes it.
    void setPaneShown(const PictureBox& box, bool shown) override
    {
        QWidget* w = widgetFor(&box);
        if (!w)
            return;
        w->setFocusPolicy(shown ? Qt::StrongFocus : Qt::NoFocus);
        if (shown || widget_->focusWidget() != w)
            return;
        for (QWidget* next = w->nextInFocusChain(); next && next != w; next = next->nextInFocusChain())
            if (next->window() == widget_ && next != widget_ && (next->focusPolicy() & Qt::TabFocus) &&
                next->isEnabled() && !next->isHidden()) {
                next->setFocus(Qt::OtherFocusReason);
                return;
            }
        w->clearFocus();
    }

    void Show() override
    {
        widget_->show();
        if (fullScreen())
            coverScreen();
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
    const void* controlOf(const QWidget* w) const
    {
        for (; w; w = w->parentWidget())
            for (const auto& [c, cw] : widgets_)
                if (cw == w)
                    return c;
        return nullptr;
    }

    WindowWidget* widget_;
    Colour back_;
    double zoom_ = 1;  ///< shown now: the chosen zoom, or the fit of a full screen
    QPoint offset_;    ///< where the layout starts in a full screen, centred

private:
    template <typename T>
    T& keepPlaced(std::unique_ptr<T> control)
    {
        QWidget* w = control->widget();
        placements_.push_back(control.get());  // the control places itself
        return keep(std::move(control), w);
    }
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
        keepAlive_.push_back(std::shared_ptr<T>(std::move(control)));  // owns it with its own type
        return ref;
    }
    bool ownedWidget(QWidget* w) const
    {
        return std::any_of(widgets_.begin(), widgets_.end(), [w](const auto& e) { return e.second == w; });
    }

    // Every control placed, sized and drawn at zoom z.
    void apply(double z, QPoint offset)
    {
        if (z == zoom_ && offset == offset_)
            return;
        zoom_ = z;
        offset_ = offset;
        for (Placement* placement : placements_)
            placement->zoomTo(z, placement->widget()->parentWidget() == widget_ ? offset : QPoint());
        widget_->update();
    }

    // The client area the program asks for with the window's outer size in
    // twips, in the layout's pixels: always through the standard frame the
    // layout was made for, whatever frame a window manager draws, so that
    // the inside of the window is the layout's size times the zoom.
    view::Size client() const { return view::clientOf(widthTwips_, heightTwips_); }

    // The frame around the window as it is, or as it will be: none on a bare
    // X display, a window manager's own once it has framed the window, the
    // standard one until then.
    view::Frame frame() const
    {
        if (widget_->isVisible()) {
            const QRect fg = widget_->frameGeometry(), g = widget_->geometry();
            if (fg != g)
                return {g.left() - fg.left(), fg.right() - g.right(), g.top() - fg.top(), fg.bottom() - g.bottom()};
        }
        return x11::windowManaged() ? view::Frame{} : view::kNoFrame;
    }

    // An ordinary window takes the size the program asks for at the chosen
    // zoom, or at the largest zoom that fits the screen; a full screen or
    // maximised one keeps its size and fits the zoom instead.
    void resizeClient()
    {
        if (fitted_) {
            refit();
            return;
        }
        sizedFor_ = frame();
        apply(std::min(chosen_, largestZoom()), {});
        cover();
        const view::Size shown = view::atZoom(client(), zoom_);
        widget_->resize(shown.width, shown.height);
    }

    // The largest zoom at which the layout the program asks for fits the
    // window, the layout centred.
    void refit()
    {
        const view::Fit f = view::fit({widget_->width(), widget_->height()}, client());
        apply(f.zoom, QPoint(f.left, f.top));
        cover();
    }

    // In full screen or maximised, what lies right of and below the layout
    // the program asks for (a pane it has not shown) stays hidden under the
    // window's colour, as it is beyond the edge of an ordinary window.
    void cover()
    {
        const view::Size shown = view::atZoom(client(), zoom_);
        const QRect layout(offset_, QSize(shown.width, shown.height)), all = widget_->rect();
        const QRect right(layout.right() + 1, 0, all.width() - layout.right() - 1, all.height());
        const QRect below(0, layout.bottom() + 1, layout.right() + 1, all.height() - layout.bottom() - 1);
        for (int i = 0; i < 2; ++i) {
            QWidget*& c = covers_[i];
            const QRect r = fitted_ ? (i == 0 ? right : below) : QRect();
            if (!c && r.isEmpty())
                continue;
            if (!c) {
                c = new QWidget(widget_);
                c->setAutoFillBackground(true);
                QPalette palette = c->palette();
                palette.setColor(QPalette::Window, toQColor(back_));
                c->setPalette(palette);
            }
            c->setGeometry(r);
            c->setVisible(!r.isEmpty());
            c->raise();
        }
    }

    int widthTwips_ = 0, heightTwips_ = 0;
    double chosen_ = 1;        ///< the zoom of the ordinary window
    bool fitted_ = false;      ///< full screen or maximised: the zoom fits the window
    bool wasMaximized_ = false;
    bool alive_ = true;
    view::Frame sizedFor_;     ///< the frame the ordinary window was last sized with
    QWidget* covers_[2] = {};  ///< over what lies right of and below the layout when fitted
    KeyFilter keys_;
    QSize layout_;  ///< the whole layout, in its own pixels
    std::vector<Placement*> placements_;  ///< every windowed control's, in the order made
    std::vector<std::unique_ptr<BoxPlacement>> boxPlacements_;  ///< the picture boxes' (the others are the controls)
    std::vector<std::pair<const void*, QWidget*>> widgets_;
    std::vector<std::shared_ptr<void>> keepAlive_;
};

namespace {
Key::Code codeOf(int key)
{
    switch (key) {
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_End: return Key::End;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Delete: return Key::Delete;
    case Qt::Key_Backspace: return Key::Backspace;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_F5: return Key::F5;
    case Qt::Key_F10: return Key::F10;
    case Qt::Key_F11: return Key::F11;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return Key::Plus;
    case Qt::Key_Minus: return Key::Minus;
    case Qt::Key_Menu: return Key::Menu;
    default: break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return Key::Digit;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return Key::Letter;
    return Key::Other;
}
}  // namespace

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !window_.KeyDown || !window_.alive())
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != window_.widget_)
        return false;
    const auto* e = static_cast<QKeyEvent*>(event);
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
        return false;
    Key k;
    k.code = codeOf(e->key());
    if (k.code == Key::Digit)
        k.digit = e->key() - Qt::Key_0;
    if (k.code == Key::Letter)
        k.letter = static_cast<char>('A' + (e->key() - Qt::Key_A));
    k.ctrl = e->modifiers() & Qt::ControlModifier;
    k.shift = e->modifiers() & Qt::ShiftModifier;
    k.alt = e->modifiers() & Qt::AltModifier;
    // The control the key is for: the focused one, also while the key goes
    // up from it to its parents; a key sent straight to another widget is
    // that widget's.
    QWidget* target = QApplication::focusWidget();
    if (!target || (target != w && !w->isAncestorOf(target)))
        target = w;
    k.focus = window_.controlOf(target);
    bool taken = false;
    guarded([&] { taken = window_.KeyDown(k); });
    return taken;
}

void WindowWidget::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), toQColor(window_.back_));
    p.translate(window_.offset_);
    paintGraphics(p, window_, e->rect().translated(-window_.offset_), window_.zoom_);
}

void WindowWidget::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange)
        window_.stateChanged();
}

void WindowWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    window_.resized();
}

void WindowWidget::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    window_.moved();
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
const QImage& layerOf(const PictureBox& box) { return static_cast<const QtPictureBox&>(box).designImage(); }
const QImage& displayOf(const PictureBox& box) { return static_cast<const QtPictureBox&>(box).displayImage(); }
QImage renderLayer(const PictureBox& box, double scale)
{
    return view(static_cast<const QtPictureBox&>(box).layer_.render(scale)).copy();
}
std::size_t keptCalls(const PictureBox& box) { return static_cast<const QtPictureBox&>(box).layer_.kept(); }
QWidget* widgetOfControl(const Window& window, const void* control)
{
    return static_cast<const QtWindow&>(window).widgetFor(control);
}
const void* controlOf(const Window& window, const QWidget* w) { return static_cast<const QtWindow&>(window).controlOf(w); }

}  // namespace qt

std::unique_ptr<Window> Window::create(const std::string& caption, Colour back, int clientW, int clientH)
{
    return std::make_unique<qt::QtWindow>(caption, back, clientW, clientH);
}

}  // namespace platform
