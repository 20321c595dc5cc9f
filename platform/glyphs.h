// The one thing the drawing layers need from a platform: the glyphs of a
// printed text, as a mask without smoothing. Each platform renders them with
// its own text engine in the program's face; everything else a layer draws is
// the program's own code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Which pixels of a text's line box carry ink: `ink` holds width × height
// bytes, row by row, 1 for ink.
struct GlyphMask {
    int width = 0, height = 0;
    std::vector<std::uint8_t> ink;
};

// The text in the program's face at the given pixel size, with the top left
// of its line box at (0, 0), each pixel ink or not (no smoothing). The box is
// wide enough for glyphs that reach past the text's advance.
GlyphMask renderGlyphs(const std::string& text, int pixelSize, bool bold);

// The pixel size of a font of the given points at 96 dpi, `zoom` times as large.
int fontPixelsAt(double points, double zoom);

}  // namespace platform
