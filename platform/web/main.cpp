// The lesson's start in a browser page. The window lives as long as the page;
// the browser's events reach it once it is shown. The page passes what its
// address asks for as the desktop's options: ?zoom=150 as "--zoom 150", the
// part after '#' as "--link ...".
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/start.h"

extern "C" void kansu_input_start();

int main(int argc, char* argv[])
{
    static std::unique_ptr<Form1> form;
    form = std::make_unique<Form1>();
    start(*form, readStartOptions(std::vector<std::string>(argv + 1, argv + argc)));
    form->Show();
    kansu_input_start();
    return 0;
}
