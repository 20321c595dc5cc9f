// The lesson by keyboard. On the focused blackboard a cursor goes over eight
// places (the tray's three blocks, then columns 1 to 5); Space or Enter picks
// a block up and puts it down, Escape puts it back, Delete takes a column's
// block out. Anywhere in the window a presenter's remote drives P: PageDown
// "出す", PageUp "戻す", F5 "自    動", Escape "ストップ". Every effect goes
// through the blackboard's mouse handlers or the buttons' click handlers, so
// it is exactly that of the mouse.
#include <algorithm>

#include "access/access.h"
#include "app/form1.h"

using platform::Key;

namespace a11y {

Point middle(int place)
{
    const platform::Box b = outline(place);
    return {b.left + b.width / 2.0f, b.top + b.height / 2.0f};
}

platform::Box outline(int place)
{
    if (isColumn(place))
        return {300 + 40 * columnOf(place), 180, 40, 120};
    // The tray's outlines stand side by side with their bottoms at y = 125.
    const int height = 40 * kindOfTray(place);
    return {350 + 50 * place, 125 - height, 40, height};
}

int placeAt(float x, float y)
{
    // The same spans, borders excluded, as the press of the mouse handlers.
    if (y < 150) {
        for (int p = 0; p < kFirstColumn; ++p)
            if (350 + 50 * p < x && x < 390 + 50 * p)
                return p;
    } else if (180 < y && y < 300) {
        for (int k = 0; k < 5; ++k)
            if (300 + 40 * k < x && x < 340 + 40 * k)
                return placeOfColumn(k);
    }
    return -1;
}

}  // namespace a11y

namespace {
constexpr std::int16_t kLeft = 1;  // the button the keyboard's presses stand for
}  // namespace

bool Form1::lessonKey(const Key& k)
{
    if (k.ctrl || k.alt)
        return false;
    if (k.code == Key::Escape) {
        if (putBack())
            return true;
        if (!hashiru)
            return false;  // the window's own Escape (full screen) may have it
        if (tomeru->Enabled())
            tomeru->Click();
        return true;
    }
    // While the pace is being typed, its keys are its own.
    if (k.focus == Combo1)
        return false;
    if (k.focus == kokuban && boardKey(k))
        return true;
    return presenterKey(k);
}

bool Form1::presenterKey(const Key& k)
{
    platform::CommandButton* button = k.code == Key::PageDown ? susumu
                                    : k.code == Key::PageUp   ? modoru
                                    : k.code == Key::F5       ? jidou
                                                              : nullptr;
    if (!button)
        return false;
    // As a click: a disabled button does nothing.
    if (button->Enabled() && button->Click)
        button->Click();
    return true;
}

bool Form1::boardKey(const Key& k)
{
    if (acc.pressed)  // a drag by mouse is going on
        return false;
    const bool holding = heldPlace() >= 0;
    switch (k.code) {
    case Key::Left:
        moveCursor(acc.cursor - 1);
        return true;
    case Key::Right:
        moveCursor(acc.cursor + 1);
        return true;
    case Key::Home:
        moveCursor(0);
        return true;
    case Key::End:
        moveCursor(a11y::kPlaces - 1);
        return true;
    case Key::Digit:
        if (k.digit < 1 || k.digit > 5)
            return false;
        moveCursor(a11y::placeOfColumn(k.digit - 1));
        return true;
    case Key::Space:
    case Key::Enter:
        acc.selected = -1;
        if (holding) {
            const a11y::Point at = a11y::middle(acc.cursor);
            acc.held = -1;
            kokuban_MouseUp(kLeft, 0, at.x, at.y);
        } else {
            pickUp(acc.cursor);
        }
        return true;
    case Key::Delete:
    case Key::Backspace:
        acc.selected = -1;
        if (!holding && a11y::isColumn(acc.cursor))
            takeOut(a11y::columnOf(acc.cursor));
        return true;
    default:
        return false;
    }
}

void Form1::moveCursor(int place)
{
    acc.selected = -1;
    acc.cursor = std::clamp(place, 0, a11y::kPlaces - 1);
    if (heldPlace() >= 0) {  // the held outline follows the cursor
        const a11y::Point at = a11y::middle(acc.cursor);
        kokuban_MouseMove(kLeft, 0, at.x, at.y);
    }
}

void Form1::pickUp(int place)
{
    const a11y::Point at = a11y::middle(place);
    kokuban_MouseDown(kLeft, 0, at.x, at.y);
    if (tsukami == 0)  // an empty column: nothing to pick up
        return;
    acc.held = place;
    kokuban_MouseMove(kLeft, 0, at.x, at.y);
}

bool Form1::putBack()
{
    if (heldPlace() >= 0) {
        // Released below the rectangle: the outlines go back, nothing changes.
        acc.held = -1;
        kokuban_MouseUp(kLeft, 0, a11y::middle(acc.cursor).x, 320);
        return true;
    }
    if (selectedPlace() >= 0) {
        acc.selected = -1;
        return true;
    }
    return false;
}

void Form1::takeOut(int column)
{
    if (hako.at(static_cast<std::size_t>(column)) == 0)
        return;
    // Picked up in the column, released above the rectangle.
    const a11y::Point at = a11y::middle(a11y::placeOfColumn(column));
    kokuban_MouseDown(kLeft, 0, at.x, at.y);
    kokuban_MouseUp(kLeft, 0, at.x, 100);
}

int Form1::heldPlace() const
{
    // The initial screen lets go of whatever is held.
    return tsukami != 0 ? acc.held : -1;
}

int Form1::selectedPlace() const
{
    // A selected column that has been emptied since holds nothing to put.
    const int p = acc.selected;
    return p >= 0 && a11y::isColumn(p) && hako.at(static_cast<std::size_t>(a11y::columnOf(p))) == 0 ? -1 : p;
}
