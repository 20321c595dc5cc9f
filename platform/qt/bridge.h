// Toolkit side of the surface, for the program's entry and for tests that
// drive the real widgets (mouse events, screenshots). The program's own code
// never includes this header.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>

#include "platform/layer.h"
#include "platform/surface.h"

class QPrinter;

namespace platform::qt {

using platform::deviceWidth;
using platform::toDevice;

// 0x00BBGGRR -> QColor, and back.
QColor toQColor(Colour c);
Colour fromQColor(const QColor& c);

// The program's face at the given size, at 96 dpi, `zoom` times as large.
QFont programFont(const Font& font, bool smooth = true, double zoom = 1);
// A layer's image as the toolkit's, without a copy: valid while the image
// is not changed.
QImage view(const Image& image);

// The widget behind a control, and the drawing area of a picture box (its
// client area, where mouse positions and drawing coordinates start).
QWidget* widgetOf(const Window& window);
QWidget* widgetOf(const PictureBox& box);      // the client area
QWidget* frameOf(const PictureBox& box);       // with its border
QWidget* widgetOf(const CommandButton& button);
QWidget* widgetOf(const CheckBox& box);
QWidget* widgetOf(const TextBox& box);
QWidget* widgetOf(const ComboBox& box);
// The widget of any control of the window given by its address (a picture
// box's frame), and the control whose widget is w or holds it (the line edit
// inside the combo box, the drawing area inside a frame); null for none.
QWidget* widgetOfControl(const Window& window, const void* control);
const void* controlOf(const Window& window, const QWidget* w);

// The drawing layer of a picture box, in the layout's pixels.
const QImage& layerOf(const PictureBox& box);
// The layer as the screen shows it: drawn at the zoom times the screen's
// device pixel ratio (the layout image itself at 100 % on an unscaled screen).
const QImage& displayOf(const PictureBox& box);
// The layer drawn afresh at any scale (device pixels per layout pixel).
QImage renderLayer(const PictureBox& box, double scale);
// How many drawing calls the layer keeps to draw itself again.
std::size_t keptCalls(const PictureBox& box);

// Copy, save and print (platform/qt_export.cpp).
// The picture at `scale` device pixels per layout pixel: each box as the
// screen shows it at that zoom, drawn afresh.
QImage picture(const exporting::Picture& picture, double scale);
// Writes the image as PNG to a temporary file that is renamed to `path` when
// complete. Empty when it worked, else the message for the user: what failed,
// the file and why; nothing is left behind.
QString savePng(const QImage& image, const QString& path);
// Lays the lesson out on the printer's page with the date in a footer; a PDF
// file is written as savePng writes. Empty when it worked, else the message.
QString printLesson(const exporting::Picture& lesson, QPrinter& printer);

// The dialogs and the message box of copy, save and print: the toolkit's own
// until a test puts its stand-ins in place.
struct ExportDialogs {
    // The file chosen to save to, offered `suggested`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& suggested)> saveFileName;
    // Lets the user choose the printer and its settings; false when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> choosePrinter;
    std::function<void(QWidget* parent, const QString& text)> message;
};
ExportDialogs& exportDialogs();

}  // namespace platform::qt
