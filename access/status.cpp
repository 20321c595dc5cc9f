// What a screen reader hears: the controls' names, the descriptions of the
// blackboard, the table and the graph, and a short status line after every
// change (a step of P, a drop, a removal, the return to start, the keyboard
// cursor, the end of an automatic run). The texts are built from the state
// record; the platform sends them on as change events of the focused
// control's description, and says the status line aloud in words that a
// voice reads well: units in words ("cm²" is read "C M superscript 2"), the
// decimal point as a word (voices drop it), the values first.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "access/access.h"
#include "app/form1.h"
#include "lang/texts.h"

namespace {

using Seen = AccessState::Seen;

// The keys of the lesson, for the blackboard's tooltip (and the README).
const char* keysHelp()
{
    return lang::N_("黒板のキー（Tab で黒板へ）:\n"
                    "  ← →　トレイの 2・4・6 cm のブロックと列1〜5 を順に移動\n"
                    "  Home / End　端へ　　1〜5　その列へ\n"
                    "  Space / Enter　ブロックを持つ・置く　　Esc　戻す\n"
                    "  Delete　列のブロックを取り出す\n"
                    "どこからでも: PageDown 出す、PageUp 戻す、F5 自動、Esc ストップ\n"
                    "マウス: ブロックをクリックしてから列をクリックしても置けます");
}

std::string format(const char* pattern, double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}
// χ as the distance box shows it, with one decimal.
std::string chiText(double px) { return format("%.1f", (300 - px) / 20); }
// A number of the graph's points: whole numbers without decimals.
std::string number(double v) { return format(v == static_cast<long>(v) ? "%.0f" : "%.1f", v); }
// A block's height in centimetres, of its kind.
std::string height(double kind) { return format("%.0f", 2 * kind); }
std::string columnNumber(int column) { return std::to_string(column + 1); }

// A number aloud: "6.5" as "6てん5", a whole one without its ".0".
std::string spokenNumber(const std::string& written)
{
    const std::size_t point = written.find('.');
    if (point == std::string::npos)
        return written;
    const std::string whole = written.substr(0, point), decimals = written.substr(point + 1);
    if (decimals.find_first_not_of('0') == std::string::npos)
        return whole;
    // TRANSLATORS: a decimal number aloud: its whole part and its decimals (6.5: "6てん5").
    return lang::tr("%1てん%2", {whole, decimals});
}

// A block of its kind, as written or aloud.
std::string blockText(double kind, bool spoken)
{
    if (spoken)  // TRANSLATORS: %1 is a block's height, 2, 4 or 6, aloud (the unit in words).
        return lang::tr("%1センチメートルのブロック", {height(kind)});
    // TRANSLATORS: %1 is a block's height, 2, 4 or 6.
    return lang::tr("%1 cmのブロック", {height(kind)});
}

std::string placeText(int place, const std::array<double, 5>& hako, bool spoken)
{
    if (!a11y::isColumn(place))
        return lang::tr("トレイの%1", {blockText(a11y::kindOfTray(place), spoken)});
    const int k = a11y::columnOf(place);
    // TRANSLATORS: a column of the rectangle (1 to 5) and what it holds.
    return lang::tr("列%1、%2", {columnNumber(k), hako[k] != 0 ? blockText(hako[k], spoken) : lang::tr("空き")});
}

// What changed between two looks, in words (aloud: `spoken`); "" for a step
// of P or nothing worth saying (the status line's χ and y say it).
std::string changeText(const Seen& was, const Seen& now, bool spoken)
{
    auto block = [spoken](double kind) { return blockText(kind, spoken); };
    auto place = [&](int p) { return placeText(p, now.hako, spoken); };
    int changed = 0, column = 0;
    for (int k = 0; k < 5; ++k)
        if (was.hako[k] != now.hako[k])
            ++changed, column = k;
    if (changed == 1)
        return now.hako[column] != 0 ? lang::tr("列%1に%2を置きました", {columnNumber(column), block(now.hako[column])})
                                     : lang::tr("列%1のブロックを取り出しました", {columnNumber(column)});
    if (changed > 1)
        return now.hako == std::array<double, 5>{} ? lang::tr("ブロックをすべて取り出しました") : lang::tr("ブロックが変わりました");
    if (was.running && !now.running)
        return lang::tr("自動が止まりました");
    if (now.px == 300 && was.px < 290)
        return lang::tr("点Pを最初に戻しました");
    if (now.held != was.held)
        return now.held >= 0 ? lang::tr("%1を持ちました", {block(now.heldKind)}) : lang::tr("ブロックを戻しました");
    if (now.selected != was.selected)
        return now.selected >= 0 ? lang::tr("%1を選びました", {place(now.selected)}) : lang::tr("選択を取り消しました");
    if (now.cursor != was.cursor) {
        if (now.held < 0)
            return place(now.cursor);
        // TRANSLATORS: the block held by keyboard is over this column (1 to 5).
        return a11y::isColumn(now.cursor) ? lang::tr("列%1の上", {columnNumber(a11y::columnOf(now.cursor))})
                                          : lang::tr("トレイの上");
    }
    return "";
}

}  // namespace

