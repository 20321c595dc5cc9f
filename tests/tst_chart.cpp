// The value table and the graph pane: columns printed and wiped as P walks,
// the trace and its undo, gaps while the pane is hidden, the pane's grid.
#include <QTest>

#include "testutil.h"

using platform::Colour;
using Kinds = std::array<int, 5>;

namespace {
constexpr Colour back = 0xC0FFFF, lightBlue = 0xFF0000, green = 0x008000, black = 0x000000;
const Kinds mixed{1, 1, 3, 0, 2};

// Area (cm²) past AB after k half-centimetre steps: each step adds the kind of its slot.
int areaAfter(const Kinds& kinds, int k)
{
    int a = 0;
    for (int j = 1; j <= k; ++j)
        a += kinds[(j - 1) / 4];
    return a;
}

int stepsTaken(const Form1& f) { return (300 - static_cast<int>(f.px)) / 10; }

// How many pixels of the rectangle (clipped to the layer) are not / are of colour c.
std::pair<int, int> tally(platform::PictureBox* b, QRect r, Colour c)
{
    r &= QRect(0, 0, b->scaleWidth(), b->scaleHeight());
    std::pair<int, int> n;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++(b->Point(x, y) == c ? n.second : n.first);
    return n;
}
bool anyIn(platform::PictureBox* b, QRect r, Colour c) { return tally(b, r, c).second > 0; }
bool allIn(platform::PictureBox* b, QRect r, Colour c) { return tally(b, r, c).first == 0; }
bool traceNear(Form1& f, QPointF p) { return anyIn(f.gamen, QRect(p.toPoint() - QPoint(2, 2), QSize(5, 5)), lightBlue); }
QImage pane(Form1& f) { return platform::qt::layerOf(*f.gamen).copy(); }

// What is wrong with the table, if anything: it must show columns 0..floor(χ)
// in light blue and nothing right of them, and hyoy must be the true area at floor(χ).
QString tableFault(Form1& f, const Kinds& kinds)
{
    const int whole = stepsTaken(f) / 2;
    const QString at = QString(" at step %1").arg(stepsTaken(f));
    if (f.hyoy != areaAfter(kinds, 2 * whole))
        return QString("hyoy %1, not %2").arg(f.hyoy).arg(areaAfter(kinds, 2 * whole)) + at;
    for (int c = 0; c <= 10; ++c) {
        const int left = c == 0 ? 55 : 45 + 45 * c;
        const bool shown = anyIn(f.hyo, {left, 20, 30, 30}, lightBlue) && anyIn(f.hyo, {left, 65, 30, 35}, lightBlue);
        if (c <= whole && !shown)
            return QString("column %1 missing").arg(c) + at;
        if (c > whole && !allIn(f.hyo, {left, 0, 45, f.hyo->scaleHeight()}, back))
            return QString("column %1 not blank").arg(c) + at;
    }
    return {};
}
}  // namespace

class TestChart : public QObject {
    Q_OBJECT
private slots:
    void tableWalkForwardAndBack()
    {
        Form1 f;
        f.Show();
        testutil::build(f, mixed);
        testutil::click(f.Check3);
        const double totals[] = {2, 4, 6, 8, 14, 20, 20, 20, 24, 28};
        for (int k = 1; k <= 40; ++k) {  // 20 steps forward, 20 back
            k <= 20 ? f.susumu_Click() : f.modoru_Click();
            if (k <= 20 && k % 2 == 0)
                QCOMPARE(f.hyoy, totals[k / 2 - 1]);
            QCOMPARE(tableFault(f, mixed), QString());
        }
        QVERIFY(allIn(f.hyo, {0, 0, 55, 200}, back) && allIn(f.hyo, {85, 0, 1000, 200}, back));
    }

    // Where a column's two numbers start on the table: 45 pixels apart, 5 pixels
    // further left for χ = 10 and for a two-digit total (figure 1, 1, 3, 0, 2).
    void tableColumnPlace_data()
    {
        QTest::addColumn<int>("chi");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("chiX");
        QTest::addColumn<int>("totalX");
        QTest::newRow("χ = 4, total 8") << 4 << 8 << 230 << 230;
        QTest::newRow("χ = 5, two-digit total 14") << 5 << 14 << 275 << 270;
        QTest::newRow("χ = 10, total 28") << 10 << 28 << 495 << 495;
    }
    void tableColumnPlace()
    {
        QFETCH(int, chi);
        QFETCH(int, total);
        QFETCH(int, chiX);
        QFETCH(int, totalX);
        Form1 f;
        f.Show();
        testutil::build(f, mixed);
        testutil::click(f.Check3);
        testutil::steps(f, 2 * chi);
        Form1 expected;  // the two numbers printed at their places on an empty table
        platform::PictureBox& t = *expected.hyo;
        t.Cls();
        t.setForeColor(platform::QBColor(9));
        t.setCurrentX(chiX), t.setCurrentY(25), t.PrintNumber(chi);
        t.setCurrentX(totalX), t.setCurrentY(70), t.PrintNumber(total);
        const QRect column(chiX - 10, 0, 55, t.scaleHeight());  // the columns left of it end further left
        QVERIFY(platform::qt::layerOf(*f.hyo).copy(column) == platform::qt::layerOf(t).copy(column));
    }

