// Time and the event pump: the pause of the automatic run waits in a nested
// event loop, ended by a precise timer or by wake().
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <algorithm>

#include "platform/qt/internal.h"

namespace platform {

namespace events {

namespace {
QElapsedTimer& clock()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}
QPointer<QEventLoop> currentWait;
bool woken = false;
}  // namespace

std::int64_t monotonicMs() { return clock().elapsed(); }

bool waitHandlingEvents(std::int32_t ms)
{
    if (ms <= 0)
        return true;
    // What the step before this pause changed is told before the wait.
    qt::guarded([] {});
    const std::int64_t deadline = monotonicMs() + ms;
    QPointer<QEventLoop> outer = currentWait;
    woken = false;
    bool completed = true;
    for (;;) {
        const std::int64_t left = deadline - monotonicMs();
        if (left <= 0)
            break;
        QEventLoop loop;
        currentWait = &loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(std::min<std::int64_t>(left, 1 << 30)));
        // exec() returns at once while the application is quitting.
        const int rc = loop.exec();
        currentWait = outer;
        if (woken || rc != 0) {
            completed = false;
            break;
        }
    }
    woken = false;
    return completed;
}

void wake()
{
    woken = true;
    if (currentWait)
        currentWait->exit(1);
}

}  // namespace events

}  // namespace platform
