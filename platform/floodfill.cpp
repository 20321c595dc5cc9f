#include "platform/floodfill.h"

#include <algorithm>
#include <vector>

namespace platform {

long borderFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                std::uint32_t border, std::uint32_t fill, FillBounds* bounds)
{
    constexpr std::uint32_t opaque = 0xFF000000, rgb = 0x00FFFFFF;
    // While the fill runs, a pixel it has painted carries this alpha instead
    // of the opaque one that every pixel of a layer has: painted and
    // unpainted pixels are told apart even when the fill colour was in the
    // region before, without a mark buffer beside the image.
    constexpr std::uint32_t painting = 0xFE000000;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    // A pixel is open when it is opaque (this fill has not been there) and
    // not of the border colour.
    const std::uint32_t stop = opaque | (border & rgb);
    const auto open = [stop](std::uint32_t p) { return (p >= opaque) & (p != stop); };
    const auto rowAt = [pixels, stride](int r) { return pixels + static_cast<std::ptrdiff_t>(r) * stride; };
    if (!open(rowAt(y)[x]))
        return 0;

    // A seed remembers the span it came from: that span is painted, so the
    // part of the row it lies in that the span covers need not be looked at.
    struct Seed {
        int x, y, fromLeft, fromRight, fromY;
    };
    struct Span {
        int y, left, right;
    };
    const std::uint32_t value = painting | (fill & rgb);
    std::vector<Seed> stack{{x, y, 0, -1, -1}};
    std::vector<Span> spans;
    long painted = 0;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        std::uint32_t* row = rowAt(s.y);
        if (!open(row[s.x]))
            continue;
        int left = s.x, right = s.x;
        while (left > 0 && open(row[left - 1]))
            --left;
        while (right < width - 1 && open(row[right + 1]))
            ++right;
        std::fill(row + left, row + right + 1, value);
        spans.push_back({s.y, left, right});
        painted += right - left + 1;
        // One seed per open run in the rows above and below.
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            const std::uint32_t* nrow = rowAt(ny);
            const auto seedRuns = [&](int i, int to) {
                while (i <= to) {
                    while (i <= to && !open(nrow[i]))
                        ++i;
                    if (i > to)
                        break;
                    stack.push_back({i, ny, left, right, s.y});
                    while (i <= to && open(nrow[i]))
                        ++i;
                }
            };
            if (ny == s.fromY) {  // only beyond the span this one came from
                seedRuns(left, std::min(right, s.fromLeft - 1));
                seedRuns(std::max(left, s.fromRight + 1), right);
            } else {
                seedRuns(left, right);
            }
        }
    }
    // Every painted pixel opaque again.
    FillBounds box{width, height, -1, -1};
    for (const Span& s : spans) {
        std::uint32_t* row = rowAt(s.y);
        for (int i = s.left; i <= s.right; ++i)
            row[i] |= opaque;
        box.left = std::min(box.left, s.left), box.right = std::max(box.right, s.right);
        box.top = std::min(box.top, s.y), box.bottom = std::max(box.bottom, s.y);
    }
    if (bounds)
        *bounds = painted > 0 ? box : FillBounds{};
    return painted;
}

}  // namespace platform
