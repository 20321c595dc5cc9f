// Start-up, the initial screen and the end of the program.
#include "app/form1.h"

using platform::CInt;

void Form1::Form_Load()
{
    window->setWidth(9700);
    window->setHeight(8800);
    Check1->setValue(0);
    Check2->setValue(0);
    Check3->setValue(0);
    showPanes();  // the graph and the table are not shown yet
    // Every coordinate of the window and its picture boxes is in pixels.
    kokuban->setDrawWidth(2);
    shokigamen();
}

void Form1::shokigamen()
{
    Text1->setText(" 0.0");
    tsukami = 0;
    hyoy = 0;
    gurafuy = 0;
    hako.fill(0);
    kokuban->Cls();
    hyo->Cls();
    hyokaki(0);
    gurafu(0);

    ax = 300, ay = 180, bx = 300, by = 300, cx = 500, cy = 300, dx = 500, dy = 180, px = 300, py = 300;

    auto place = [](platform::Label& l, double left, double top) {
        l.setLeft(static_cast<float>(left));
        l.setTop(static_cast<float>(top));
    };
    place(Label4(0), ax - 8, ay - 35);
    place(Label4(1), bx + 4, by);
    place(Label4(2), cx - 8, cy);
    place(Label4(3), dx - 8, CInt(dy - 35));  // 16-bit arithmetic
    place(Label4(4), (bx + cx) / 2 - 20, by + 5);
    place(Label4(5), cx + 5, CInt(dy + 20));
    place(Label4(8), px - 18, by);
    Shape1->setLeft(static_cast<float>(bx - 4));
    Shape1->setTop(static_cast<float>(by - 4));

    auto lay = [](platform::LineControl& l, double x1, double x2, double y1, double y2) {
        l.setX1(static_cast<float>(x1));
        l.setX2(static_cast<float>(x2));
        l.setY1(static_cast<float>(y1));
        l.setY2(static_cast<float>(y2));
    };
    lay(Line5(0), 20, cx, py, cy);            // the path of P through B and C
    lay(Line5(1), cx, dx, cy, dy);            // side CD
    lay(Line5(2), dx, ax, dy, ay);            // side DA
    lay(Line5(3), ax, bx, ay, by);            // side AB
    lay(Line5(4), 310, px, 800, 800);         // the red segment, parked out of sight
    lay(Line5(5), ax, ax - 20, ay, ay + 15);  // the bracket left of AB
    lay(Line5(6), ax - 20, bx - 20, ay + 15, by - 15);
    lay(Line5(7), bx - 20, bx, by - 15, by);

    Label4(6).setLeft(300);
    Label4(6).setTop(330);
    Label4(6).setVisible(false);

    idou1(350, 5);
    idou2(400, 5);
    idou3(450, 5);
    gx = 35;
    gy = 480;
    tomeru->setEnabled(false);
    gurafuten(0);
    if (Check1->Value() != 0)
        hougan();
}

void Form1::Command1_Click()
{
    shokigamen();
}

void Form1::end_Click()
{
    window->End();
}
