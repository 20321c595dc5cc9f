// Dragging the three block outlines between the tray and the five columns.
#include "app/form1.h"

using platform::CInt;

namespace {
// Column k spans 300 + 40k < x < 340 + 40k; -1 when x lies in none (borders included).
int columnAt(float x)
{
    for (int k = 0; k <= 4; ++k)
        if (300 + 40 * k < x && x < 340 + 40 * k)
            return k;
    return -1;
}
}  // namespace

void Form1::kokuban_MouseDown(std::int16_t, std::int16_t, float x, float y)
{
    if (y < 150) {  // the tray: the whole height above a block picks it
        const int picked = 350 < x && x < 390 ? 1 : 400 < x && x < 440 ? 2 : 450 < x && x < 490 ? 3 : 0;
        if (picked != 0) {
            tsukami = picked;
            motohako = -1;  // from the tray, not from a column
        }
    }
    if (180 < y && y < 300) {
        const int k = columnAt(x);
        if (k >= 0 && hako[k] != 0) {
            tsukami = hako[k];  // the column keeps its block until the release says otherwise
            motohako = k;
        }
    }
}

void Form1::kokuban_MouseMove(std::int16_t, std::int16_t, float x, float y)
{
    // The outline follows with its centre on the pointer.
    if (tsukami == 1)
        idou1(CInt(x - 20), CInt(y - 100));
    else if (tsukami == 2)
        idou2(CInt(x - 20), CInt(y - 80));
    else if (tsukami == 3)
        idou3(CInt(x - 20), CInt(y - 60));
    else
        return;
    Line1->Refresh();
}

void Form1::kokuban_MouseUp(std::int16_t, std::int16_t, float x, float y)
{
    if (tsukami == 0)
        return;
    idou1(350, 5);
    idou2(400, 5);
    idou3(450, 5);
    bool changed = false;
    if (y < 180) {
        // Dragged out above the rectangle: the column it came from is emptied.
        // A block taken from the tray and put back changes nothing.
        if (motohako >= 0) {
            hako.at(static_cast<std::size_t>(motohako)) = 0;
            changed = true;
        }
    } else if (180 < y && y < 300) {
        const int k = columnAt(x);
        if (k >= 0)
            hako[k] = tsukami;
        changed = true;  // also on a border or beside the columns: P returns and the figure is repainted
    }
    if (changed) {
        kokuban->setForeColor(platform::QBColor(14));
        Command2_Click();
        nuri(300);
    }
    tsukami = 0;
}

void Form1::idou1(std::int16_t x, std::int16_t y) { idou(Line6, x, y, 80); }
void Form1::idou2(std::int16_t x, std::int16_t y) { idou(Line7, x, y, 40); }
void Form1::idou3(std::int16_t x, std::int16_t y) { idou(Line9, x, y, 0); }

void Form1::idou(platform::ControlArray<platform::LineControl>& lines, std::int16_t x, std::int16_t y, int top)
{
    // 16-bit sums, as the outline's coordinates; sides in the order top, right, bottom, left.
    const float left = x, right = CInt(x + 40), upper = CInt(y + top), lower = CInt(y + 120);
    const float ends[4][4] = {
        {left, upper, right, upper},
        {right, upper, right, lower},
        {right, lower, left, lower},
        {left, lower, left, upper},
    };
    for (int i = 0; i < 4; ++i) {
        auto& l = lines(i);
        l.setX1(ends[i][0]);
        l.setY1(ends[i][1]);
        l.setX2(ends[i][2]);
        l.setY2(ends[i][3]);
    }
}
