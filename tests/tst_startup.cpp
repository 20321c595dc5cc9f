// The window as laid out, and its state after start-up and after "初期画面".
#include <QTest>

#include <memory>

#include "testutil.h"

using platform::Colour;
using platform::qt::frameOf;
using platform::qt::widgetOf;

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
// Caption, place and size of a label or the shape; ends, width and colour of a line.
template <typename T>
QString describe(const T& g)
{
    if constexpr (std::is_same_v<T, platform::LineControl>)
        return QString("(%1,%2)-(%3,%4) w%5 #%6").arg(g.X1()).arg(g.Y1()).arg(g.X2()).arg(g.Y2()).arg(g.BorderWidth())
            .arg(g.BorderColor(), 6, 16, QChar('0'));
    else {
        QString caption;
        if constexpr (std::is_same_v<T, platform::Label>)
            caption = qs(g.Caption()) + ' ';
        return caption + QString("(%1,%2) %3x%4").arg(g.Left()).arg(g.Top()).arg(g.Width()).arg(g.Height());
    }
}
}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1> f;  // left as start-up made it

private slots:
    void initTestCase() { f = std::make_unique<Form1>(); }

    void windowed_data()
    {
        QTest::addColumn<QWidget*>("widget");
        QTest::addColumn<QRect>("pixels");  // in the parent's client area
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, QWidget* w, QRect r, const std::string& text, const char* expected) {
            QTest::newRow(name) << w << r << qs(text) << QString(expected);
        };
        row("Command2", widgetOf(*f->Command2), {448, 504, 57, 33}, f->Command2->Caption(), "最初に");
        row("kokuban", frameOf(*f->kokuban), {16, 64, 601, 409}, "", "");
        row("Command1", widgetOf(*f->Command1), {216, 16, 81, 33}, f->Command1->Caption(), "初期画面");
        row("hyo", frameOf(*f->hyo), {8, 560, 609, 113}, "", "");
        row("Check1", widgetOf(*f->Check1), {376, 24, 81, 26}, f->Check1->Caption(), "方眼");
        row("Check3", widgetOf(*f->Check3), {520, 480, 49, 26}, f->Check3->Caption(), "表");
        row("tomeru", widgetOf(*f->tomeru), {144, 504, 65, 33}, f->tomeru->Caption(), "ストップ");
        row("jidou", widgetOf(*f->jidou), {16, 488, 113, 49}, f->jidou->Caption(), "自    動");
        row("modoru", widgetOf(*f->modoru), {376, 488, 65, 49}, f->modoru->Caption(), "戻す");
        row("susumu", widgetOf(*f->susumu), {304, 488, 65, 49}, f->susumu->Caption(), "出す");
        row("Check2", widgetOf(*f->Check2), {520, 512, 89, 26}, f->Check2->Caption(), "グラフ");
        row("Combo1", widgetOf(*f->Combo1), {224, 512, 49, 21}, f->Combo1->Text(), "50");
        row("end", widgetOf(*f->end), {536, 16, 81, 33}, f->end->Caption(), "終了");
        row("gamen", frameOf(*f->gamen), {632, 16, 393, 513}, "", "");
        row("Text1 in kokuban", widgetOf(*f->Text1), {264, 360, 65, 33}, f->Text1->Text(), " 0.0");
        row("Check4 in kokuban", widgetOf(*f->Check4), {240, 368, 17, 17}, f->Check4->Caption(), "Check4");
    }
    void windowed()
    {
        QFETCH(QWidget*, widget);
        QFETCH(QRect, pixels);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(widget->geometry(), pixels);
        QCOMPARE(text, expected);
    }

    void graphic_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Label8") << describe(*f->Label8) << "Orizane 学習ソフト (912,664) 113x12";
        QTest::newRow("Label6") << describe(*f->Label6) << "関数の利用 (16,16) 160x33";
        QTest::newRow("Label3") << describe(*f->Label3) << "速度 (224,488) 38x19";
        QTest::newRow("Label1") << describe(*f->Label1) << "点Ｐが動いた距離χ (24,360) 206x24";
        QTest::newRow("Label2") << describe(*f->Label2) << "cm (336,368) 28x21";
        QTest::newRow("Label7") << describe(*f->Label7) << "ｙ (8,64) 17x33";
        QTest::newRow("Label5") << describe(*f->Label5) << "χ (0,16) 33x33";
        const char* label4[] = {"A (292,145) 20x33", "B (304,300) 20x33", "C (492,300) 21x33", "Ｄ (492,145) 24x33",
                                "１０cm (380,305) 62x24", "６cm (505,200) 46x24", "χcm (300,330) 54x24", "",
                                "Ｐ (282,300) 23x33"};
        for (int i : {0, 1, 2, 3, 4, 5, 6, 8})
            QTest::addRow("Label4(%d)", i) << describe(f->Label4(i)) << label4[i];
        QTest::newRow("Shape1") << describe(*f->Shape1) << "(296,296) 10x8";
        QTest::newRow("Line1") << describe(*f->Line1) << "(0,56)-(600,56) w150 #004000";
        QTest::newRow("Line4(1)") << describe(f->Line4(1)) << "(24,392)-(232,392) w3 #0000ff";
        QTest::newRow("Line3") << describe(*f->Line3) << "(8,56)-(600,56) w3 #000000";
        QTest::newRow("Line2") << describe(*f->Line2) << "(32,8)-(32,104) w3 #000000";
        const char* line5[] = {"(20,300)-(500,300)", "(500,300)-(500,180)", "(500,180)-(300,180)",
                               "(300,180)-(300,300)", "(310,800)-(300,800) w5 #0000ff", "(300,180)-(280,195)",
                               "(280,195)-(280,285)", "(280,285)-(300,300)"};
        for (int i = 0; i <= 7; ++i)
            QTest::addRow("Line5(%d)", i) << describe(f->Line5(i))
                                          << QString(line5[i]) + (i == 4 ? "" : " w3 #ffffff");
    }
    void graphic()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void windowComboAndColours()
    {
        QCOMPARE(qs(f->window->Caption()), QString("３.１次関数  (by Zelkon)"));
        QCOMPARE(f->Combo1->items(), (std::vector<std::string>{" 0", "10", "20", "50", "100", "200"}));
        const std::pair<platform::CommandButton*, Colour> buttons[] = {
            {f->Command2, 0x80C0FF}, {f->Command1, 0xC0FFFF}, {f->tomeru, 0x80FF80}, {f->jidou, 0x00FF00},
            {f->modoru, 0xFFFF00}, {f->susumu, 0x00FFFF}, {f->end, 0xFFC0C0}};
        for (auto [button, colour] : buttons)
            QCOMPARE(button->BackColor(), colour);
        for (int i : {0, 1, 2, 3, 4, 5, 6, 8})  // lines and drawing show through them
            QVERIFY(f->Label4(i).transparent() && f->Label4(i).BackColor() == 0x008000);
        QVERIFY(!f->Label1->transparent() && !f->Label2->transparent() && !f->Label5->transparent());
        QCOMPARE(f->Label4(6).ForeColor(), Colour(0x8080FF));
    }

    void stackingAndIndexes()
    {
        using G = platform::Graphic*;
        auto& l4 = f->Label4;
        auto& l5 = f->Line5;
        std::vector<G> top{f->Shape1, &l5(4)};  // first on top
        for (auto* group : {&f->Line9, &f->Line7, &f->Line6})
            for (int i = 3; i >= 0; --i)
                top.push_back(&(*group)(i));
        for (G g : {G(f->Line1), G(&l5(3)), G(f->Label1), G(&l5(1)), G(f->Label2), G(&f->Line4(1)), G(&l4(3)),
                    G(&l5(2)), G(&l4(8)), G(&l4(2)), G(&l4(1)), G(&l4(6)), G(&l5(0)), G(&l4(5)), G(&l4(4)),
                    G(&l4(0)), G(&l5(5)), G(&l5(6)), G(&l5(7))})
            top.push_back(g);
        QVERIFY(f->kokuban->graphics() == top);
        QVERIFY(f->hyo->graphics() == (std::vector<G>{f->Line3, f->Line2, f->Label7, f->Label5}));
        QVERIFY(f->window->graphics() == (std::vector<G>{f->Label8, f->Label6, f->Label3}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, f->Label4(7));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, f->Line4(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, f->Line4(2));
    }

    void windowedStacking()
    {
        const std::pair<QString, QWidget*> topFirst[] = {
            {"Command2", widgetOf(*f->Command2)}, {"kokuban", frameOf(*f->kokuban)}, {"Command1", widgetOf(*f->Command1)},
            {"hyo", frameOf(*f->hyo)}, {"Check1", widgetOf(*f->Check1)}, {"Check3", widgetOf(*f->Check3)},
            {"tomeru", widgetOf(*f->tomeru)}, {"jidou", widgetOf(*f->jidou)}, {"modoru", widgetOf(*f->modoru)},
            {"susumu", widgetOf(*f->susumu)}, {"Check2", widgetOf(*f->Check2)}, {"Combo1", widgetOf(*f->Combo1)},
            {"end", widgetOf(*f->end)}, {"gamen", frameOf(*f->gamen)}};
        QStringList expected;
        std::vector<std::pair<qsizetype, QString>> byDepth;  // a later child lies above an earlier one
        for (const auto& [name, w] : topFirst) {
            expected << name;
            byDepth.emplace_back(-w->parentWidget()->children().indexOf(w), name);
        }
        std::sort(byDepth.begin(), byDepth.end());
        QStringList actual;
        for (const auto& entry : byDepth)
            actual << entry.second;
        QCOMPARE(actual.join(' '), expected.join(' '));
    }

    void state_data()
    {
        QTest::addColumn<bool>("reset");
        QTest::addColumn<bool>("grid");
        QTest::addColumn<bool>("panes");  // table and graph shown from the start
        QTest::newRow("after start-up") << false << false << false;
        QTest::newRow("reset after moves") << true << false << false;
        QTest::newRow("reset with the grid") << true << true << false;
        QTest::newRow("reset with the table and graph shown") << true << false << true;
    }
    void state()
    {
        QFETCH(bool, reset);
        QFETCH(bool, grid);
        QFETCH(bool, panes);
        Form1 s;
        if (reset) {
            if (panes)
                testutil::click(s.Check2), testutil::click(s.Check3);
            testutil::build(s, {1, 2, 3, 0, 1});
            testutil::steps(s, 5);
            QCOMPARE(s.hako[2] + s.px, 3 + 250.0);  // the blocks landed and P moved
            if (grid)
                testutil::click(s.Check1);
            s.motohako = 3;
            s.kokuban->setFillStyle(0);
        }
        const auto zoubun = s.zoubun;
        QVERIFY(!reset || zoubun != decltype(zoubun){});
        const double motohako = s.motohako;
        const Colour fore = s.kokuban->ForeColor(), fill = s.kokuban->FillColor();
        if (reset)
            testutil::click(s.Command1);

        QCOMPARE(QSize(s.window->Width(), s.window->Height()), panes ? QSize(15700, 10800) : QSize(9700, 8800));
        QCOMPARE(qs(s.Text1->Text()), QString(" 0.0"));
        QCOMPARE(describe(*s.Shape1), QString("(296,296) 10x8"));
        QCOMPARE(describe(s.Label4(8)), QString("Ｐ (282,300) 23x33"));
        QCOMPARE(describe(s.Label4(1)), QString("B (304,300) 20x33"));
        QVERIFY(!s.Label4(6).Visible());
        QCOMPARE(describe(s.Line5(4)), QString("(310,800)-(300,800) w5 #0000ff"));
        QVERIFY(!s.tomeru->Enabled());
        for (auto* b : {s.Command1, s.Command2, s.susumu, s.modoru, s.jidou, s.end})
            QVERIFY(b->Enabled());
        QCOMPARE(QString("%1%2%3%4").arg(s.Check1->Value()).arg(s.Check2->Value()).arg(s.Check3->Value())
                     .arg(s.Check4->Value()), QString(grid ? "1001" : panes ? "0111" : "0001"));
        if (grid) {
            QCOMPARE(s.kokuban->Point(40, 190), Colour(0));
            QCOMPARE(s.kokuban->Point(30, 190), Colour(0x008000));
        }
        Form1 plain;  // a fresh board, with nothing drawn on it but the grid when that is ticked
        if (grid)
            testutil::click(plain.Check1);
        QImage empty(platform::qt::layerOf(*plain.kokuban).size(), QImage::Format_RGB32);
        empty.fill(QColor(0, 0x80, 0));
        QCOMPARE(platform::qt::layerOf(*plain.kokuban) == empty, !grid);
        QCOMPARE(platform::qt::layerOf(*s.kokuban), platform::qt::layerOf(*plain.kokuban));
        const testutil::Panes start = testutil::initialPanes(panes);
        QCOMPARE(platform::qt::layerOf(*s.hyo), start.table);
        QCOMPARE(platform::qt::layerOf(*s.gamen), start.graph);

        QVERIFY(s.hako == (std::array<double, 5>{}));
        QCOMPARE(QString("%1 %2 %3 %4 %5 %6").arg(s.tsukami).arg(s.px).arg(s.gx).arg(s.gy).arg(s.hyoy).arg(s.gurafuy),
                 QString("0 300 35 480 0 0"));
        // The blocks stand in the tray: bottoms at y = 125, the tallest one's top at y = 5.
        QCOMPARE(describe(s.Line6(2)), QString("(390,125)-(350,125) w2 #00ffff"));
        QCOMPARE(describe(s.Line9(0)), QString("(450,5)-(490,5) w2 #00ffff"));
        QVERIFY(s.zoubun == zoubun);
        QCOMPARE(s.motohako, motohako);
        QCOMPARE(QString("%1 %2").arg(s.kokuban->DrawWidth()).arg(s.kokuban->FillStyle()), QString("2 1"));
        QCOMPARE(s.kokuban->ForeColor(), fore);
        QCOMPARE(s.kokuban->FillColor(), fill);
    }

    // Whatever frame the window system draws (here the toolkit's test
    // platform draws one 2 pixels wide), the inside of the window is the
    // layout's size times the zoom, also after zoom changes.
    void clientAreaWhateverTheFrame()
    {
        Form1 shown;
        shown.Show();
        QWidget* w = platform::qt::widgetOf(*shown.window);
        QVERIFY(w->frameGeometry() != w->geometry());
        for (double z : {1.25, 1.0, 3.0, 1.0}) {
            shown.window->setZoom(z);
            QCOMPARE(w->size(), QSize(qRound(631 * z), qRound(548 * z)));
        }
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
