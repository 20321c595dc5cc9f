// What the toolkit tells assistive technology about the window's controls
// (names, roles, descriptions and their change events) and the marks that show
// where the keyboard is: the focus mark around the focused control and, on a
// picture box, a keyboard cursor frame and a highlighted selection. Nothing
// here names the toolkit; app/ and access/ reach it through this header.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/surface.h"

namespace platform {

// A windowed control of any kind, as the accessibility calls take it.
class AnyControl {
public:
    AnyControl(const PictureBox& c) : control_(&c) {}
    AnyControl(const CommandButton& c) : control_(&c) {}
    AnyControl(const CheckBox& c) : control_(&c) {}
    AnyControl(const TextBox& c) : control_(&c) {}
    AnyControl(const ComboBox& c) : control_(&c) {}
    const void* control() const { return control_; }

private:
    const void* control_;
};

class Accessibility {
public:
    // What a picture box is to a screen reader.
    enum class Role { Canvas, Graphic, Chart };

    // The window's accessibility; the application object must exist.
    static std::unique_ptr<Accessibility> create(Window& window);
    virtual ~Accessibility() = default;

    // The name a screen reader speaks for the control, and its role (picture
    // boxes only; the other kinds have their own). Names and tooltips are
    // the program's Japanese originals, told in the language chosen; blanks
    // that space a caption out ("自    動") are left out of its name.
    virtual void name(AnyControl control, const std::string& name) = 0;
    virtual void role(const PictureBox& box, Role role) = 0;
    virtual void toolTip(AnyControl control, const std::string& text) = 0;

    // The named control that has the keyboard focus (the same pointer as the
    // control), or nullptr. Focus marks show only while the keyboard is in
    // use: from a key press in the window until the next mouse press.
    virtual const void* focus() const = 0;

    // A picture box's description of what it shows. A change is sent to
    // assistive technology as a change of the description.
    virtual void describe(const PictureBox& box, const std::string& text) = 0;
    // What is said aloud of a change, in words a voice reads well: the
    // values first (short), then what changed (may be empty).
    struct Speech {
        std::string values, change;
        bool operator==(const Speech&) const = default;
    };
    // The latest status line: it becomes the description of the focused
    // control (unless that is a described picture box, whose own description
    // says it) and a change is sent as a change of that description. Leaving
    // a control takes the status line off it again. A change (not the first
    // line, nor one of a focus move) is also said aloud as `speech`: at once
    // when nothing was said in the last second, else when that second is
    // over, the latest winning.
    virtual void status(const std::string& text, const Speech& speech) = 0;

    // Marks drawn above a picture box, in its pixels: a frame just around
    // `cursor`, the keyboard cursor (shown only while the box has the focus
    // and the keyboard is in use), and the edge of `selection` highlighted.
    // An empty box draws nothing.
    virtual void marks(const PictureBox& box, Box cursor, Box selection) = 0;
    // A larger hit area for a check box inside a picture box: a press and
    // release within `area` (the box's pixels) toggles the check box.
    virtual void hitArea(const CheckBox& check, const PictureBox& box, Box area) = 0;

    // Runs after every handler of the window, at the start of every pause of
    // the automatic run and when the focus moves, so that what assistive
    // technology is told follows every change. While the run is for a focus
    // move, descriptions change without change events (the screen reader
    // reads the newly focused control anyway).
    std::function<void()> Refresh;
    // Runs once the language has changed: everything is told anew.
    std::function<void()> Retell;
};

}  // namespace platform
