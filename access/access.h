// The lesson without a mouse and without sight: the keyboard cursor on the
// blackboard, the block held by keyboard, the click-then-click selection, and
// the texts a screen reader is given. No toolkit here: every effect goes
// through the window's own handlers (access/keyboard.cpp, access/clicks.cpp)
// and the texts are built from the state record (access/status.cpp).
#pragma once

#include <string>

#include "platform/surface.h"

namespace a11y {

// The blackboard's eight places, in keyboard order: the tray's 2-, 4- and
// 6-cm blocks (places 0, 1, 2), then columns 1 to 5 of the rectangle
// (places 3 to 7, column 1 next to AB).
constexpr int kPlaces = 8;
constexpr int kFirstColumn = 3;
constexpr bool isColumn(int place) { return place >= kFirstColumn; }
constexpr int columnOf(int place) { return place - kFirstColumn; }
constexpr int placeOfColumn(int column) { return column + kFirstColumn; }
constexpr int kindOfTray(int place) { return place + 1; }

struct Point {
    float x, y;
};
// Where the keyboard presses and releases for a place: the middle of the tray
// block's outline, or of the column.
Point middle(int place);
// The place's outline: the tray block's, or the whole column.
platform::Box outline(int place);
// The place under a pointer position, or -1: a tray block over its whole
// span above the rectangle, or a column inside the rectangle.
int placeAt(float x, float y);

}  // namespace a11y

// The texts a screen reader is given.
struct AccessTexts {
    std::string board;   ///< the blackboard's description
    std::string table;   ///< the table's
    std::string graph;   ///< the graph's
    std::string status;  ///< the status line for the focused control
    // The status line aloud: the values, then what changed, in words a voice
    // reads well (no symbol read out as a symbol).
    std::string spoken, spokenChange;
};
