// The automatic run: its steps, its pace from any text, "ストップ", the
// buttons while it runs, and the window closing under it.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <limits>

#include "testutil.h"

using testutil::click;

namespace {
// Which of 出す, 戻す, 初期画面, 自動 and ストップ are enabled.
QString enabled(const Form1& f)
{
    QString s;
    for (auto* b : {f.susumu, f.modoru, f.Command1, f.jidou, f.tomeru})
        s += b->Enabled() ? '1' : '0';
    return s;
}
const QString idle = "11110", running = "00001";

QList<int> from(int first, int last)  // P's positions, first to last in steps of 10
{
    QList<int> r;
    for (int x = first; x >= last; x -= 10)
        r << x;
    return r;
}

// What a fast timer saw during one run: the positions P took, the button
// states, and how many looks came while a stop was asked for or after the
// window was closed (the pause went on then). `act` runs at the looks with P
// at `actAt` until it returns true.
struct Run {
    QList<int> seen;
    QStringList states;
    int looksAfterEnd = 0;
    bool rescued = false;
};

Run runWatched(Form1& f, int actAt = 0, const std::function<bool()>& act = {})
{
    Run r;
    bool acted = false;
    QTimer look;
    look.setTimerType(Qt::PreciseTimer);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (r.seen.isEmpty() || r.seen.last() != f.px)
            r.seen << static_cast<int>(f.px);
        if (!r.states.contains(enabled(f)))
            r.states << enabled(f);
        r.looksAfterEnd += f.teishi != 0 || !f.window->alive();
        if (f.px == actAt && act && !acted) {
            acted = act();
            if (r.seen.last() != f.px)  // P's place right after the action, before any slow repaint
                r.seen << static_cast<int>(f.px);
        }
    });
    look.start(5);
    // A run that does not end is a failure, not a hang: close the window under it.
    QTimer::singleShot(30000, &look, [&] { r.rescued = testutil::widget(f.kokuban)->window()->close(); });
    click(f.jidou);  // returns when the run has ended
    return r;
}
}  // namespace

class TestAutorun : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1> f;

