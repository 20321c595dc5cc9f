// What a platform does for the program: the one interface between the
// toolkit-free shell (platform/shell/) and a toolkit. The shell owns every
// control's state, its place at every zoom, the picture boxes' drawing, the
// order of the focus, what a screen reader is told and when, the run's pause
// and the pictures of copy, save and print; a backend (platform/qt/ for the
// desktop, platform/web/ for a browser) only makes and moves native controls,
// shows pixels, draws the strokes and texts of the graphical controls, and
// hands its events to the shell (the second half of this file). A third
// platform implements the calls of namespace backend and nothing else.
//
// Pixels: a control's place (place(), repaint()) is in the backend's placing
// pixels, the layout's pixels times the zoom times `Surroundings::ratio` (1
// where the toolkit places controls in its own device-independent pixels; in
// a browser the screen's device pixels to one of the page's, so that controls
// sit on whole device pixels). Everything else (the window, pointers, menus)
// is in device-independent pixels; drawing is in device pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/access.h"
#include "platform/glyphs.h"
#include "platform/layer.h"
#include "platform/paint.h"
#include "platform/surface.h"
#include "platform/view.h"

namespace platform::backend {

// A backend's handle of one of its controls; 0 is none.
using Native = std::uintptr_t;

// How the platform's images lay out a pixel's channels.
extern const PixelOrder kPixelOrder;

// ---- the window ---------------------------------------------------------------

// Makes a window of the program with its caption and colour; `layout` is
// the whole layout's size in its own pixels (the window never needs to be
// larger than it at the largest zoom).
Native makeWindow(const std::string& caption, Colour back, view::Size layout);
// What the window has around it, for the shell to size and place the layout.
struct Surroundings {
    view::Size window;     ///< the window's inside now (0 × 0 until known)
    view::Size screen;     ///< the screen's available area, device-independent; 0 × 0 where none is known
    view::Frame frame;     ///< the frame a window manager draws, or the one it will draw
    double ratio = 1;      ///< placing pixels per device-independent pixel
    bool fills = false;    ///< full screen or maximised: the layout is fitted to the window
    bool sizable = true;   ///< the program sizes its window (false: it lives in a viewport it cannot size)
};
Surroundings surroundings(Native window);
// An ordinary window: its inside takes this size (placing pixels).
void sizeWindow(Native window, view::Size inside);
// Where the layout shows inside the window, and at what zoom; what lies
// outside that box stays hidden under the window's colour. `focusWidth` is
// the width of the focus mark at that zoom.
void showLayout(Native window, Box shown, double zoom, int focusWidth);
void showWindow(Native window);
bool fullScreen(Native window);
void setFullScreen(Native window, bool on);
// Closes the window and ends the program's event loops; the shell has
// stopped every handler.
void endWindow(Native window);
// The window and its controls are gone (the program's window object is destroyed).
void destroyWindow(Native window);

// ---- controls -------------------------------------------------------------------

enum class Kind { PictureBox, Button, CheckBox, TextBox, ComboBox, Label };
// A control as the shell asks for it. Texts are its caption (a button, a check
// box, a label) or its text (a text box, a combo box).
struct NewControl {
    explicit NewControl(Kind k) : kind(k) {}
    Kind kind;
    Native window = 0;
    Native parent = 0;  ///< 0 the window, else a picture box
    std::string text;
    std::vector<std::string> items;  ///< a combo box's list
    Colour back = 0, fore = 0;
    bool platformColours = false;    ///< the platform's own colours instead of back and fore
    Font font;
    bool checked = false;  ///< a check box's first value
    bool transparent = false;  ///< a label that lets what lies below show
};
// A new control, below every one made before it in its container. A backend
// that draws the window's labels itself answers 0 for a label.
Native make(const NewControl& asked);
// Places a control: its box in placing pixels inside its container (the
// window's layout, or a picture box's inside), the pixel size of its font,
// the width of its border, at `zoom`.
void place(Native control, Box box, int fontPixels, int border, double zoom);
void setEnabled(Native button, bool enabled);
// A caption as shown: its runs (a reading above a kanji word, where there is
// one) at a share of its font's size.
struct Caption {
    std::vector<lang::Run> runs;
    double scale = 1;
    double width = 0;  ///< the layout's pixels it takes across at that scale
};
// The caption of a button, a check box, or a window's label that the backend shows as a control.
void setCaption(Native control, const Caption& caption);
void setTitle(Native window, const std::string& title);
// The width of a text in the face of the captions, at `pixels`.
double textWidth(const std::string& text, int pixels, bool bold);
// The height of a line of that face at `pixels`.
double lineHeight(int pixels, bool bold);
// The window speaks this language from now on: the face of its captions,
// the toolkit's own dialogs, the language a screen reader is told.
void setLanguage(Native window, const lang::Language& language);
// A check box's tick, without the change coming back as an event.
void setChecked(Native check, bool checked);
// A caption or a text.
void setText(Native control, const std::string& text);
// What the pupil has typed into a combo box.
std::string text(Native combo);
// The order of the focus: these controls in turn.
void setTabOrder(const std::vector<Native>& order);
// A pane shown or not (it lies outside the window until the program widens
// or lengthens it): one not shown takes no focus and has nothing a screen
// reader finds.
void setShown(Native control, bool shown);
// The control takes the focus (where the window is not shown yet, once it is).
void focus(Native control);
// The control with the keyboard focus (or the control that holds it), or 0.
Native focused();

// ---- picture boxes ----------------------------------------------------------------

// The picture box's drawing is `size` device pixels now: the backend asks the
// shell to paint it (paint() below) wherever it needs it.
void setCanvas(Native box, view::Size size);
// Device pixels per device-independent pixel of the screen the box is on.
double deviceRatio(Native box);
// Part of a picture box, in placing pixels of its inside (of the window: of
// the layout), must be painted again; an empty part is the whole.
void repaint(Native control, Box part);

// The glyphs of a text for the drawing layers: platform/glyphs.h's renderGlyphs.

// A picture drawn for copy, save or print, `size` device pixels filled with
// `back`: the shell paints into it.
class Picture : public GraphicsPainter {
public:
    virtual view::Size size() const = 0;
};
std::unique_ptr<Picture> makePicture(view::Size size, Colour back);

// ---- time -------------------------------------------------------------------------

// Runs `then` once the handler now running has returned (its drawing is
// shown once, not after every line).
void later(std::function<void()> then);
// Runs `then` once, ms milliseconds from now (not earlier), from the
// platform's event loop: also during the run's pause.
void after(int ms, std::function<void()> then);
// Waits up to ms milliseconds while the platform goes on handling the pupil's
// events (the automatic run's pause). False when wake() ended it, or the
// program is ending.
bool sleep(int ms);
void wake();

// ---- what a screen reader is told, and the keyboard's marks ------------------------

void accessibleName(Native control, const std::string& name);
void accessibleRole(Native box, Accessibility::Role role);
void toolTip(Native control, const std::string& text);
// A picture box's description of what it shows.
void describe(Native box, const std::string& text);
// The latest status line, for the control `focus` (0 when none has the focus).
void status(const std::string& text, Native focus);
// Says `first`, then `rest` (may be empty), through the screen reader's own
// voice, now; the shell decides when (at most about once a second).
void announce(Native window, const std::string& first, const std::string& rest);
// Whether screen readers speak a change of the focused control's description
// by themselves here: the shell then holds a picture box's new description
// back while it has the focus (the announcement says the change).
extern const bool kDescriptionChangesSpoken;
// The focus mark around the focused control shows while the keyboard is in use.
void showFocusMark(Native window, bool show);
// Says the text aloud with the platform's voice for the language, cutting
// off what it is still saying; false where it has no voice for it.
bool speak(const std::string& text, const lang::Language& language);
void stopSpeaking();

// ---- copy, save, print, menus, messages -----------------------------------------------

void copyText(const std::string& text);
void copyPicture(const Picture& picture);
// Saves the picture as a PNG file of `dotsPerInch`, offering `name` (without
// its extension); a message over `window` says why when it cannot.
void savePicture(Native window, const Picture& picture, const std::string& name, int dotsPerInch);
// A lesson for paper: the picture as large as fits one A4 landscape page
// above a footer of two texts (left and right).
struct PrintJob {
    Native window = 0;  ///< whose dialogs and messages these are
    view::Size size;    ///< the lesson, in layout pixels
    // Paints the lesson at `scale` device pixels per layout pixel.
    std::function<std::unique_ptr<Picture>(double scale)> draw;
    std::string name, footerLeft, footerRight;
};
// Prints it: asks for a printer where the platform does, or prepares the
// page that the platform's own print prints (`now` false: only prepared).
void print(const PrintJob& job, bool now);
// A menu of `captions` at (x, y) of the picture box, in placing pixels; the
// entry chosen, if any, goes to shell::menuChosen().
void popupMenu(Native box, const std::vector<std::string>& captions, int x, int y);
// A short message to the user: what was done, or (`error`) what failed and why.
void notice(const std::string& text, bool error);
// A run-time error that the program cannot go on from: said, and the end.
[[noreturn]] void fatal(const std::string& what);

// ---- what is kept between runs, and where the program runs ----------------------------

// The store of this program's settings: the file at `path`, or the user's own.
void openStore(const std::string& path);
void closeStore();
std::optional<std::string> stored(const std::string& key);
void store(const std::string& key, const std::string& value);
// The page's address without its '#' part; empty where the program is no page.
std::string address();

}  // namespace platform::backend