AccessTexts Form1::accessTexts() const
{
    AccessTexts t;
    // y as the graph's trace has reached it, the table's totals as it writes them.
    const std::string chi = chiText(px), y = number(gurafuy);
    const std::vector<int> totals = hyoTotals();

    std::vector<std::string> columns;
    for (int k = 0; k < 5; ++k)
        columns.push_back(hako[k] != 0 ? height(hako[k]) + " cm" : lang::tr("空き"));
    // TRANSLATORS: a sentence of what changed, for the start of the blackboard's description.
    t.board = lang::sentences({acc.change.empty() ? "" : lang::tr("%1。", {acc.change}),
                               hako == std::array<double, 5>{} ? lang::tr("長方形にブロックはありません。")
                                                               : lang::tr("列1から列5のブロック: %1。", {lang::listOf(columns)}),
                               lang::tr("点Pは χ = %1 cm、ABを過ぎた面積は y = %2 cm²。", {chi, y})});
    t.status = acc.change.empty() ? lang::tr("χ = %1 cm、y = %2 cm²", {chi, y})
                                  : lang::tr("χ = %1 cm、y = %2 cm²、%3", {chi, y, acc.change});
    // TRANSLATORS: the status line's values aloud; χ is read "kai", cm² "square centimetres".
    t.spoken = lang::tr("カイ %1 センチメートル、ワイ %2 へいほうセンチメートル", {spokenNumber(chi), spokenNumber(y)});
    t.spokenChange = acc.spokenChange;

    if (Check3->Value() == 0) {
        t.table = lang::tr("表は隠れています。「表」にチェックを入れると出ます。");
    } else {
        std::vector<std::string> xs, ys;
        for (std::size_t x = 0; x < totals.size(); ++x) {
            xs.push_back(std::to_string(x));
            ys.push_back(std::to_string(totals[x]));
        }
        t.table = lang::tr("χ = %1 cm のとき、y = %2 cm²。", {lang::listOf(xs), lang::listOf(ys)});
    }

    // The graph is a broken line from (0, 0) to P's point, with a corner
    // wherever two neighbouring columns differ.
    if (Check2->Value() == 0) {
        t.graph = lang::tr("グラフは隠れています。「グラフ」にチェックを入れると出ます。");
    } else if (px == 300) {
        t.graph = lang::tr("点 (0, 0) だけです。");
    } else {
        const double end = (300 - px) / 20;
        std::vector<std::string> points{"(0, 0)"};
        for (int k = 1; k < 5 && 2 * k < end; ++k)
            if (hako[k] != hako[k - 1])
                points.push_back("(" + std::to_string(2 * k) + ", " +
                                 std::to_string(totals.at(static_cast<std::size_t>(2 * k))) + ")");
        points.push_back("(" + number(end) + ", " + y + ")");
        // TRANSLATORS: the graph's corner points, from (0, 0) to P's point.
        t.graph = lang::tr("折れ線 %1。", {lang::listOf(points)});
    }
    return t;
}

void Form1::accessInit()
{
    accessibility = platform::Accessibility::create(*window);
    auto& a = *accessibility;
    // Buttons by their captions (without the blanks that space them out).
    for (platform::CommandButton* b : {Command1, Command2, susumu, modoru, jidou, tomeru, end})
        a.name(*b, b->Caption());
    a.name(*Check1, lang::N_("方眼"));
    a.name(*Check2, lang::N_("グラフ"));
    a.name(*Check3, lang::N_("表"));
    a.name(*Check4, lang::N_("BからPまでの線分"));
    a.name(*Combo1, lang::N_("速度"));
    a.name(*Text1, lang::N_("点Pが動いた距離"));
    a.name(*kokuban, lang::N_("黒板"));
    a.name(*hyo, lang::N_("表"));
    a.name(*gamen, lang::N_("グラフ"));
    a.role(*kokuban, platform::Accessibility::Role::Canvas);
    a.role(*hyo, platform::Accessibility::Role::Graphic);
    a.role(*gamen, platform::Accessibility::Role::Chart);
    a.toolTip(*kokuban, keysHelp());
    // The small box is 17 pixels square: a press 4 pixels around it counts too.
    a.hitArea(*Check4, *kokuban, {236, 364, 25, 25});
    a.Refresh = [this] { accessRefresh(); };
    // In another language everything is told anew, no change named.
    a.Retell = [this] {
        acc.told = false;
        accessRefresh();
    };
    accessRefresh();
}

void Form1::accessRefresh()
{
    const int held = heldPlace();
    // A run that has brought P to the far end has stopped moving it: its end
    // is told then, once with the final values, not again when the buttons
    // change after its last pause.
    const bool moving = hashiru && px != 100;
    const Seen now{hako, px, acc.cursor, held, held >= 0 ? static_cast<int>(tsukami) : 0, selectedPlace(),
                   Check3->Value() != 0, Check2->Value() != 0, moving, accessibility->focus()};
    if (acc.told && now == acc.seen)
        return;
    acc.change = acc.told ? changeText(acc.seen, now, false) : "";
    acc.spokenChange = acc.told ? changeText(acc.seen, now, true) : "";
    acc.seen = now;
    acc.told = true;

    const AccessTexts t = accessTexts();
    accessibility->describe(*kokuban, t.board);
    accessibility->describe(*hyo, t.table);
    accessibility->describe(*gamen, t.graph);
    accessibility->status(t.status, {t.spoken, t.spokenChange});

    platform::Box selection;
    if (now.selected >= 0) {
        selection = a11y::outline(now.selected);
        if (a11y::isColumn(now.selected)) {  // the painted block at the foot of its column
            const int height = 40 * static_cast<int>(hako[a11y::columnOf(now.selected)]);
            selection = {selection.left, 300 - height, selection.width, height};
        }
    }
    accessibility->marks(*kokuban, a11y::outline(acc.cursor), selection);
}
