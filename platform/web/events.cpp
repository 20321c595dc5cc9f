// The automatic run's pause in a browser: the pause hands the browser back
// its thread until a timer or ストップ ends it, so that the page goes on
// drawing and answering the pupil while the program waits. And what runs
// after a while, from a timer of the page.
#include <emscripten/emscripten.h>

#include <map>
#include <utility>

#include "platform/web/web.h"

namespace {
// The calls that wait for their timer, by the number the timer hands back.
std::map<int, std::function<void()>>& waiting()
{
    static std::map<int, std::function<void()>> calls;
    return calls;
}
}  // namespace

namespace platform::backend {

bool sleep(int ms) { return kansu_run_sleep(ms) != 0; }
void wake() { kansu_run_wake(); }

void after(int ms, std::function<void()> then)
{
    static int next = 0;
    const int id = ++next;
    waiting()[id] = std::move(then);
    kansu_run_after(ms, id);
}

}  // namespace platform::backend

extern "C" EMSCRIPTEN_KEEPALIVE void kansu_after_done(int id)
{
    const auto it = waiting().find(id);
    if (it == waiting().end())
        return;
    const std::function<void()> then = std::move(it->second);
    waiting().erase(it);
    then();
}
