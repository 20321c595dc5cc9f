// The shell: the window, its controls and the picture boxes as the lesson sees
// them (platform/surface.h), written once for every platform over the calls
// of platform/backend.h. A control keeps its own state (a caption, a tick, a
// text) and its place as laid out; the shell places it at every zoom, orders
// the focus, paints the picture boxes from their layers, and runs every
// handler through dispatch(), after which what a screen reader is told
// follows the change.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend.h"
#include "platform/pointer.h"

namespace platform::shell {

class ShellWindow;
class ShellPictureBox;

// Runs a handler of the program, then brings what assistive technology is
// told up to date. A run-time error that escapes it ends the program with a
// message, rather than unwinding through the toolkit.
template <typename F>
void dispatch(F&& handler);
void settled();
[[noreturn]] void failed(const char* what);

template <typename F>
void dispatch(F&& handler)
{
    try {
        handler();
        settled();
    } catch (const std::exception& e) {
        failed(e.what());
    }
}

// A windowed control: its native, its place in its container as laid out,
// and how the shell places it at a zoom.
class Control {
public:
    Control(ShellWindow& window, ShellPictureBox* parent, const Layout& layout);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The control at a zoom: its box in placing pixels (`ratio` of them to
    // one of the layout's at 100 %), its font and its border.
    virtual void place(double zoom, double ratio);
    // The shell's own drawing of the control for pictures (and for the
    // desktop's screen, where it draws the text box and the check box inside
    // the board): at scale s, from the top left of its container where the
    // painter is placed.
    virtual void paint(GraphicsPainter&, double /*s*/) const {}
    // The address the lesson knows the control by (its surface interface).
    virtual const void* control() const = 0;
    // Shows its caption in the language chosen, fitted to its box.
    virtual void relabel() {}

    ShellWindow& window;
    ShellPictureBox* const parent;  ///< null: the window's layout
    const Box design;               ///< in the layout's pixels of its container
    int widened = 0;                ///< pixels its box reaches right of its design, for a caption that needs them
    const Font font;
    const int tabIndex;
    Native native = 0;
    double textScale = 1;  ///< the share of its font's size its caption is shown at, to fit
};

// A caption in the language chosen, fitted to the room it has (the layout's
// pixels): drawn smaller where it is longer than the Japanese (never under
// 70 %); in Japanese with readings, the readings above the kanji where two
// lines fit, else in their place.
backend::Caption fitCaption(std::string_view japanese, const Font& font, double width, double height);

class ShellButton : public CommandButton, public Control {
public:
    ShellButton(ShellWindow& window, const std::string& caption, const Layout& layout);
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    std::string Caption() const override { return caption_; }
    Colour BackColor() const override { return back_; }
    const void* control() const override { return static_cast<const CommandButton*>(this); }
    void relabel() override;

private:
    std::string caption_;
    Colour back_;
    bool enabled_ = true;
};

class ShellCheckBox : public CheckBox, public Control {
public:
    ShellCheckBox(ShellWindow& window, ShellPictureBox* parent, const std::string& caption, int value, const Layout& layout);
    int Value() const override { return value_ ? 1 : 0; }
    void setValue(int value) override;
    std::string Caption() const override { return caption_; }
    const void* control() const override { return static_cast<const CheckBox*>(this); }
    void relabel() override;
    // The pupil ticked or unticked it.
    void toggled(bool value);
    void paint(GraphicsPainter& p, double s) const override;

private:
    std::string caption_;
    bool value_;
    Colour back_, fore_;
};

class ShellTextBox : public TextBox, public Control {
public:
    ShellTextBox(ShellWindow& window, ShellPictureBox* parent, const std::string& text, const Layout& layout);
    std::string Text() const override { return text_; }
    void setText(const std::string& text) override;
    const void* control() const override { return static_cast<const TextBox*>(this); }
    void paint(GraphicsPainter& p, double s) const override;

private:
    std::string text_;
};

class ShellComboBox : public ComboBox, public Control {
public:
    ShellComboBox(ShellWindow& window, const std::vector<std::string>& items, const std::string& text, const Layout& layout);
    // The pupil may have typed: read from the control each time.
    std::string Text() const override { return backend::text(native); }
    void setText(const std::string& text) override { backend::setText(native, text); }
    std::vector<std::string> items() const override { return items_; }
    const void* control() const override { return static_cast<const ComboBox*>(this); }

private:
    std::vector<std::string> items_;
};

// A picture box over its drawing layer: drawing goes into the layer, the
// screen is told which part to paint again, and painting shows the layer's
// pixels with the graphical controls and the keyboard's marks above them.
class ShellPictureBox : public PictureBox, public Control {
public:
    ShellPictureBox(ShellWindow& window, ShellPictureBox* parent, const Layout& layout);
    const void* control() const override { return static_cast<const PictureBox*>(this); }

