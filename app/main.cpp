#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/form1.h"
#include "platform/qt_bridge.h"

namespace {
// With KANSU_FIRST_FRAME set, the program prints the system's monotonic clock
// when its window has painted for the first time, and ends: the start-up
// benchmark compares it with the moment it started the process.
class FirstFrame : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            QTimer::singleShot(0, watched, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-frame-monotonic-ns %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool done_ = false;
};
}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Form1 form;
    FirstFrame firstFrame;
    if (std::getenv("KANSU_FIRST_FRAME"))
        platform::qt::widgetOf(*form.window)->installEventFilter(&firstFrame);
    form.Show();
    return app.exec();
}
