// The blackboard figure: the painting of the blocks and the grid, checked pixel
// by pixel, and dragging blocks with real mouse events on the blackboard.
#include <memory>

#include "testutil.h"

using platform::Colour;
using Figure = std::array<double, 5>;
Q_DECLARE_METATYPE(Figure)

namespace {
constexpr Colour white = 0xFFFFFF, grey = 0xC0C0C0, board = 0x008000, yellow = 0x00FFFF, black = 0;
}

class TestFigure : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1> f;

    Colour at(int x, int y) const { return f->kokuban->Point(x, y); }
    QWidget* canvas() const { return testutil::widget(f->kokuban); }
    void moveTo(QPoint p, Qt::MouseButton button)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), canvas()->mapToGlobal(QPointF(p)), Qt::NoButton, button, {});
        QApplication::sendEvent(canvas(), &move);
    }
    // Nothing is held and the three outlines stand in the tray, bottoms at y = 125.
    void outlinesInTray() const
    {
        QCOMPARE(f->tsukami, 0.0);
        QCOMPARE(QLineF(f->Line6(0).X1(), f->Line6(0).Y1(), f->Line6(2).X1(), f->Line6(2).Y1()), QLineF(350, 85, 390, 125));
        QCOMPARE(QLineF(f->Line7(0).X1(), f->Line7(0).Y1(), f->Line7(2).X1(), f->Line7(2).Y1()), QLineF(400, 45, 440, 125));
        QCOMPARE(QLineF(f->Line9(0).X1(), f->Line9(0).Y1(), f->Line9(2).X1(), f->Line9(2).Y1()), QLineF(450, 5, 490, 125));
    }