    void invalidate(const Box& box) override;
    void Cls() override;
    void Line(float x1, float y1, float x2, float y2, Colour colour) override;
    void Print(const std::string& text) override;
    void FloodFill(int x, int y, Colour border) override;
    Colour Point(int x, int y) const override;
    int scaleWidth() const override { return layer_.width(); }
    int scaleHeight() const override { return layer_.height(); }

    void place(double zoom, double ratio) override;
    // The screen it is on has `ratio` device pixels per device-independent
    // pixel: the layer is drawn at the zoom times that.
    void setDeviceRatio(double ratio);
    // Paints `dirty` (the painter's pixels, `ratio` device pixels to one).
    void paintScreen(GraphicsPainter& p, const Box& dirty, double ratio);
    // Paints what changed since the last time, where the backend paints by frames.
    void paintChanges(GraphicsPainter& p);
    // The box in a picture at scale s, its top left at (x, y) of the picture.
    void paintPicture(GraphicsPainter& p, double s, int x, int y) const;

    // The mouse and other pointers, in placing pixels of the inside.
    void mouse(Pointer what, std::int16_t button, std::int16_t shift, double x, double y);
    void pointer(Pointer what, int id, std::int16_t button, std::int16_t shift, double x, double y);
    void longPress(double x, double y);

    // The keyboard's marks above the drawing, in the layout's pixels (empty: none).
    void setMarks(Box cursor, bool showCursor, Box selection);
    // A press and release within `area` toggle the check box.
    void setHitArea(ShellCheckBox* check, Box area);

    double zoom() const { return zoom_; }
    const Layer& layer() const { return layer_; }
    std::vector<Control*> children;

private:
    void drawn();
    void handle(Pointer what, std::int16_t button, std::int16_t shift, double x, double y);
    // The device pixels a box of the layout's pixels may touch.
    Box deviceBox(const Box& b) const;
    void paintMarks(GraphicsPainter& p) const;

    Layer layer_;
    double zoom_ = 1, placeRatio_ = 1, deviceRatio_ = 1;
    int lineHeight_ = 0;
    bool flushQueued_ = false;
    bool canvasSized_ = false;  ///< the backend has been told the canvas's size
    Box dirty_;  ///< device pixels to paint again, for a backend that paints by frames
    PointerRule fingers_;
    Box cursor_, selection_;
    bool showCursor_ = false;
    ShellCheckBox* hitCheck_ = nullptr;
    Box hitArea_;
    bool hitPressed_ = false;
};

class ShellWindow : public Window {
public:
    ShellWindow(const std::string& caption, Colour back, int clientWidthTwips, int clientHeightTwips);
    ~ShellWindow() override;

    void invalidate(const Box& box) override;
    int Width() const override { return widthTwips_; }
    int Height() const override { return heightTwips_; }
    void setWidth(int twips) override;
    void setHeight(int twips) override;
    std::string Caption() const override { return caption_; }
    Colour BackColor() const override { return back_; }

