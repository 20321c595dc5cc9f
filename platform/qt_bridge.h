// Toolkit side of the surface, for the program's entry and for tests that
// drive the real widgets (mouse events, screenshots). The program's own code
// never includes this header.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include "platform/surface.h"


namespace platform::qt {

// 0x00BBGGRR -> QColor, and back.
QColor toQColor(Colour c);
Colour fromQColor(const QColor& c);

// The program's face at the given size, at 96 dpi.
QFont programFont(const Font& font, bool smooth = true);

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
// The layer drawn afresh at any scale (device pixels per layout pixel).
QImage renderLayer(const PictureBox& box, double scale);
// How many drawing calls the layer keeps to draw itself again.
std::size_t keptCalls(const PictureBox& box);

}  // namespace platform::qt
