#include "platform/floodfill.h"

#include <algorithm>
#include <vector>

namespace platform {

long borderFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                std::uint32_t border, std::uint32_t fill, FillBounds* bounds)
{
    constexpr std::uint32_t rgb = 0x00FFFFFF;
    border &= rgb;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    auto isBorder = [&](int px, int py) { return (pixels[py * stride + px] & rgb) == border; };
    if (isBorder(x, y))
        return 0;

    // Scanline fill. A mark of visited pixels lets the fill colour equal the
    // region's colour (or any colour in it) without looping forever; the marks
    // are stamps of this fill's number, so the buffer is kept between fills and
    // never cleared.
    static thread_local std::vector<std::uint32_t> stamps;
    static thread_local std::uint32_t fillNumber = 0;
    const std::size_t size = static_cast<std::size_t>(width) * height;
    if (stamps.size() < size || ++fillNumber == 0) {
        stamps.assign(std::max(size, stamps.size()), 0);
        fillNumber = 1;
    }
    const std::uint32_t mark = fillNumber;
    const std::uint32_t value = 0xFF000000u | (fill & rgb);
    // A pixel is open when this fill has not been there and it is not border.
    auto openAt = [&](const std::uint32_t* row, const std::uint32_t* marks, int i) {
        return marks[i] != mark && (row[i] & rgb) != border;
    };
    std::vector<std::pair<int, int>> stack{{x, y}};
    long painted = 0;
    FillBounds box{width, height, -1, -1};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(sy) * stride;
        std::uint32_t* marks = stamps.data() + static_cast<std::size_t>(sy) * width;
        if (!openAt(row, marks, sx))
            continue;
        int left = sx, right = sx;
        while (left > 0 && openAt(row, marks, left - 1))
            --left;
        while (right < width - 1 && openAt(row, marks, right + 1))
            ++right;
        for (int i = left; i <= right; ++i) {
            marks[i] = mark;
            row[i] = value;
        }
        painted += right - left + 1;
        box.left = std::min(box.left, left), box.right = std::max(box.right, right);
        box.top = std::min(box.top, sy), box.bottom = std::max(box.bottom, sy);
        // Push one seed per open run in the rows above and below.
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            const std::uint32_t* nrow = pixels + static_cast<std::ptrdiff_t>(ny) * stride;
            const std::uint32_t* nmarks = stamps.data() + static_cast<std::size_t>(ny) * width;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool o = openAt(nrow, nmarks, i);
                if (o && !inRun)
                    stack.emplace_back(i, ny);
                inRun = o;
            }
        }
    }
    if (bounds)
        *bounds = painted > 0 ? box : FillBounds{};
    return painted;
}

}  // namespace platform
