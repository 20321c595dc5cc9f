#include "platform/picture.h"

#include <algorithm>
#include <ctime>

#include "lang/texts.h"

namespace platform::exporting {

namespace {
view::Size sizeOf(const PictureBox* b) { return b ? view::Size{b->scaleWidth(), b->scaleHeight()} : view::Size{}; }
}  // namespace

Arrangement arrange(const Picture& p)
{
    if (p.box)
        return {{{p.box, 0, 0}}, sizeOf(p.box)};
    const view::Size board = sizeOf(p.board), graph = sizeOf(p.graph), table = sizeOf(p.table);
    const int left = std::max(board.width, table.width);
    Arrangement a;
    a.spots.push_back({p.board, kGap + left - board.width, kGap});
    int width = left, height = board.height;
    if (p.table) {
        a.spots.push_back({p.table, kGap + left - table.width, kGap + board.height + kGap});
        height += kGap + table.height;
    }
    if (p.graph) {
        a.spots.push_back({p.graph, kGap + left + kGap, kGap});
        width += kGap + graph.width;
        height = std::max(height, graph.height);
    }
    a.size = {width + 2 * kGap, height + 2 * kGap};
    return a;
}

double pageScale(view::Size size, view::Size page, int line)
{
    return std::min(page.width / double(size.width), (page.height - 2 * line) / double(size.height));
}

}  // namespace platform::exporting

namespace platform::exporting {
std::string programTitle() { return lang::tr("３.１次関数"); }

std::string dateText()
{
    const std::time_t now = std::time(nullptr);
    // The one thread of the program reads the local time.
    const std::tm local = *std::localtime(&now);
    // TRANSLATORS: a date: %1 the year, %2 the month (1 to 12), %3 the day.
    return lang::tr("%1年%2月%3日", {std::to_string(local.tm_year + 1900), std::to_string(local.tm_mon + 1),
                                      std::to_string(local.tm_mday)});
}
}  // namespace platform::exporting
