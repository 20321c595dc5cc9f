#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

#include "app/cmdline.h"
#include "app/form1.h"
#include "platform/qt/bridge.h"

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
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("first-frame-monotonic-ns %lld\n",
                            static_cast<long long>(std::chrono::nanoseconds(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool done_ = false;
};

// Holds back the toolkit's messages while the window system starts. When it
// cannot start, the toolkit ends the program with a fatal message that advises
// reinstalling the application, which sends a teacher the wrong way: the
// program says instead in one line why no window can open and ends with
// status 1. When it starts, the held messages are passed on in order.
class WindowSystemStart {
public:
    WindowSystemStart() { previous_ = qInstallMessageHandler(&hold); }
    ~WindowSystemStart()
    {
        qInstallMessageHandler(previous_);
        const std::lock_guard lock(mutex_);
        for (const Held& m : held_)
            previous_(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()), m.text);
        held_.clear();
    }
    WindowSystemStart(const WindowSystemStart&) = delete;
    WindowSystemStart& operator=(const WindowSystemStart&) = delete;

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        std::unique_lock lock(mutex_);
        if (type != QtFatalMsg) {
            held_.push_back({type, context.category, text});
            return;
        }
        // The platform plugin says why it failed before the fatal message.
        bool noDisplay = false;
        for (const Held& m : held_)
            noDisplay = noDisplay || m.text.contains(QLatin1String("display"), Qt::CaseInsensitive);
        const QString reason = noDisplay ? QStringLiteral("no display found (is DISPLAY set?)")
                               : held_.empty() ? text.section(QLatin1Char('.'), 0, 0)
                                               : held_.front().text;
        lock.unlock();
        std::fprintf(stderr, "%s: cannot open a window: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(reason));
        std::fflush(stderr);
        std::exit(1);
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::mutex mutex_;
    static inline std::vector<Held> held_;
};

// The program's icon in the sizes that are installed, compiled in.
QIcon programIcon()
{
    QIcon icon;
    for (const int size : {48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}
}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("kansu"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KANSU_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KANSU_APP_ID));
    const std::optional<CommandLine> options = readCommandLine(argc, argv);
    if (!options)
        return kBadArguments;

    std::optional<QApplication> app;
    {
        const WindowSystemStart start;
        app.emplace(argc, argv);
    }
    QApplication::setWindowIcon(programIcon());
    Form1 form;
    // The zoom asked for, else the one last chosen with the keys.
    platform::settings::open();
    form.window->setZoom(options->zoom ? *options->zoom / 100.0 : platform::settings::savedZoom());
    FirstFrame firstFrame;
    if (std::getenv("KANSU_FIRST_FRAME"))
        platform::qt::widgetOf(*form.window)->installEventFilter(&firstFrame);
    if (options->fullScreen)
        form.window->setFullScreen(true);  // before the window is first shown
    form.Show();
    return QApplication::exec();
}
