// The graph pane: grid, axes and labels, and the trace of the area against χ.
#include "app/form1.h"

using platform::CInt;
using platform::QBColor;

namespace {
constexpr platform::Colour paneBack = 0xC0FFFF;
constexpr double perCm = 30, perCm2 = 30.0 / 4;  // pixels per cm of χ, per cm² of y

// Whether the trace's colour lies on the pane at or next to (x, y).
bool traced(const platform::PictureBox& pane, double x, double y)
{
    const int cx = static_cast<int>(x + 0.5), cy = static_cast<int>(y + 0.5);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (pane.Point(cx + dx, cy + dy) == QBColor(9))
                return true;
    return false;
}
}  // namespace

void Form1::gurafu(std::int16_t mode)
{
    auto& g = *gamen;
    g.setDrawWidth(1);
    if (mode == 0)
        g.Cls();
    for (int i = 0; i <= 15; ++i)
        g.LineStep(35, 480 - 30 * i, 350, 0, QBColor(2));
    for (int i = 0; i <= 11; ++i)
        g.LineStep(35 + 30 * i, 480, 0, -475, QBColor(2));
    g.LineStep(34, 481, 350, 0, QBColor(2));
    g.LineStep(34, 481, 0, -475, QBColor(2));
    g.setForeColor(QBColor(0));
    for (int i = 1; i <= 10; ++i) {
        g.setCurrentY(485);
        g.setCurrentX(29 + 30 * i - (i >= 10 ? 3 : 0));
        g.Print(platform::Str(i));
    }
    g.setCurrentX(362), g.setCurrentY(485), g.Print("(cm)");
    g.setCurrentX(25), g.setCurrentY(485), g.Print("0");
    for (int i = 1; i <= 15; ++i) {
        g.setCurrentX(i < 3 ? 20 : 15);
        g.setCurrentY(475 - 30 * i);
        g.Print(platform::Str(4 * i));
    }
    g.setCurrentX(2), g.setCurrentY(8), g.Print("(cm  )");
    g.setCurrentX(22), g.setCurrentY(5), g.Print("2");  // raised into the gap: cm²
}

void Form1::gurafuten(std::int16_t mode)
{
    if (px > 300)
        return;
    gamen->setDrawWidth(3);
    gamen->setForeColor(mode == 0 ? QBColor(9) : paneBack);
    const double x = platform::Val(Text1->Text());
    const double nx = 35 + perCm * x;
    if (mode == 0)
        gurafuy = gurafuy + zoubun.at(CInt(2 * x)) / 2.0;
    else
        gurafuy = gurafuy - zoubun.at(CInt(2 * x + 1)) / 2.0;
    const double ny = 480 - gurafuy * perCm2;
    if (Check2->Value() != 0) {
        // Wiping the undone piece also takes the round end off the piece
        // before it, which ends at the new point: that one is drawn again if
        // it is on the pane (it is not when it was taken while the pane was
        // hidden). At χ = 0 it is the trace's start dot.
        double fromX = nx, fromY = ny;
        bool redraw = false;
        if (mode != 0) {
            if (x > 0) {
                fromX = nx - perCm / 2;
                fromY = 480 - (gurafuy - zoubun.at(CInt(2 * x)) / 2.0) * perCm2;
            }
            redraw = traced(*gamen, (fromX + nx) / 2, (fromY + ny) / 2);
        }
        gamen->Line(gx, gy, nx, ny);
        if (redraw) {
            gamen->setForeColor(QBColor(9));
            gamen->Line(fromX, fromY, nx, ny);
        }
    }
    gx = nx;
    gy = ny;
    gamen->setDrawWidth(1);
    kokuban->setFillStyle(1);
    gurafu(1);
}

void Form1::Check2_Click()
{
    window->setWidth(Check2->Value() != 0 ? 15700 : 9700);
    showPanes();
}

bool Form1::paneShown(const platform::PictureBox* pane) const
{
    return pane == gamen ? Check2->Value() != 0 : pane == hyo ? Check3->Value() != 0 : pane != nullptr;
}

void Form1::showPanes()
{
    window->setPaneShown(*gamen, paneShown(gamen));
    window->setPaneShown(*hyo, paneShown(hyo));
}
