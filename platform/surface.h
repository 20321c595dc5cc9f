// The surface through which the program reaches the window, its controls, the
// drawing layers of the picture boxes, the event pump and the end of the
// program. Nothing here names a toolkit: the lesson's code includes only this
// header; the shell (platform/shell/) implements it once for every platform,
// over the calls a platform's backend makes into its toolkit (platform/backend.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lang/texts.h"
#include "platform/helpers.h"

namespace platform {

// A font of the program's Japanese proportional Gothic face.
struct Font {
    double points = 9.0;
    bool bold = false;
};

// Pixel rectangle: left, top, width, height.
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    Box united(const Box& other) const;
    bool intersects(const Box& other) const;
    bool operator==(const Box&) const = default;
};

// A box of the layout's pixels at the given zoom: its edges rounded, so that
// neighbours stay neighbours.
Box scaled(const Box& b, double zoom);

// Twips as laid out -> pixels (15 twips per pixel at 96 dpi).
constexpr int twipsToPixels(int twips) { return twips / 15; }
// Pixel size of a font of the given points at 96 dpi.
int fontPixels(double points);

class Container;

// A graphical control (line, label, shape): it has no window of its own, is
// painted by its container above the drawing layer and below every windowed
// control, and lets the mouse through to the container.
class Graphic {
public:
    explicit Graphic(Container& owner) : owner_(owner) {}
    virtual ~Graphic() = default;
    Graphic(const Graphic&) = delete;
    Graphic& operator=(const Graphic&) = delete;

    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    // The pixels this control may cover, for repainting.
    virtual Box bounds() const = 0;
    Container& owner() const { return owner_; }

protected:
    // Call around every change of a property that shows: repaints old and new place.
    class Change {
    public:
        explicit Change(Graphic& g) : g_(g), before_(g.bounds()) {}
        ~Change();
    private:
        Graphic& g_;
        Box before_;
    };

private:
    Container& owner_;
    bool visible_ = true;
};

// A line control: end points in the container's pixels, a border colour and width.
class LineControl : public Graphic {
public:
    LineControl(Container& owner, float x1, float y1, float x2, float y2, Colour colour, int width);
    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    void setX1(float v);
    void setY1(float v);
    void setX2(float v);
    void setY2(float v);
    Colour BorderColor() const { return colour_; }
    int BorderWidth() const { return width_; }
    // Repaints the line and what lies beneath it.
    void Refresh();
    Box bounds() const override;

private:
    float x1_, y1_, x2_, y2_;
    Colour colour_;
    int width_;
};

// A graphical control that occupies a box placed at Left, Top.
class Placed : public Graphic {
public:
    Placed(Container& owner, Box box) : Graphic(owner), left_(box.left), top_(box.top), width_(box.width), height_(box.height) {}
    float Left() const { return left_; }
    float Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void setLeft(float v);
    void setTop(float v);

private:
    float left_, top_;
    int width_, height_;
};

// A label of fixed size (the size of its caption).
class Label : public Placed {
public:
    // `caption`: the program's Japanese original, shown in the language chosen.
    Label(Container& owner, std::string caption, Box box, Colour fore, Colour back, bool transparent, Font font);
    const std::string& Caption() const { return caption_; }
    // The caption as shown: its runs (a reading above a kanji word, where
    // there is one) and the share of its font's size it is drawn at, so that
    // it fits its box. As written until the language is chosen.
    const std::vector<lang::Run>& shown() const { return shown_; }
    std::string shownText() const { return lang::plain(shown_, false); }
    bool hasReadings() const;
    double textScale() const { return textScale_; }
    // Drawn in the program's own face whatever the language (a caption that
    // is the same in every language: the letters, the units).
    bool ownFace() const { return ownFace_; }
    void show(std::vector<lang::Run> runs, double textScale, bool ownFace = false);
    Colour ForeColor() const { return fore_; }
    Colour BackColor() const { return back_; }
    bool transparent() const { return transparent_; }
    const Font& font() const { return font_; }
    Box bounds() const override;

private:
    std::string caption_;
    std::vector<lang::Run> shown_;
    double textScale_ = 1;
    bool ownFace_ = false;
    Colour fore_, back_;
    bool transparent_;
    Font font_;
};

