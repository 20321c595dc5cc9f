// Time and the pause of the automatic run in a browser: the pause hands the
// browser back its thread until a timer or ストップ ends it, so that the page
// goes on drawing and answering the pupil while the program waits, without
// keeping a processor busy.
#include <emscripten/emscripten.h>

#include <algorithm>

#include "platform/web/web.h"

namespace platform::events {

// The page's clock (performance.now): monotonic, from the page's start.
std::int64_t monotonicMs() { return static_cast<std::int64_t>(emscripten_get_now()); }

bool waitHandlingEvents(std::int32_t ms)
{
    if (ms <= 0)
        return true;
    // What the step before this pause changed is told before the wait.
    web::settled();
    const std::int64_t deadline = monotonicMs() + ms;
    for (;;) {
        const std::int64_t left = deadline - monotonicMs();
        if (left <= 0)
            return true;
        if (!kansu_run_sleep(static_cast<int>(std::min<std::int64_t>(left, 1 << 30))))
            return false;  // woken: ストップ, or the lesson ended
    }
}

void wake() { kansu_run_wake(); }

}  // namespace platform::events
