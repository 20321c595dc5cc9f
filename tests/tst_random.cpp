// Random use of the whole window, as a class of pupils uses it: every button and check box clicked (disabled
// ones too), the mouse pressed, dragged and released anywhere on and around the blackboard with any button, any
// text typed, and automatic runs with actions during their pauses. After every action the state record, the
// controls and sampled pixels of the blackboard must agree, and the table's total and the trace's last point
// must give the area worked out from the figure's geometry alone. KANSU_SEED replays a sequence (only the timing of
// the actions inside runs may differ); KANSU_ACTIONS sets the number of actions. Mouse buttons are logged as
// 1 left, 2 right, 4 middle.
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "testutil.h"

namespace {

std::string num(double v) { return QString::number(v).toStdString(); }
std::string at(QPoint p) { return " at (" + num(p.x()) + ", " + num(p.y()) + ")"; }

// The answer key: the area (cm²) that has passed AB when P has moved chi cm, from the figure alone. Column k is
// a block 2·kind cm high over the figure's [2k, 2k + 2] cm, of which the part within the first chi cm has passed.
double areaPassed(const Form1& f, double chi)
{
    double area = 0;
    for (int k = 0; k < 5; ++k)
        area += 2 * f.hako[k] * std::clamp(chi - 2 * k, 0.0, 2.0);
    return area;
}

// What must hold between any two actions; empty when everything agrees.
std::string broken(const Form1& f)
{
    const double px = f.px, chi = (300 - px) / 20;
    if (px < 100 || px > 300 || std::fmod(px, 10) != 0)
        return "px = " + num(px);
    if (f.Text1->Text() != kyoriText(chi) || f.Label4(8).Left() != px - 18 || f.Shape1->Left() != px - 4 ||
        f.Label4(6).Visible() != (px < 300))
        return "Text1 '" + f.Text1->Text() + "', P's dot or labels do not follow px";
    double area = 0, total = 0;  // of the graph trace; of the table, whole centimetres only
    for (int k = 1; k <= (300 - px) / 10; ++k) {
        if (f.zoubun[k] != 2 * f.hako[(k - 1) / 4])
            return "zoubun(" + num(k) + ") = " + num(f.zoubun[k]) + " but the slot holds " + num(f.hako[(k - 1) / 4]);
        area += f.zoubun[k] / 2.0;
        total += k % 2 == 0 ? f.zoubun[k] : 0;
    }
    if (f.zoubun[0] != 0 || f.zoubun[21] != 0)
        return "zoubun(0) or zoubun(21) written";
    if (f.gurafuy != area || f.gx != 35 + 30 * chi || f.gy != 480 - 7.5 * area)
        return "graph at (" + num(f.gx) + ", " + num(f.gy) + "), area " + num(f.gurafuy) + ", steps give " + num(area);
    if (f.Check3->Value() != 0 && f.hyoy != total)
        return "table total " + num(f.hyoy) + ", steps give " + num(total);
    // The table shows the area at the last whole centimetre reached.
    if (const double whole = std::floor(chi); f.Check3->Value() != 0 && f.hyoy != areaPassed(f, whole))
        return "table total " + num(f.hyoy) + ", the figure gives " + num(areaPassed(f, whole)) + " at " + num(whole);
    if (const double y = areaPassed(f, chi); f.gx != 35 + 30 * chi || f.gy != 480 - 7.5 * y)
        return "trace ends at (" + num(f.gx) + ", " + num(f.gy) + "), the figure gives area " + num(y);
    for (double v : {f.hako[0], f.hako[1], f.hako[2], f.hako[3], f.hako[4], f.tsukami})
        if (v != 0 && v != 1 && v != 2 && v != 3)
            return "block kind " + num(v);
    const bool run = f.hashiru;
    if (f.susumu->Enabled() == run || f.modoru->Enabled() == run || f.Command1->Enabled() == run ||
        f.jidou->Enabled() == run || f.tomeru->Enabled() != run || !f.Command2->Enabled() || !f.end->Enabled())
        return std::string("buttons do not show ") + (run ? "a run" : "idle");
    if (!run && f.teishi != 0)
        return "stop request left after the run";
    const platform::ControlArray<platform::LineControl>* groups[] = {&f.Line6, &f.Line7, &f.Line9};
    for (int g = 0; g < 3 && f.tsukami == 0; ++g) {
        const auto &top = (*groups[g])(0), &bottom = (*groups[g])(2);
        if (top.X1() != 350 + 50 * g || top.Y1() != 85 - 40 * g || top.X2() != 390 + 50 * g || bottom.Y1() != 125)
            return "outline " + num(g + 1) + " not in the tray after the drag";
    }
    // The painting: light grey right of AB, white left of it, the board's green in empty slots. x ends in 5 and
    // y is 295, so no grid line, outline or AB covers the sample.
    for (int i = 0; i < 5; ++i)
        for (int x : {static_cast<int>(px) + 40 * i + 5, static_cast<int>(px) + 40 * i + 35}) {
            const platform::Colour want = f.hako[i] == 0 ? 0x008000 : x < 300 ? 0xFFFFFF : 0xC0C0C0;
            if (const platform::Colour got = f.kokuban->Point(x, 295); got != want)
                return "pixel" + at({x, 295}) + " of slot " + num(i) + " is " + QString::number(got, 16).toStdString();
        }
    return {};
}

const char* const kTexts[] = {"1", "2", "3", "4", "99999999999", "1e400", "-1e400", "abc", "", " 0", "0.2",
                              "-7", "12.5", "1e9", "2147483647", ".", "+", "1e", "-0", "50x"};

struct Monkey {
    Monkey(Form1& form, unsigned long long seed) : f(form), rng(seed) {}
    Form1& f;
    std::mt19937_64 rng;
    QWidget* canvas = platform::qt::widgetOf(*f.kokuban);
    std::deque<std::string> last;
    std::string failure;
    long count = 0;
    int pending = 0;         // actions queued for a run and not done yet
    QPointer<QWidget> grab;  // the widget that took the press, while buttons are held
    Qt::MouseButtons held;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    void note(const std::string& what)
    {
        last.push_back("#" + num(++count) + " [px " + num(f.px) + (f.hashiru ? ", running] " : "] ") + what);
        last.size() > 20 ? last.pop_front() : void();
    }
    void check() { failure = failure.empty() ? broken(f) : failure; }
    // Blackboard pixels: on the borders of the tray, the columns and the band, near them, or anywhere around.
    QPoint point()
    {
        static const std::vector<int> xs{20, 260, 290, 300, 320, 340, 350, 370, 380, 390, 400, 420, 440, 450, 460, 470,
                                         490, 500, 596},
            ys{1, 10, 100, 125, 149, 150, 151, 179, 180, 181, 240, 260, 299, 300, 301, 404};
        auto coord = [this](const std::vector<int>& special, int lo, int hi) {
            const int r = pick(3);
            return r == 2 ? lo + pick(hi - lo + 1) : special[pick(int(special.size()))] + (r == 1 ? pick(5) - 2 : 0);
        };
        return fix({coord(xs, -15, 612), coord(ys, -15, 419)});
    }
    QPoint far() { return fix({pick(900) - 150, pick(800) - 200}); }  // reached only while dragging
    QPoint column() { return QPoint(301 + 40 * pick(5) + pick(39), 181 + pick(119)); }
    static QPoint fix(QPoint p) { return p.isNull() ? QPoint(0, 1) : p; }  // QTest takes (0, 0) for the centre
    QPoint on(QWidget* w, QPoint p) const { return w->mapFromGlobal(canvas->mapToGlobal(p)); }
    Qt::KeyboardModifiers mods() { return Qt::KeyboardModifier(pick(3) ? 0 : Qt::ShiftModifier << pick(3)); }
    Qt::MouseButton button() { return pick(2) ? Qt::LeftButton : pick(2) ? Qt::RightButton : Qt::MiddleButton; }

