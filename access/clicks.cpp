// Click, then click: a single-pointer way to do what a drag does. A press and
// release without moving on a tray block, or on a filled column, selects that
// block (after the handlers have had the click, as before); the next click
// puts it into the column clicked, or takes a column's block out when it is
// outside the rectangle; any other click cancels. Drags reach the blackboard's
// mouse handlers unchanged.
#include <cmath>

#include "access/access.h"
#include "app/form1.h"

namespace {
// How far the pointer may move between press and release for a click, in pixels.
constexpr float kClickTolerance = 4;

bool insideRectangle(float x, float y) { return 300 <= x && x <= 500 && 180 <= y && y <= 300; }
}  // namespace

void Form1::kokubanDown(std::int16_t button, std::int16_t shift, float x, float y)
{
    if (acc.pressed) {  // another button during the press: as the handlers take it
        if (acc.forwarded)
            kokuban_MouseDown(button, shift, x, y);
        return;
    }
    if (heldPlace() >= 0)  // a block held by keyboard goes back first
        putBack();
    acc.held = -1;
    acc.selected = selectedPlace();
    acc.pressed = true;
    acc.moved = false;
    acc.pressX = x;
    acc.pressY = y;
    acc.pressButton = button;
    acc.pressShift = shift;
    // With a block selected, this press may be the click that puts it: it
    // waits for the release (or for a move that makes it a drag).
    acc.forwarded = acc.selected < 0;
    if (acc.forwarded)
        kokuban_MouseDown(button, shift, x, y);
}

void Form1::kokubanMove(std::int16_t button, std::int16_t shift, float x, float y)
{
    if (acc.pressed && !acc.moved &&
        (std::fabs(x - acc.pressX) > kClickTolerance || std::fabs(y - acc.pressY) > kClickTolerance)) {
        acc.moved = true;
        if (!acc.forwarded) {  // a drag after all: the selection gives way to it
            acc.selected = -1;
            acc.forwarded = true;
            kokuban_MouseDown(acc.pressButton, acc.pressShift, acc.pressX, acc.pressY);
        }
    }
    if (!acc.pressed || acc.forwarded)
        kokuban_MouseMove(button, shift, x, y);
}

void Form1::kokubanUp(std::int16_t button, std::int16_t shift, float x, float y)
{
    if (!acc.pressed) {
        kokuban_MouseUp(button, shift, x, y);
        return;
    }
    acc.pressed = false;
    if (!acc.forwarded) {
        // The second click: into a column, as a drag from the selected place;
        // outside the rectangle a column's block is taken out; else nothing.
        const int from = acc.selected;
        acc.selected = -1;
        const int to = a11y::placeAt(x, y);
        if (to >= 0 && a11y::isColumn(to)) {
            const a11y::Point at = a11y::middle(from);
            kokuban_MouseDown(button, shift, at.x, at.y);
            kokuban_MouseUp(button, shift, x, y);
        } else if (a11y::isColumn(from) && !insideRectangle(x, y)) {
            takeOut(a11y::columnOf(from));
        }
        return;
    }
    kokuban_MouseUp(button, shift, x, y);
    if (acc.moved)
        return;
    const int place = a11y::placeAt(acc.pressX, acc.pressY);
    if (place >= 0 && (!a11y::isColumn(place) || hako.at(static_cast<std::size_t>(a11y::columnOf(place))) != 0))
        acc.selected = place;
}
