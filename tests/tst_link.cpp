// The lesson as a link: what a link's text is read as (each bad part refused
// alone), the text of a lesson read back, and a link opened in the window
// giving what the same lesson built by hand gives.
#include <QAccessible>

#include <memory>

#include "access/access.h"
#include "app/start.h"
#include "link/link.h"
#include "testutil.h"

class TestLink : public QObject {
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("figure");
        QTest::addColumn<QString>("flags");  // grid, graph, table as 0 or 1
        QTest::addColumn<int>("steps");
        QTest::addColumn<QStringList>("refused");
        QTest::newRow("the teacher's example") << "#figure=1,1,3,0,2&grid&graph&table&x=6.5" << QList<int>{1, 1, 3, 0, 2}
                                             << "111" << 13 << QStringList{};
        QTest::newRow("nothing") << "" << QList<int>{0, 0, 0, 0, 0} << "000" << 0 << QStringList{};
        QTest::newRow("flags with values, x whole, fewer columns")
            << "figure=3,2&grid=1&graph=0&x=10" << QList<int>{3, 2, 0, 0, 0} << "100" << 20 << QStringList{};
        QTest::newRow("a column of 4 and one of text, alone")
            << "figure=1,4,3,x,2&table" << QList<int>{1, 0, 3, 0, 2} << "001" << 0
            << QStringList{"figure の列2=4", "figure の列4=x"};
        QTest::newRow("x out of range, not a half, text")
            << "x=99&x=0.3&x=-1&x=abc&graph" << QList<int>{0, 0, 0, 0, 0} << "010" << 0
            << QStringList{"x=99", "x=0.3", "x=-1", "x=abc"};
        QTest::newRow("x of no digit, of two points")
            << "x=.&x=..&x=1.2.3&x=.5" << QList<int>{0, 0, 0, 0, 0} << "000" << 1 << QStringList{"x=.", "x=..", "x=1.2.3"};
        QTest::newRow("six columns, unknown words, a flag of 2")
            << "figure=1,1,1,1,1,1&colour=red&grid=2&x=2" << QList<int>{0, 0, 0, 0, 0} << "000" << 4
            << QStringList{"figure=1,1,1,1,1,1", "colour=red", "grid=2"};
    }
    void read()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, figure);
        QFETCH(QString, flags);
        QFETCH(int, steps);
        QFETCH(QStringList, refused);
        const lessonlink::Lesson l = lessonlink::read(text.toStdString());
        QCOMPARE(QList<int>(l.figure.begin(), l.figure.end()), figure);
        QCOMPARE(QString("%1%2%3").arg(int(l.grid)).arg(int(l.graph)).arg(int(l.table)), flags);
        QCOMPARE(l.steps, steps);
        QStringList got;
        for (const std::string& r : l.refused)
            got << QString::fromStdString(r);
        QCOMPARE(got, refused);
        // What is read is written back so that it reads the same.
        const lessonlink::Lesson again = lessonlink::read(lessonlink::write(l));
        QCOMPARE(again.figure, l.figure);
        QCOMPARE(again.steps, l.steps);
        QVERIFY(again.refused.empty());
    }

    // Opened in the window, a link gives the lesson built by hand: the same
    // figure, table, trace and pictures, and its own text back.
    void openedAsByHand()
    {
        Form1 byHand;
        testutil::build(byHand, {1, 1, 3, 0, 2});
        for (auto* c : {byHand.Check1, byHand.Check2, byHand.Check3})
            testutil::click(c);
        testutil::steps(byHand, 13);

        Form1 linked;
        linked.openLink(lessonlink::read("figure=1,1,3,0,2&grid&graph&table&x=6.5"));
        QCOMPARE(linked.hako, byHand.hako);
        QCOMPARE(linked.px, byHand.px);
        QCOMPARE(linked.hyoTotals(), byHand.hyoTotals());
        QCOMPARE(linked.gurafuy, byHand.gurafuy);
        for (auto box : {&Form1::kokuban, &Form1::gamen, &Form1::hyo})
            QVERIFY(platform::qt::layerOf(*(linked.*box)) == platform::qt::layerOf(*(byHand.*box)));
        QCOMPARE(QString::fromStdString(linked.linkText()), QString("figure=1,1,3,0,2&grid&graph&table&x=6.5"));
        // What a screen reader was last told is the lesson opened.
        QCOMPARE(QString::fromStdString(linked.accessTexts().status), QString("χ = 6.5 cm、y = 20 cm²"));
        QCOMPARE(linked.acc.seen.px, linked.px);
    }

    // What a page's address asks for at the start, as the desktop's options:
    // what is refused is left out, the rest taken.
    void startOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("zoom");  // 0: none
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<QString>("link");
        QTest::newRow("zoom, link and full screen") << QStringList{"--zoom", "150", "--link", "figure=1&graph", "--fullscreen"}
                                                   << 150 << true << "figure=1&graph";
        QTest::newRow("a zoom out of range") << QStringList{"--zoom", "99"} << 0 << false << "";
        QTest::newRow("an unknown option and a stray word") << QStringList{"--colour", "red", "--zoom", "200"} << 200 << false << "";
    }
    void startOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, zoom);
        QFETCH(bool, fullScreen);
        QFETCH(QString, link);
        std::vector<std::string> args;
        for (const QString& a : arguments)
            args.push_back(a.toStdString());
        const StartOptions o = readStartOptions(args);
        QCOMPARE(o.zoom.value_or(0), zoom);
        QCOMPARE(o.fullScreen, fullScreen);
        QCOMPARE(QString::fromStdString(o.link.value_or("")), link);
    }

    // A lesson linked at the start is built as by hand, and what a screen
    // reader is told follows it at once.
    void startWithLink()
    {
        Form1 f;
        StartOptions o;
        o.link = "figure=1,1,3,0,2&x=6.5";
        start(f, o);
        QCOMPARE(f.px, 170.0);
        const QString board = QAccessible::queryAccessibleInterface(platform::qt::frameOf(*f.kokuban))->text(QAccessible::Description);
        QVERIFY2(board.contains("χ = 6.5 cm") && board.contains("y = 20 cm²"), qPrintable(board));
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