    void press(QPoint p, Qt::MouseButton b, bool twice = false)
    {
        if (!grab) {  // what lies under the pointer takes the press and every later event until all are up
            QWidget* win = platform::qt::widgetOf(*f.window);
            const bool inside = canvas->rect().contains(p);
            QWidget* w = inside ? canvas->childAt(p) : win->childAt(on(win, p));
            grab = w ? w : inside ? canvas : win;
            QVERIFY(grab != testutil::widget(f.jidou) && grab != testutil::widget(f.end));
        }
        note((twice ? "double-press " : "press ") + num(b) + at(p) + " on " + grab->metaObject()->className());
        twice ? QTest::mouseDClick(grab, b, mods(), on(grab, p)) : QTest::mousePress(grab, b, mods(), on(grab, p));
        held |= b;
    }
    void release(QPoint p)
    {
        const Qt::MouseButton b = held & Qt::LeftButton ? Qt::LeftButton : held & Qt::RightButton ? Qt::RightButton
                                                                                               : Qt::MiddleButton;
        note("release " + num(b) + at(p));
        QTest::mouseRelease(grab, b, mods(), on(grab, p));
        held &= ~b;
        grab = held ? grab : nullptr;
    }
    void move(QPoint p)
    {
        note("move" + at(p));
        QWidget* w = grab ? grab.data() : canvas;
        QMouseEvent e(QEvent::MouseMove, on(w, p), canvas->mapToGlobal(QPointF(p)), Qt::NoButton, held, mods());
        QApplication::sendEvent(w, &e);
    }
    // A block from the tray or a column, a few moves, a release mostly in a column.
    void drop()
    {
        press(pick(2) ? QPoint(351 + 50 * pick(3) + pick(39), 1 + pick(148)) : column(), button());
        for (int i = pick(4); i > 0; --i)
            move(point());
        const QPoint to = pick(3) ? column() : point();
        move(to), release(to);
    }
    void click(platform::CommandButton* b)
    {
        const bool enabled = b->Enabled();
        auto state = [this] { return std::vector{f.px, f.hako[0], f.hako[1], f.hako[2], f.hako[3], f.hako[4], f.hyoy,
                                                 double(f.teishi), double(f.hashiru)}; };
        const auto before = state();
        note("click " + b->Caption() + (enabled ? "" : " (disabled)"));
        testutil::click(b);
        if (!enabled && state() != before && failure.empty())
            failure = "a click on the disabled button " + b->Caption() + " changed the state";
    }
    void clickBox()
    {
        platform::CheckBox* c = std::vector{f.Check1, f.Check2, f.Check3, f.Check4}[pick(4)];
        note("click " + c->Caption()), testutil::click(c);
    }
    void type(const std::string& text)
    {
        note("type '" + text + "' into the pace box");
        QLineEdit* edit = static_cast<QComboBox*>(platform::qt::widgetOf(*f.Combo1))->lineEdit();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::fromStdString(text));
        QTest::keyClick(edit, Qt::Key_Delete);  // for "": removes what is selected
    }
    void later(int ms, std::function<void()> act)
    {
        ++pending;
        QTimer::singleShot(ms, canvas, [this, act] {
            --pending;
            if (failure.empty())
                act(), check();
        });
    }
    // A short run with a few actions in its pauses and "ストップ" last.
    void autoRun()
    {
        type(num(1 + pick(4)));
        int ms = 0;
        for (int i = 1 + pick(5); i > 0; --i)
            later(ms += pick(40), [this] {
                switch (pick(6)) {
                case 0: return click(f.tomeru);
                case 1: return click(f.Command2);
                case 2: return drop();
                case 3: return clickBox();
                case 4: return type(kTexts[pick(int(std::size(kTexts)))]);
                }
                platform::CommandButton* b = std::vector{f.susumu, f.modoru, f.Command1, f.jidou}[pick(4)];
                if (f.hashiru)  // disabled while the run lasts
                    click(b);
            });
        later(ms + 1 + pick(60), [this] { click(f.tomeru); });
        click(f.jidou);  // returns when the run has ended
        check();
        while (pending > 0)
            QTest::qWait(1);
    }
    void step()
    {
        const int r = pick(1000);
        const QPoint p = point();
        if (grab)  // a drag is mostly moves
            r < 840 ? move(r < 600 ? p : far()) : r < 980 ? release(r < 940 ? p : far()) : press(p, button());
        else if (r < 5)
            autoRun();
        else if (r < 180)
            press(p, button());
        else if (r < 200) {
            const Qt::MouseButton b = button();
            press(p, b), release(p), press(p, b, true);
        } else if (r < 500)
            move(p);
        else if (r < 650)
            for (int i = 1 + pick(6); i > 0; --i)  // "出す" again and again
                click(f.susumu);
        else if (r < 760)  // "自    動" only through autoRun, "初期画面" now and then
            click(pick(30) ? std::vector{f.modoru, f.modoru, f.Command2, f.tomeru, f.susumu}[pick(5)] : f.Command1);
        else if (r < 840)
            clickBox();
        else if (r < 900)
            type(kTexts[pick(int(std::size(kTexts)))]);
        else if (r < 980)
            drop();
        else
            note("type into the distance box"), QTest::keyClicks(platform::qt::widgetOf(*f.Text1), "7", mods());
    }
};

}  // namespace

