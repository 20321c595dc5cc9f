// The desktop program's entry: the command line read with the toolkit's
// parser before the window system is started (the options are the lesson's
// own, app/start.h), the window icon, one clear line when no display can be
// reached, and the lesson started as asked.
#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
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

#include "app/form1.h"
#include "app/start.h"
#include "platform/qt/bridge.h"

namespace {

// The exit status of a program whose arguments were refused.
constexpr int kBadArguments = 2;

void refuse(const QString& reason)
{
    const QString program = QCoreApplication::applicationName();
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", qPrintable(program),
                 qPrintable(reason), qPrintable(program));
}

// Reads the arguments with the toolkit's parser. Needs no display: it runs
// before the window system is reached, on a core application object of its
// own that is gone when it returns. The toolkit's standard options
// -platform, -display, -style and -reverse are accepted and left in the
// arguments for the toolkit to read. --help and --version are answered by
// the toolkit, which then ends the program with status 0. A wrong argument
// (an unknown option, a stray word, a value refused) is named in one line on
// standard error, with a hint to --help, and gives no options.
std::optional<StartOptions> readCommandLine(int& argc, char* argv[])
{
    const QCoreApplication core(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("３.１次関数 — a blackboard, a table and a graph for learning linear functions."));
    // Options are words after one dash or two ("-help" is "--help"), so that a
    // mistyped word is named whole rather than letter by letter.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not the toolkit's addHelpOption: it adds --help-all for the toolkit's own
    // options, which this program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    std::vector<QCommandLineOption> lessons;
    for (const StartOption& o : startOptions()) {
        lessons.emplace_back(QString::fromUtf8(o.name), QString::fromUtf8(o.help),
                             o.value ? QString::fromUtf8(o.value) : QString());
        parser.addOption(lessons.back());
    }
    // The toolkit's standard options, which every program built on it takes
    // and the toolkit itself reads when the window system starts: accepted
    // here as they are, and left out of the help, as its own --help does.
    for (const char* name : {"platform", "display", "style"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(reverse);

    if (!parser.parse(QCoreApplication::arguments())) {
        refuse(parser.errorText());
        return std::nullopt;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        refuse(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
        return std::nullopt;
    }

    StartOptions options;
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        if (!parser.isSet(lessons[i]))
            continue;
        const StartOption& o = startOptions()[i];
        const std::string refused =
            readStartOption(options, o.name, o.value ? parser.value(lessons[i]).toStdString() : std::string());
        if (!refused.empty()) {
            refuse(QString::fromStdString(refused));
            return std::nullopt;
        }
    }
    return options;
}

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
    const std::optional<StartOptions> options = readCommandLine(argc, argv);
    if (!options)
        return kBadArguments;

    std::optional<QApplication> app;
    {
        const WindowSystemStart start;
        app.emplace(argc, argv);
    }
    QApplication::setWindowIcon(programIcon());
    Form1 form;
    platform::settings::open();
    FirstFrame firstFrame;
    if (std::getenv("KANSU_FIRST_FRAME"))
        platform::qt::widgetOf(*form.window)->installEventFilter(&firstFrame);
    start(form, *options);
    form.Show();
    return QApplication::exec();
}
