// The window at any zoom: the drawing layers drawn at the screen's resolution
// (one width per line, only the program's colours, the same picture however
// the zoom was reached), input in the layout's pixels, the zoom keys, full
// screen, touch, and a bounded memory of what was drawn. ctest runs it twice:
// as it is and with the toolkit's scale factor at 1.5.
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <set>

#include "platform/layer.h"
#include "platform/shell/shell.h"
#include "testutil.h"

using platform::qt::displayOf;
using platform::qt::toDevice;
using platform::qt::widgetOf;
using Kinds = std::array<int, 5>;

namespace {
const Kinds kLesson{1, 1, 3, 0, 2};

QWidget* canvas(Form1& f) { return testutil::widget(f.kokuban); }
QPoint on(Form1& f, QPointF design) { return (design * f.window->zoom()).toPoint(); }
double ratio(Form1& f) { return canvas(f)->devicePixelRatioF(); }
double scaleOf(Form1& f) { return f.window->zoom() * ratio(f); }

// The lesson as a pupil gives it: blocks dragged at the current zoom, the
// grid, the graph and the table ticked, P seven steps out (χ = 3.5).
void lesson(Form1& f)
{
    for (int k = 0; k < 5; ++k)
        if (kLesson[k] != 0)
            testutil::drag(f, on(f, {370.0 + 50 * (kLesson[k] - 1), 100}), on(f, {320.0 + 40 * k, 240}));
    for (auto* box : {f.Check1, f.Check2, f.Check3})
        box->setValue(1);
    testutil::steps(f, 7);
}

std::unique_ptr<Form1> shown(double zoom)
{
    auto f = std::make_unique<Form1>();
    f->window->setZoom(zoom);
    f->Show();
    return f;
}

// The device pixel in the middle of layout pixel (x, y) at scale s.
QRgb at(const QImage& image, double s, int x, int y)
{
    return image.pixel(static_cast<int>((x + 0.5) * s), static_cast<int>((y + 0.5) * s)) & 0xFFFFFF;
}

// Lengths of the runs of `colour` along the device row or column through
// layout pixel `across`, from layout `from` to `to`.
QList<int> runs(const QImage& image, double s, bool row, int across, int from, int to, QRgb colour)
{
    QList<int> r;
    int length = 0;
    const int fixed = static_cast<int>((across + 0.5) * s);
    for (int i = toDevice(from, s); i < toDevice(to, s); ++i) {
        const QRgb c = (row ? image.pixel(i, fixed) : image.pixel(fixed, i)) & 0xFFFFFF;
        if (c == colour) {
            ++length;
        } else if (length > 0) {
            r << length;
            length = 0;
        }
    }
    return r;
}

// Device rows between layout rows y0 and y1 that hold `colour`.
int inkHeight(const QImage& image, double s, int y0, int y1, QRgb colour)
{
    int rows = 0;
    for (int y = toDevice(y0, s); y < toDevice(y1, s); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == colour) {
                ++rows;
                break;
            }
    return rows;
}

// The client area of the window at zoom z: the layout's size at start (or
// with the graph and the table shown) times z.
QSize clientAt(double z, QSize layout = {631, 548})
{
    return {static_cast<int>(std::lround(layout.width() * z)), static_cast<int>(std::lround(layout.height() * z))};
}
}  // namespace

