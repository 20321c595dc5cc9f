#include "app/form1.h"
#include "lang/texts.h"

Form1::Form1()
{
    window = platform::Window::create(lang::N_("３.１次関数  (by Zelkon)"), 0xC0FFC0, 15465, 10230);
    buildLayout();
    connectHandlers();
    Form_Load();
    accessInit();
}

Form1::~Form1() = default;

void Form1::connectHandlers()
{
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
    susumu->Click = [this] { susumu_Click(); };
    modoru->Click = [this] { modoru_Click(); };
    jidou->Click = [this] { jidou_Click(); };
    tomeru->Click = [this] { tomeru_Click(); };
    end->Click = [this] { end_Click(); };
    Check1->Click = [this] { Check1_Click(); };
    Check2->Click = [this] { Check2_Click(); };
    Check3->Click = [this] { Check3_Click(); };
    Check4->Click = [this] { Check4_Click(); };
    // The blackboard's mouse goes through click-then-click (access/clicks.cpp),
    // which hands every drag to kokuban_MouseDown, _MouseMove and _MouseUp.
    kokuban->MouseDown = [this](std::int16_t b, std::int16_t s, float x, float y) { kokubanDown(b, s, x, y); };
    kokuban->MouseMove = [this](std::int16_t b, std::int16_t s, float x, float y) { kokubanMove(b, s, x, y); };
    kokuban->MouseUp = [this](std::int16_t b, std::int16_t s, float x, float y) { kokubanUp(b, s, x, y); };
    window->KeyDown = [this](const platform::Key& k) { return Form_KeyDown(k); };
    // The right button opens the menus of the graph and the table.
    gamen->MouseUp = [this](std::int16_t b, std::int16_t, float x, float y) { if (b == 2) paneMenu(gamen, x, y); };
    hyo->MouseUp = [this](std::int16_t b, std::int16_t, float x, float y) { if (b == 2) paneMenu(hyo, x, y); };
}
