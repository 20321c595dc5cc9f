// Copy, save and print in a browser: the menus of the graph and the table,
// and the clipboard.
#include <emscripten/emscripten.h>

#include <cmath>

#include "platform/surface.h"
#include "platform/web/web.h"

namespace platform::web {
double zoomOf(int box);
double pageRatio();
}  // namespace platform::web

namespace platform::exporting {

namespace {
// The entries of the menu that is open, until one is chosen.
std::vector<MenuEntry>& openMenu()
{
    static std::vector<MenuEntry> entries;
    return entries;
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

void copyPicture(const Picture&) {}
void savePicture(const Picture&) {}
void printLesson(const Picture&) {}

}  // namespace platform::exporting

extern "C" EMSCRIPTEN_KEEPALIVE void kansu_menu_chosen(int index)
{
    auto& entries = platform::exporting::openMenu();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    const std::function<void()> run = entries[static_cast<std::size_t>(index)].run;
    entries.clear();
    if (run)
        platform::web::handle(run);
}
