// The marks that show where the keyboard is, as every platform draws them:
// the focus mark around the focused control, and above the blackboard the
// keyboard cursor's frame and a selected block's highlighted outline.
#pragma once

#include <algorithm>
#include <cmath>

#include "platform/surface.h"

namespace platform::marks {

// Black stands out 4.1:1 on the board's green (#008000) and 18.3:1 on the
// window's pale green (#C0FFC0).
constexpr Colour kFocus = 0x000000;
// The keyboard cursor: white, 5.1:1 on the board and 12.1:1 on the tray's
// dark green (#004000). A selected block's outline: cyan, 4.1:1 and 9.7:1.
constexpr Colour kCursor = 0xFFFFFF, kSelection = 0xFFFF00;
// Width of the cursor's and the selection's bands, in the box's pixels.
constexpr int kBand = 3;

// The focus mark's width at a zoom: 3 pixels at 100 %, never under 2.
inline int focusWidth(double zoom) { return std::max(2, static_cast<int>(std::lround(3 * zoom))); }
// The outer edge of the cursor's band around a place's outline.
inline Box cursorFrame(const Box& outline) { return {outline.left - 5, outline.top - 5, outline.width + 10, outline.height + 10}; }
// The outer edge of the selection's band around a block.
inline Box selectionFrame(const Box& block) { return {block.left - 1, block.top - 1, block.width + 2, block.height + 2}; }

}  // namespace platform::marks
