// What the pictures of copy, save and print hold and where, for every
// platform: a picture box by itself, or the lesson with the board, the graph
// to its right and the table below it; and how large the lesson goes on a
// printed page above its footer.
#pragma once

#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/view.h"

namespace platform::exporting {

constexpr double kPictureScale = 2;  ///< pictures for documents: twice the layout's size
constexpr int kGap = 8;              ///< layout pixels around and between the boxes of a lesson
constexpr Colour kPaper = 0xFFFFFF;  ///< a printed lesson's background

// A box of a picture and where its top left goes, in layout pixels.
struct Spot {
    const PictureBox* box;
    int x, y;
};
struct Arrangement {
    std::vector<Spot> spots;
    view::Size size;  ///< the whole picture, in layout pixels
};
// A lesson has the board and the table below it in the left column, right
// edges in line as in the window, and the graph to their right.
Arrangement arrange(const Picture& picture);

// The scale (device pixels per layout pixel) of a picture of `size` on a
// page of `page` pixels that keeps two lines of `line` pixels for its footer.
double pageScale(view::Size size, view::Size page, int line);

// The program's title in footers and documents.
std::string programTitle();
// Today's date as a printed page's footer gives it ("2026年12月8日").
std::string dateText();

}  // namespace platform::exporting
