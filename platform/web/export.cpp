// Copy, save and print in a browser: the clipboard, a PNG file as a download,
// and the lesson on one A4 landscape page through the browser's own print,
// drawn at 300 dots per inch; the menus of the panes, the page's notices, its
// address and the browser's local storage.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/picture.h"
#include "platform/shell/shell.h"
#include "platform/web/web.h"

namespace platform::web {
int canvasOf(const backend::Picture& picture);
}  // namespace platform::web

namespace platform::backend {

using web::idOf;

namespace {
// The printed page: A4 landscape less 10 mm all round, at 300 dots per inch,
// with two lines of a 10-point footer below the lesson.
constexpr int kPageWidth = 3272, kPageHeight = 2244, kFooterLine = 50;

std::string taken(char* text)
{
    std::string s = text ? text : "";
    std::free(text);
    return s;
}
}  // namespace

void copyText(const std::string& text) { kansu_export_copy_text(text.c_str()); }
void copyPicture(const Picture& picture) { kansu_export_copy_picture(web::canvasOf(picture)); }

void savePicture(Native, const Picture& picture, const std::string& name, int dotsPerInch)
{
    kansu_export_save_picture(web::canvasOf(picture), name.c_str(), static_cast<int>(std::lround(dotsPerInch / 0.0254)));
}

void print(const PrintJob& job, bool now)
{
    const auto picture = job.draw(exporting::pageScale(job.size, {kPageWidth, kPageHeight}, kFooterLine));
    kansu_export_print(web::canvasOf(*picture), now, job.footerLeft.c_str(), job.footerRight.c_str());
}

void popupMenu(Native box, const std::vector<std::string>& captions, int x, int y)
{
    std::string joined;
    for (const std::string& c : captions)
        joined += c + '\n';
    kansu_export_menu(idOf(box), joined.c_str(), x, y);
}

void notice(const std::string& text, bool error) { kansu_page_notice(text.c_str(), error); }

void fatal(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();  // the page says that the lesson has stopped
}

void openStore(const std::string&) {}
void closeStore() {}
std::optional<std::string> stored(const std::string& key)
{
    char* value = kansu_store_get(key.c_str());
    if (!value)
        return std::nullopt;
    return taken(value);
}
void store(const std::string& key, const std::string& value) { kansu_store_set(key.c_str(), value.c_str()); }

std::string address() { return taken(kansu_page_address()); }

}  // namespace platform::backend

extern "C" {
EMSCRIPTEN_KEEPALIVE void kansu_menu_chosen(int index) { platform::shell::menuChosen(index); }
// The browser is about to print (its own menu, or Ctrl+P): the page it prints
// is the lesson as it stands, drawn for paper.
EMSCRIPTEN_KEEPALIVE void kansu_print_view() { platform::shell::printView(); }
}  // extern "C"
