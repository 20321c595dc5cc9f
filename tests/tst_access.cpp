// The lesson without a mouse and without sight: every block move by keyboard
// and by click-then-click has exactly the effect of the same drag (compared
// with a twin window driven by the mouse), the presenter's keys drive P, keys
// that must do nothing do nothing, and the accessibility interfaces carry the
// names, roles, descriptions and change events a screen reader needs.
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include "access/access.h"
#include "testutil.h"

using Figure = std::array<double, 5>;
Q_DECLARE_METATYPE(Figure)

namespace {

QWidget* frame(platform::PictureBox* box) { return platform::qt::frameOf(*box); }

// Presses the keys of a sequence such as "Home Space 3 Space" where the focus is.
void keys(const QString& sequence)
{
    static const QHash<QString, Qt::Key> named{
        {"Left", Qt::Key_Left},         {"Right", Qt::Key_Right},   {"Home", Qt::Key_Home},
        {"End", Qt::Key_End},           {"Space", Qt::Key_Space},   {"Return", Qt::Key_Return},
        {"Escape", Qt::Key_Escape},     {"Delete", Qt::Key_Delete}, {"Backspace", Qt::Key_Backspace},
        {"PageDown", Qt::Key_PageDown}, {"PageUp", Qt::Key_PageUp}, {"F5", Qt::Key_F5},
        {"Tab", Qt::Key_Tab},           {"Backtab", Qt::Key_Backtab}};
    for (const QString& t : sequence.split(' ', Qt::SkipEmptyParts)) {
        const Qt::Key k = t.size() == 1 && t[0].isDigit() ? Qt::Key(Qt::Key_0 + t.toInt()) : named.value(t);
        QVERIFY2(k != 0, qPrintable("unknown key " + t));
        QTest::keyClick(QApplication::focusWidget(), k);
    }
}

void click(Form1& f, QPoint p) { QTest::mouseClick(testutil::widget(f.kokuban), Qt::LeftButton, {}, p); }

// Everything a drop, a removal or a step shows: the record, P, the three
// drawings and the outlines.
void sameAs(const Form1& f, const Form1& twin)
{
    QCOMPARE(f.hako, twin.hako);
    QCOMPARE(f.px, twin.px);
    QCOMPARE(f.tsukami, 0.0);
    for (auto box : {&Form1::kokuban, &Form1::hyo, &Form1::gamen})
        QVERIFY(platform::qt::layerOf(*(f.*box)) == platform::qt::layerOf(*(twin.*box)));
    for (auto group : {&Form1::Line6, &Form1::Line7, &Form1::Line9})
        for (int i = 0; i < 4; ++i)
            QCOMPARE(QLineF((f.*group)(i).X1(), (f.*group)(i).Y1(), (f.*group)(i).X2(), (f.*group)(i).Y2()),
                     QLineF((twin.*group)(i).X1(), (twin.*group)(i).Y1(), (twin.*group)(i).X2(), (twin.*group)(i).Y2()));
}

QString description(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description); }

// What the window says aloud ("values|change"), and when: the notification
// that a screen reader speaks each time it is shown.
struct Heard : QObject {
    QStringList texts;
    QList<qint64> at;
    bool eventFilter(QObject* notice, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            QAccessibleInterface* i = QAccessible::queryAccessibleInterface(notice);
            texts << i->text(QAccessible::Name) + "|" + i->text(QAccessible::Description);
            at << platform::events::monotonicMs();
        }
        return false;
    }
};

}  // namespace

class TestAccess : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1> f, twin;

    // f takes keys (the window is active and the board has the focus); the
    // twin, when the row has one, is driven by the mouse.
    void start(const Figure& figure, int stepsBefore, bool withTwin)
    {
        for (auto* form : {&f, &twin}) {
            if (form == &twin && !withTwin)
                break;
            *form = std::make_unique<Form1>();
            (*form)->Show();
            testutil::build(**form, {int(figure[0]), int(figure[1]), int(figure[2]), int(figure[3]), int(figure[4])});
            testutil::steps(**form, stepsBefore);
        }
        QWidget* window = testutil::widget(f->kokuban)->window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        frame(f->kokuban)->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), frame(f->kokuban));
    }

    // The board focused, a 6-cm block in column 1, listened to after the quiet second.
    void listen(Heard& heard)
    {
        start({3, 0, 0, 0, 0}, 0, false);
        for (QWidget* w : frame(f->kokuban)->window()->findChildren<QWidget*>())
            if (QAccessible::queryAccessibleInterface(w)->role() == QAccessible::Notification)
                w->installEventFilter(&heard);
        QTest::qWait(1100);
        heard.texts.clear(), heard.at.clear();
    }

