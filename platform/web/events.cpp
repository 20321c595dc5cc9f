// The automatic run's pause in a browser: the pause hands the browser back
// its thread until a timer or ストップ ends it, so that the page goes on
// drawing and answering the pupil while the program waits.
#include "platform/web/web.h"

namespace platform::backend {

bool sleep(int ms) { return kansu_run_sleep(ms) != 0; }
void wake() { kansu_run_wake(); }

}  // namespace platform::backend
