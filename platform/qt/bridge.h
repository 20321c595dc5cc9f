// The desktop backend's widgets behind the lesson's controls, for the
// program's entry and for tests that drive the real widgets (mouse events,
// screenshots). The lesson's own code never includes this header.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
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
// An image of the shell's as the toolkit's, without a copy: valid while the
// image is not changed.
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

// The drawing layer of a picture box, in the layout's pixels.
const QImage& layerOf(const PictureBox& box);
// The layer as the screen shows it: drawn at the zoom times the screen's
// device pixel ratio (the layout image itself at 100 % on an unscaled screen).
const QImage& displayOf(const PictureBox& box);
// How many drawing calls the layer keeps to draw itself again.
std::size_t keptCalls(const PictureBox& box);

// The picture that copy and save make, at `scale` device pixels per layout pixel.
QImage picture(const exporting::Picture& picture, double scale);

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

// What reading aloud says and in which language (its BCP 47 tag), instead of
// the toolkit's voice while a test puts a stand-in here; it answers whether
// it had a voice for the language. An empty text cuts off what is being said.
std::function<bool(const std::string& text, const std::string& tag)>& speechStandIn();

}  // namespace platform::qt
