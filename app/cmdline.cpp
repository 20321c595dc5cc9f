// The command line, read with QCommandLineParser before the window system is
// started (see app/cmdline.h).
#include "app/cmdline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#include "platform/view.h"

namespace {

// The zoom's range in percent, as a page's address takes it too.
constexpr int kMinZoom = static_cast<int>(platform::view::kMinZoom * 100);
constexpr int kMaxZoom = static_cast<int>(platform::view::kMaxZoom * 100);

void refuse(const QString& reason)
{
    const QString program = QCoreApplication::applicationName();
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", qPrintable(program),
                 qPrintable(reason), qPrintable(program));
}

}  // namespace

std::optional<CommandLine> readCommandLine(int& argc, char* argv[])
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
    const QCommandLineOption zoom(
        QStringLiteral("zoom"),
        QStringLiteral("Shows the window at PERCENT of its size, a whole number from %1 to %2 "
                       "(default: the zoom last chosen with Ctrl++ and Ctrl+-, at first %1).")
            .arg(kMinZoom)
            .arg(kMaxZoom),
        QStringLiteral("PERCENT"));
    const QCommandLineOption fullScreen(QStringLiteral("fullscreen"),
                                        QStringLiteral("Starts with the window filling the screen."));
    parser.addOption(zoom);
    parser.addOption(fullScreen);
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

    CommandLine options;
    if (parser.isSet(zoom)) {
        options.zoom = platform::view::zoomPercent(parser.value(zoom).toStdString());
        if (!options.zoom) {
            refuse(QStringLiteral("--zoom takes a whole number of percent from %1 to %2, not '%3'.")
                       .arg(kMinZoom)
                       .arg(kMaxZoom)
                       .arg(parser.value(zoom)));
            return std::nullopt;
        }
    }
    options.fullScreen = parser.isSet(fullScreen);
    return options;
}
