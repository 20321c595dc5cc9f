// The border flood fill of the drawing layers, on a raw 32-bit pixel buffer.
#pragma once

#include <cstdint>

namespace platform {

// The smallest rectangle around the pixels a fill painted (inclusive edges).
struct FillBounds {
    int left = 0, top = 0, right = -1, bottom = -1;
};

// Paints, with `fill`, every pixel 4-connected to (x, y) through pixels whose
// colour is not `border`. Pixels are opaque 32-bit words 0xFFRRGGBB compared
// in their low 24 bits; `stride` counts pixels per row. A seed outside the
// buffer or on the border colour paints nothing. Returns the number of pixels
// painted and, when `bounds` is given, where they lie.
long borderFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                std::uint32_t border, std::uint32_t fill, FillBounds* bounds = nullptr);

}  // namespace platform
