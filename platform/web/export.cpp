// Copy, save and print in a browser: the menus of the graph and the table,
// the clipboard, a PNG file as a download (the same picture the desktop
// saves: twice the layout's size, 192 dots per inch), and the lesson on one A4
// landscape page through the browser's own print, drawn at 300 dots per inch.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdlib>

#include "platform/picture.h"
#include "platform/surface.h"
#include "platform/web/web.h"

namespace platform::page {
std::string address()
{
    char* a = kansu_page_address();
    std::string s = a ? a : "";
    std::free(a);
    return s;
}
}  // namespace platform::page

namespace platform::exporting {

namespace {
// The entries of the menu that is open, until one is chosen.
std::vector<MenuEntry>& openMenu()
{
    static std::vector<MenuEntry> entries;
    return entries;
}

// The printed page: A4 landscape less 10 mm all round, at 300 dots per inch,
// with two lines of a 10-point footer below the lesson.
constexpr int kPageWidth = 3272, kPageHeight = 2244, kFooterLine = 50;

// The lesson last printed, drawn again whenever the browser prints.
Picture& printed()
{
    static Picture lesson;
    return lesson;
}
}  // namespace

void popupMenu(const PictureBox& box, const std::vector<MenuEntry>& entries, float x, float y)
{
    openMenu() = entries;
    std::string captions;
    for (const MenuEntry& e : entries)
        captions += e.caption + '\n';
    const int id = web::elementOf(&box);
    const double s = web::zoomOf(id) * web::pageRatio();
    kansu_export_menu(id, captions.c_str(), static_cast<int>(std::lround(x * s)), static_cast<int>(std::lround(y * s)),
                      web::pageRatio());
}

void copyText(const std::string& text) { kansu_export_copy_text(text.c_str()); }

void copyPicture(const Picture& p) { kansu_export_copy_picture(web::composePicture(p, kPictureScale)); }

void savePicture(const Picture& p)
{
    // A document places it at the layout's size: two pixels to 1/96 inch.
    const int perMetre = static_cast<int>(std::lround(96 * kPictureScale / 0.0254));
    kansu_export_save_picture(web::composePicture(p, kPictureScale), p.name.c_str(), perMetre);
}

void printLesson(const Picture& lesson)
{
    printed() = lesson;
    printed().back = kPaper;
    const double s = pageScale(arrange(printed()).size, {kPageWidth, kPageHeight}, kFooterLine);
    kansu_export_print(web::composePicture(printed(), s), 1);
}

}  // namespace platform::exporting

namespace platform::web {
void printedLesson(const exporting::Picture& lesson)
{
    exporting::printed() = lesson;
    exporting::printed().back = exporting::kPaper;
}
}  // namespace platform::web

extern "C" {

EMSCRIPTEN_KEEPALIVE void kansu_menu_chosen(int index)
{
    auto& entries = platform::exporting::openMenu();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    const std::function<void()> run = entries[static_cast<std::size_t>(index)].run;
    entries.clear();
    if (run)
        platform::web::handle(run);
}

// The browser is about to print (its own menu, or Ctrl+P): the page it prints
// is the lesson as it stands, drawn for paper.
EMSCRIPTEN_KEEPALIVE void kansu_print_view()
{
    using namespace platform::exporting;
    if (!printed().board)
        return;
    const double s = pageScale(arrange(printed()).size, {kPageWidth, kPageHeight}, kFooterLine);
    kansu_export_print(platform::web::composePicture(printed(), s), 0);
}

}  // extern "C"