// ---- what a backend hands to the shell ------------------------------------------------
// Each runs the program's handlers through the shell's dispatch: afterwards
// what a screen reader is told follows the change.
namespace platform::shell {

using backend::Native;

void clicked(Native button);
void toggled(Native check, bool checked);
// A key pressed in the window, for the control `focus`; true when the program took it.
bool key(Native window, Key key, Native focus);
// The keyboard was used in the window (a key pressed, Tab too), or a pointer was pressed.
void keyboardUsed(Native window, bool used);
void focusMoved();
// Cancel: the system took the pointer over (the drag is put back). Forget:
// every pointer has gone up, whether or not each said so.
enum class Pointer { Down, Move, Up, Cancel, Forget };
// The mouse on a picture box, at (x, y) of its inside in device-independent
// pixels; buttons and shift as platform::MouseHandler takes them.
void mouse(Native box, Pointer what, std::int16_t button, std::int16_t shift, double x, double y);
// A finger or a pen (or a browser's mouse) as one of several pointers: one drags.
void pointer(Native box, Pointer what, int id, std::int16_t button, std::int16_t shift, double x, double y);
// A long press at (x, y): the right button's release there, unless a pointer drags.
void longPress(Native box, double x, double y);
// Paints the part `dirty` of a picture box (in the painter's pixels; `ratio`
// device pixels to one of them).
void paint(Native box, GraphicsPainter& painter, Box dirty, double ratio);
// Paints the window's own labels (where the backend draws them), `dirty` in
// the painter's pixels of the window.
void paintWindow(Native window, GraphicsPainter& painter, Box dirty, double ratio);
// Paints a text box or check box inside a picture box the shell's way, with
// its top left at (0, 0) of the painter.
void paintControl(Native control, GraphicsPainter& painter, double ratio);
// Paints what changed in every picture box since the last frame (a browser's
// animation frame); `makePainter` gives a box's painter, in device pixels.
void frame(const std::function<std::unique_ptr<GraphicsPainter>(Native box)>& makePainter);
void windowResized(Native window);
void windowStateChanged(Native window);
void windowFramed(Native window);
void windowClosed(Native window);
void menuChosen(int index);
// The platform's own print is about to print: it prints the lesson as it stands.
void printView();

}  // namespace platform::shell
