// Copy, save and print: the table as text for a spreadsheet, pictures of the
// lesson and of its panes, the keys that ask for them and the menus of the
// graph and the table, and the link of the lesson where it runs in a page.
// The pictures, the clipboard and the dialogs are the platform's
// (platform::exporting).
#include "app/form1.h"
#include "lang/texts.h"

using platform::Key;
using platform::exporting::Picture;
namespace exporting = platform::exporting;

namespace {
// Where the menu keys open a pane's menu: near its top left corner.
constexpr float kMenuX = 20, kMenuY = 20;

Picture lessonOf(const Form1& f, bool everything)
{
    const bool graph = everything || f.Check2->Value() != 0, table = everything || f.Check3->Value() != 0;
    return Picture::lesson(*f.kokuban, graph ? f.gamen : nullptr, table ? f.hyo : nullptr, f.window->BackColor(),
                           lang::tr("関数の利用"));
}
}  // namespace

void Form1::copyLink() const
{
    const std::string text = linkText();
    exporting::copyText(platform::page::address() + (text.empty() ? "" : "#" + text));
}

std::string Form1::hyoText() const
{
    const std::vector<int> totals = hyoTotals();
    std::string chi = "χ", y = "y";
    for (std::size_t x = 0; x < totals.size(); ++x) {
        chi += '\t' + std::to_string(x);
        y += '\t' + std::to_string(totals[x]);
    }
    return chi + '\n' + y + '\n';
}

void Form1::paneMenu(platform::PictureBox* pane, float x, float y)
{
    if (hashiru)  // the menu would hold the run up while it is open
        return;
    if (!paneShown(pane))  // a pane not shown has no menu to show
        return;
    std::vector<exporting::MenuEntry> entries;
    if (pane == hyo)
        entries.push_back({lang::tr("表をコピー"), [this] { exporting::copyText(hyoText()); }});
    const Picture picture = Picture::of(*pane, pane == hyo ? lang::tr("表") : lang::tr("グラフ"));
    entries.push_back({lang::tr("画像をコピー"), [picture] { exporting::copyPicture(picture); }});
    entries.push_back({lang::tr("画像として保存…"), [picture] { exporting::savePicture(picture); }});
    if (!platform::page::address().empty())
        entries.push_back({lang::tr("この授業のリンクをコピー"), [this] { copyLink(); }});
    // Reading aloud, ticked while it is on.
    entries.push_back({(readAloud() ? "✓ " : "") + lang::tr("読み上げ"), [this] { setReadAloud(!readAloud()); }});
    // The same words in every language, so that a pupil who reads neither finds it.
    entries.push_back({"言語 / Language", [this, pane, x, y] { languageMenu(pane, x, y); }});
    exporting::popupMenu(*pane, entries, x, y);
}

bool Form1::exportKey(const Key& k)
{
    if (k.focus == Combo1)  // the pace box copies, cuts and pastes its own text
        return false;
    if (!k.ctrl && !k.alt && (k.code == Key::Menu || (k.code == Key::F10 && k.shift))) {
        if (k.focus != gamen && k.focus != hyo)
            return false;
        paneMenu(k.focus == gamen ? gamen : hyo, kMenuX, kMenuY);
        return true;
    }
    if (!k.ctrl || k.alt || k.shift || k.code != Key::Letter ||
        (k.letter != 'C' && k.letter != 'S' && k.letter != 'P' && k.letter != 'L'))
        return false;
    if (k.letter == 'L') {  // the link of the lesson, where it runs in a page
        if (platform::page::address().empty())
            return false;
        copyLink();
        return true;
    }
    if (hashiru)  // nothing during an automatic run: the run goes on
        return true;
    if (k.letter == 'C')
        exporting::copyPicture(lessonOf(*this, false));
    else if (k.letter == 'S')
        exporting::savePicture(lessonOf(*this, false));
    else
        exporting::printLesson(lessonOf(*this, true));  // the page always holds the board, the graph and the table
    return true;
}
