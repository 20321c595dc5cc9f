// Touch, pen and mouse on a picture box, for every platform: one pointer
// drags as the left mouse button does. Only the pointer that went down first
// counts; others that touch while it drags move and drop nothing. A press the
// system cancels (a gesture it took over) puts the outline back, as a release
// below the rectangle does, changing nothing.
#pragma once

#include <optional>

namespace platform {

class PointerRule {
public:
    enum Kind { Down, Move, Up };
    // The mouse event to hand to the box's handlers, at the pointer's place.
    struct Event {
        Kind kind;
        double x, y;
    };
    std::optional<Event> pressed(int id, double x, double y);
    // Only a move of the pointer that counts, and only when it moved.
    std::optional<Event> moved(int id, double x, double y);
    std::optional<Event> released(int id, double x, double y);
    // A release far below the box (`below`, in the same units as the places).
    std::optional<Event> cancelled(double below);
    bool active() const { return id_ >= 0; }

private:
    int id_ = -1;  ///< the pointer that drags, while one does
    double x_ = 0, y_ = 0;
};

// A pointer position in a box shown at `zoom`, in the layout's pixels. Far
// outside the box (while a button is held) it stays within what the handlers
// can take as 16-bit coordinates.
float toLayout(double v, double zoom);
// Where a cancelled press is released: far below every box.
constexpr double kFarBelow = 30000;

}  // namespace platform
