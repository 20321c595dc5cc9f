// The lesson as a link: reading and writing it, and opening it in the window
// exactly as a pupil would build it by hand (each block dragged from the
// tray, the boxes ticked, then "出す" pressed), so that the table and the
// graph are those of the steps.
#include "link/link.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "access/access.h"
#include "app/form1.h"
#include "lang/texts.h"

namespace lessonlink {

namespace {

std::vector<std::string_view> split(std::string_view text, char by)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(by, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// A flag with no value, "=1" or "=0"; false when it is neither.
bool flag(std::string_view value, bool bare, bool* on)
{
    if (bare || value == "1")
        return *on = true, true;
    if (value == "0")
        return *on = false, true;
    return false;
}

}  // namespace

Lesson read(std::string_view text)
{
    Lesson lesson;
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.empty())
        return lesson;
    for (std::string_view part : split(text, '&')) {
        if (part.empty())
            continue;
        const std::size_t eq = part.find('=');
        const std::string_view key = part.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? std::string_view() : part.substr(eq + 1);
        const bool bare = eq == std::string_view::npos;
        bool ok = false;
        if (key == "figure" && !bare) {
            const auto kinds = split(value, ',');
            ok = kinds.size() <= 5;
            for (std::size_t k = 0; ok && k < kinds.size(); ++k) {
                if (kinds[k].size() == 1 && kinds[k][0] >= '0' && kinds[k][0] <= '3')
                    lesson.figure[k] = kinds[k][0] - '0';
                else  // this column alone is refused
                    // TRANSLATORS: a column of the link's figure that could not be read: its number and what was written.
                    lesson.refused.push_back(lang::tr("figure の列%1=%2", {std::to_string(k + 1), kinds[k]}));
            }
            if (ok)
                continue;
        } else if (key == "grid") {
            ok = flag(value, bare, &lesson.grid);
        } else if (key == "graph") {
            ok = flag(value, bare, &lesson.graph);
        } else if (key == "table") {
            ok = flag(value, bare, &lesson.table);
        } else if (key == "lang" && !bare && lang::find(value)) {
            lesson.lang = std::string(value);
            ok = true;
        } else if (key == "x" && !bare && value.size() <= 5 &&
                   value.find_first_not_of("0123456789.") == std::string_view::npos &&
                   value.find_first_of("0123456789") != std::string_view::npos && value.find('.') == value.rfind('.')) {
            // A number: digits with at most one point ("x=." and "x=1.2.3" are none).
            const double x = std::strtod(std::string(value).c_str(), nullptr);
            ok = x >= 0 && x <= 10 && 2 * x == std::floor(2 * x);
            if (ok)
                lesson.steps = static_cast<int>(2 * x);
        }
        if (!ok)
            lesson.refused.emplace_back(part);
    }
    return lesson;
}

std::string write(const Lesson& lesson)
{
    std::vector<std::string> parts;
    if (lesson.figure != std::array<int, 5>{}) {
        std::string f = "figure=";
        for (std::size_t k = 0; k < 5; ++k)
            f += (k ? "," : "") + std::to_string(lesson.figure[k]);
        parts.push_back(f);
    }
    if (lesson.grid)
        parts.emplace_back("grid");
    if (lesson.graph)
        parts.emplace_back("graph");
    if (lesson.table)
        parts.emplace_back("table");
    if (lesson.steps > 0) {
        char x[16];
        std::snprintf(x, sizeof x, lesson.steps % 2 ? "x=%.1f" : "x=%.0f", lesson.steps / 2.0);
        parts.emplace_back(x);
    }
    if (!lesson.lang.empty())
        parts.push_back("lang=" + lesson.lang);
    std::string text;
    for (const std::string& p : parts)
        text += (text.empty() ? "" : "&") + p;
    return text;
}

}  // namespace lessonlink

void Form1::openLink(const lessonlink::Lesson& lesson)
{
    if (!lesson.lang.empty())
        chooseLanguage(*lang::find(lesson.lang));
    // Each block dragged from its place in the tray into its column.
    for (int column = 0; column < 5; ++column) {
        const int kind = lesson.figure.at(static_cast<std::size_t>(column));
        if (kind == 0)
            continue;
        const a11y::Point from = a11y::middle(kind - 1), to = a11y::middle(a11y::placeOfColumn(column));
        kokuban_MouseDown(1, 0, from.x, from.y);
        kokuban_MouseMove(1, 0, to.x, to.y);
        kokuban_MouseUp(1, 0, to.x, to.y);
    }
    Check1->setValue(lesson.grid);
    Check2->setValue(lesson.graph);
    Check3->setValue(lesson.table);
    for (int i = 0; i < lesson.steps; ++i)
        susumu_Click();
    // A screen reader is told the lesson opened as it is told the lesson at
    // the start: its figure, χ and y, with no change named. (Opened before
    // the window's first event, nothing else would tell it.)
    acc.told = false;
    accessRefresh();
}

std::string Form1::linkText(bool withLanguage) const
{
    lessonlink::Lesson lesson;
    for (std::size_t k = 0; k < 5; ++k)
        lesson.figure[k] = static_cast<int>(hako[k]);
    lesson.grid = Check1->Value() != 0;
    lesson.graph = Check2->Value() != 0;
    lesson.table = Check3->Value() != 0;
    lesson.steps = static_cast<int>(std::lround((300 - px) / 10));
    if (withLanguage && lang::current().file)  // a language other than Japanese as written
        lesson.lang = lang::current().code;
    return lessonlink::write(lesson);
}