private slots:
    void init() { f = std::make_unique<Form1>(); f->Show(); }
    void cleanup() { f.reset(); }

    // Figure 1, 2, 3, 0, 1 after some steps: every pixel of the box has the colour.
    void painting_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<Colour>("colour");
        QTest::newRow("on B: slot 0 grey") << 0 << QRect(QPoint(302, 262), QPoint(328, 298)) << grey;
        QTest::newRow("on B: kind 3 grey to the top") << 0 << QRect(QPoint(382, 182), QPoint(408, 298)) << grey;
        QTest::newRow("on B: yellow top edge") << 0 << QRect(QPoint(302, 259), QPoint(338, 260)) << yellow;
        QTest::newRow("on B: empty slot") << 0 << QRect(QPoint(422, 182), QPoint(458, 298)) << board;
        QTest::newRow("one step: white strip") << 1 << QRect(QPoint(291, 262), QPoint(298, 298)) << white;
        QTest::newRow("one step: AB") << 1 << QRect(QPoint(299, 262), QPoint(300, 298)) << yellow;
        QTest::newRow("one step: grey right of AB") << 1 << QRect(QPoint(301, 262), QPoint(328, 298)) << grey;
        QTest::newRow("far end: slot 4 white") << 20 << QRect(QPoint(262, 262), QPoint(288, 298)) << white;
        QTest::newRow("far end: kind 3 white") << 20 << QRect(QPoint(182, 182), QPoint(218, 298)) << white;
    }
    void painting()
    {
        QFETCH(int, steps);
        QFETCH(QRect, box);
        QFETCH(Colour, colour);
        testutil::build(*f, {1, 2, 3, 0, 1});
        testutil::steps(*f, steps);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                QVERIFY2(at(x, y) == colour, qPrintable(QString("(%1, %2): %3").arg(x).arg(y).arg(at(x, y), 0, 16)));
    }

    // Regression: the grid must not break AB, or the two fills of a cut block run into each other.
    void cutBlockWithGrid_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::newRow("grid off") << false;
        QTest::newRow("grid on") << true;
    }
    void cutBlockWithGrid()
    {
        QFETCH(bool, grid);
        if (grid)
            testutil::click(f->Check1);
        testutil::build(*f, {3, 0, 0, 0, 0});
        for (int px = 290; px >= 270; px -= 10) {
            f->susumu_Click();
            for (int y = 190; y <= 290; y += 20) {  // rows between the grid's lines
                QCOMPARE(at(px + 5, y), white);
                QCOMPARE(at(302, y), grey);
                QCOMPARE(at(px + 35, y), grey);
            }
        }
    }

    void grid()
    {
        testutil::click(f->Check1);
        for (int y = 180; y <= 300; y += 20) {
            for (int x : {20, 301, 580})
                QCOMPARE(at(x, y), black);
            QCOMPARE(at(17, y), board);
            QCOMPARE(at(590, y), board);
        }
        for (int x = 20; x < f->kokuban->scaleWidth(); x += 20) {
            for (int y : {181, 250, 299})
                QCOMPARE(at(x, y), black);
            QCOMPARE(at(x, 176), board);
            QCOMPARE(at(x, 304), board);
        }
        QCOMPARE(at(30, 190), board);
        QCOMPARE(f->kokuban->DrawWidth(), 2);
    }

    void pickUp_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<double>("picked");
        QTest::newRow("high above block 1") << QPoint(370, 10) << 1.0;
        QTest::newRow("between blocks 1 and 2") << QPoint(395, 100) << 0.0;
        QTest::newRow("empty column") << QPoint(440, 250) << 0.0;
        QTest::newRow("column 0") << QPoint(320, 250) << 2.0;
        // Bounds are exclusive: a press exactly on an edge picks up nothing.
        QTest::newRow("tray: left edge of block 1") << QPoint(350, 100) << 0.0;
        QTest::newRow("tray: right edge of block 3") << QPoint(490, 100) << 0.0;
        QTest::newRow("tray: its lower bound y = 150") << QPoint(370, 150) << 0.0;
        QTest::newRow("column 0: left edge x = 300") << QPoint(300, 250) << 0.0;
        QTest::newRow("column 0: right edge x = 340") << QPoint(340, 250) << 0.0;
        QTest::newRow("column 0: top edge y = 180") << QPoint(320, 180) << 0.0;
        QTest::newRow("column 0: bottom edge y = 300") << QPoint(320, 300) << 0.0;
    }
    void pickUp()
    {
        QFETCH(QPoint, press);
        QFETCH(double, picked);
        testutil::build(*f, {2, 0, 0, 0, 0});
        QTest::mousePress(canvas(), Qt::LeftButton, {}, press);
        moveTo(QPoint(200, 250), Qt::LeftButton);
        QCOMPARE(f->tsukami, picked);
        QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(200, 350));
        outlinesInTray();
        QCOMPARE(f->hako, Figure({2, 0, 0, 0, 0}));
    }

    // Figure, an earlier drag, two steps, then the drag under test.
    void release_data()
    {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<QLine>("before");
        QTest::addColumn<QLine>("drag");
        QTest::addColumn<Figure>("after");
        QTest::addColumn<bool>("reset");
        const QLine none, column1To3(360, 250, 440, 250);
        QTest::newRow("tray to column 2") << Figure{} << none << QLine(420, 100, 400, 240) << Figure{0, 0, 2, 0, 0} << true;
        QTest::newRow("on the border x = 340") << Figure{1, 0, 0, 0, 0} << none << QLine(420, 100, 340, 240) << Figure{1, 0, 0, 0, 0} << true;
        QTest::newRow("column 1 to 3 copies") << Figure{0, 3, 0, 0, 0} << none << column1To3 << Figure{0, 3, 0, 3, 0} << true;
        QTest::newRow("column above the rectangle") << Figure{1, 3, 0, 0, 0} << none << QLine(360, 250, 360, 170) << Figure{1, 0, 0, 0, 0} << true;
        // Regression: a drag from the tray has no column to empty.
        QTest::newRow("tray above the rectangle") << Figure{2, 0, 0, 0, 0} << none << QLine(470, 100, 320, 150) << Figure{2, 0, 0, 0, 0} << false;
        QTest::newRow("tray above the rectangle after a column drag")
            << Figure{1, 3, 0, 0, 0} << column1To3 << QLine(370, 100, 370, 170) << Figure{1, 3, 0, 3, 0} << false;
        QTest::newRow("below the rectangle") << Figure{2, 0, 0, 0, 0} << none << QLine(420, 100, 360, 300) << Figure{2, 0, 0, 0, 0} << false;
        QTest::newRow("column released exactly on AD") << Figure{1, 3, 0, 0, 0} << none << QLine(360, 250, 360, 180) << Figure{1, 3, 0, 0, 0} << false;
        QTest::newRow("nothing picked up, released on a filled column")
            << Figure{1, 3, 0, 0, 0} << none << QLine(200, 250, 360, 250) << Figure{1, 3, 0, 0, 0} << false;
    }
    void release()
    {
        QFETCH(Figure, figure);
        QFETCH(QLine, before);
        QFETCH(QLine, drag);
        QFETCH(Figure, after);
        QFETCH(bool, reset);
        testutil::build(*f, {int(figure[0]), int(figure[1]), int(figure[2]), int(figure[3]), int(figure[4])});
        if (!before.isNull())
            testutil::drag(*f, before.p1(), before.p2());
        testutil::steps(*f, 2);
        const QImage drawing = platform::qt::layerOf(*f->kokuban).copy();
        testutil::drag(*f, drag.p1(), drag.p2());
        QCOMPARE(f->hako, after);
        outlinesInTray();
        QCOMPARE(f->px, reset ? 300.0 : 280.0);
        if (!reset)
            QVERIFY(platform::qt::layerOf(*f->kokuban) == drawing);
        for (int k = 0; reset && k < 5; ++k) {  // repainted with P on B
            QCOMPARE(at(320 + 40 * k, 298), after[k] != 0 ? grey : board);
            QCOMPARE(at(320 + 40 * k, 300 - 40 * int(after[k])), after[k] != 0 ? yellow : board);
        }
    }

    void outlineCentredOnPointer_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("height");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("block 1") << QPoint(370, 100) << 40 << Qt::LeftButton;
        QTest::newRow("block 2, right button") << QPoint(420, 100) << 80 << Qt::RightButton;
        QTest::newRow("block 3") << QPoint(470, 100) << 120 << Qt::LeftButton;
    }
    void outlineCentredOnPointer()
    {
        QFETCH(QPoint, press);
        QFETCH(int, height);
        QFETCH(Qt::MouseButton, button);
        auto& lines = height == 40 ? f->Line6 : height == 80 ? f->Line7 : f->Line9;
        QTest::mousePress(canvas(), button, {}, press);
        for (QPoint p : {QPoint(200, 250), QPoint(123, 77), QPoint(590, 390)}) {
            moveTo(p, button);
            const QLineF corners(p.x() - 20, p.y() - height / 2, p.x() + 20, p.y() + height / 2);
            QCOMPARE(QLineF(lines(0).X1(), lines(0).Y1(), lines(2).X1(), lines(2).Y1()), corners);
        }
        QTest::mouseRelease(canvas(), button, {}, QPoint(590, 390));
        outlinesInTray();
    }
};

QTEST_MAIN(TestFigure)
#include "tst_figure.moc"
