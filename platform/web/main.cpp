// The lesson's start in a browser page. The window lives as long as the
// page; the browser's events reach it once it is shown. The page passes the
// zoom its address asks for (?zoom=150) as "--zoom 150".
#include <memory>
#include <string_view>

#include "app/form1.h"
#include "platform/view.h"

extern "C" void kansu_input_start();

int main(int argc, char* argv[])
{
    static std::unique_ptr<Form1> form;
    form = std::make_unique<Form1>();
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--zoom")
            if (const auto percent = platform::view::zoomPercent(argv[i + 1]))
                form->window->setZoom(*percent / 100.0);
    form->Show();
    kansu_input_start();
    return 0;
}
