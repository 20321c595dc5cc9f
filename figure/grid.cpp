// The grid of 1-cm squares over the rectangle's band, switched by "方眼".
#include "app/form1.h"

using platform::QBColor;

void Form1::hougan()
{
    kokuban->setDrawWidth(1);
    for (int i = 0; i <= 6; ++i)
        kokuban->LineStep(20, 180 + 20 * i, 560, 0, QBColor(0));
    // The vertical lines go on past the board's right edge, where they are clipped.
    for (int j = 0; j <= 30; ++j)
        kokuban->LineStep(20 + 20 * j, 180, 0, 120, QBColor(0));
    kokuban->setDrawWidth(2);
}

void Form1::Check1_Click()
{
    if (Check1->Value() != 0)
        hougan();
    else
        nuri(platform::CInt(px));  // repaint without the grid
}