class TestRandom : public QObject {
    Q_OBJECT
private slots:
    void randomUse();
};

void TestRandom::randomUse()
{
    const QByteArray seedText = qgetenv("KANSU_SEED"), actionsText = qgetenv("KANSU_ACTIONS");
    const unsigned long long seed =
        seedText.isEmpty() ? std::chrono::system_clock::now().time_since_epoch().count() : seedText.toULongLong();
    std::printf("KANSU_SEED=%llu\n", seed);
    std::fflush(stdout);
    Form1 f;
    f.Show();
    Monkey m(f, seed);
    m.check();
    while (m.count < (actionsText.isEmpty() ? 100000 : actionsText.toLong()) && m.failure.empty() &&
           !QTest::currentTestFailed())
        m.step(), m.check();
    if (!m.failure.empty()) {
        std::printf("Broken after action %ld, KANSU_SEED=%llu: %s\nLast actions:\n", m.count, seed, m.failure.c_str());
        for (const auto& a : m.last)
            std::printf("  %s\n", a.c_str());
        std::fflush(stdout);
    }
    QVERIFY2(m.failure.empty(), m.failure.c_str());

    // Last, "終了" during a run from B (20 pauses of 10 ms): the run ends without another step on the closed window.
    while (m.grab)
        m.release(m.point());
    m.type("2");
    m.click(f.Command2);
    double pxAtEnd = -1;
    QTimer::singleShot(30, [&] { pxAtEnd = f.px, testutil::click(f.end); });
    testutil::click(f.jidou);
    QVERIFY(!f.window->alive());
    QCOMPARE(f.px, pxAtEnd);
}

QTEST_MAIN(TestRandom)
#include "tst_random.moc"