class TestZoom : public QObject {
    Q_OBJECT
private slots:
    // At z = 1.5 and 2 (and 1 under a scaled screen): sharp, in the program's
    // colours, and the same as the lesson drawn at that zoom from the start.
    void sharpLayers_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("150 %") << 1.5;
        QTest::newRow("200 %") << 2.0;
    }
    void sharpLayers()
    {
        QFETCH(double, zoom);
        auto later = shown(1);
        lesson(*later);
        later->window->setZoom(zoom);
        auto from = shown(zoom);
        lesson(*from);
        const double s = scaleOf(*from);
        if (s == 1)
            QSKIP("an unscaled screen at 100 %: the existing pixel tests cover it");

        const QImage board = displayOf(*from->kokuban);
        QCOMPARE(board.size(), QSize(toDevice(597, s), toDevice(405, s)));
        for (auto* box : {from->kokuban, from->gamen, from->hyo})
            QVERIFY(displayOf(*box) == displayOf(*(box == from->kokuban ? later->kokuban : box == from->gamen ? later->gamen : later->hyo)));

        std::set<QRgb> colours;
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                colours.insert(board.pixel(x, y) & 0xFFFFFF);
        QCOMPARE(colours, (std::set<QRgb>{0x000000, 0x008000, 0xC0C0C0, 0xFFFF00, 0xFFFFFF}));

        const int one = platform::qt::deviceWidth(1, s), two = platform::qt::deviceWidth(2, s);
        QCOMPARE(runs(board, s, false, 110, 170, 310, 0x000000), QList<int>(7, one));  // horizontal grid lines
        QCOMPARE(runs(board, s, true, 190, 15, 225, 0x000000), QList<int>(11, one));   // vertical grid lines
        QCOMPARE(runs(board, s, true, 270, 385, 435, 0xFFFF00), QList<int>(2, two));   // the 4-cm block's sides
        // P at 230: the block in slot 1 (270 to 310) is cut by AB at 300.
        QCOMPARE(at(board, s, 285, 290), QRgb(0xFFFFFF));
        QCOMPARE(at(board, s, 305, 290), QRgb(0xC0C0C0));
        QCOMPARE(at(board, s, 245, 290), QRgb(0xFFFFFF));
        QCOMPARE(at(board, s, 325, 190), QRgb(0xC0C0C0));

        // Texts are drawn at the scaled size: the table's distances are s times as tall.
        const int tall = inkHeight(platform::qt::layerOf(*from->hyo), 1, 0, 50, 0x0000FF);
        const int tallHere = inkHeight(displayOf(*from->hyo), s, 0, 50, 0x0000FF);
        QVERIFY2(tall > 5 && std::abs(tallHere - tall * s) <= 2,
                 qPrintable(QStringLiteral("%1 device rows at scale %2, %3 at 1").arg(tallHere).arg(s).arg(tall)));
    }

    // Zoom changed in the middle of a lesson, both ways: the layers are those
    // of the lesson drawn at the new zoom, at 100 % pixel for pixel as ever.
    void zoomMidLesson_data()
    {
        QTest::addColumn<QList<double>>("zooms");
        QTest::newRow("up") << QList<double>{1, 2.5};
        QTest::newRow("down to 100 %") << QList<double>{3, 1.25, 1};
    }
    void zoomMidLesson()
    {
        QFETCH(QList<double>, zooms);
        auto f = shown(zooms.first());
        lesson(*f);
        for (double z : zooms.mid(1))
            f->window->setZoom(z);
        f->susumu_Click();
        auto reference = shown(zooms.last());
        lesson(*reference);
        reference->susumu_Click();
        QCOMPARE(f->window->zoom(), zooms.last());
        QCOMPARE(widgetOf(*f->window)->size(), clientAt(zooms.last(), {1031, 681}));
        for (const auto& pair : {std::pair{f->kokuban, reference->kokuban}, std::pair{f->gamen, reference->gamen},
                           std::pair{f->hyo, reference->hyo}}) {
            QVERIFY(displayOf(*pair.first) == displayOf(*pair.second));
            QVERIFY(platform::qt::layerOf(*pair.first) == platform::qt::layerOf(*pair.second));
        }
    }

    // Where the layout shows and at what zoom, on every platform: a page
    // fitted to its viewport and centred, a page at a zoom its address asks
    // for (centred, or from its top left where it is larger), an ordinary
    // window at the zoom chosen or the largest that fits the screen, a full
    // screen fitted. The layout asks for 631 x 548 pixels.
    void arrangement_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<bool>("sizable");
        QTest::addColumn<bool>("fills");
        QTest::addColumn<double>("chosen");  // 0: none
        QTest::addColumn<QRect>("shown");
        QTest::addColumn<double>("zoom");
        QTest::newRow("a page, fitted and centred") << QSize(1300, 1096) << false << false << 0.0 << QRect(19, 0, 1262, 1096) << 2.0;
        QTest::newRow("a page at 150 %, centred") << QSize(1300, 1096) << false << false << 1.5 << QRect(176, 137, 947, 822) << 1.5;
        QTest::newRow("a page at 300 %, larger than its viewport") << QSize(800, 600) << false << false << 3.0
                                                                   << QRect(0, 0, 1893, 1644) << 3.0;
        QTest::newRow("a window at 200 % on a 1920 x 1080 screen") << QSize(631, 548) << true << false << 2.0
                                                                   << QRect(0, 0, 1199, 1041) << 1041.0 / 548;
        QTest::newRow("a full screen of 1920 x 1080") << QSize(1920, 1080) << true << true << 1.0 << QRect(338, 0, 1244, 1080)
                                                      << 1080.0 / 548;
    }
    void arrangement()
    {
        QFETCH(QSize, window);
        QFETCH(bool, sizable);
        QFETCH(bool, fills);
        QFETCH(double, chosen);
        QFETCH(QRect, shown);
        QFETCH(double, zoom);
        platform::backend::Surroundings s;
        s.window = {window.width(), window.height()};
        s.screen = sizable ? platform::view::Size{1920, 1080} : platform::view::Size{};
        s.sizable = sizable;
        s.fills = fills;
        const auto a = platform::shell::arrange(s, {631, 548}, chosen > 0 ? std::optional<double>(chosen) : std::nullopt);
        QVERIFY(a.ready);
        QCOMPARE(QRect(a.shown.left, a.shown.top, a.shown.width, a.shown.height), shown);
        QCOMPARE(a.zoom, zoom);
        QCOMPARE(a.sized, sizable && !fills);
    }

    // Ctrl++ and Ctrl+− walk the steps, Ctrl+0 returns to 100 %; the window
    // takes the layout's size at each; the last one is kept for the next start.
    void zoomKeys()
    {
        QTemporaryDir dir;
        platform::settings::open(dir.filePath("kansu.ini").toStdString());
        auto f = shown(1);
        QWidget* w = widgetOf(*f->window);
        QList<double> seen;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
            seen << f->window->zoom();
        }
        QCOMPARE(seen, (QList<double>{1.25, 1.5, 1.75, 2, 2.5, 3, 3}));
        QCOMPARE(w->size(), clientAt(3));
        QTest::keyClick(w, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(testutil::widget(f->susumu), Qt::Key_Equal, Qt::ControlModifier);  // Ctrl+= as Ctrl++
        QCOMPARE(f->window->zoom(), 3.0);
        QTest::keyClick(w, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(platform::settings::savedZoom(), 2.5);
        QTest::keyClick(w, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(f->window->zoom(), 1.0);
        QCOMPARE(w->size(), clientAt(1));
        QCOMPARE(platform::settings::savedZoom(), 1.0);

        // A store that cannot be read (a folder where the file should be) starts at 100 %.
        QVERIFY(QDir(dir.path()).mkdir("folder.ini"));
        platform::settings::open(dir.filePath("folder.ini").toStdString());
        QCOMPARE(platform::settings::savedZoom(), 1.0);
        platform::settings::saveZoom(2);  // nothing happens, nothing stops
        platform::settings::close();
        QCOMPARE(platform::settings::savedZoom(), 1.0);
    }

    // Full screen (F11) and a maximised window fit the layout the program
    // asks for, centred; "グラフ" and "表" refit it; leaving (Escape, or the
    // window restored) brings the chosen zoom and size back.
    void fitted_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("full screen") << true;
        QTest::newRow("maximised") << false;
    }
    void fitted()
    {
        QFETCH(bool, full);
        auto f = shown(1.5);
        QWidget* w = widgetOf(*f->window);
        if (full)
            QTest::keyClick(w, Qt::Key_F11);
        else
            w->showMaximized();
        QTRY_VERIFY(full ? f->window->fullScreen() : w->isMaximized());
        const QSize area = full ? w->screen()->geometry().size() : w->screen()->availableGeometry().size();
        QTRY_COMPARE(w->size(), area);
        const auto fit = [&](QSize layout) {
            return std::min({3.0, double(area.width()) / layout.width(), double(area.height()) / layout.height()});
        };
        QCOMPARE(f->window->zoom(), fit({631, 548}));
        testutil::click(f->Check2);
        QCOMPARE(f->window->zoom(), fit({1031, 548}));
        testutil::click(f->Check3);
        const double z = fit({1031, 681});
        QCOMPARE(f->window->zoom(), z);
        QCOMPARE(w->size(), area);
        // The layout is centred: the board's frame where the layout puts it, moved by half the space left.
        const QRect board = testutil::widget(f->kokuban)->parentWidget()->geometry();
        const QPoint margin((area.width() - static_cast<int>(std::lround(1031 * z))) / 2,
                            (area.height() - static_cast<int>(std::lround(681 * z))) / 2);
        QCOMPARE(board.topLeft(), QPoint(static_cast<int>(std::lround(16 * z)), static_cast<int>(std::lround(64 * z))) + margin);
        f->window->setZoom(2);  // kept for the ordinary window
        QCOMPARE(f->window->zoom(), z);
        if (full)
            QTest::keyClick(w, Qt::Key_Escape);
        else
            w->showNormal();
        QTRY_VERIFY(!f->window->fullScreen() && !w->isMaximized());
        QCOMPARE(f->window->zoom(), 2.0);
        QTRY_COMPARE(w->size(), clientAt(2, {1031, 681}));
    }

    // On a projector's screen, 1920 × 1080, the window with its frame never
    // grows past the screen's available area: Ctrl++ stops at the largest
    // step that fits, a larger zoom asked for (as by --zoom 300) is brought
    // down to the largest that fits, and so is the layout with the graph and
    // the table; full screen fits the layout as large as fits, and leaving it
    // brings back that size.
    void withinTheScreen_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Ctrl++ to the top") << "keys";
        QTest::newRow("asked for 300 %") << "300";
        QTest::newRow("graph and table at 175 %") << "panes";
        QTest::newRow("full screen and back") << "full";
    }
    void withinTheScreen()
    {
        QFETCH(QString, how);
        QScreen* projector = nullptr;
        for (QScreen* screen : QGuiApplication::screens())
            projector = screen->name() == "projector" ? screen : projector;
        QVERIFY(projector);
        auto f = std::make_unique<Form1>();
        QWidget* w = widgetOf(*f->window);
        w->setScreen(projector);
        w->move(projector->geometry().topLeft());
        f->window->setZoom(how == "300" ? 3 : how == "panes" ? 1.75 : 1);
        f->Show();
        const QSize area = projector->availableGeometry().size();
        // The window and the standard frame assumed around it (8 pixels at
        // the sides and the bottom, 31 at the top with the caption).
        const auto fits = [&](QSize client) { return client.width() + 16 <= area.width() && client.height() + 39 <= area.height(); };
        const auto asLargeAsFits = [&] {  // one side touches the screen's edge
            return fits(w->size()) && (w->width() + 16 >= area.width() - 1 || w->height() + 39 >= area.height() - 1);
        };
        if (how == "keys") {
            for (int i = 0; i < 7; ++i)
                QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
            const QList<double> steps{1, 1.25, 1.5, 1.75, 2, 2.5, 3};
            const double z = f->window->zoom();
            QVERIFY(steps.contains(z) && z < 3);
            QCOMPARE(w->size(), clientAt(z));
            QVERIFY(fits(w->size()));
            QVERIFY(z == 1 || !fits(clientAt(steps[steps.indexOf(z) + 1])));  // the next step would not fit
        } else if (how == "300") {
            QVERIFY(f->window->zoom() < 3);
            QCOMPARE(w->size(), clientAt(f->window->zoom()));
            QVERIFY(asLargeAsFits());
        } else if (how == "panes") {
            const double z = f->window->zoom();
            testutil::click(f->Check2);
            testutil::click(f->Check3);
            QVERIFY(f->window->zoom() < z);
            QCOMPARE(w->size(), clientAt(f->window->zoom(), {1031, 681}));
            QVERIFY(asLargeAsFits());
            testutil::click(f->Check2);
            testutil::click(f->Check3);
            QCOMPARE(f->window->zoom(), z);  // the zoom chosen comes back
            QCOMPARE(w->size(), clientAt(z));
        } else {
            QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
            const double chosen = f->window->zoom();
            testutil::click(f->Check3);
            const QSize before = w->size();
            QTest::keyClick(w, Qt::Key_F11);
            QTRY_COMPARE(w->size(), projector->geometry().size());
            // The layout as large as fits the screen: as wide or as high as it.
            const QSize layout = clientAt(f->window->zoom(), {631, 681});
            QVERIFY(layout.width() <= w->width() && layout.height() <= w->height());
            QVERIFY(layout.width() >= w->width() - 1 || layout.height() >= w->height() - 1);
            QVERIFY(f->window->zoom() > chosen);
            // Right of the layout the graph pane, not shown, stays hidden.
            const QWidget* right = w->childAt(w->width() - 5, w->height() / 2);
            const QWidget* graph = platform::qt::frameOf(*f->gamen);
            QVERIFY(right && right != graph && !graph->isAncestorOf(right));
            QTest::keyClick(w, Qt::Key_Escape);
            QTRY_VERIFY(!f->window->fullScreen());
            QCOMPARE(f->window->zoom(), chosen);
            QTRY_COMPARE(w->size(), before);
        }
    }

    // One finger drags exactly as the mouse does, into every column.
    void touchDrags_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("125 %") << 1.25;
    }
    void touchDrags()
    {
        QFETCH(double, zoom);
        auto f = shown(zoom);
        QPointingDevice* screen = QTest::createTouchDevice();
        for (int k = 0; k < 5; ++k) {
            const int kind = 3 - k % 3;
            QTest::touchEvent(canvas(*f), screen).press(0, on(*f, {370.0 + 50 * (kind - 1), 60}));
            QTest::touchEvent(canvas(*f), screen).move(0, on(*f, {200, 200}));
            QTest::touchEvent(canvas(*f), screen).move(0, on(*f, {322.0 + 40 * k, 250}));
            QTest::touchEvent(canvas(*f), screen).release(0, on(*f, {322.0 + 40 * k, 250}));
        }
        QCOMPARE(f->hako, (std::array<double, 5>{3, 2, 1, 3, 2}));
        QCOMPARE(f->px, 300.0);
        QCOMPARE(f->kokuban->Point(330, 250), platform::Colour(0xC0C0C0));
        // A touch on "出す" presses it, a touch on "方眼" ticks it.
        for (QWidget* target : {testutil::widget(f->susumu), testutil::widget(f->Check1)}) {
            QTest::touchEvent(widgetOf(*f->window), screen).press(1, target->geometry().center());
            QTest::touchEvent(widgetOf(*f->window), screen).release(1, target->geometry().center());
        }
        QCOMPARE(f->px, 290.0);
        QCOMPARE(f->Check1->Value(), 1);
    }

    // A second finger while a block is dragged moves and drops nothing.
    void secondFinger()
    {
        auto f = shown(1.5);
        QPointingDevice* screen = QTest::createTouchDevice();
        QWidget* c = canvas(*f);
        QTest::touchEvent(c, screen).press(0, on(*f, {470, 60}));
        QTest::touchEvent(c, screen).move(0, on(*f, {400, 240}));
        QTest::touchEvent(c, screen).move(0, on(*f, {400, 240})).press(1, on(*f, {480, 250}));
        QTest::touchEvent(c, screen).move(0, on(*f, {400, 240})).move(1, on(*f, {320, 250}));
        QCOMPARE(f->Line9(0).X1(), 380.f);  // the outline stays under the first finger
        QTest::touchEvent(c, screen).move(0, on(*f, {400, 240})).release(1, on(*f, {320, 250}));
        QCOMPARE(f->hako, (std::array<double, 5>{}));
        QTest::touchEvent(c, screen).release(0, on(*f, {400, 240}));
        QCOMPARE(f->hako, (std::array<double, 5>{0, 0, 3, 0, 0}));
    }

    // However long a lesson goes on, what the layers keep stays bounded.
    void keptDrawingBounded()
    {
        auto f = shown(2);
        lesson(*f);
        f->Check4->setValue(1);
        for (int i = 0; i < 10000; ++i)
            (i / 20) % 2 == 0 ? f->susumu_Click() : f->modoru_Click();
        for (auto* box : {f->kokuban, f->gamen, f->hyo})
            QVERIFY2(platform::qt::keptCalls(*box) < 400, qPrintable(QString::number(platform::qt::keptCalls(*box))));
        // The window can never be made larger than the whole layout at 300 % or the screen.
        QWidget* w = widgetOf(*f->window);
        w->resize(32767, 32767);
        QVERIFY(w->width() <= std::max(3093, w->screen()->geometry().width()));
        QVERIFY(w->height() <= std::max(2046, w->screen()->geometry().height()));
        QCOMPARE(f->window->zoom(), 2.0);  // a resize by hand leaves the zoom as it is
    }
};

// A wall display large enough for the layout at 300 % also under a scale of
// 1.5, and beside it a projector's screen, 1920 × 1080; windows are drawn
// without frames.
int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    QFile config(dir.filePath("screen.json"));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(R"({"windowFrameMargins": false, "screens": [{"name": "wall", "x": 0, "y": 0,
                        "width": 5120, "height": 3200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                        {"name": "projector", "x": 5120, "y": 0,
                        "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
        return 2;
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestZoom test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_zoom.moc"
