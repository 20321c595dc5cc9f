// The lesson's start in a browser page. The window lives as long as the page;
// the browser's events reach it once it is shown. The page passes what its
// address asks for: the zoom (?zoom=150, as "--zoom 150") and a lesson to
// open (#figure=1,1,3,0,2&grid, as "--link figure=1,1,3,0,2&grid").
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "app/form1.h"
#include "platform/view.h"
#include "platform/web/web.h"

extern "C" void kansu_input_start();

namespace {
std::unique_ptr<Form1> form;
}  // namespace

// The lesson as it stands, as the text after a link's '#' (allocated with
// malloc; null once the lesson has ended): the page keeps it, so that the
// lesson comes back after a reload, a step back in the tab's history or a
// closed tab.
extern "C" EMSCRIPTEN_KEEPALIVE char* kansu_lesson_link()
{
    if (!form || !form->window->alive())
        return nullptr;
    const std::string text = form->linkText();
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

int main(int argc, char* argv[])
{
    form = std::make_unique<Form1>();
    std::string refused;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--zoom") {
            if (const auto percent = platform::view::zoomPercent(argv[i + 1]))
                form->window->setZoom(*percent / 100.0);
        } else if (option == "--link") {
            const lessonlink::Lesson lesson = lessonlink::read(argv[i + 1]);
            form->openLink(lesson);
            for (const std::string& part : lesson.refused)
                refused += (refused.empty() ? "" : "、") + part;
        }
    }
    platform::web::printedLesson(platform::exporting::Picture::lesson(*form->kokuban, form->gamen, form->hyo,
                                                                      form->window->BackColor(), "関数の利用"));
    form->Show();
    if (!refused.empty())
        kansu_page_notice(("リンクのうち次の部分は読めなかったので、使いませんでした: " + refused).c_str(), 1);
    kansu_input_start();
    return 0;
}
