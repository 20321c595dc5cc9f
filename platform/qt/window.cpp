// The window and its controls on Qt Widgets: the widgets the shell asks for,
// their places and fonts, the window's size, full screen and frame, and the
// keys and window events handed to the shell.
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPaintEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTranslator>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/face.h"
#include "platform/qt/internal.h"
#include "platform/shell/shell.h"

namespace platform {

namespace qt {

WindowWidget* windowWidget(Native n) { return widget<WindowWidget>(n); }

namespace {

// Every widget that stands for a control of the shell.
std::set<const QWidget*>& natives()
{
    static std::set<const QWidget*> all;
    return all;
}

QString colourName(Colour c) { return toQColor(c).name(); }

// A graphical button: its colour fills the whole face, its border grows with the zoom.
class Button : public QPushButton {
public:
    Button(const QString& caption, QWidget* parent, Colour back) : QPushButton(caption, parent), back_(back) {}
    std::vector<lang::Run> runs;  ///< a caption with readings above it, drawn here; empty: the toolkit's text
    void zoomTo(int border)
    {
        setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; border: %3px outset %2; }"
                                     "QPushButton:pressed { border: %3px inset %2; }"
                                     "QPushButton:disabled { color: #808080; }"
                                     "QPushButton:focus { outline: none; }")
                          .arg(colourName(back_), toQColor(back_).darker(130).name())
                          .arg(border));
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPushButton::paintEvent(e);
        if (runs.empty())
            return;
        QPainter p(this);
        p.setPen(isEnabled() ? Qt::black : QColor(0x80, 0x80, 0x80));
        drawRuns(p, rect(), runs, font(), true);
    }

private:
    Colour back_;
};

// A control inside a picture box, drawn by the shell as it draws it into pictures.
void paintByShell(QWidget* w)
{
    QPainter p(w);
    Painter painter(p, w->devicePixelRatioF());
    shell::paintControl(nativeOf(w), painter, w->devicePixelRatioF());
}

// A check box in its colours; inside a picture box the shell draws it.
class Check : public QCheckBox {
public:
    Check(const QString& caption, QWidget* parent, Colour back, Colour fore, bool drawnByShell)
        : QCheckBox(caption, parent), back_(back), fore_(fore), drawnByShell_(drawnByShell)
    {
    }
    std::vector<lang::Run> runs;  ///< a caption with readings above it, drawn here
    void zoomTo(double z)
    {
        QString sheet = QStringLiteral("QCheckBox { background-color: %1; color: %2; }").arg(colourName(back_), colourName(fore_));
        if (z != 1) {  // the box and the gap after it grow with the caption
            sheet += QStringLiteral(" QCheckBox { spacing: %1px; } QCheckBox::indicator { width: %2px; height: %2px; }")
                         .arg(std::lround(spacing_ * z))
                         .arg(std::lround(indicator_ * z));
        }
        setStyleSheet(sheet);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        if (drawnByShell_)
            return paintByShell(this);
        QCheckBox::paintEvent(e);
        if (runs.empty())
            return;
        QPainter p(this);
        p.setPen(toQColor(fore_));
        QStyleOptionButton option;
        initStyleOption(&option);
        const int text = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this).left();
        drawRuns(p, rect().adjusted(text, 0, 0, 0), runs, font(), false);
    }

private:
    Colour back_, fore_;
    bool drawnByShell_;
    int indicator_ = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    int spacing_ = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
};

// The distance box: for reading only (the program reads it back), drawn by the shell.
class Edit : public QLineEdit {
public:
    Edit(const QString& text, QWidget* parent, bool drawnByShell) : QLineEdit(text, parent), drawnByShell_(drawnByShell)
    {
        setReadOnly(true);
    }

protected:
    void paintEvent(QPaintEvent* e) override { drawnByShell_ ? paintByShell(this) : QLineEdit::paintEvent(e); }

private:
    bool drawnByShell_;
};

