// The value table: a column of χ and y at every whole centimetre.
#include "app/form1.h"

using platform::Int;
using platform::QBColor;
using platform::Val;

void Form1::hyokaki(std::int16_t mode)
{
    hyoRetsu(mode, Val(Text1->Text()));
}

void Form1::hyoRetsu(std::int16_t mode, double x)
{
    // Wiping prints the same text again in the table's background colour.
    hyo->setForeColor(mode != 0 ? 0xC0FFFF : QBColor(9));
    if (x == 0) {
        hyo->setCurrentX(60);
        hyo->setCurrentY(25);
        hyo->Print("0");
        hyo->setCurrentY(70);
        hyo->setCurrentX(60);
        hyo->Print("0");
    }
    if (Int(x) == x && x != 0) {
        hyo->setCurrentX(static_cast<float>(50 + 45 * x - (x >= 10 ? 5 : 0)));
        hyo->setCurrentY(25);
        hyo->PrintNumber(x);
        const auto k = static_cast<std::size_t>(platform::CInt(2 * x));
        if (mode == 0)
            hyoy = hyoy + zoubun.at(k);
        hyo->setCurrentY(70);
        hyo->setCurrentX(static_cast<float>(50 + 45 * x - (hyoy >= 10 ? 5 : 0)));
        hyo->PrintNumber(hyoy);
        if (mode == 1)
            hyoy = hyoy - zoubun.at(k);
    }
}

std::vector<int> Form1::hyoTotals() const
{
    // Each total adds the area of its centimetre, as hyoRetsu does.
    const int last = static_cast<int>(Int((300 - px) / 20));
    std::vector<int> totals{0};
    for (int x = 1; x <= last; ++x)
        totals.push_back(totals.back() + zoubun.at(static_cast<std::size_t>(2 * x)));
    return totals;
}

void Form1::Check3_Click()
{
    if (Check3->Value() != 0) {
        window->setHeight(10800);
        hyo->Cls();
        // Rebuilt from the start up to P's place from the stored step values:
        // steps taken while the table was hidden count, and none counts twice.
        hyoy = 0;
        const double chi = Val(Text1->Text());
        for (int x = 0; x <= Int(chi); ++x)
            hyoRetsu(0, x);
    } else {
        window->setHeight(8800);
    }
    showPanes();
}
