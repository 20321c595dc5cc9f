// Pieces of the desktop backend that its files share: the widgets behind the
// natives, the painter, and what the toolkit does not tell about X11.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/backend.h"
#include "platform/qt/bridge.h"

namespace platform::qt {

using backend::Native;

inline QString q(const std::string& s) { return QString::fromStdString(s); }
inline QRect toRect(const Box& b) { return QRect(b.left, b.top, b.width, b.height); }
inline Native nativeOf(const QWidget* w) { return reinterpret_cast<Native>(w); }
template <typename T = QWidget>
T* widget(Native n)
{
    return dynamic_cast<T*>(reinterpret_cast<QWidget*>(n));
}

// The control whose native widget is w or holds it (the line edit inside the
// combo box, the drawing area inside a picture box's frame), or 0.
Native controlOf(const QWidget* w);

// The program's window: its colour, where the layout shows in it, the
// marks, and the events it hands to the shell.
class WindowWidget : public QWidget {
public:
    WindowWidget(Colour back, QSize layout);
    ~WindowWidget() override;
    Colour back;
    QPoint offset;    ///< where the layout starts (centred in a full screen)
    double zoom = 1;
    bool wasMaximized = false;
    QWidget* covers[2] = {};  ///< over what lies right of and below the layout
    QWidget* focusMark = nullptr;
    QObject* keys = nullptr;    ///< the filter that hands keys to the shell
    QObject* access = nullptr;  ///< the filter that tells the shell of the keyboard's use
    QWidget* notice = nullptr;  ///< what a screen reader is told aloud (see platform/qt/access.cpp)
    // Where no window manager places it, a full-screen window covers the screen by itself.
    void coverScreen();
    // The frame around the window as it is, or as it will be.
    view::Frame frame() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
};

// A picture box: a sunken frame around the canvas where the shell paints.
class Canvas : public QWidget {
public:
    explicit Canvas(QWidget* frame);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void deliver(shell::Pointer what, QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
};
class BoxFrame : public QFrame {
public:
    explicit BoxFrame(QWidget* parent);
    Canvas* canvas;
    double zoom = 1;
    // Copies of the layer's images for those who keep them (tests).
    struct Copy {
        QImage image;
        std::uint64_t version = ~std::uint64_t(0);
        double scale = 0;
    };
    Copy design, display;
};

// Paints the graphical controls, texts, strokes and pixels the shell asks
// for with a QPainter whose pixels have `ratio` device pixels to one.
template <typename Base>
class PainterOf : public Base {
public:
    PainterOf(QPainter& p, double ratio) : p_(p), ratio_(ratio) {}
    void fillDevice(const Box& device, Colour colour) override;
    void slopedLine(const LineControl& line) override;
    void label(const Label& label) override;
    void shape(const Shape& shape) override;
    void image(const Image& image, int x, int y, const Box& clip) override;
    void stroke(double x1, double y1, double x2, double y2, double width, Colour colour) override;
    void text(double x, double y, const std::string& text, int pixels, bool bold, double scale, Colour colour,
              bool ownFace) override;
    void clip(const Box& device) override;
    void unclip() override { p_.restore(); }

protected:
    // Saved and moved to the container's top left, at the scale of device
    // pixels, or of the layout's.
    void atDevice();
    void atLayout();
    QPainter& p_;
    double ratio_;
};
using Painter = PainterOf<GraphicsPainter>;

// A picture for copy, save and print: an image the shell paints into.
struct PictureImage {
    explicit PictureImage(view::Size size, Colour back);
    QImage pixels;
    QPainter onPixels;
};
class QtPicture : private PictureImage, public PainterOf<backend::Picture> {
public:
    QtPicture(view::Size size, Colour back) : PictureImage(size, back), PainterOf(onPixels, 1) {}
    view::Size size() const override { return {pixels.width(), pixels.height()}; }
    // The finished picture, saying that it is `dotsPerInch`.
    QImage finished(int dotsPerInch);
};

WindowWidget* windowWidget(Native n);

// The program's own face (its family list), and the captions' faces: the
// chosen language's first, then the program's.
const QStringList& ownFamilies();
QStringList& captionFamilies();
// Forgets the fonts made for a face that is no longer the captions'.
void forgetFonts();
double textWidth(const std::string& text, int pixels, bool bold);
double lineHeight(int pixels, bool bold);
// The program's own face, whatever the language.
const QFont& ownFont(int pixels, bool bold);
// Runs of a caption with their readings above them, in `area`: centred, or from its left.
void drawRuns(QPainter& p, const QRectF& area, const std::vector<lang::Run>& runs, const QFont& font, bool centred);

// The toolkit's own texts (file and print dialogs, message boxes) in the language.
void toolkitIn(const lang::Language& language);
// Sets up what tells the shell of the keyboard's use and of focus moves, and
// the marks, for a window.
void watchAccess(WindowWidget* window);
// Sets up the filter that hands a window's keys to the shell.
void watchKeys(WindowWidget* window);

// What the toolkit does not tell about an X11 display (x11.cpp).
namespace x11 {
// Whether windows are placed by a window manager that can show them full
// screen: always, but on an X11 display without one that follows the
// freedesktop hints (a bare X session, where a window takes the size it asks
// for and nothing more).
bool windowManaged();
// Calls `gone` when another client destroys the window's X window (a session
// manager, a crashed compositor), which leaves the program without a window.
void onDestroyed(QWidget* window, std::function<void()> gone);
}  // namespace x11

}  // namespace platform::qt