// A circle shape, solid filled: the circle of the smaller side, centred in its box.
class Shape : public Placed {
public:
    Shape(Container& owner, Box box, Colour colour) : Placed(owner, box), colour_(colour) {}
    Colour colour() const { return colour_; }
    Box bounds() const override;

private:
    Colour colour_;
};

// Anything that holds controls: the window's client area and the picture boxes.
// Graphical controls are kept in stacking order, the first on top.
class Container {
public:
    virtual ~Container() = default;
    const std::vector<Graphic*>& graphics() const { return graphics_; }
    // Repaint the given pixels of this container.
    virtual void invalidate(const Box& box) = 0;

    // Adds a graphical control below those added before it.
    template <typename T, typename... Args>
    T& add(Args&&... args)
    {
        auto g = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *g;
        graphics_.push_back(&ref);
        owned_.push_back(std::move(g));
        return ref;
    }

private:
    std::vector<Graphic*> graphics_;
    std::vector<std::unique_ptr<Graphic>> owned_;
};

// Mouse event arguments as the handlers receive them: button 1 left, 2 right,
// 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; x, y in the box's pixels.
using MouseHandler = std::function<void(std::int16_t button, std::int16_t shift, float x, float y)>;

// A picture box: a container with a drawing layer that keeps what is drawn on
// it (also while covered or out of view) and mouse events.
class PictureBox : public Container {
public:
    ~PictureBox() override = default;

    // Drawing layer.
    virtual void Cls() = 0;
    // A line from (x1, y1) to (x2, y2) in `colour`, DrawWidth pixels wide. The
    // same line drawn from either end covers the same pixels, so drawing it
    // again in the background colour removes it.
    virtual void Line(float x1, float y1, float x2, float y2, Colour colour) = 0;
    // Writes the text with its top-left corner at CurrentX, CurrentY in ForeColor
    // and the box's font, without smoothing; then moves to the next line.
    virtual void Print(const std::string& text) = 0;
    // Border fill: from (x, y), paints the connected region up to pixels of
    // `border` with FillColor, when FillStyle is solid. A seed on the border
    // colour or outside the box paints nothing.
    virtual void FloodFill(int x, int y, Colour border) = 0;
    // The colour of one pixel of the drawing layer (for checks and tests).
    virtual Colour Point(int x, int y) const = 0;
    virtual int scaleWidth() const = 0;   // drawing area in pixels
    virtual int scaleHeight() const = 0;

    // The relative and ForeColor forms of Line, and Print of a number.
    void Line(float x1, float y1, float x2, float y2) { Line(x1, y1, x2, y2, foreColor_); }
    void LineStep(float x1, float y1, float dx, float dy, Colour colour) { Line(x1, y1, x1 + dx, y1 + dy, colour); }
    void LineStep(float x1, float y1, float dx, float dy) { Line(x1, y1, x1 + dx, y1 + dy, foreColor_); }
    void PrintNumber(double value) { Print(PrintText(value)); }

    Colour BackColor() const { return backColor_; }
    Colour ForeColor() const { return foreColor_; }
    void setForeColor(Colour c) { foreColor_ = c; }
    int DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int w) { drawWidth_ = w < 1 ? 1 : w; }
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int s) { fillStyle_ = s; }
    Colour FillColor() const { return fillColor_; }
    void setFillColor(Colour c) { fillColor_ = c; }
    float CurrentX() const { return currentX_; }
    float CurrentY() const { return currentY_; }
    void setCurrentX(float v) { currentX_ = v; }
    void setCurrentY(float v) { currentY_ = v; }
    const Font& font() const { return font_; }

    MouseHandler MouseDown, MouseMove, MouseUp;

protected:
    Colour backColor_ = 0xFFFFFF;
    Colour foreColor_ = 0;
    int drawWidth_ = 1;
    int fillStyle_ = 1;
    Colour fillColor_ = 0;
    float currentX_ = 0, currentY_ = 0;
    Font font_;
};

class CommandButton {
public:
    virtual ~CommandButton() = default;
    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual std::string Caption() const = 0;
    virtual Colour BackColor() const = 0;
    std::function<void()> Click;
};

class CheckBox {
public:
    virtual ~CheckBox() = default;
    virtual int Value() const = 0;
    // Runs Click when, and only when, the value changes.
    virtual void setValue(int value) = 0;
    virtual std::string Caption() const = 0;
    std::function<void()> Click;
};

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

