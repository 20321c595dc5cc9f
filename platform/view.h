// How the window's layout is shown at a zoom, for every platform: the limits
// of the zoom, the client area that an outer size in twips asks for, and the
// largest zoom at which the layout fits a given area, centred in it.
#pragma once

#include <optional>
#include <string_view>

#include "platform/surface.h"

namespace platform::view {

// The zoom of an ordinary window (1 = 100 %), and the smallest a full screen
// or a small browser window may need to fit the layout in.
constexpr double kMinZoom = 1, kMaxZoom = 3, kMinFit = 0.25;

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

// The frame around the client area, in pixels. The default is the borders and
// caption of a standard sizable window, assumed where no window manager gives
// one (or before the window is shown, or in a browser), so that the outer size
// in twips leaves the client area the layout was made for.
struct Frame {
    int left = 8, right = 8, top = 31, bottom = 8;
    bool operator==(const Frame&) const = default;
};

// The client area that an outer size in twips asks for, in the layout's pixels.
Size clientOf(int widthTwips, int heightTwips, const Frame& frame = {});
// A size of the layout's pixels at a zoom, rounded, at least one pixel.
Size atZoom(Size size, double zoom);
// The zoom of an ordinary window: from 100 % to 300 %.
double clampZoom(double zoom);

// A zoom asked for in percent (a command line, a page's address): a whole
// number from 100 to 300 written with digits only ("150", not "+150",
// "1.5e2" or "150%"); nothing for anything else.
std::optional<int> zoomPercent(std::string_view text);

// The width of a control's border (2 pixels as laid out) at a zoom.
int borderAt(double zoom);

// The largest zoom at which `client` fits `area` (from kMinFit to kMaxZoom),
// and where the layout's top left goes to be centred.
struct Fit {
    double zoom = 1;
    int left = 0, top = 0;
};
Fit fit(Size area, Size client);

// No frame at all: a window on a bare X display, or one in full screen.
constexpr Frame kNoFrame{0, 0, 0, 0};

// The largest zoom at which a window fits `area` (the screen's available
// area): its client area `client` at that zoom with `frame` around it. From
// kMinZoom to kMaxZoom: an ordinary window never shrinks the layout below
// 100 %, even on a screen smaller than that.
double largestZoom(Size area, Size client, const Frame& frame);

}  // namespace platform::view
