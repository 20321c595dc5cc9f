// "最初に": P back on B, the table and the graph started afresh, the figure kept.
#include "app/form1.h"

void Form1::Command2_Click()
{
    px = 290;
    modoru_Click();
    hyo->Cls();
    hyokaki(0);
    gurafu(0);
    gx = 35;
    gy = 480;
    hyoy = 0;
    gurafuy = 0;
    // During an automatic run the stop button stays usable: the run goes on
    // from the start and must still be stoppable.
    if (!hashiru)
        tomeru->setEnabled(false);
    Label4(6).setVisible(false);
    gurafuten(0);
    if (Check1->Value() != 0)
        hougan();
}
