// The red segment from B to P, switched by the small box on the blackboard.
#include "app/form1.h"

void Form1::Check4_Click()
{
    if (Check4->Value() != 0) {
        senbun();
    } else {
        // Parked below the blackboard, out of sight.
        auto& l = Line5(4);
        l.setX1(static_cast<float>(bx));
        l.setY1(800);
        l.setX2(static_cast<float>(px));
        l.setY2(800);
    }
}

void Form1::senbun()
{
    auto& l = Line5(4);
    l.setX1(static_cast<float>(bx));
    l.setY1(static_cast<float>(by));
    l.setX2(static_cast<float>(px));
    l.setY2(static_cast<float>(by));
}