// Hands every key pressed in the window to the shell before the focused
// control sees it.
class KeyFilter : public QObject {
public:
    explicit KeyFilter(WindowWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowWidget* window_;
};

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
    case Qt::Key_F8: return Key::F8;
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

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != window_)
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
    return shell::key(nativeOf(window_), k, controlOf(target));
}

QWidget* parentOf(const backend::NewControl& s)
{
    if (s.parent)
        return widget<BoxFrame>(s.parent)->canvas;
    return windowWidget(s.window);
}

}  // namespace

void watchKeys(WindowWidget* window)
{
    window->keys = new KeyFilter(window);
    qApp->installEventFilter(window->keys);
}

Native controlOf(const QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (natives().count(w))
            return nativeOf(w);
    return 0;
}

// ---- the window -------------------------------------------------------------------

// The toolkit's own texts (the file and print dialogs, the question before a
// file is overwritten, the buttons of a message box) in the lesson's
// language, whatever the system's; in English where the toolkit's
// translation of that language is not installed (Debian has none for
// Filipino, Vietnamese and Nepali).
void toolkitIn(const lang::Language& language)
{
    static QTranslator* translator = nullptr;
    if (!translator)
        translator = new QTranslator(qApp);
    else
        QCoreApplication::removeTranslator(translator);
    const QLocale locale(QString::fromLatin1(language.tag).replace(QLatin1Char('-'), QLatin1Char('_')));
    QLocale::setDefault(locale);  // dates and sizes in the file dialog, and the language a screen reader is told
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

WindowWidget::WindowWidget(Colour b, QSize layout) : back(b)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(programFont(Font{}));
    resize(layout);
    // Never larger than the whole layout at the largest zoom, or the screen,
    // whichever is larger: a window as large as the toolkit allows would
    // take gigabytes.
    QSize limit = layout * view::kMaxZoom;
    if (const QScreen* s = screen())
        limit = limit.expandedTo(s->geometry().size());
    setMaximumSize(limit);
    // Destroyed by another client, the window is gone as after 終了.
    x11::onDestroyed(this, [this] {
        shell::windowClosed(nativeOf(this));
        hide();
        QCoreApplication::exit(0);
    });
}

WindowWidget::~WindowWidget() = default;

void WindowWidget::coverScreen()
{
    if (const QScreen* s = screen(); s && windowHandle() && !x11::windowManaged())
        windowHandle()->setGeometry(s->geometry());
}

view::Frame WindowWidget::frame() const
{
    if (isVisible()) {
        const QRect fg = frameGeometry(), g = geometry();
        if (fg != g)
            return {g.left() - fg.left(), fg.right() - g.right(), g.top() - fg.top(), fg.bottom() - g.bottom()};
    }
    return x11::windowManaged() ? view::Frame{} : view::kNoFrame;
}

void WindowWidget::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), toQColor(back));
    Painter painter(p, devicePixelRatioF());
    shell::paintWindow(nativeOf(this), painter, {e->rect().left(), e->rect().top(), e->rect().width(), e->rect().height()},
                       devicePixelRatioF());
}

void WindowWidget::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) {
        if (!isFullScreen())
            wasMaximized = isMaximized();
        shell::windowStateChanged(nativeOf(this));
    }
}

void WindowWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    shell::windowResized(nativeOf(this));
}

void WindowWidget::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    shell::windowFramed(nativeOf(this));
}

void WindowWidget::closeEvent(QCloseEvent* e)
{
    shell::windowClosed(nativeOf(this));
    QWidget::closeEvent(e);
}

}  // namespace qt

