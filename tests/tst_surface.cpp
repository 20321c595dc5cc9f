// The drawing primitives of a picture box, checked pixel by pixel on the graph
// pane of a real window (background 0xC0FFFF).
#include <QTest>

#include <memory>

#include "app/form1.h"
#include "platform/qt/bridge.h"

using platform::Colour;

namespace {
constexpr Colour back = 0xC0FFFF, black = 0x000000, blue = 0xFF0000, red = 0x0000FF, yellow = 0x00FFFF;
}

class TestSurface : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1> f;
    platform::PictureBox* g = nullptr;

    QImage layer() const { return platform::qt::layerOf(*g).copy(); }
    // Pixels of the layer that are not in the given colours, within x0 <= x < x1, y0 <= y < y1.
    int others(std::initializer_list<Colour> allowed, int x0 = 0, int y0 = 0, int x1 = 9999, int y1 = 9999) const
    {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, g->scaleHeight()); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, g->scaleWidth()); ++x)
                n += std::find(allowed.begin(), allowed.end(), g->Point(x, y)) == allowed.end();
        return n;
    }

    // A closed rectangle outline in blue, DrawWidth 2, from (100, 100) to (200, 180).
    void outline() const
    {
        g->setDrawWidth(2);
        g->Line(100, 100, 200, 100, blue), g->Line(200, 100, 200, 180, blue);
        g->Line(200, 180, 100, 180, blue), g->Line(100, 180, 100, 100, blue);
    }

private slots:
    void initTestCase() { f = std::make_unique<Form1>(), g = f->gamen; }
    void init()
    {
        g->Cls();
        g->setDrawWidth(1), g->setForeColor(black), g->setFillStyle(1);
    }

    void lineWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("covered");  // rows of a line at y = 100, columns of one at x = 100
        QTest::newRow("1") << 1 << QList<int>{100};
        QTest::newRow("2") << 2 << QList<int>{99, 100};
        QTest::newRow("3") << 3 << QList<int>{99, 100, 101};
    }
    void lineWidths()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, covered);
        g->setDrawWidth(width);
        g->Line(50, 100, 150, 100, black);
        g->Line(300, 50, 300, 150, black);
        QList<int> rows, columns;
        for (int i = 90; i <= 110; ++i) {
            if (g->Point(100, i) == black) rows << i;
            if (g->Point(300 - 100 + i, 100) == black) columns << i;
        }
        QCOMPARE(rows, covered);
        QCOMPARE(columns, covered);
    }

    void relativeEndPoint()
    {
        g->setForeColor(red);
        g->LineStep(50, 60, 40, 0);  // in ForeColor, to (90, 60)
        QCOMPARE(g->Point(50, 60), red);
        QCOMPARE(g->Point(90, 60), red);
        QCOMPARE(g->Point(93, 60), back);
        g->setDrawWidth(3);
        g->LineStep(100, 200, 60, -40, blue);
        const QImage relative = layer();
        g->Line(100, 200, 160, 160, blue);  // the same line with an absolute end point changes nothing
        QCOMPARE(layer(), relative);
    }

    void backwardsSamePixels_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QLineF>("line");
        QTest::newRow("horizontal, 2") << 2 << QLineF(40, 100, 200, 100);
        QTest::newRow("vertical, 2") << 2 << QLineF(100, 40, 100, 300);
        QTest::newRow("sloped, 3") << 3 << QLineF(35, 480, 65, 465);
        QTest::newRow("steep, 1") << 1 << QLineF(20, 20, 37, 190);
        QTest::newRow("falling, 2") << 2 << QLineF(50, 300, 250, 377);
    }
    void backwardsSamePixels()
    {
        QFETCH(int, width);
        QFETCH(QLineF, line);
        g->setDrawWidth(width);
        g->Line(line.x1(), line.y1(), line.x2(), line.y2(), blue);
        const QImage forwards = layer();
        QVERIFY(others({back}) > 0);
        g->Line(line.x2(), line.y2(), line.x1(), line.y1(), back);  // wipes every pixel
        QCOMPARE(others({back}), 0);
        g->Line(line.x2(), line.y2(), line.x1(), line.y1(), blue);
        QCOMPARE(layer(), forwards);
    }

    void clsRestoresBackground()
    {
        g->Line(0, 0, 300, 400, red);
        g->setCurrentX(10), g->setCurrentY(10), g->Print("Cls");
        g->setFillStyle(0), g->setFillColor(yellow), g->FloodFill(200, 10, red);
        QVERIFY(others({back}) > 1000);
        g->Cls();
        QCOMPARE(others({back}), 0);
    }

    void printPlacement()
    {
        g->setForeColor(blue);
        g->setCurrentX(100), g->setCurrentY(50);
        g->Print("W8");
        QCOMPARE(others({back}, 0, 0, 100, 9999), 0);  // nothing left of CurrentX
        QCOMPARE(others({back}, 0, 0, 9999, 50), 0);   // nothing above CurrentY
        QVERIFY(others({back}, 100, 50, 106, 63) > 0);  // ink in the first glyph
        QCOMPARE(others({back, blue}), 0);              // no smoothing: only exact colours
        QCOMPARE(g->CurrentX(), 0.f);                   // then on to the next line
        QVERIFY(g->CurrentY() > 60);
    }

    void printNumber()
    {
        const auto printed = [this](auto print) {
            g->Cls(), g->setCurrentX(60), g->setCurrentY(40);
            print();
            return layer();
        };
        const QImage number = printed([this] { g->PrintNumber(12); });
        QCOMPARE(number, printed([this] { g->Print(" 12 "); }));
        QVERIFY(number != printed([this] { g->Print("12"); }));  // the blank in front shows
        QCOMPARE(printed([this] { g->PrintNumber(-3); }), printed([this] { g->Print("-3 "); }));
    }

    void floodFill()
    {
        outline();
        g->Line(120, 140, 180, 140, black);  // another colour inside the region
        g->setFillStyle(0), g->setFillColor(yellow);
        g->FloodFill(150, 120, blue);
        QCOMPARE(g->Point(150, 120), yellow);
        QCOMPARE(g->Point(150, 140), yellow);  // painted over the black line
        QCOMPARE(g->Point(101, 101), yellow);  // into the corner
        QCOMPARE(g->Point(150, 100), blue);    // the border stays
        QCOMPARE(others({yellow}, 101, 101, 199, 179), 0);  // the whole inside
        QCOMPARE(others({back}, 0, 0, 9999, 99) + others({back}, 0, 181) + others({back}, 0, 0, 99)
                     + others({back}, 201),
                 0);  // nothing outside the outline
    }

    void floodFillPaintsNothing_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QPoint>("seed");
        QTest::newRow("seed on the border") << 0 << QPoint(100, 140);
        QTest::newRow("FillStyle 1") << 1 << QPoint(150, 120);
        QTest::newRow("seed outside the box") << 0 << QPoint(-1, 5);
    }
    void floodFillPaintsNothing()
    {
        QFETCH(int, style);
        QFETCH(QPoint, seed);
        outline();
        const QImage before = layer();
        g->setFillStyle(style), g->setFillColor(yellow);
        g->FloodFill(seed.x(), seed.y(), blue);
        QCOMPARE(layer(), before);
    }
};

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
