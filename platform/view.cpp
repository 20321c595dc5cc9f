#include "platform/view.h"

#include <algorithm>
#include <cmath>

namespace platform::view {

Size clientOf(int widthTwips, int heightTwips, const Frame& frame)
{
    const int w = static_cast<int>(std::lround(widthTwips / 15.0)) - frame.left - frame.right;
    const int h = static_cast<int>(std::lround(heightTwips / 15.0)) - frame.top - frame.bottom;
    return {std::max(w, 1), std::max(h, 1)};
}

Size atZoom(Size size, double zoom)
{
    return {std::max(1, static_cast<int>(std::lround(size.width * zoom))),
            std::max(1, static_cast<int>(std::lround(size.height * zoom)))};
}

std::optional<int> zoomPercent(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int percent = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        percent = std::min(percent * 10 + (c - '0'), 100000);
    }
    if (percent < kMinZoom * 100 || percent > kMaxZoom * 100)
        return std::nullopt;
    return percent;
}

int borderAt(double zoom) { return std::max(1, static_cast<int>(std::lround(2 * zoom))); }

double clampZoom(double zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

Fit fit(Size area, Size client)
{
    const double z = std::clamp(std::min(double(area.width) / client.width, double(area.height) / client.height),
                                kMinFit, kMaxZoom);
    const Size shown{static_cast<int>(std::lround(client.width * z)), static_cast<int>(std::lround(client.height * z))};
    return {z, std::max(0, (area.width - shown.width) / 2), std::max(0, (area.height - shown.height) / 2)};
}

double largestZoom(Size area, Size client, const Frame& frame)
{
    // Exact where it binds: client * z is then the free length itself, which
    // atZoom rounds to that length, not one pixel over.
    const double z = std::min(double(area.width - frame.left - frame.right) / client.width,
                              double(area.height - frame.top - frame.bottom) / client.height);
    return std::clamp(z, kMinZoom, kMaxZoom);
}

}  // namespace platform::view
