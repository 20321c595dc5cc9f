// The window's controls as laid out: kind, container, caption, place, colours,
// font, tab order and stacking order. Positions are twips (15 to a pixel) for
// windowed controls and pixels for the graphical ones inside picture boxes.
#include "app/form1.h"
#include "lang/texts.h"

using platform::Box;
using platform::Colour;
using platform::Font;
using platform::Label;
using platform::Layout;
using platform::LineControl;

namespace {
constexpr Colour paleGreen = 0xC0FFC0, green = 0x008000, white = 0xFFFFFF, lightYellow = 0xC0FFFF;
constexpr Colour black = 0x000000, yellow = 0x00FFFF, red = 0x0000FF;
constexpr Font regular9{9.0, false};
}  // namespace

void Form1::buildLayout()
{
    auto& w = *window;

    // Windowed top-level controls, first on top.
    Command2 = &w.addButton(lang::N_("最初に"), {6720, 7560, 855, 495, 0x80C0FF, black, regular9, 29});
    kokuban = &w.addPictureBox(nullptr, {240, 960, 9015, 6135, green, white, {14.25, true}, 6});
    Command1 = &w.addButton(lang::N_("初期画面"), {3240, 240, 1215, 495, lightYellow, black, {12, true}, 20});
    hyo = &w.addPictureBox(nullptr, {120, 8400, 9135, 1695, lightYellow, black, {14.25, true}, 16});
    Check1 = &w.addCheckBox(nullptr, lang::N_("方眼"), 0, {5640, 360, 1215, 390, paleGreen, green, {18, false}, 15});
    Check3 = &w.addCheckBox(nullptr, lang::N_("表"), 0, {7800, 7200, 735, 390, paleGreen, green, {18, false}, 11});
    tomeru = &w.addButton(lang::N_("ストップ"), {2160, 7560, 975, 495, 0x80FF80, black, {12, false}, 10});
    jidou = &w.addButton(lang::N_("自    動"), {240, 7320, 1695, 735, 0x00FF00, black, {15.75, true}, 9});
    modoru = &w.addButton(lang::N_("戻す"), {5640, 7320, 975, 735, 0xFFFF00, black, {12, true}, 8});
    susumu = &w.addButton(lang::N_("出す"), {4560, 7320, 975, 735, 0x00FFFF, black, {12, true}, 7});
    Check2 = &w.addCheckBox(nullptr, lang::N_("グラフ"), 0, {7800, 7680, 1335, 390, paleGreen, green, {18, false}, 5});
    Combo1 = &w.addComboBox({" 0", "10", "20", "50", "100", "200"}, "50",
                            {3360, 7680, 735, 315, white, black, {9.75, false}, 2, true});
    end = &w.addButton(lang::N_("終了"), {8040, 240, 1215, 495, 0xFFC0C0, black, {12, true}, 1});
    gamen = &w.addPictureBox(nullptr, {9480, 240, 5895, 7695, lightYellow, black, regular9, 0});

    // Graphical top-level controls, first on top.
    Label8 = &w.add<Label>(lang::N_("Orizane 学習ソフト"), Box{912, 664, 113, 12}, 0x00C000, paleGreen, false, regular9);
    Label6 = &w.add<Label>(lang::N_("関数の利用"), Box{16, 16, 160, 33}, white, 0xFF0000, false, Font{24, false});
    Label3 = &w.add<Label>(lang::N_("速度"), Box{224, 488, 38, 19}, green, paleGreen, false, Font{14.25, false});

    // The blackboard: windowed controls first, then the graphical ones top to bottom.
    kokuban->setDrawWidth(3);
    kokuban->setFillColor(0x008080);
    Text1 = &w.addTextBox(kokuban, "Text1", {3960, 5400, 975, 495, white, black, {18, false}, 27, true});
    Check4 = &w.addCheckBox(kokuban, "Check4", 1, {3600, 5520, 255, 255, 0x008080, black, regular9, 26});
    auto& k = *kokuban;
    Shape1 = &k.add<platform::Shape>(Box{464, 272, 10, 8}, red);
    auto line = [&k](float x1, float y1, float x2, float y2, Colour c, int width) -> LineControl& {
        return k.add<LineControl>(x1, y1, x2, y2, c, width);
    };
    auto label4 = [&](int index, const char* caption, Box box, Colour fore, double points) {
        Label4.set(index, k.add<Label>(caption, box, fore, green, true, Font{points, false}));
    };
    Line5.set(4, line(104, 240, 128, 240, red, 5));
    for (int i = 3; i >= 0; --i)
        Line9.set(i, line(512, 208 + 8 * i, 560, 208 + 8 * i, yellow, 2));
    for (int i = 3; i >= 0; --i)
        Line7.set(i, line(352, 216 + 8 * i, 408, 216 + 8 * i, yellow, 2));
    for (int i = 3; i >= 0; --i)
        Line6.set(i, line(272, 216 + 8 * i, 336, 216 + 8 * i, yellow, 2));
    Line1 = &line(0, 56, 600, 56, 0x004000, 150);
    Line5.set(3, line(56, 240, 80, 240, white, 3));
    Label1 = &k.add<Label>(lang::N_("点Ｐが動いた距離χ"), Box{24, 360, 206, 24}, white, green, false, Font{18, false});
    Line5.set(1, line(104, 224, 128, 224, white, 3));
    Label2 = &k.add<Label>("cm", Box{336, 368, 28, 21}, white, green, false, Font{15.75, true});
    Line4.set(1, line(24, 392, 232, 392, red, 3));
    label4(3, "Ｄ", {304, 256, 24, 33}, white, 24);
    Line5.set(2, line(152, 224, 176, 224, white, 3));
    label4(8, "Ｐ", {432, 256, 23, 33}, white, 24);
    label4(2, "C", {272, 256, 21, 33}, white, 24);
    label4(1, "B", {240, 256, 20, 33}, white, 24);
    label4(6, "χcm", {336, 264, 54, 24}, 0x8080FF, 18);
    Line5.set(0, line(56, 224, 80, 224, white, 3));
    label4(5, "６cm", {120, 256, 46, 24}, white, 18);
    label4(4, "１０cm", {56, 256, 62, 24}, white, 18);
    label4(0, "A", {208, 256, 20, 33}, white, 24);
    for (int i = 5; i <= 7; ++i)
        Line5.set(i, line(192, 232 + 8 * (i - 5), 216, 232 + 8 * (i - 5), white, 3));

    // The table: two rules and the row captions.
    auto& h = *hyo;
    Line3 = &h.add<LineControl>(8, 56, 600, 56, black, 3);
    Line2 = &h.add<LineControl>(32, 8, 32, 104, black, 3);
    Label7 = &h.add<Label>("ｙ", Box{8, 64, 17, 33}, black, lightYellow, false, Font{24, true});
    Label5 = &h.add<Label>("χ", Box{0, 16, 33, 33}, black, lightYellow, false, Font{24, true});

    w.setTabOrder();
}
