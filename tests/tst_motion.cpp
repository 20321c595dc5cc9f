// Moving P by hand: the walk to the far end and back, the step values, the
// return to the start and the red segment from B to P.
#include <memory>

#include "testutil.h"

class TestMotion : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1> f;

    QImage layer() const { return platform::qt::layerOf(*f->kokuban).copy(); }
    QString text() const { return QString::fromStdString(f->Text1->Text()); }
    QLineF segment() const
    {
        const auto& l = f->Line5(4);
        return QLineF(l.X1(), l.Y1(), l.X2(), l.Y2());
    }
    // P after k steps from B: dot, labels and distance text.
    void checkP(int k) const
    {
        const double px = 300 - 10 * k;
        QCOMPARE(f->px, px);
        QCOMPARE(text(), QString(" %1").arg(k / 2.0, 0, 'f', 1));
        QCOMPARE(f->Shape1->Left(), float(px - 4));
        QCOMPARE(f->Label4(8).Left(), float(px - 18));
        const auto& chi = f->Label4(6);  // "χcm", lower while P is within 3 cm of B
        QCOMPARE(chi.Visible(), k > 0);
        QCOMPARE(QPointF(chi.Left(), chi.Top()), QPointF((px + 310) / 2 - 22, px >= 240 ? 325 : 300));
    }

private slots:
    void init() { f = std::make_unique<Form1>(); f->Show(); }
    void cleanup() { f.reset(); }

    void walkToTheEndAndBack()
    {
        testutil::build(*f, {1, 1, 3, 0, 2});
        const std::array<std::int16_t, 22> values{0, 2, 2, 2, 2, 2, 2, 2, 2, 6, 6, 6, 6, 0, 0, 0, 0, 4, 4, 4, 4, 0};
        for (int k = 1; k <= 20; ++k) {
            f->susumu_Click();
            checkP(k);
        }
        QCOMPARE(f->zoubun, values);

        const QImage end = layer();
        f->susumu_Click();  // beyond the far end: nothing moves or is redrawn
        checkP(20);
        QVERIFY(layer() == end);
        QCOMPARE(f->zoubun, values);

        for (int k = 19; k >= 0; --k) {
            f->modoru_Click();
            checkP(k);
        }
        QCOMPARE(f->zoubun, values);  // going back stores nothing

        const QImage start = layer();
        f->modoru_Click();  // already on B
        checkP(0);
        QVERIFY(layer() == start);
    }

    void returnToStartKeepsTheFigure()
    {
        testutil::build(*f, {1, 1, 3, 0, 2});
        testutil::steps(*f, 20);
        testutil::click(f->Command2);
        QCOMPARE(f->hako, (std::array<double, 5>{1, 1, 3, 0, 2}));
        checkP(0);
        QCOMPARE(f->kokuban->Point(320, 290), platform::Colour(0xC0C0C0));  // slot 0 back right of AB
        f->susumu_Click();
        QCOMPARE(f->zoubun[1], std::int16_t(2));
    }

    void redSegment()
    {
        testutil::click(f->Check4);  // off at P on B
        QCOMPARE(segment(), QLineF(300, 800, 300, 800));
        testutil::steps(*f, 7);
        QCOMPARE(segment(), QLineF(300, 800, 300, 800));  // steps leave it parked
        testutil::click(f->Check4);
        QCOMPARE(segment(), QLineF(300, 300, 230, 300));
        testutil::click(f->Check4);
        QCOMPARE(segment(), QLineF(300, 800, 230, 800));
        f->modoru_Click();
        QCOMPARE(segment(), QLineF(300, 800, 230, 800));
        testutil::click(f->Check4);
        f->susumu_Click();
        QCOMPARE(segment(), QLineF(300, 300, 230, 300));  // follows P while ticked
        f->modoru_Click();
        QCOMPARE(segment(), QLineF(300, 300, 240, 300));  // back too
    }
};

QTEST_MAIN(TestMotion)
#include "tst_motion.moc"
