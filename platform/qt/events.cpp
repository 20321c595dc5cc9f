// The automatic run's pause on Qt: a nested event loop, ended by a precise
// timer or by wake(); what runs once the handler now running returns, and
// what runs after a while.
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include "platform/qt/internal.h"

namespace platform::backend {

namespace {
QPointer<QEventLoop> currentWait;
bool woken = false;
}  // namespace

bool sleep(int ms)
{
    QPointer<QEventLoop> outer = currentWait;
    woken = false;
    QEventLoop loop;
    currentWait = &loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    // exec() returns at once while the application is quitting.
    const int rc = loop.exec();
    currentWait = outer;
    const bool completed = !woken && rc == 0;
    woken = false;
    return completed;
}

void wake()
{
    woken = true;
    if (currentWait)
        currentWait->exit(1);
}

void later(std::function<void()> then) { QMetaObject::invokeMethod(qApp, std::move(then), Qt::QueuedConnection); }

// A precise timer: a coarse one may fire up to 5 % early.
void after(int ms, std::function<void()> then) { QTimer::singleShot(ms, Qt::PreciseTimer, qApp, std::move(then)); }

}  // namespace platform::backend
