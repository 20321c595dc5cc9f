#include "platform/pointer.h"

#include <algorithm>

namespace platform {

std::optional<PointerRule::Event> PointerRule::pressed(int id, double x, double y)
{
    if (id_ >= 0)
        return std::nullopt;
    id_ = id, x_ = x, y_ = y;
    return Event{Down, x, y};
}

std::optional<PointerRule::Event> PointerRule::moved(int id, double x, double y)
{
    if (id != id_ || (x == x_ && y == y_))
        return std::nullopt;
    x_ = x, y_ = y;
    return Event{Move, x, y};
}

std::optional<PointerRule::Event> PointerRule::released(int id, double x, double y)
{
    if (id != id_)
        return std::nullopt;
    id_ = -1;
    return Event{Up, x, y};
}

std::optional<PointerRule::Event> PointerRule::cancelled(double below)
{
    if (id_ < 0)
        return std::nullopt;
    id_ = -1;
    return Event{Up, x_, below};
}

float toLayout(double v, double zoom) { return static_cast<float>(std::clamp(v / zoom, -30000.0, 30000.0)); }

}  // namespace platform
