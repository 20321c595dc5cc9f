#include "app/start.h"

#include "app/form1.h"
#include "link/link.h"
#include "lang/texts.h"
#include "platform/view.h"

namespace {
// The zoom's range in percent.
constexpr int kMinZoom = static_cast<int>(platform::view::kMinZoom * 100);
constexpr int kMaxZoom = static_cast<int>(platform::view::kMaxZoom * 100);
}  // namespace

const std::vector<StartOption>& startOptions()
{
    static const std::vector<StartOption> options{
        {"zoom", "PERCENT",
         "Shows the window at PERCENT of its size, a whole number from 100 to 300 (default: the zoom last chosen with "
         "Ctrl++ and Ctrl+-, at first 100)."},
        {"fullscreen", nullptr, "Starts with the window filling the screen."},
        {"lang", "CODE",
         "Shows the lesson in a language: ja (Japanese, the default), furigana (Japanese with readings), en, pt, zh, "
         "fil, vi, es, ko or ne (default: the language last chosen)."},
        {"link", "LINK",
         "Opens a ready lesson, as a link to the page gives it after its '#': for example "
         "'figure=1,1,3,0,2&grid&graph&table&x=6.5'. Parts that cannot be read are named and left out."},
    };
    return options;
}

std::string readStartOption(StartOptions& options, std::string_view name, std::string_view value)
{
    if (name == "zoom") {
        options.zoom = platform::view::zoomPercent(value);
        if (!options.zoom)
            return "--zoom takes a whole number of percent from " + std::to_string(kMinZoom) + " to " +
                   std::to_string(kMaxZoom) + ", not '" + std::string(value) + "'.";
    } else if (name == "fullscreen") {
        options.fullScreen = true;
    } else if (name == "lang") {
        if (!lang::find(value))
            return "--lang takes one of " + lang::codes() + ", not '" + std::string(value) + "'.";
        options.lang = std::string(value);
    } else if (name == "link") {
        options.link = std::string(value);
    } else {
        return "unknown option '--" + std::string(name) + "'.";
    }
    return {};
}

StartOptions readStartOptions(const std::vector<std::string>& arguments)
{
    StartOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view a = arguments[i];
        if (a.rfind("--", 0) != 0)
            continue;
        const std::string_view name = a.substr(2);
        bool takesValue = false;
        for (const StartOption& o : startOptions())
            takesValue = takesValue || (name == o.name && o.value);
        if (takesValue && i + 1 < arguments.size()) {
            const std::string value = arguments[++i];
            if (!readStartOption(options, name, value).empty())
                options.refused.push_back(std::string(name) + "=" + value);
        }
        else if (!takesValue)
            readStartOption(options, name);
    }
    return options;
}

void start(Form1& form, const StartOptions& options)
{
    if (options.zoom)
        form.window->setZoom(*options.zoom / 100.0);
    else if (const std::optional<double> kept = platform::settings::keptZoom())
        form.window->setZoom(*kept);
    if (options.fullScreen)
        form.window->setFullScreen(true);  // before the window is first shown
    platform::setReadAloud(platform::settings::keptReadAloud());
    // The language: the one asked for, else the link's (both kept for the
    // next start), else the one kept.
    lessonlink::Lesson lesson = options.link ? lessonlink::read(*options.link) : lessonlink::Lesson{};
    const std::string asked = options.lang ? *options.lang : lesson.lang;
    lesson.lang.clear();
    if (!asked.empty())
        form.chooseLanguage(*lang::find(asked));
    else if (const auto kept = platform::settings::keptLanguage())
        if (const lang::Language* l = lang::find(*kept))
            platform::chooseLanguage(*l);
    // The lesson that the platform's own print prints (a browser's menu): all of it.
    platform::exporting::setPrintedLesson(platform::exporting::Picture::lesson(
        *form.kokuban, form.gamen, form.hyo, form.window->BackColor(), lang::tr("関数の利用")));
    if (!options.refused.empty())
        platform::page::notice(lang::tr("アドレスのうち次の部分は読めなかったので、使いませんでした: %1",
                                        {lang::listOf(options.refused)}),
                               true);
    if (options.link) {
        platform::handled([&] { form.openLink(lesson); });
        if (!lesson.refused.empty())
            platform::page::notice(lang::tr("リンクのうち次の部分は読めなかったので、使いませんでした: %1",
                                            {lang::listOf(lesson.refused)}),
                                   true);
    }
}
