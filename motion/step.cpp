// One step of P forward (away from B) or back, and everything that follows P.
#include <cmath>

#include "app/form1.h"

using platform::CInt;
using platform::Int;

std::string kyoriText(double chi)
{
    std::string s = platform::Str(chi);
    if (chi == 0.5)
        s = " 0" + s.substr(1);
    if (s.find('.') == std::string::npos)
        s += ".0";
    return s;
}

void Form1::pUgoku()
{
    Label4(8).setLeft(static_cast<float>(px - 18));
    Shape1->setLeft(static_cast<float>(px - 4));
    Text1->setText(kyoriText((300 - px) / 20));
}

void Form1::chiLabel(bool visible)
{
    auto& l = Label4(6);
    l.setLeft(static_cast<float>((px + 310) / 2 - 22));
    l.setTop(px > 230 ? 325 : 300);  // lower while the segment is short
    l.setVisible(visible);
}

void Form1::susumu_Click()
{
    if (Check3->Value() != 0 && px == 300)
        hyokaki(0);
    px = px - 10;
    if (px < 100) {
        px = 100;
        return;
    }
    pUgoku();
    const int k = CInt((300 - px) / 10);
    const int column = static_cast<int>(Int((300 - px) / 40 - 0.1));
    zoubun.at(k) = CInt(hako.at(column) * 2);
    nuri(CInt(Int(px)));
    if (Check4->Value() != 0)
        senbun();
    chiLabel(true);
    if (Check1->Value() != 0)
        hougan();
    gurafuten(0);
    if (Check3->Value() != 0)
        hyokaki(0);
}

void Form1::modoru_Click()
{
    if (Check3->Value() != 0 && px != 300)
        hyokaki(1);
    px = px + 10;
    if (px > 300) {
        px = 300;
        return;
    }
    pUgoku();
    nuri(CInt(Int(px)));
    if (Check4->Value() != 0)
        senbun();
    chiLabel(px < 300);
    if (Check1->Value() != 0)
        hougan();
    gurafuten(1);
}