class ComboBox {
public:
    virtual ~ComboBox() = default;
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual std::vector<std::string> items() const = 0;
};

// A key pressed while the window is active, as the program sees it. Tab and
// Shift+Tab never arrive here: they move the focus as usual.
struct Key {
    enum Code {
        Other, Left, Right, Up, Down, Home, End, Space, Enter, Escape, Delete, Backspace,
        PageUp, PageDown, F5, F10, F11, Plus, Minus, Digit, Letter, Menu, F8
    };
    Code code = Other;
    int digit = 0;        ///< 0..9 for Digit (the main row or the keypad)
    char letter = 0;      ///< 'A'..'Z' for Letter
    bool ctrl = false, shift = false, alt = false;
    const void* focus = nullptr;  ///< the control with the keyboard focus (a PictureBox*, ComboBox*, ...), if any
};
// Returns true when the program took the key; otherwise the focused control gets it.
using KeyHandler = std::function<bool(const Key& key)>;

// How a windowed control is laid out: place in twips, colours, font, tab index.
struct Layout {
    int left, top, width, height;  // twips, relative to the container's client area
    Colour back;
    Colour fore;
    Font font;
    int tabIndex;
    bool defaultBack = false;  // the platform's own colours instead of back/fore
};

// The window: a container for the top-level controls and the factory of every
// control. Controls are created in stacking order, the first on top.
class Window : public Container {
public:
    ~Window() override = default;

    // Outer size in twips; setting resizes at once.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void setWidth(int twips) = 0;
    virtual void setHeight(int twips) = 0;
    virtual std::string Caption() const = 0;
    virtual Colour BackColor() const = 0;

    virtual PictureBox& addPictureBox(Container* parent, const Layout& layout) = 0;
    virtual CommandButton& addButton(const std::string& caption, const Layout& layout) = 0;
    virtual CheckBox& addCheckBox(Container* parent, const std::string& caption, int value, const Layout& layout) = 0;
    virtual TextBox& addTextBox(Container* parent, const std::string& text, const Layout& layout) = 0;
    virtual ComboBox& addComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& layout) = 0;
    // Puts the focusable controls in the order of their tab indexes as laid
    // out; the first takes the focus first.
    virtual void setTabOrder() = 0;
    // Whether a picture box that lies outside the window until the program
    // widens or lengthens it is shown: one that is not takes no focus (by
    // Tab, by a click, or when the window opens) and has nothing a screen
    // reader finds.
    virtual void setPaneShown(const PictureBox& box, bool shown) = 0;

    virtual void Show() = 0;
    // Closes the window and ends the program: every event loop returns and no
    // handler runs any more.
    virtual void End() = 0;
    // False once the window has been closed or the program ended.
    virtual bool alive() const = 0;

    // Display scale: every place, size, font, line width and drawing appears
    // zoom() times as large (1 = 100 %, at most 3). Positions that handlers
    // receive stay in the layout's own pixels at every zoom.
    virtual double zoom() const = 0;
    // The zoom of the ordinary window; shown as it is where the window fits
    // the screen, else brought down to the largest zoom that fits.
    virtual void setZoom(double z) = 0;
    // The largest zoom at which the ordinary window, at the size the program
    // asks for now, fits the screen's available area with its frame (at
    // least 1, at most 3). Where a platform knows no screen, 3.
    virtual double largestZoom() const { return 3; }
    virtual bool fullScreen() const = 0;
    virtual void setFullScreen(bool on) = 0;

    // Every key pressed in the window goes here first.
    KeyHandler KeyDown;

    // Creates the toolkit's window; the application object must exist.
    static std::unique_ptr<Window> create(const std::string& caption, Colour back, int clientWidthTwips, int clientHeightTwips);
};

// Time and the event pump.
namespace events {
// Milliseconds from a fixed start, from a monotonic clock: never wraps, never
// jumps back.
std::int64_t monotonicMs();
// Waits ms milliseconds (at least), handling events as they come, without
// keeping a processor busy. Returns early when wake() is called, or at once
// when the program is ending. Returns true when the whole time ran out.
bool waitHandlingEvents(std::int32_t ms);
// Ends the wait in progress, if any.
void wake();
}  // namespace events