namespace backend {

using namespace qt;

const PixelOrder kPixelOrder = PixelOrder::Argb;

Native makeWindow(const std::string& caption, Colour back, view::Size layout)
{
    static const bool toolkit = (toolkitIn(lang::current()), true);
    (void)toolkit;
    auto* w = new WindowWidget(back, QSize(layout.width, layout.height));
    w->setWindowTitle(q(caption));
    watchKeys(w);
    watchAccess(w);
    return nativeOf(w);
}

Surroundings surroundings(Native window)
{
    const WindowWidget* w = windowWidget(window);
    Surroundings s;
    s.window = {w->width(), w->height()};
    if (const QScreen* screen = w->screen()) {
        const QSize area = screen->availableGeometry().size();
        s.screen = {area.width(), area.height()};
    }
    s.frame = w->frame();
    s.fills = w->isFullScreen() || w->isMaximized();
    return s;
}

void sizeWindow(Native window, view::Size inside) { windowWidget(window)->resize(inside.width, inside.height); }

// Where the layout shows; in full screen or maximised, what lies right of and
// below it (a pane the program has not shown) stays hidden under the
// window's colour, as it is beyond the edge of an ordinary window.
void showLayout(Native window, Box shown, double zoom, int)
{
    WindowWidget* w = windowWidget(window);
    w->offset = QPoint(shown.left, shown.top);
    w->zoom = zoom;
    const QRect layout = toRect(shown), all = w->rect();
    const QRect right(layout.right() + 1, 0, all.width() - layout.right() - 1, all.height());
    const QRect below(0, layout.bottom() + 1, layout.right() + 1, all.height() - layout.bottom() - 1);
    const bool fitted = w->isFullScreen() || w->isMaximized();
    for (int i = 0; i < 2; ++i) {
        QWidget*& c = w->covers[i];
        const QRect r = fitted ? (i == 0 ? right : below) : QRect();
        if (!c && r.isEmpty())
            continue;
        if (!c) {
            c = new QWidget(w);
            c->setAutoFillBackground(true);
            QPalette palette = c->palette();
            palette.setColor(QPalette::Window, toQColor(w->back));
            c->setPalette(palette);
        }
        c->setGeometry(r);
        c->setVisible(!r.isEmpty());
        c->raise();
    }
}

void showWindow(Native window)
{
    WindowWidget* w = windowWidget(window);
    w->show();
    if (w->isFullScreen())
        w->coverScreen();
}

bool fullScreen(Native window) { return windowWidget(window)->isFullScreen(); }

void setFullScreen(Native window, bool on)
{
    WindowWidget* w = windowWidget(window);
    if (on == w->isFullScreen())
        return;
    if (on && !w->isVisible()) {
        // Full screen from the start: the window manager is told before
        // it first maps the window, so it never shows an ordinary one.
        w->setWindowState(w->windowState() | Qt::WindowFullScreen);
    } else if (on) {
        w->showFullScreen();
        w->coverScreen();
    } else if (w->wasMaximized) {
        w->showMaximized();
    } else {
        w->showNormal();
    }
}

void endWindow(Native window)
{
    windowWidget(window)->hide();
    QCoreApplication::exit(0);
}

void destroyWindow(Native window)
{
    WindowWidget* w = windowWidget(window);
    for (QWidget* child : w->findChildren<QWidget*>())
        natives().erase(child);
    delete w;
}

// ---- controls ---------------------------------------------------------------------------

Native make(const NewControl& s)
{
    QWidget* parent = parentOf(s);
    QWidget* w = nullptr;
    switch (s.kind) {
    case Kind::Label:
        return 0;  // the window paints its labels
    case Kind::Button: {
        auto* b = new Button(q(s.text), parent, s.back);
        b->zoomTo(view::borderAt(1));
        QObject::connect(b, &QPushButton::clicked, b, [b] { shell::clicked(nativeOf(b)); });
        w = b;
        break;
    }
    case Kind::CheckBox: {
        auto* c = new Check(q(s.text), parent, s.back, s.fore, s.parent != 0);
        c->zoomTo(1);
        c->setChecked(s.checked);
        // The pupil's clicks arrive here; the shell's own changes are made with the signal held back.
        QObject::connect(c, &QCheckBox::toggled, c, [c](bool on) { shell::toggled(nativeOf(c), on); });
        w = c;
        break;
    }
    case Kind::TextBox:
        w = new Edit(q(s.text), parent, s.parent != 0);
        break;
    case Kind::ComboBox: {
        auto* c = new QComboBox(parent);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        for (const auto& item : s.items)
            c->addItem(q(item), 0);
        c->setEditText(q(s.text));
        w = c;
        break;
    }
    case Kind::PictureBox:
        w = new BoxFrame(parent);
        break;
    }
    w->setFont(programFont(s.font));
    w->setProperty("kansuBold", s.font.bold);
    // Made in stacking order, first on top: each new one goes below the
    // windowed siblings made before it.
    const QObjectList siblings = parent->children();  // raise() reorders the live list
    for (QObject* o : siblings)
        if (auto* sibling = qobject_cast<QWidget*>(o); sibling && sibling != w && natives().count(sibling))
            sibling->raise();
    natives().insert(w);
    return nativeOf(w);
}

void place(Native control, Box box, int fontPixels, int border, double zoom)
{
    QWidget* w = widget(control);
    const auto* window = dynamic_cast<const WindowWidget*>(w->parentWidget());
    const QRect r = toRect(box).translated(window ? window->offset : QPoint());
    if (auto* frame = dynamic_cast<BoxFrame*>(w)) {
        frame->setGeometry(r);
        frame->setLineWidth(border);
        frame->canvas->setGeometry(border, border, r.width() - 2 * border, r.height() - 2 * border);
        frame->zoom = zoom;
        return;
    }
    w->setGeometry(r);
    // The distance box and the pace list hold only digits: they keep the
    // program's own face in every language, so that their digits sit as designed.
    const bool bold = w->property("kansuBold").toBool();
    QFont font = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ? ownFont(fontPixels, bold)
                                                                            : programFont(Font{9, bold});
    font.setPixelSize(fontPixels);
    w->setFont(font);
    if (auto* b = dynamic_cast<Button*>(w))
        b->zoomTo(border);
    else if (auto* c = dynamic_cast<Check*>(w))
        c->zoomTo(zoom);
}

void setEnabled(Native button, bool enabled) { widget(button)->setEnabled(enabled); }

void setCaption(Native control, const Caption& caption)
{
    QWidget* w = widget(control);
    const bool readings = std::any_of(caption.runs.begin(), caption.runs.end(), [](const lang::Run& r) { return !r.reading.empty(); });
    const QString text = readings ? QString() : q(lang::plain(caption.runs, false));
    if (auto* b = dynamic_cast<Button*>(w)) {
        b->runs = readings ? caption.runs : std::vector<lang::Run>{};
        b->setText(text);
        b->setAccessibleName(b->accessibleName());
    } else if (auto* c = dynamic_cast<Check*>(w)) {
        c->runs = readings ? caption.runs : std::vector<lang::Run>{};
        c->setText(text);
    }
    w->update();
}

void setTitle(Native window, const std::string& title) { widget(window)->setWindowTitle(q(title)); }

double textWidth(const std::string& text, int pixels, bool bold) { return qt::textWidth(text, pixels, bold); }
double lineHeight(int pixels, bool bold) { return qt::lineHeight(pixels, bold); }

void setLanguage(Native window, const lang::Language& language)
{
    QStringList& families = captionFamilies();
    families.clear();
    for (const char* family : face::captionFaces(language.code, false))
        families << QString::fromUtf8(family);
    families << ownFamilies();
    forgetFonts();
    toolkitIn(language);
    WindowWidget* w = windowWidget(window);
    w->setFont(programFont(Font{}));
    w->update();
}

void setChecked(Native check, bool checked)
{
    auto* c = widget<QCheckBox>(check);
    const QSignalBlocker held(c);
    c->setChecked(checked);
    c->update();
}

void setText(Native control, const std::string& text)
{
    QWidget* w = widget(control);
    if (auto* edit = dynamic_cast<QLineEdit*>(w))
        edit->setText(q(text));
    else if (auto* combo = dynamic_cast<QComboBox*>(w))
        combo->setEditText(q(text));
    else if (auto* button = dynamic_cast<QAbstractButton*>(w))
        button->setText(q(text));
}

std::string text(Native combo) { return widget<QComboBox>(combo)->currentText().toStdString(); }

void setTabOrder(const std::vector<Native>& order)
{
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(widget(order[i - 1]), widget(order[i]));
}

void setShown(Native control, bool shown) { widget(control)->setFocusPolicy(shown ? Qt::StrongFocus : Qt::NoFocus); }

void focus(Native control) { widget(control)->setFocus(Qt::OtherFocusReason); }

Native focused() { return controlOf(QApplication::focusWidget()); }

// Called for every move of a graphical control: no casts that search.
void repaint(Native control, Box part)
{
    auto* w = reinterpret_cast<QWidget*>(control);
    const bool window = w->isWindow();
    QWidget* painted = window ? w : static_cast<BoxFrame*>(w)->canvas;
    if (part.empty())
        painted->update();
    else
        painted->update(toRect(part).translated(window ? static_cast<WindowWidget*>(w)->offset : QPoint()));
}

}  // namespace backend