private slots:
    void cleanup() { f.reset(), twin.reset(); }

    // Keys on the focused blackboard against the same drags by mouse.
    void keysOnly_data()
    {
        QTest::addColumn<Figure>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<QLine>>("drags");
        QTest::addColumn<Figure>("after");
        const Figure one{1, 3, 0, 0, 2};
        for (int kind = 1; kind <= 3; ++kind)
            for (int column = 1; column <= 5; ++column) {
                Figure after = one;
                after[column - 1] = kind;
                QTest::addRow("tray %d cm into column %d", 2 * kind, column)
                    << one << "Home " + QString("Right ").repeated(kind - 1) + QString("Space %1 Space").arg(column)
                    << QList<QLine>{{370 + 50 * (kind - 1), 100, 280 + 40 * column, 240}} << after;
            }
        QTest::newRow("Enter picks up and puts down") << one << "Right Return 4 Return" << QList<QLine>{{420, 100, 440, 240}} << Figure{1, 3, 0, 2, 2};
        QTest::newRow("copy column 2 to 4") << one << "2 Space Right Right Space" << QList<QLine>{{360, 240, 440, 240}} << Figure{1, 3, 0, 3, 2};
        QTest::newRow("Delete takes column 2 out") << one << "2 Delete" << QList<QLine>{{360, 240, 360, 100}} << Figure{1, 0, 0, 0, 2};
        QTest::newRow("Backspace takes column 5 out") << one << "End Backspace" << QList<QLine>{{480, 240, 480, 100}} << Figure{1, 3, 0, 0, 0};
        QTest::newRow("put down on the tray: taken out") << one << "2 Space Home Space" << QList<QLine>{{360, 240, 370, 105}} << Figure{1, 0, 0, 0, 2};
        QTest::newRow("tray block back onto the tray: nothing") << one << "Right Right Space Home Space" << QList<QLine>{{470, 65, 370, 105}} << one;
        QTest::newRow("Escape while holding: nothing") << one << "Space 3 Escape" << QList<QLine>{{370, 105, 400, 320}} << one;
        QTest::newRow("arrows stop at the ends") << one << "Left Left Space End Right Space" << QList<QLine>{{370, 100, 480, 240}} << Figure{1, 3, 0, 0, 1};
        QTest::newRow("empty column: nothing to hold or take") << one << "3 Space 4 Space 3 Delete" << QList<QLine>{} << one;
        QTest::newRow("0 and 6 to 9 are no columns") << one << "End 0 6 9 Delete" << QList<QLine>{{480, 240, 480, 100}} << Figure{1, 3, 0, 0, 0};
        QTest::newRow("Delete and Backspace on the tray: nothing") << one << "Home Delete Right Backspace Right Delete" << QList<QLine>{} << one;
    }
    void keysOnly()
    {
        QFETCH(Figure, before);
        QFETCH(QString, keys);
        QFETCH(QList<QLine>, drags);
        QFETCH(Figure, after);
        start(before, 3, true);
        for (const QLine& d : drags)
            testutil::drag(*twin, d.p1(), d.p2());
        ::keys(keys);
        QCOMPARE(f->hako, after);
        sameAs(*f, *twin);
    }

    // Click, then click, against the same drags.
    void clickThenClick_data()
    {
        QTest::addColumn<Figure>("before");
        QTest::addColumn<QList<QPoint>>("clicks");  // (0, 0): Escape instead
        QTest::addColumn<QList<QLine>>("drags");
        QTest::addColumn<Figure>("after");
        const Figure one{1, 3, 0, 0, 0};
        QTest::newRow("tray 2 cm into column 3") << one << QList<QPoint>{{370, 100}, {400, 240}} << QList<QLine>{{370, 100, 400, 240}} << Figure{1, 3, 1, 0, 0};
        QTest::newRow("tray 4 cm into column 4") << one << QList<QPoint>{{420, 10}, {440, 290}} << QList<QLine>{{420, 10, 440, 290}} << Figure{1, 3, 0, 2, 0};
        QTest::newRow("tray 6 cm into column 1") << one << QList<QPoint>{{470, 140}, {305, 185}} << QList<QLine>{{470, 140, 305, 185}} << Figure{3, 3, 0, 0, 0};
        QTest::newRow("column 2 copied to 5") << one << QList<QPoint>{{360, 240}, {480, 200}} << QList<QLine>{{360, 240, 480, 200}} << Figure{1, 3, 0, 0, 3};
        QTest::newRow("column 2 taken out by a click in the tray") << one << QList<QPoint>{{360, 240}, {200, 100}} << QList<QLine>{{360, 240, 200, 100}} << Figure{1, 0, 0, 0, 0};
        QTest::newRow("column 2 taken out by a click below") << one << QList<QPoint>{{360, 240}, {360, 350}} << QList<QLine>{{360, 240, 360, 100}} << Figure{1, 0, 0, 0, 0};
        QTest::newRow("cancelled by a click elsewhere") << one << QList<QPoint>{{420, 100}, {50, 350}, {440, 240}} << QList<QLine>{} << one;
        QTest::newRow("cancelled by Escape") << one << QList<QPoint>{{420, 100}, {0, 0}, {440, 240}} << QList<QLine>{} << one;
        QTest::newRow("cancelled on a column border") << one << QList<QPoint>{{420, 100}, {340, 240}, {440, 240}} << QList<QLine>{} << one;
        QTest::newRow("cancelled by the same block") << one << QList<QPoint>{{420, 100}, {420, 100}, {440, 240}} << QList<QLine>{} << one;
        QTest::newRow("tray block outside the rectangle: cancelled") << one << QList<QPoint>{{420, 100}, {200, 100}, {440, 240}} << QList<QLine>{} << one;
    }
    void clickThenClick()
    {
        QFETCH(Figure, before);
        QFETCH(QList<QPoint>, clicks);
        QFETCH(QList<QLine>, drags);
        QFETCH(Figure, after);
        start(before, 2, true);
        for (const QLine& d : drags)
            testutil::drag(*twin, d.p1(), d.p2());
        if (drags.isEmpty())  // a click on a filled column sends P back, as before
            for (QPoint p : clicks)
                if (a11y::placeAt(p.x(), p.y()) >= a11y::kFirstColumn && twin->hako[(p.x() - 300) / 40] != 0)
                    click(*twin, p);
        for (QPoint p : clicks)
            p.isNull() ? keys("Escape") : click(*f, p);
        QCOMPARE(f->hako, after);
        QCOMPARE(f->acc.selected, -1);
        sameAs(*f, *twin);
    }

    // A press with a block selected that moves on is a drag as before.
    void dragWhileSelected()
    {
        start({}, 0, false);
        click(*f, {370, 100});
        testutil::drag(*f, {420, 100}, {440, 240});
        QCOMPARE(f->hako, Figure({0, 0, 0, 2, 0}));
        QCOMPARE(f->acc.selected, -1);
    }

    // The selected outline is highlighted; the cursor frame shows only once
    // the keyboard is used, and a mouse press hides it. At any zoom.
    void marks_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }
    void marks()
    {
        QFETCH(double, zoom);
        start({}, 0, false);
        f->window->setZoom(zoom);
        QWidget* canvas = testutil::widget(f->kokuban);
        auto colour = [&](QPoint p) { return canvas->grab().toImage().pixelColor(p * zoom); };
        auto click = [&](QPoint p) { QTest::mouseClick(canvas, Qt::LeftButton, {}, p * zoom); };
        const QPoint cursorFrame(345, 100), selectedEdge(400, 60);
        QCOMPARE(colour(cursorFrame), QColor(0, 0x40, 0));  // focus given by the program, not by the keyboard
        keys("Right Left");
        QCOMPARE(colour(cursorFrame), QColor(Qt::white));
        keys("Right Right");  // the frame around the 6-cm block, as tall as it
        QCOMPARE(colour({446, 10}), QColor(Qt::white));
        QCOMPARE(colour({446, 124}), QColor(Qt::white));
        keys("Home");
        click({420, 100});
        QCOMPARE(colour(selectedEdge), QColor(Qt::cyan));
        QCOMPARE(colour(cursorFrame), QColor(0, 0x40, 0));
        keys("Escape");
        QCOMPARE(colour(selectedEdge), QColor(Qt::yellow));
    }

    // A whole lesson by keys alone: Tab through the controls in their order,
    // switch graph and table on, build the figure, walk P to the far end and
    // back, run it with F5 and stop it with Escape.
    void lessonByKeys()
    {
        start({}, 0, false);
        // The graph and the table, not shown, are passed over.
        QList<QWidget*> order{testutil::widget(f->end), platform::qt::widgetOf(*f->Combo1),
                              testutil::widget(f->Check2), frame(f->kokuban), testutil::widget(f->susumu),
                              testutil::widget(f->modoru), testutil::widget(f->jidou), testutil::widget(f->Check3),
                              testutil::widget(f->Check1), testutil::widget(f->Command1),
                              testutil::widget(f->Check4), platform::qt::widgetOf(*f->Text1), testutil::widget(f->Command2)};
        order.first()->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            keys("Tab");
            QCOMPARE(QApplication::focusWidget(), order[i]);  // "ストップ" is disabled: passed over
        }
        for (int i = order.size() - 2; i >= 0; --i) {
            keys("Backtab");
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
        keys("Tab Tab Space Tab");  // from 終了: グラフ on, to the board
        keys("Home Space 1 Space Home Space 2 Space Home Right Right Space 3 Space Home Right Space 5 Space");
        QCOMPARE(f->hako, Figure({1, 1, 3, 0, 2}));
        keys("Tab Tab Tab Tab Space");  // 表 on
        QCOMPARE(f->Check2->Value() + f->Check3->Value(), 2);
        for (int i = 0; i < 21; ++i)
            keys("PageDown");
        QCOMPARE(f->px, 100.0);
        QCOMPARE(f->hyoy, 28.0);
        QCOMPARE(f->gurafuy, 28.0);
        for (int i = 0; i < 21; ++i)
            keys("PageUp");
        QCOMPARE(f->px, 300.0);
        QCOMPARE(f->hyoy, 0.0);
        QCOMPARE(f->gurafuy, 0.0);

        // The run: keys of disabled buttons do nothing in its pauses; Escape stops it.
        f->Combo1->setText("20");
        QList<double> unmoved;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (f->px == 270 && unmoved.isEmpty())
                for (const char* key : {"PageDown", "PageUp", "F5"})
                    keys(key), unmoved << f->px;
            if (f->px == 250 && f->hashiru && f->teishi == 0)
                keys("Escape");
        });
        look.start(5);
        keys("F5");  // returns when the run has ended
        QCOMPARE(unmoved, QList<double>({270, 270, 270}));
        QCOMPARE(f->px, 250.0);
        QVERIFY(!f->hashiru && f->jidou->Enabled() && !f->tomeru->Enabled());
    }

    // Keys that must do nothing where they are pressed.
    void keysDoingNothing_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("focus");  // 0 board, 1 pace box, 2 出す
        QTest::addColumn<QString>("keys");
        QTest::newRow("PageDown at the far end") << 20 << 0 << "PageDown";
        QTest::newRow("PageUp on B") << 0 << 0 << "PageUp";
        QTest::newRow("PageDown in the pace box") << 4 << 1 << "PageDown";
        QTest::newRow("PageUp in the pace box") << 4 << 1 << "PageUp";
        QTest::newRow("F5 in the pace box") << 4 << 1 << "F5";
        QTest::newRow("board keys away from the board") << 4 << 2 << "3 Delete Right Home";
        QTest::newRow("Escape with nothing held") << 4 << 0 << "Escape";
    }
    void keysDoingNothing()
    {
        QFETCH(int, steps);
        QFETCH(int, focus);
        QFETCH(QString, keys);
        start({2, 2, 2, 2, 2}, steps, false);
        QWidget* target = focus == 0 ? frame(f->kokuban)
                        : focus == 1 ? static_cast<QWidget*>(static_cast<QComboBox*>(platform::qt::widgetOf(*f->Combo1))->lineEdit())
                                     : testutil::widget(f->susumu);
        target->setFocus();
        const QImage board = platform::qt::layerOf(*f->kokuban).copy();
        const QString told = description(frame(f->kokuban)) + description(target);
        ::keys(keys);
        QCOMPARE(f->px, 300.0 - 10 * steps);
        QCOMPARE(f->hako, Figure({2, 2, 2, 2, 2}));
        QCOMPARE(f->acc.cursor, 0);
        QVERIFY(!f->hashiru);
        QVERIFY(platform::qt::layerOf(*f->kokuban) == board);
        QCOMPARE(description(frame(f->kokuban)) + description(target), told);
    }

    // Regression: a key sent straight to a control that has not the focus
    // (as the tests type into the pace box) is that control's key, not the
    // focused blackboard's.
    void keyToAnotherControl()
    {
        start({}, 0, false);
        QLineEdit* pace = static_cast<QComboBox*>(platform::qt::widgetOf(*f->Combo1))->lineEdit();
        QTest::keyClick(pace, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pace, "2");
        QCOMPARE(f->Combo1->Text(), std::string("2"));
        QCOMPARE(f->acc.cursor, 0);
    }

    // Names a screen reader speaks and roles, of every control.
    void interfaces_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        const QStringList names{"初期画面", "最初に", "出す", "戻す", "自動", "ストップ", "終了", "方眼", "グラフ", "表",
                                "BからPまでの線分", "速度", "点Pが動いた距離", "黒板", "表", "グラフ"};
        const QList<QAccessible::Role> roles{
            QAccessible::Button, QAccessible::Button, QAccessible::Button, QAccessible::Button, QAccessible::Button,
            QAccessible::Button, QAccessible::Button, QAccessible::CheckBox, QAccessible::CheckBox,
            QAccessible::CheckBox, QAccessible::CheckBox, QAccessible::ComboBox, QAccessible::EditableText,
            QAccessible::Canvas, QAccessible::Graphic, QAccessible::Chart};
        for (int i = 0; i < names.size(); ++i)
            QTest::addRow("%s", qPrintable(names[i])) << i << names[i] << int(roles[i]);
    }
    void interfaces()
    {
        QFETCH(int, control);
        QFETCH(QString, name);
        QFETCH(int, role);
        start({}, 0, false);
        const QList<QWidget*> widgets{
            testutil::widget(f->Command1), testutil::widget(f->Command2), testutil::widget(f->susumu),
            testutil::widget(f->modoru), testutil::widget(f->jidou), testutil::widget(f->tomeru),
            testutil::widget(f->end), testutil::widget(f->Check1), testutil::widget(f->Check2),
            testutil::widget(f->Check3), testutil::widget(f->Check4), platform::qt::widgetOf(*f->Combo1),
            platform::qt::widgetOf(*f->Text1), frame(f->kokuban), frame(f->hyo), frame(f->gamen)};
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widgets[control]);
        QCOMPARE(iface->text(QAccessible::Name), name);
        if (iface->focusChild())  // the pace box's line edit, where the focus goes
            QCOMPARE(iface->focusChild()->text(QAccessible::Name), name);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Description).isEmpty(), control < 13);
    }

    // The descriptions, from the state record: blocks, χ, the area passed
    // (also at half centimetres), the table's columns and the graph's corners.
    void texts_data()
    {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QStringList>("texts");  // board, table, graph (graph and table on)
        QTest::newRow("start") << Figure{} << 0 << QStringList{
            "長方形にブロックはありません。点Pは χ = 0.0 cm、ABを過ぎた面積は y = 0 cm²。",
            "χ = 0 cm のとき、y = 0 cm²。", "点 (0, 0) だけです。"};
        QTest::newRow("χ = 3.5") << Figure{1, 1, 3, 0, 2} << 7 << QStringList{
            "列1から列5のブロック: 2 cm、2 cm、6 cm、空き、4 cm。点Pは χ = 3.5 cm、ABを過ぎた面積は y = 7 cm²。",
            "χ = 0、1、2、3 cm のとき、y = 0、2、4、6 cm²。", "折れ線 (0, 0)、(3.5, 7)。"};
        QTest::newRow("far end") << Figure{1, 1, 3, 0, 2} << 20 << QStringList{
            "列1から列5のブロック: 2 cm、2 cm、6 cm、空き、4 cm。点Pは χ = 10.0 cm、ABを過ぎた面積は y = 28 cm²。",
            "χ = 0、1、2、3、4、5、6、7、8、9、10 cm のとき、y = 0、2、4、6、8、14、20、20、20、24、28 cm²。",
            "折れ線 (0, 0)、(4, 8)、(6, 20)、(8, 20)、(10, 28)。"};
        QTest::newRow("half a centimetre into a 6-cm block") << Figure{3, 0, 0, 0, 0} << 1 << QStringList{
            "列1から列5のブロック: 6 cm、空き、空き、空き、空き。点Pは χ = 0.5 cm、ABを過ぎた面積は y = 3 cm²。",
            "χ = 0 cm のとき、y = 0 cm²。", "折れ線 (0, 0)、(0.5, 3)。"};
    }
    void texts()
    {
        QFETCH(Figure, figure);
        QFETCH(int, steps);
        QFETCH(QStringList, texts);
        start({}, 0, false);
        f->Check2->setValue(1);
        f->Check3->setValue(1);
        testutil::build(*f, {int(figure[0]), int(figure[1]), int(figure[2]), int(figure[3]), int(figure[4])});
        keys(QString("PageDown ").repeated(steps));
        QCOMPARE(QStringList({description(frame(f->kokuban)), description(frame(f->hyo)), description(frame(f->gamen))}), texts);
        f->Check2->setValue(0);
        f->Check3->setValue(0);
        keys("Right");
        QCOMPARE(description(frame(f->hyo)), "表は隠れています。「表」にチェックを入れると出ます。");
        QCOMPARE(description(frame(f->gamen)), "グラフは隠れています。「グラフ」にチェックを入れると出ます。");
    }

    // After a step, a drop, a removal, a return and a cursor move, the focused
    // control's description tells what changed. (That the change is sent to
    // the screen reader is checked over the accessibility bus by
    // e2e_screen_reader.sh: on the offscreen platform the toolkit sends none.)
    void changeEvents_data()
    {
        QTest::addColumn<int>("focus");  // 0 board, 1 出す, 2 最初に
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("told");
        const QString board = "列1から列5のブロック: 空き、空き、空き、空き、4 cm。";
        QTest::newRow("step by PageDown") << 0 << "PageDown" << board + "点Pは χ = 2.5 cm、ABを過ぎた面積は y = 0 cm²。";
        QTest::newRow("step by 出す") << 1 << "Space" << "χ = 2.5 cm、y = 0 cm²";
        QTest::newRow("drop by keys") << 0 << "Space 1 Space"
            << "列1に2 cmのブロックを置きました。列1から列5のブロック: 2 cm、空き、空き、空き、4 cm。点Pは χ = 0.0 cm、ABを過ぎた面積は y = 0 cm²。";
        QTest::newRow("removal by keys") << 0 << "5 Delete" << "列5のブロックを取り出しました。長方形にブロックはありません。点Pは χ = 0.0 cm、ABを過ぎた面積は y = 0 cm²。";
        QTest::newRow("return by 最初に") << 2 << "Space" << "χ = 0.0 cm、y = 0 cm²、点Pを最初に戻しました";
        QTest::newRow("pick up") << 0 << "Right Right Space" << "6 cmのブロックを持ちました。" + board + "点Pは χ = 2.0 cm、ABを過ぎた面積は y = 0 cm²。";
        QTest::newRow("cursor") << 0 << "End" << "列5、4 cmのブロック。" + board + "点Pは χ = 2.0 cm、ABを過ぎた面積は y = 0 cm²。";
    }
    void changeEvents()
    {
        QFETCH(int, focus);
        QFETCH(QString, keys);
        QFETCH(QString, told);
        start({0, 0, 0, 0, 2}, 4, false);
        QWidget* w = focus == 0 ? frame(f->kokuban) : testutil::widget(focus == 1 ? f->susumu : f->Command2);
        w->setFocus();
        QVERIFY(description(w) != told);
        ::keys(keys);
        QCOMPARE(description(w), told);
    }

    // What is said aloud after the keys, at once and once the second since
    // the last announcement is over: values first, in words.
    void announcements_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("atOnce");
        QTest::addColumn<QStringList>("inTheEnd");
        const QString start = "カイ 0 センチメートル、ワイ 0 へいほうセンチメートル|";
        const QString step = "カイ 0てん5 センチメートル、ワイ 3 へいほうセンチメートル|";
        QTest::newRow("three changes within a second: the latest when it is over") << "Space 2 Space"
            << QStringList{start + "2センチメートルのブロックを持ちました"}
            << QStringList{start + "2センチメートルのブロックを持ちました", start + "列2に2センチメートルのブロックを置きました"};
        QTest::newRow("back to what was said last: not again") << "Right Right Left"
            << QStringList{start + "トレイの4センチメートルのブロック"} << QStringList{start + "トレイの4センチメートルのブロック"};
        QTest::newRow("a focus move: quiet, then a second for the control reached") << "Tab Space"
            << QStringList{} << QStringList{step};
    }
    void announcements()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, atOnce);
        QFETCH(QStringList, inTheEnd);
        Heard heard;
        listen(heard);
        ::keys(keys);
        QCOMPARE(heard.texts, atOnce);
        QTest::qWait(1200);
        QCOMPARE(heard.texts, inTheEnd);
    }

    // An automatic run is said at most once a second; its end is told when P
    // reaches the far end and said once, with the final values.
    void runAnnounced()
    {
        Heard heard;
        listen(heard);
        f->Combo1->setText("20");  // 100 ms a step: 2 s for the run
        QString atFarEnd;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] { atFarEnd = f->px == 100 && f->hashiru ? description(frame(f->kokuban)) : atFarEnd; });
        look.start(5);
        keys("F5");  // returns when the run has ended
        QTest::qWait(1200);
        QVERIFY2(atFarEnd.startsWith("自動が止まりました。"), qPrintable(atFarEnd));
        for (int i = 1; i < heard.at.size(); ++i)
            QVERIFY(heard.at[i] - heard.at[i - 1] >= 990);
        QCOMPARE(heard.texts.filter("カイ 10 "), QStringList{"カイ 10 センチメートル、ワイ 12 へいほうセンチメートル|自動が止まりました"});
    }

    // Small check boxes toggle from around their box, the others from their caption.
    void hitAreas_data()
    {
        QTest::addColumn<int>("box");  // 1..4
        QTest::addColumn<QPoint>("at");  // in the check box's parent
        QTest::addColumn<bool>("toggles");
        QTest::addColumn<double>("zoom");
        QTest::newRow("方眼: its caption") << 1 << QPoint(430, 37) << true << 1.0;
        QTest::newRow("グラフ: its caption") << 2 << QPoint(560, 525) << true << 1.0;
        QTest::newRow("線分: 3 pixels left of the box") << 4 << QPoint(237, 376) << true << 1.0;
        QTest::newRow("線分: 3 pixels below the box") << 4 << QPoint(248, 387) << true << 1.0;
        QTest::newRow("線分: 3 pixels below the box at 250 %") << 4 << QPoint(248, 387) << true << 2.5;
        QTest::newRow("線分: 8 pixels left of the box") << 4 << QPoint(232, 376) << false << 1.0;
    }
    void hitAreas()
    {
        QFETCH(int, box);
        QFETCH(QPoint, at);
        QFETCH(bool, toggles);
        QFETCH(double, zoom);
        start({}, 0, false);
        f->window->setZoom(zoom);
        at *= zoom;
        platform::CheckBox* c = std::array{f->Check1, f->Check2, f->Check3, f->Check4}[box - 1];
        QWidget* parent = testutil::widget(c)->parentWidget();
        QWidget* under = parent->childAt(at) ? parent->childAt(at) : parent;
        const int before = c->Value();
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(parent, at));
        QCOMPARE(c->Value() != before, toggles);
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
