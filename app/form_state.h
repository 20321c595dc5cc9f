// The record that every handler and procedure of the window shares.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct FormState {
    // Corners of the rectangle ABCD on the blackboard, in its pixels.
    double ax = 0, ay = 0;  ///< A, top left
    double bx = 0, by = 0;  ///< B, bottom left: P starts here and moves along y = by
    double cx = 0, cy = 0;  ///< C, bottom right
    double dx = 0;          ///< x of D, top right
    std::int16_t dy = 0;    ///< y of D

    double px = 0;          ///< x of P and of the figure's left edge: 300 on B .. 100 at the far end
    std::int16_t py = 0;    ///< y where the path of P starts

    double tsukami = 0;     ///< block being dragged: 0 none, 1/2/3 the 2/4/6-cm block
    std::array<double, 5> hako{};  ///< block kind in each 2-cm slot of the figure, 0 = empty
    double motohako = 0;    ///< slot the dragged block was lifted from; -1 when it came from the tray

    double gx = 0, gy = 0;  ///< last point of the graph trace, pixels of the graph pane
    double hyoy = 0;        ///< running total printed in the value table, cm²
    double gurafuy = 0;     ///< running area of the graph trace, cm²
    std::array<std::int16_t, 22> zoubun{};  ///< per step k: cm² per cm pushed past AB, 2 × block kind
    std::int16_t teishi = 0;  ///< stop request of the automatic run

    bool hashiru = false;   ///< an automatic run is in progress
};

// What the keyboard and the click-then-click path hold between events.
struct AccessState {
    int cursor = 0;     ///< the keyboard cursor's place
    int held = -1;      ///< place the block held by keyboard was picked up from; -1 none
    int selected = -1;  ///< place selected by a click, waiting for the click that puts it; -1 none

    // The press in progress on the blackboard.
    bool pressed = false;
    bool moved = false;      ///< the pointer went beyond the click tolerance: a drag
    bool forwarded = false;  ///< the press went to the handlers (false: a selection's second click)
    float pressX = 0, pressY = 0;
    std::int16_t pressButton = 0, pressShift = 0;

    // What the screen reader was last told about, and what changed then.
    struct Seen {
        std::array<double, 5> hako{};
        double px = 0;
        int cursor = 0, held = -1, heldKind = 0, selected = -1;
        bool table = false, graph = false;
        bool running = false;  ///< an automatic run moves P
        const void* focus = nullptr;
        bool operator==(const Seen&) const = default;
    };
    Seen seen;
    bool told = false;   ///< seen holds something
    std::string change;  ///< the latest change in words ("" after a step of P)
    std::string spokenChange;  ///< the same aloud
};
