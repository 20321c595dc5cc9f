// The border flood fill of the drawing layers, on a raw 32-bit pixel buffer.
#pragma once

#include <cstdint>

namespace platform {

// Paints, with `fill`, every pixel 4-connected to (x, y) through pixels whose
// colour is not `border`. Pixels are 32-bit words compared in their low 24
// bits; `stride` counts pixels per row. A seed outside the buffer or on the
// border colour paints nothing. Returns the number of pixels painted.
long borderFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                std::uint32_t border, std::uint32_t fill);

}  // namespace platform
