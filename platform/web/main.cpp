// The lesson's start in a browser page. The window lives as long as the page;
// the browser's events reach it once it is shown. The page passes what its
// address asks for: the zoom (?zoom=150, as "--zoom 150") and a lesson to
// open (#figure=1,1,3,0,2&grid, as "--link figure=1,1,3,0,2&grid").
#include <memory>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "lang/texts.h"
#include "platform/view.h"
#include "platform/web/web.h"

extern "C" void kansu_input_start();

int main(int argc, char* argv[])
{
    static std::unique_ptr<Form1> form;
    form = std::make_unique<Form1>();
    std::vector<std::string> refused;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--zoom") {
            if (const auto percent = platform::view::zoomPercent(argv[i + 1]))
                form->window->setZoom(*percent / 100.0);
        } else if (option == "--link") {
            const lessonlink::Lesson lesson = lessonlink::read(argv[i + 1]);
            form->openLink(lesson);
            refused.insert(refused.end(), lesson.refused.begin(), lesson.refused.end());
        }
    }
    platform::web::printedLesson(platform::exporting::Picture::lesson(*form->kokuban, form->gamen, form->hyo,
                                                                      form->window->BackColor(), lang::tr("関数の利用")));
    form->Show();
    if (!refused.empty())
        kansu_page_notice(lang::tr("リンクのうち次の部分は読めなかったので、使いませんでした: %1", {lang::listOf(refused)}).c_str(), 1);
    kansu_input_start();
    return 0;
}
