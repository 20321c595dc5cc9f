// A lesson as the end of a page's address, so that a teacher can hand out a
// ready figure: "figure=1,1,3,0,2&grid&graph&table&x=6.5" holds the blocks of
// columns 1 to 5 (0 empty; 1, 2, 3 the 2-, 4- and 6-cm blocks), the grid,
// the graph and the table shown, and how far P has moved. No toolkit here.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lessonlink {

struct Lesson {
    std::array<int, 5> figure{};  ///< block kind per column, 0 empty
    bool grid = false, graph = false, table = false;
    int steps = 0;  ///< half centimetres P has moved, 0 to 20
    std::string lang;  ///< the language to show it in ("pt"); empty: as it is
    // The parts that could not be read, as written ("x=99", "figure=4"),
    // each left out with the rest still read.
    std::vector<std::string> refused;
};

// Reads the text after '#' (the '#' itself may lead). Parts are separated by
// '&': "figure=K,K,K,K,K" (fewer columns leave the rest empty; a column
// that is not 0 to 3 is refused alone), "grid", "graph", "table" (or with
// "=1" on, "=0" off), "x=D" (0 to 10 in steps of 0.5), "lang=CODE" (a
// language the program has). Anything else is refused.
Lesson read(std::string_view text);

// The text of a lesson, as read() reads it back: only what differs from the
// start ("figure=1,1,3,0,2&grid&graph&table&x=6.5"; "" at the start).
std::string write(const Lesson& lesson);

}  // namespace lessonlink
