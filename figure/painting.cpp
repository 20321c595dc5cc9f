// The moving figure on the blackboard: the part of each block that has passed
// AB is white, the rest light grey.
#include "app/form1.h"

using platform::CInt;
using platform::QBColor;

void Form1::nuri(std::int16_t n)
{
    kokuban->Cls();
    // The grid goes down first: drawn after AB, its black lines would cut AB,
    // and the two fills of a block that AB cuts would run into each other.
    if (Check1->Value() != 0)
        hougan();
    // AB is drawn into the layer because the fills stop at it.
    kokuban->LineStep(300, 180, 0, 120);
    kokuban->setFillStyle(0);
    for (int i = 0; i <= 4; ++i) {
        const std::int16_t m = CInt(n + 40 * i);
        if (hako[i] == 1)
            nuri1(m);
        if (hako[i] == 2)
            nuri2(m);
        if (hako[i] == 3)
            nuri3(m);
    }
}

void Form1::nuri1(std::int16_t m) { nuriHako(m, 260, 298); }
void Form1::nuri2(std::int16_t m) { nuriHako(m, 220, 268); }
void Form1::nuri3(std::int16_t m) { nuriHako(m, 180, 268); }

void Form1::nuriHako(std::int16_t m, int top, int seedY)
{
    kokuban->Line(m, 300, m + 40, 300);
    kokuban->Line(m + 40, 300, m + 40, top);
    kokuban->Line(m + 40, top, m, top);
    kokuban->Line(m, top, m, 300);
    // The seeds lie 5 pixels inside the block's left and right edges; P moves
    // in 10-pixel steps, so each lies on its own side of AB.
    const bool leftOfAB = m < 300, rightOfAB = m > 260;
    if (leftOfAB) {
        kokuban->setFillColor(QBColor(15));
        kokuban->FloodFill(m + 5, seedY, kokuban->ForeColor());
    }
    if (rightOfAB) {
        kokuban->setFillColor(QBColor(7));
        kokuban->FloodFill(m + 35, seedY, kokuban->ForeColor());
    }
}