    PictureBox& addPictureBox(Container* parent, const Layout& layout) override;
    CommandButton& addButton(const std::string& caption, const Layout& layout) override;
    CheckBox& addCheckBox(Container* parent, const std::string& caption, int value, const Layout& layout) override;
    TextBox& addTextBox(Container* parent, const std::string& text, const Layout& layout) override;
    ComboBox& addComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& layout) override;
    void setTabOrder() override;
    void setPaneShown(const PictureBox& box, bool shown) override;
    // Every caption, label and the title in the language chosen.
    void relabel();
    // The free pixels right of a control of the window's layout: its box may
    // grow into them for a caption too long even at its smallest.
    int roomBeside(const Control& c) const;

    void Show() override;
    void End() override;
    bool alive() const override { return alive_; }

    double zoom() const override { return zoom_; }
    void setZoom(double z) override;
    double largestZoom() const override;
    bool fullScreen() const override { return backend::fullScreen(native_); }
    void setFullScreen(bool on) override { backend::setFullScreen(native_, on); }

    // The window's events.
    void resized();
    void stateChanged();
    void framed();
    void closed();
    void paintLabels(GraphicsPainter& p, const Box& dirty, double ratio);

    Control* find(Native native) const;
    Control* find(const void* control) const;
    ShellPictureBox* box(Native native) const;
    const std::vector<ShellPictureBox*>& boxes() const { return boxes_; }
    double ratio() const { return ratio_; }
    Native native() const { return native_; }

private:
    template <typename T>
    T& keep(std::unique_ptr<T> control);
    ShellPictureBox* parentBox(Container* parent) const;
    // The client area the program asks for, in the layout's pixels.
    view::Size client() const { return view::clientOf(widthTwips_, heightTwips_); }
    // Sizes and places the layout: an ordinary window at the zoom chosen (or
    // the largest that fits the screen), a full or maximised one (or a page)
    // fitted to its inside and centred.
    void layOut();
    void apply(double zoom, Box shown, double ratio);
    // The controls in the order of the focus, panes not shown left out.
    std::vector<const Control*> focusOrder() const;

    Native native_ = 0;
    std::string caption_;
    Colour back_;
    int widthTwips_ = 0, heightTwips_ = 0;
    std::optional<double> chosen_;  ///< the zoom of an ordinary window, once chosen
    double zoom_ = 1, ratio_ = 1;
    Box shown_;                     ///< where the layout shows, in placing pixels
    bool placed_ = false, fitted_ = false, showing_ = false;
    bool alive_ = true;
    view::Frame sizedFor_;          ///< the frame the ordinary window was last sized with
    std::vector<std::unique_ptr<Control>> controls_;  ///< in the order made
    std::unordered_map<Native, Control*> byNative_;   ///< the same, by their natives
    std::unordered_map<const void*, Control*> byControl_;  ///< and by the lesson's addresses
    std::vector<ShellPictureBox*> boxes_;
    std::map<const Graphic*, Native> labels_;
    std::vector<const Control*> tabOrder_;       ///< the focusable controls by their tab indexes
    std::vector<const Control*> hiddenPanes_;  ///< the window's labels where the backend shows them as controls
};

// How the layout shows in a window with these surroundings: the client area
// the program asks for (layout pixels) at the zoom chosen for an ordinary
// window, if any.
struct Arrangement {
    bool ready = false;   ///< false: a page that does not know its viewport yet
    bool fitted = false;  ///< fitted to the window (full screen, maximised, or a page without a zoom asked for)
    bool sized = false;   ///< an ordinary window, which takes the size of the layout shown
    double zoom = 1;
    Box shown;            ///< where the layout shows in the window, device-independent pixels
    double largest = 1;   ///< the largest zoom at which an ordinary window fits the screen
};
Arrangement arrange(const backend::Surroundings& surroundings, view::Size client, std::optional<double> chosen);

// What a screen reader is told, told anew in the language chosen.
void retell();

// The window that owns a native (its own or one of its controls').
ShellWindow* windowOf(Native native);
// Every window of the program, in the order made.
const std::vector<ShellWindow*>& allWindows();
// A picture of copy, save or print at s device pixels per layout pixel.
std::unique_ptr<backend::Picture> compose(const exporting::Picture& picture, double s);

}  // namespace platform::shell