private slots:
    void init()
    {
        f = std::make_unique<Form1>();
        f->Show();
    }
    void cleanup() { f.reset(); }

    // Runs to the far end, with whatever the pupil does during the pauses.
    void runsToTheEnd_data()
    {
        QTest::addColumn<int>("stepsBefore");
        QTest::addColumn<QString>("pace");
        QTest::addColumn<int>("action");
        QTest::addColumn<QList<int>>("seen");  // empty: no event was handled during the run
        QTest::newRow("from the start, no pause") << 0 << " 0" << 0 << QList<int>{};
        QTest::newRow("from the start") << 0 << "10" << 0 << from(290, 100);
        QTest::newRow("from 4.0 the remaining 12") << 8 << "10" << 0 << from(210, 100);
        QTest::newRow("from the far end: back to the start") << 20 << "10" << 0 << from(290, 100);
        QTest::newRow("12.5: a pause") << 0 << "12.5" << 0 << from(290, 100);
        QTest::newRow("no number") << 0 << "abc" << 0 << QList<int>{};
        QTest::newRow("empty") << 0 << "" << 0 << QList<int>{};
        QTest::newRow("negative") << 0 << "-5" << 0 << QList<int>{};
        QTest::newRow("最初に: on from the start") << 0 << "20" << 1 << from(290, 250) + from(300, 100);
        QTest::newRow("block dropped: on from the start") << 0 << "20" << 2 << from(290, 250) + from(300, 100);
        QTest::newRow("a second run asked for") << 0 << "10" << 3 << from(290, 100);
        QTest::newRow("check boxes ticked") << 0 << "10" << 4 << from(290, 100);
    }
    void runsToTheEnd()
    {
        QFETCH(int, stepsBefore);
        QFETCH(QString, pace);
        QFETCH(int, action);
        QFETCH(QList<int>, seen);
        Form1& g = *f;
        testutil::steps(g, stepsBefore);
        g.Combo1->setText(pace.toStdString());
        const Run r = runWatched(g, 250, [&] {
            if (action == 1) click(g.Command2);
            if (action == 2) testutil::dropBlock(g, 3, 1);
            if (action == 3) g.jidou_Click();  // as if a click on the disabled button got through
            if (action == 4) for (auto* c : {g.Check1, g.Check2, g.Check3, g.Check4}) click(c);
            return true;
        });
        QCOMPARE(r.seen, seen);
        QCOMPARE(r.states, seen.isEmpty() ? QStringList{} : QStringList{running});
        QCOMPARE(g.px, 100.0);
        QCOMPARE(enabled(g), idle);
        QCOMPARE(g.teishi, std::int16_t(0));
    }

    // "ストップ" (or closing the window) during the k-th pause: that pause ends
    // at once and P makes no further step. Texts too large for a count of
    // milliseconds give the longest pause, which ends all the same. Each of
    // the k - 1 pauses before lasted at least five times the pace in ms.
    void stop_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("pace");
        QTest::addColumn<int>("looksFirst");  // into the pause before acting
        QTest::addColumn<bool>("close");
        QTest::addColumn<qint64>("pauseMs");
        for (int k : {1, 7, 19, 20})
            QTest::addRow("pause %d", k) << k << "20" << 0 << false << qint64(100);
        constexpr qint64 longest = std::numeric_limits<std::int32_t>::max();
        QTest::newRow("99999999999") << 1 << "99999999999" << 60 << false << longest;
        QTest::newRow("1e400") << 1 << "1e400" << 60 << false << longest;
        QTest::newRow("window closed") << 3 << "200" << 0 << true << qint64(1000);
        QTest::newRow("pause 3 at 12.5: 62 ms") << 3 << "12.5" << 0 << false << qint64(62);
        QTest::newRow("pause 2 at the start value 50: 250 ms") << 2 << "50" << 0 << false << qint64(250);
        QTest::newRow("pause 3 at a full-width １０: 50 ms") << 3 << "１０" << 0 << false << qint64(50);
    }
    void stop()
    {
        QFETCH(int, k);
        QFETCH(QString, pace);
        QFETCH(int, looksFirst);
        QFETCH(bool, close);
        QFETCH(qint64, pauseMs);
        Form1& g = *f;
        g.Combo1->setText(pace.toStdString());
        QElapsedTimer clock;  // monotonic
        clock.start();
        const Run r = runWatched(g, 300 - 10 * k, [&] {
            if (looksFirst-- > 0)
                return false;
            if (close)
                return testutil::widget(g.kokuban)->window()->close();
            click(g.tomeru);
            click(g.jidou);  // at once again: no second run starts
            return true;
        });
        QVERIFY(!r.rescued);
        QVERIFY2(clock.elapsed() >= (k - 1) * pauseMs, qPrintable(QString("%1 ms").arg(clock.elapsed())));
        QCOMPARE(r.seen, from(290, 300 - 10 * k));
        QCOMPARE(r.states, QStringList{running});
        QCOMPARE(r.looksAfterEnd, 0);
        QCOMPARE(g.px, 300.0 - 10 * k);
        QCOMPARE(g.window->alive(), !close);
        if (!close)
            QCOMPARE(enabled(g), idle);
        QCOMPARE(g.teishi, std::int16_t(0));
    }

    // A pause of no time returns at once, without handling any event.
    void matsuWithoutTime_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("0") << 0;
        QTest::newRow("-5") << -5;
        QTest::newRow("1 ms handles events") << 1;
    }
    void matsuWithoutTime()
    {
        QFETCH(int, ms);
        bool handled = false;
        QTimer::singleShot(0, testutil::widget(f->kokuban), [&] { handled = true; });
        f->matsu(ms);
        QCOMPARE(handled, ms > 0);
        QTRY_VERIFY(handled);
    }
};

QTEST_MAIN(TestAutorun)
#include "tst_autorun.moc"
