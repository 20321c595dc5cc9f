// The automatic run: steps forward with a pause after each, until the far end
// or "ストップ"; events are handled during the pauses.
#include "app/form1.h"

namespace {
void setRunning(Form1& f, bool running)
{
    f.susumu->setEnabled(!running);
    f.modoru->setEnabled(!running);
    f.Command1->setEnabled(!running);
    if (running) {
        f.jidou->setEnabled(false);
        f.tomeru->setEnabled(true);
    } else {
        f.tomeru->setEnabled(false);
        f.jidou->setEnabled(true);
    }
}
}  // namespace

void Form1::jidou_Click()
{
    if (hashiru)  // one run at a time
        return;
    if (px == 100)
        Command2_Click();
    setRunning(*this, true);
    hashiru = true;
    while (window->alive() && teishi != 1 && px != 100) {
        susumu_Click();
        // The pace is read afresh before every pause; any text is safe, and
        // digits typed full-width count as typed half-width.
        matsu(platform::CLngSaturated(platform::Val(platform::halfWidthNumber(Combo1->Text())) * 5));
    }
    hashiru = false;
    teishi = 0;
    if (!window->alive())  // the program is ending: nothing more is shown
        return;
    setRunning(*this, false);
}

void Form1::tomeru_Click()
{
    if (!hashiru)
        return;
    teishi = 1;
    platform::events::wake();  // the pause in progress ends now
}

void Form1::matsu(std::int32_t ms)
{
    if (ms <= 0)
        return;
    platform::events::waitHandlingEvents(ms);
}
