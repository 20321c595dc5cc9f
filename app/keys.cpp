// Keys of the whole window. Each capability looks at the key in turn; the
// first that takes it ends the search, and a key nobody takes goes on to the
// focused control.
#include <array>

#include "app/form1.h"

using platform::Key;

namespace {
// The zoom steps of Ctrl++ and Ctrl+−.
constexpr std::array<double, 7> kZoomSteps{1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
}  // namespace

bool Form1::Form_KeyDown(const Key& k)
{
    if (zoomKey(k))
        return true;
    if (lessonKey(k))
        return true;
    if (exportKey(k))
        return true;
    // F8 switches reading aloud on and off, wherever the focus is.
    if (k.code == Key::F8 && !k.ctrl && !k.alt && !k.shift) {
        setReadAloud(!readAloud());
        return true;
    }
    // Escape, when nothing else took it, leaves full screen; never during a run.
    if (k.code == Key::Escape && !k.ctrl && !hashiru && window->fullScreen()) {
        window->setFullScreen(false);
        return true;
    }
    return false;
}

bool Form1::zoomKey(const Key& k)
{
    if (k.code == Key::F11 && !k.ctrl && !k.alt) {
        window->setFullScreen(!window->fullScreen());
        return true;
    }
    if (!k.ctrl || k.alt)
        return false;
    const double z = window->zoom();
    double next = z;
    if (k.code == Key::Plus) {
        // The next step, where the window still fits the screen at it.
        for (double step : kZoomSteps)
            if (step > z + 1e-9) {
                if (step <= window->largestZoom() + 1e-9)
                    next = step;
                break;
            }
    } else if (k.code == Key::Minus) {
        for (double step : kZoomSteps)
            if (step < z - 1e-9)
                next = step;
    } else if (k.code == Key::Digit && k.digit == 0) {
        next = 1.0;
    } else {
        return false;
    }
    window->setZoom(next);
    platform::settings::saveZoom(window->zoom());  // the next start opens at this zoom
    return true;
}
