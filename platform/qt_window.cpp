// The window and its windowed controls (buttons, check boxes, the text box,
// the combo box) on Qt Widgets, and the factory that lays them out.
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "platform/qt_internal.h"
#include "platform/qt_picturebox.h"

namespace platform {

namespace qt {

namespace {

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
    QtWindow(const std::string& caption, Colour back, int clientW, int clientH) : back_(back), keys_(*this)
    {
        qApp->installEventFilter(&keys_);
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

    double zoom() const override { return zoom_; }
    void setZoom(double z) override { zoom_ = std::clamp(z, 1.0, 3.0); }
    bool fullScreen() const override { return widget_->isFullScreen(); }
    void setFullScreen(bool on) override
    {
        if (on != fullScreen())
            on ? widget_->showFullScreen() : widget_->showNormal();
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
            else
                w->setFocus(Qt::OtherFocusReason);  // the first takes the focus when the window opens
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
    // The control whose widget is w or holds it (the line edit inside the
    // combo box, the drawing area inside a picture box's frame).
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
        keepAlive_.push_back(std::shared_ptr<T>(std::move(control)));  // owns it with its own type
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
    double zoom_ = 1;
    bool alive_ = true;
    KeyFilter keys_;
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

}  // namespace platform
