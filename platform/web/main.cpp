// The lesson's start in a browser page. The window lives as long as the page;
// the browser's events reach it once it is shown. The page passes what its
// address asks for as the desktop's options: ?zoom=150 as "--zoom 150", the
// part after '#' as "--link ...".
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/start.h"
#include "lang/texts.h"

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
    // Without the language: the device keeps the pupil's choice itself.
    const std::string text = form->linkText(false);
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// A text of the page's own in the language chosen, looked up by its Japanese
// original: the page's notices and messages come from the same catalogue as
// the lesson's texts. The answer stays valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kansu_translate(const char* japanese)
{
    static std::string translated;
    translated = lang::tr(japanese);
    return translated.c_str();
}

int main(int argc, char* argv[])
{
    form = std::make_unique<Form1>();
    start(*form, readStartOptions(std::vector<std::string>(argv + 1, argv + argc)));
    form->Show();
    kansu_input_start();
    return 0;
}