// ---- the widgets behind the lesson's controls, for the entry and the tests ---------------------

namespace qt {

namespace {
QWidget* nativeWidget(const Window& window, const void* control)
{
    const auto& w = static_cast<const shell::ShellWindow&>(window);
    if (control == &window)
        return widget(w.native());
    const shell::Control* c = w.find(control);
    return c ? widget(c->native) : nullptr;
}
const shell::ShellWindow& windowOfControl(const void* control)
{
    for (shell::ShellWindow* w : shell::allWindows())
        if (w->find(control))
            return *w;
    throw std::logic_error("a control of no window");
}
template <typename T>
QWidget* controlWidget(const T& control)
{
    return nativeWidget(windowOfControl(&control), &control);
}
}  // namespace

QWidget* widgetOf(const Window& window) { return widget(static_cast<const shell::ShellWindow&>(window).native()); }
QWidget* widgetOf(const PictureBox& box) { return static_cast<BoxFrame*>(controlWidget(box))->canvas; }
QWidget* frameOf(const PictureBox& box) { return controlWidget(box); }
QWidget* widgetOf(const CommandButton& b) { return controlWidget(b); }
QWidget* widgetOf(const CheckBox& b) { return controlWidget(b); }
QWidget* widgetOf(const TextBox& b) { return controlWidget(b); }
QWidget* widgetOf(const ComboBox& b) { return controlWidget(b); }

const QImage& layerOf(const PictureBox& box)
{
    const Layer& layer = static_cast<const shell::ShellPictureBox&>(box).layer();
    BoxFrame::Copy& copy = static_cast<BoxFrame*>(controlWidget(box))->design;
    if (copy.version != layer.version()) {
        copy.image = view(layer.design()).copy();
        copy.version = layer.version();
    }
    return copy.image;
}

const QImage& displayOf(const PictureBox& box)
{
    const Layer& layer = static_cast<const shell::ShellPictureBox&>(box).layer();
    BoxFrame::Copy& copy = static_cast<BoxFrame*>(controlWidget(box))->display;
    if (copy.version != layer.version() || copy.scale != layer.scale()) {
        copy.image = view(layer.display()).copy();
        copy.version = layer.version();
        copy.scale = layer.scale();
    }
    return copy.image;
}

std::size_t keptCalls(const PictureBox& box) { return static_cast<const shell::ShellPictureBox&>(box).layer().kept(); }

}  // namespace qt

}  // namespace platform
