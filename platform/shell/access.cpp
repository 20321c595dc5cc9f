// What a screen reader is told, for every platform: names, roles, tooltips,
// the picture boxes' descriptions and the status line, each handed to the
// backend; the status line is not told for a focus move (the screen reader
// reads the control reached). The keyboard's marks: the focus mark while the
// keyboard is in use, and on the board the cursor (while the board has the
// focus and the keyboard is in use) and the selection, painted by the shell.
#include <algorithm>
#include <vector>

#include "platform/marks.h"
#include "platform/shell/shell.h"

namespace platform {

namespace shell {

namespace {

class ShellAccessibility;
std::vector<ShellAccessibility*>& bridges()
{
    static std::vector<ShellAccessibility*> all;
    return all;
}

class ShellAccessibility : public Accessibility {
public:
    explicit ShellAccessibility(ShellWindow& window) : window_(window) { bridges().push_back(this); }
    ~ShellAccessibility() override { std::erase(bridges(), this); }

    void name(AnyControl c, const std::string& text) override { backend::accessibleName(nativeOf(c.control()), text); }
    void role(const PictureBox& box, Role role) override { backend::accessibleRole(nativeOf(&box), role); }
    void toolTip(AnyControl c, const std::string& text) override { backend::toolTip(nativeOf(c.control()), text); }

    const void* focus() const override
    {
        const Control* c = window_.find(backend::focused());
        return c ? c->control() : nullptr;
    }

    void describe(const PictureBox& box, const std::string& text) override { backend::describe(nativeOf(&box), text); }

    void status(const std::string& text) override
    {
        if (text == status_)
            return;
        status_ = text;
        if (quiet_)  // a focus move: the control just reached has no status line yet
            return;
        const Native focused = backend::focused();
        backend::status(text, window_.find(focused) ? focused : 0);
    }

    void marks(const PictureBox& box, Box cursor, Box selection) override
    {
        marksBox_ = static_cast<ShellPictureBox*>(window_.find(&box));
        cursor_ = cursor.empty() ? Box{} : marks::cursorFrame(cursor);
        selection_ = selection.empty() ? Box{} : marks::selectionFrame(selection);
        showMarks();
    }

    void hitArea(const CheckBox& check, const PictureBox& box, Box area) override
    {
        if (auto* b = static_cast<ShellPictureBox*>(window_.find(&box)))
            b->setHitArea(static_cast<ShellCheckBox*>(window_.find(&check)), area);
    }

    ShellWindow& window() const { return window_; }

    void keyboardUsed(bool used)
    {
        if (used == keyboard_)
            return;
        keyboard_ = used;
        showMarks();
    }

    void focusMoved()
    {
        showMarks();
        quiet_ = true;
        try {
            if (Refresh)
                Refresh();
        } catch (const std::exception& e) {
            failed(e.what());
        }
        quiet_ = false;
    }

private:
    Native nativeOf(const void* control) const
    {
        const Control* c = window_.find(control);
        return c ? c->native : 0;
    }

    // The focus mark around the focused control and the keyboard cursor on
    // the box, both only while the keyboard is in use.
    void showMarks()
    {
        backend::showFocusMark(window_.native(), keyboard_);
        if (marksBox_)
            marksBox_->setMarks(cursor_, keyboard_ && focus() == marksBox_->control(), selection_);
    }

    ShellWindow& window_;
    ShellPictureBox* marksBox_ = nullptr;
    Box cursor_, selection_;  ///< the marks' outer edges, in the box's pixels
    std::string status_;
    bool keyboard_ = false, quiet_ = false;
};

}  // namespace

void settled()
{
    for (ShellAccessibility* b : bridges())
        if (b->Refresh)
            b->Refresh();
}

void keyboardUsed(Native window, bool used)
{
    for (ShellAccessibility* b : bridges())
        if (b->window().native() == window && b->window().alive())
            b->keyboardUsed(used);
}

void focusMoved()
{
    for (ShellAccessibility* b : bridges())
        if (b->window().alive())
            b->focusMoved();
}

}  // namespace shell

std::unique_ptr<Accessibility> Accessibility::create(Window& window)
{
    return std::make_unique<shell::ShellAccessibility>(static_cast<shell::ShellWindow&>(window));
}

}  // namespace platform
