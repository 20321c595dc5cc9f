#include "platform/floodfill.h"

#include <vector>

namespace platform {

long borderFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                std::uint32_t border, std::uint32_t fill)
{
    constexpr std::uint32_t rgb = 0x00FFFFFF;
    border &= rgb;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    auto isBorder = [&](int px, int py) { return (pixels[py * stride + px] & rgb) == border; };
    if (isBorder(x, y))
        return 0;

    // Scanline fill. A separate mark of visited pixels lets the fill colour
    // equal the region's colour (or any colour in it) without looping forever.
    std::vector<std::uint8_t> done(static_cast<std::size_t>(width) * height, 0);
    auto open = [&](int px, int py) { return !done[static_cast<std::size_t>(py) * width + px] && !isBorder(px, py); };
    const std::uint32_t value = 0xFF000000u | (fill & rgb);
    std::vector<std::pair<int, int>> stack{{x, y}};
    long painted = 0;
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!open(sx, sy))
            continue;
        int left = sx, right = sx;
        while (left > 0 && open(left - 1, sy))
            --left;
        while (right < width - 1 && open(right + 1, sy))
            ++right;
        for (int i = left; i <= right; ++i) {
            done[static_cast<std::size_t>(sy) * width + i] = 1;
            pixels[sy * stride + i] = value;
        }
        painted += right - left + 1;
        // Push one seed per open run in the rows above and below.
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool o = open(i, ny);
                if (o && !inRun)
                    stack.emplace_back(i, ny);
                inRun = o;
            }
        }
    }
    return painted;
}

}  // namespace platform