    // The graph's axis labels at their places: each part of the pane holds
    // what the same labels printed at those places on an empty pane hold.
    void paneLabelPlace_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<QPoint>>("places");
        QTest::addColumn<QRect>("part");  // clear of the grid and of the other labels
        QTest::newRow("0 at the origin") << QStringList{"0"} << QList<QPoint>{{25, 485}} << QRect(18, 483, 16, 26);
        QTest::newRow("χ = 5") << QStringList{" 5"} << QList<QPoint>{{179, 485}} << QRect(170, 483, 26, 26);
        QTest::newRow("χ = 10, 3 pixels left") << QStringList{" 10"} << QList<QPoint>{{326, 485}} << QRect(316, 483, 32, 26);
        QTest::newRow("(cm) of χ") << QStringList{"(cm)"} << QList<QPoint>{{362, 485}} << QRect(350, 483, 39, 26);
        QTest::newRow("y = 4, further right") << QStringList{" 4"} << QList<QPoint>{{20, 445}} << QRect(0, 440, 34, 20);
        QTest::newRow("y = 60") << QStringList{" 60"} << QList<QPoint>{{15, 25}} << QRect(0, 25, 34, 16);
        QTest::newRow("(cm²) of y") << QStringList{"(cm  )", "2"} << QList<QPoint>{{2, 8}, {22, 5}} << QRect(0, 0, 34, 24);
    }
    void paneLabelPlace()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<QPoint>, places);
        QFETCH(QRect, part);
        Form1 f;
        f.Show();
        testutil::click(f.Check2);
        Form1 expected;
        platform::PictureBox& g = *expected.gamen;
        g.Cls();
        g.setForeColor(platform::QBColor(0));
        for (int i = 0; i < texts.size(); ++i) {
            g.setCurrentX(places[i].x()), g.setCurrentY(places[i].y());
            g.Print(texts[i].toStdString());
        }
        QVERIFY(platform::qt::layerOf(*f.gamen).copy(part) == platform::qt::layerOf(g).copy(part));
    }

    void traceOfTallBlocksEndsOnTopGridLine()
    {
        Form1 f;
        f.Show();
        testutil::click(f.Check2);
        testutil::build(f, {3, 3, 3, 3, 3});
        testutil::steps(f, 20);
        QCOMPARE(QPointF(f.gx, f.gy), QPointF(335, 30));
        QCOMPARE(f.gurafuy, 60.0);
        QVERIFY(traceNear(f, {335, 30}));
        for (double k = 0.5; k < 20; ++k)  // the middle of every piece, off the grid lines
            QVERIFY2(traceNear(f, {35 + 15 * k, 480 - 22.5 * k}), qPrintable(QString::number(k)));
        QVERIFY(!anyIn(f.gamen, {60, 40, 100, 100}, lightBlue));  // well above the line
    }

    void stepForwardAndBackRestoresPane_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("hiddenBefore");  // pane ticked only after those steps
        QTest::newRow("from 0") << 0 << false;
        QTest::newRow("from 2.5") << 5 << false;
        QTest::newRow("from 6.5, in the empty slot") << 13 << false;
        QTest::newRow("from 2.5, steps before taken hidden") << 5 << true;
    }
    void stepForwardAndBackRestoresPane()
    {
        QFETCH(int, before);
        QFETCH(bool, hiddenBefore);
        Form1 f;
        f.Show();
        if (!hiddenBefore)
            testutil::click(f.Check2);
        testutil::build(f, mixed);
        testutil::steps(f, before);
        if (hiddenBefore)
            testutil::click(f.Check2);
        const QList<double> state{f.gurafuy, f.gx, f.gy};
        const QImage image = pane(f);
        f.susumu_Click();
        QVERIFY(pane(f) != image);
        f.modoru_Click();
        QCOMPARE((QList<double>{f.gurafuy, f.gx, f.gy}), state);
        QVERIFY(pane(f) == image);
    }

    void hiddenStepsLeaveGap()
    {
        Form1 f;
        f.Show();
        const Kinds kinds{1, 2, 3, 2, 1};
        testutil::click(f.Check2);
        testutil::build(f, kinds);
        const auto point = [&](int k) { return QPointF(35 + 15 * k, 480 - 7.5 * areaAfter(kinds, k)); };
        const auto middle = [&](int k) { return (point(k - 1) + point(k)) / 2; };
        for (int k = 1; k <= 13; ++k) {  // hidden for steps 5 to 10
            if (k == 5 || k == 11)
                testutil::click(f.Check2);
            f.susumu_Click();
            QCOMPARE(QPointF(f.gx, f.gy), point(k));
            QVERIFY2(traceNear(f, middle(k)) == (k < 5 || k > 10), qPrintable(QString::number(k)));
        }
        QVERIFY(!traceNear(f, (point(4) + point(10)) / 2));  // no line across the gap
    }

    void showingTableCountedColumnTwiceAndMissedHiddenSteps_data()
    {
        // f / b: a step forward / back; t: a click on Check3.
        QTest::addColumn<QString>("script");
        QTest::newRow("shown at 0, hidden and shown at 3") << "tfffffftt";
        QTest::newRow("shown at whole 3 after hidden steps") << "fffffft";
        QTest::newRow("shown at half 3.5") << "ffffffft";
        QTest::newRow("hidden at 2, shown at 6") << "tfffftfffffffft";
        QTest::newRow("hidden at 6, back to 2.5, shown") << "tfffffffffffftbbbbbbbt";
        QTest::newRow("shown twice at 4, then back to 0") << "tfffffffftttt" "bbbbbbbb";
        QTest::newRow("shown at 10, then back to 7 and on") << "ffffffffff" "ffffffffff" "t" "bbbbbbffffff";
    }
    void showingTableCountedColumnTwiceAndMissedHiddenSteps()
    {
        QFETCH(QString, script);
        Form1 f;
        f.Show();
        testutil::build(f, mixed);
        for (QChar c : script) {
            c == 'f' ? f.susumu_Click() : c == 'b' ? f.modoru_Click() : testutil::click(f.Check3);
            if (f.Check3->Value() != 0)
                QCOMPARE(tableFault(f, mixed), QString());
        }
    }

    // "最初に" from anywhere leaves the table with its χ = 0 column alone and the
    // pane with its grid, labels and the trace's start point, as the initial
    // screen of a fresh window draws them.
    void returnToStartClearsTableAndPane_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("shownAfterSteps");
        QTest::newRow("from the far end") << 20 << false;
        QTest::newRow("from 3.5, table and pane shown after the steps") << 7 << true;
        QTest::newRow("on B") << 0 << false;
    }
    void returnToStartClearsTableAndPane()
    {
        QFETCH(int, steps);
        QFETCH(bool, shownAfterSteps);
        Form1 f;
        f.Show();
        const auto show = [&f] { testutil::click(f.Check2), testutil::click(f.Check3); };
        if (!shownAfterSteps)
            show();
        testutil::build(f, mixed);
        testutil::steps(f, steps);
        if (shownAfterSteps)
            show();
        testutil::click(f.Command2);
        const testutil::Panes start = testutil::initialPanes(true);
        QVERIFY(platform::qt::layerOf(*f.hyo) == start.table);
        QVERIFY(pane(f) == start.graph);
    }

    void paneGridAndSizeBoxes()
    {
        Form1 f;
        f.Show();
        f.gurafu(0);
        QSet<int> rows{481}, cols{34};  // the axes, then the grid lines
        for (int i = 0; i <= 15; ++i)
            rows << 480 - 30 * i;
        for (int i = 0; i <= 11; ++i)
            cols << 35 + 30 * i;
        for (int y : rows)
            QVERIFY2(allIn(f.gamen, {36, y, 348, 1}, green), qPrintable(QString::number(y)));
        for (int x : cols)
            QVERIFY2(allIn(f.gamen, {x, 7, 1, 473}, green), qPrintable(QString::number(x)));
        QVERIFY(anyIn(f.gamen, {362, 485, 35, 15}, black));  // "(cm)"
        QVERIFY(anyIn(f.gamen, {25, 485, 10, 15}, black));   // "0"
        // Green only on those lines, black only among the labels, background elsewhere.
        for (int y = 0; y < f.gamen->scaleHeight(); ++y)
            for (int x = 0; x < f.gamen->scaleWidth(); ++x) {
                const Colour c = f.gamen->Point(x, y);
                if (!(c == back || (c == green && (rows.contains(y) || cols.contains(x))) || (c == black && (x < 34 || y > 481))))
                    QFAIL(qPrintable(QString("pixel %1 at (%2, %3)").arg(c, 0, 16).arg(x).arg(y)));
            }
        const QImage image = pane(f);
        const auto toggle = [&](platform::CheckBox* box, int width, int height) {
            testutil::click(box);
            QCOMPARE(QSize(f.window->Width(), f.window->Height()), QSize(width, height));
            QVERIFY(pane(f) == image);
        };
        toggle(f.Check2, 15700, 8800);
        toggle(f.Check3, 15700, 10800);
        toggle(f.Check2, 9700, 10800);
        toggle(f.Check3, 9700, 8800);
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