// What the program keeps between runs. Nothing is read or written until the
// program opens the store (its entry does; tests need not).
namespace settings {
// The user's store of this program, or the file at `path` when one is given.
void open(const std::string& path = {});
void close();
// The zoom last kept, if one is and the store can be read.
std::optional<double> keptZoom();
// The zoom last kept, or 1.
double savedZoom();
// The language last chosen (its code), if one is kept.
std::optional<std::string> keptLanguage();
void saveLanguage(const std::string& code);
// Whether reading aloud was on when last chosen.
bool keptReadAloud();
void saveReadAloud(bool on);
void saveZoom(double z);
}  // namespace settings

// The page the lesson runs in, where it runs in one.
namespace page {
// The page's address without its '#' part; empty where the lesson is no page
// (the desktop program).
std::string address();
// A short message: at the top of a page for a while, on the desktop a line
// on its standard error. `error`: what failed and why.
void notice(const std::string& text, bool error);
}  // namespace page

// Runs a handler of the program as the platform runs those of its events:
// then what a screen reader is told follows the change.
void handled(const std::function<void()>& handler);

// Shows every window in the language: captions, labels, titles, what a
// screen reader is told, the toolkit's own dialogs; texts longer than the
// Japanese are drawn smaller in their control (never under 70 %).
void chooseLanguage(const lang::Language& language);

// Reading aloud: every change that is announced is also said with the
// platform's own voice in the language chosen (a newer one cutting off one
// still being said); where the platform has no voice for the language, a
// message says so once and nothing is said.
bool readAloud();
void setReadAloud(bool on);

// Copy, save and print: pictures of the picture boxes drawn afresh at a
// larger scale (sharp, not enlarged from the screen), the clipboard, the file
// and print dialogs, and the menu of a picture box.
namespace exporting {
// What a picture shows: one picture box by itself, or the lesson: the board
// with the graph to its right and the table below it (either may be left
// out), on the window's colour.
struct Picture {
    static Picture of(const PictureBox& box, std::string name)
    {
        Picture p;
        p.box = &box;
        p.name = std::move(name);
        return p;
    }
    static Picture lesson(const PictureBox& board, const PictureBox* graph, const PictureBox* table, Colour back,
                          std::string name)
    {
        Picture p;
        p.board = &board;
        p.graph = graph;
        p.table = table;
        p.back = back;
        p.name = std::move(name);
        return p;
    }
    const PictureBox* box = nullptr;    ///< the one box of a picture of a box
    const PictureBox* board = nullptr;  ///< the boxes of a lesson
    const PictureBox* graph = nullptr;
    const PictureBox* table = nullptr;
    Colour back = 0;   ///< around and between the boxes of a lesson
    std::string name;  ///< offered as the file name, without its extension
};

// A command of a menu: its caption and what it does.
struct MenuEntry {
    std::string caption;
    std::function<void()> run;
};
// Shows a menu of the entries at (x, y) of the box (its pixels) and, once it
// has closed, runs the one chosen, if any.
void popupMenu(const PictureBox& box, const std::vector<MenuEntry>& entries, float x, float y);

void copyText(const std::string& text);
// The picture at twice the layout's size, onto the clipboard.
void copyPicture(const Picture& picture);
// Asks for a file name and saves the picture there as PNG, at twice the
// layout's size; a message says why when it cannot. Cancelled, it does nothing.
void savePicture(const Picture& picture);
// Asks for a printer (printing to a PDF file among them) and prints the
// lesson on one A4 page, landscape, at the printer's resolution, with the
// date in a footer; a message says why when it cannot.
void printLesson(const Picture& lesson);
// The lesson that the platform's own print prints as it stands, where the
// platform has one (a browser's menu).
void setPrintedLesson(const Picture& lesson);
}  // namespace exporting

}  // namespace platform

namespace platform {

// Controls that share a name and are addressed by index, some indexes unused.
// Addressing an index that holds no control is an error.
template <typename T>
class ControlArray {
public:
    void set(int index, T& control)
    {
        if (index >= static_cast<int>(items_.size()))
            items_.resize(index + 1, nullptr);
        items_[index] = &control;
    }
    T& operator()(int index) const
    {
        if (index < 0 || index >= static_cast<int>(items_.size()) || !items_[index])
            throw std::out_of_range("Control array element does not exist");
        return *items_[index];
    }
    bool has(int index) const { return index >= 0 && index < static_cast<int>(items_.size()) && items_[index]; }

private:
    std::vector<T*> items_;
};

}  // namespace platform
