// Copy, save and print: the table's text, pictures against the screen, the
// keys and menus that ask for them, files that cannot be written. The dialogs
// are replaced by stand-ins: nothing waits for a person.
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <set>

#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "testutil.h"

using platform::exporting::Picture;
using platform::qt::exportDialogs;

namespace {
// The lesson at zoom 1 with the graph and the table shown, P `steps` out and `back` steps back.
std::unique_ptr<Form1> lesson(int steps, int back = 0)
{
    auto f = std::make_unique<Form1>();
    f->Show();
    testutil::build(*f, {1, 1, 3, 0, 2});
    f->Check2->setValue(1);
    f->Check3->setValue(1);
    testutil::steps(*f, steps);
    for (int i = 0; i < back; ++i)
        f->modoru_Click();
    return f;
}

QImage rgb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }
QImage pictureOf(platform::PictureBox* box, double scale = 2) { return platform::qt::picture(Picture::of(*box, ""), scale); }
QStringList entries(const QString& dir) { return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

// Gives w the keyboard focus in its active window.
bool focus(QWidget* w)
{
    w->activateWindow();
    return QTest::qWaitForWindowActive(w->window()) && (w->setFocus(), true);
}

// The dialogs answered as a person would: this file, a PDF file as the
// printer, or cancel (an empty name); messages are kept.
struct StandIns {
    QString file, pdf;
    QStringList messages;
    int asked = 0;
    platform::qt::ExportDialogs saved = exportDialogs();
    StandIns()
    {
        exportDialogs() = {[this](QWidget*, const QString&) { return ++asked, file; },
                           [this](QWidget*, QPrinter& p) {
                               ++asked;
                               p.setOutputFormat(QPrinter::PdfFormat);
                               p.setOutputFileName(pdf);
                               return !pdf.isEmpty();
                           },
                           [this](QWidget*, const QString& text) { messages << text; }};
    }
    ~StandIns() { exportDialogs() = saved; }
};

// Opens a menu with `open` and returns its captions, choosing `choose` if given.
QStringList menu(const std::function<void()>& open, const QString& choose = {})
{
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!m)
            return;
        for (QAction* a : m->actions()) {
            captions << a->text();
            if (a->text() == choose)
                m->setActiveAction(a);
        }
        choose.isEmpty() ? void(m->close()) : QTest::keyClick(m, Qt::Key_Return);
    });
    open();
    QCoreApplication::processEvents();  // the timer, when no menu opened
    return captions;
}

// A PDF file's pages, page size in points and whether a picture in it is
// compressed with loss (JPEG); empty when there is no file.
// Folders on file systems of this process's own, made before the toolkit
// starts a thread: a full disk of 16 KiB, and a read-only one holding the
// file "old.png". Only root may mount them; empty where that is not possible.
struct Disks {
    QString full, readOnly, readOnlyMount;
};
Disks disks;
#ifdef __linux__
Disks mountDisks(const QString& base)
{
    const QByteArray full = (base + "/full").toLocal8Bit(), ro = (base + "/ro").toLocal8Bit();
    if (geteuid() != 0 || !QDir().mkpath(base + "/full") || !QDir().mkpath(base + "/ro") || unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", full.constData(), "tmpfs", 0, "size=16k") != 0 ||
        mount("tmpfs", ro.constData(), "tmpfs", 0, "size=64k") != 0)
        return {};
    QFile old(base + "/ro/old.png");
    if (!old.open(QIODevice::WriteOnly) || old.write("old") != 3)
        return {};
    old.close();
    if (mount(nullptr, ro.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return {};
    return {base + "/full", base + "/ro", base + "/ro"};
}
#endif

// Runs `inside` once the dialog that `open` shows is up, then `open` is
// left to return.
void whileShown(const std::function<void()>& open, const std::function<void(QWidget*)>& inside)
{
    QTimer::singleShot(0, [&] { inside(QApplication::activeModalWidget()); });
    open();
}
// The texts of the buttons and labels of a dialog.
QStringList textsOf(QWidget* dialog)
{
    QStringList texts;
    for (auto* b : dialog->findChildren<QAbstractButton*>())
        texts << b->text();
    for (auto* l : dialog->findChildren<QLabel*>())
        texts << l->text();
    return texts;
}

QString readPdf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString pdf = QString::fromLatin1(f.readAll());
    const auto box = QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(pdf);
    // The picture on the page: its size tells the whole lesson from the board alone.
    const auto picture = QRegularExpression(R"(/Width (\d+)\s*/Height (\d+))").match(pdf);
    return QString("%1 page, %2 x %3, %4, picture %5 x %6")
        .arg(pdf.count(QRegularExpression(R"(/Type\s*/Page\b(?!s))")))
        .arg(qRound(box.captured(1).toDouble()))
        .arg(qRound(box.captured(2).toDouble()))
        .arg(pdf.contains("/DCTDecode") ? "lossy" : "lossless")
        .arg(picture.captured(1), picture.captured(2));
}
}  // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    // The written columns as the table shows them, whatever way P got there.
    void tableText_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("back");
        QTest::addColumn<QString>("text");
        QTest::newRow("χ = 0") << 0 << 0 << "χ\t0\ny\t0\n";
        QTest::newRow("χ = 3.5") << 7 << 0 << "χ\t0\t1\t2\t3\ny\t0\t2\t4\t6\n";
        QTest::newRow("χ = 10") << 20 << 0 << "χ\t0\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\ny\t0\t2\t4\t6\t8\t14\t20\t20\t20\t24\t28\n";
        QTest::newRow("back from 3.5 to 2.5") << 7 << 2 << "χ\t0\t1\t2\ny\t0\t2\t4\n";
        QTest::newRow("back from 10 to 4") << 20 << 12 << "χ\t0\t1\t2\t3\t4\ny\t0\t2\t4\t6\t8\n";
    }
    void tableText()
    {
        QFETCH(int, steps);
        QFETCH(int, back);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(lesson(steps, back)->hyoText()), text);
    }

    // A pane's picture at scale 2 is, pixel for pixel, the pane on screen at
    // zoom 2, also when taken at zoom 1; the graph's holds only its colours.
    void panePicture_data()
    {
        QTest::addColumn<int>("pane");
        QTest::addColumn<QSize>("size");
        QTest::newRow("graph") << 0 << QSize(778, 1018);
        QTest::newRow("table") << 1 << QSize(1210, 218);
        QTest::newRow("board, its distance box and check box") << 2 << QSize(1194, 810);
    }
    void panePicture()
    {
        QFETCH(int, pane);
        QFETCH(QSize, size);
        auto f = lesson(13);
        platform::PictureBox* box = std::array{f->gamen, f->hyo, f->kokuban}[pane];
        const QImage atOne = pictureOf(box);
        f->window->setZoom(2);
        const QImage atTwo = pictureOf(box);
        QCOMPARE(atTwo.size(), size);
        QVERIFY(rgb(atTwo) == rgb(testutil::widget(box)->grab().toImage()));
        if (box == f->kokuban)
            return;  // its windowed controls are laid out anew at each zoom
        QVERIFY(atOne == atTwo);
        if (box == f->gamen) {
            QVERIFY(atTwo == platform::qt::displayOf(*f->gamen));
            std::set<QRgb> colours;
            for (int y = 0; y < atTwo.height(); ++y)
                for (int x = 0; x < atTwo.width(); ++x)
                    colours.insert(atTwo.pixel(x, y) & 0xFFFFFF);
            QCOMPARE(colours, (std::set<QRgb>{0xFFFFC0, 0x008000, 0x000000, 0x0000FF}));
        }
    }

    // The keyboard's cursor and a selected block are marks on screen, not
    // part of the lesson: pictures leave them out.
    void marksLeftOut()
    {
        auto f = lesson(0);
        QWidget* canvas = testutil::widget(f->kokuban);
        const QImage plain = pictureOf(f->kokuban, 1);
        QVERIFY(rgb(canvas->grab().toImage()) == rgb(plain));
        QVERIFY(focus(platform::qt::frameOf(*f->kokuban)));
        QTest::keyClick(canvas, Qt::Key_Right);                      // the cursor shows,
        QTest::mouseClick(canvas, Qt::LeftButton, {}, {420, 100});  // then the 4-cm block is selected
        QVERIFY(rgb(canvas->grab().toImage()) != rgb(plain));
        QVERIFY(pictureOf(f->kokuban, 1) == plain);
    }

    // Ctrl+C, Ctrl+S and Ctrl+P take the lesson: the board with the graph and
    // the table where shown; the page, one A4 landscape, all three. A
    // cancelled dialog does nothing.
    void keys_data()
    {
        QTest::addColumn<char>("key");
        QTest::addColumn<bool>("graph");
        QTest::addColumn<bool>("table");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Ctrl+C, the board alone") << 'C' << false << false << QSize(1226, 842);
        QTest::newRow("Ctrl+C, board and graph") << 'C' << true << false << QSize(2020, 1050);
        QTest::newRow("Ctrl+S, board and table") << 'S' << false << true << QSize(1242, 1076);
        QTest::newRow("Ctrl+S, everything") << 'S' << true << true << QSize(2036, 1076);
        QTest::newRow("Ctrl+S, cancelled") << 'S' << true << true << QSize();
        QTest::newRow("Ctrl+P, the board alone shown") << 'P' << false << false << QSize();
        QTest::newRow("Ctrl+P, cancelled") << 'P' << true << true << QSize();
    }
    void keys()
    {
        QFETCH(char, key);
        QFETCH(bool, graph);
        QFETCH(bool, table);
        QFETCH(QSize, size);
        const bool cancel = QByteArray(QTest::currentDataTag()).endsWith("cancelled");
        QTemporaryDir dir;
        StandIns dialogs;
        dialogs.file = cancel ? QString() : dir.filePath("lesson.png");
        dialogs.pdf = cancel ? QString() : dir.filePath("lesson.pdf");
        auto f = lesson(20);
        f->Check2->setValue(graph);
        f->Check3->setValue(table);
        QApplication::clipboard()->clear();
        QTest::keyClick(testutil::widget(f->susumu), Qt::Key(Qt::Key_A + (key - 'A')), Qt::ControlModifier);
        QCOMPARE(dialogs.asked, key == 'C' ? 0 : 1);
        QCOMPARE(dialogs.messages, QStringList());
        QCOMPARE(entries(dir.path()).size(), cancel || key == 'C' ? 0 : 1);
        if (key == 'P')
            QCOMPARE(readPdf(dialogs.pdf), cancel ? QString() : QString("1 page, 842 x 595, lossless, picture 3274 x 1730"));
        if (key != 'P' && !cancel) {
            const QImage got = key == 'C' ? QApplication::clipboard()->image() : QImage(dialogs.file);
            const auto shown = Picture::lesson(*f->kokuban, graph ? f->gamen : nullptr, table ? f->hyo : nullptr, 0xC0FFC0, "");
            QCOMPARE(got.size(), size);
            QVERIFY(rgb(got) == rgb(platform::qt::picture(shown, 2)));
        }
    }

    // In the pace box Ctrl+C copies its text. During an automatic run the
    // keys and the menus do nothing, at once, and the run goes on to the end.
    void keysLeftAlone()
    {
        QTemporaryDir dir;
        StandIns dialogs;
        dialogs.file = dir.filePath("x.png");
        dialogs.pdf = dir.filePath("x.pdf");
        auto f = lesson(0);
        auto* combo = static_cast<QComboBox*>(platform::qt::widgetOf(*f->Combo1));
        QVERIFY(focus(combo));
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("50"));

        f->Combo1->setText("1");
        QWidget* graph = platform::qt::frameOf(*f->gamen);
        QVERIFY(focus(graph));
        QStringList seen;
        QTimer::singleShot(0, [&] {
            QVERIFY(f->hashiru);
            for (Qt::Key k : {Qt::Key_C, Qt::Key_S, Qt::Key_P})
                QTest::keyClick(graph, k, Qt::ControlModifier);
            seen << menu([&] { QTest::keyClick(graph, Qt::Key_Menu); })
                 << menu([&] { QTest::mouseClick(testutil::widget(f->gamen), Qt::RightButton, {}, {50, 50}); });
        });
        f->jidou_Click();
        QCOMPARE(f->px, 100.0);
        QCOMPARE(seen, QStringList());
        QCOMPARE(QApplication::clipboard()->text(), QString("50"));
        QCOMPARE(dialogs.asked, 0);
        QCOMPARE(entries(dir.path()), QStringList());
    }

    // The menus: right button on the graph and the table, the Menu key and
    // Shift+F10 when the pane has the focus; none on the board.
    void menus_data()
    {
        QTest::addColumn<int>("pane");
        QTest::addColumn<int>("how");  // 0 right button, 1 Menu key, 2 Shift+F10
        QTest::addColumn<QString>("choose");
        QTest::addColumn<QStringList>("captions");
        const QStringList graph{"画像をコピー", "画像として保存…", "読み上げ", "言語 / Language"},
            table = QStringList{"表をコピー"} + graph;
        QTest::newRow("graph, right button, save") << 0 << 0 << "画像として保存…" << graph;
        QTest::newRow("graph, Shift+F10, copy picture") << 0 << 2 << "画像をコピー" << graph;
        QTest::newRow("table, right button, copy table") << 1 << 0 << "表をコピー" << table;
        QTest::newRow("table, Menu key, copy picture") << 1 << 1 << "画像をコピー" << table;
        QTest::newRow("board, right button: no menu") << 2 << 0 << "" << QStringList();
    }
    void menus()
    {
        QFETCH(int, pane);
        QFETCH(int, how);
        QFETCH(QString, choose);
        QFETCH(QStringList, captions);
        QTemporaryDir dir;
        StandIns dialogs;
        dialogs.file = dir.filePath("pane.png");
        auto f = lesson(7);
        platform::PictureBox* box = std::array{f->gamen, f->hyo, f->kokuban}[pane];
        QWidget* frame = platform::qt::frameOf(*box);
        QVERIFY(focus(frame));
        QApplication::clipboard()->clear();
        const auto open = [&] {
            if (how == 0)
                QTest::mouseClick(testutil::widget(box), Qt::RightButton, {}, {60, 40});
            else
                QTest::keyClick(frame, how == 1 ? Qt::Key_Menu : Qt::Key_F10, how == 1 ? Qt::NoModifier : Qt::ShiftModifier);
        };
        QCOMPARE(menu(open, choose), captions);
        if (choose == "表をコピー")
            QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(f->hyoText()));
        if (choose == "画像をコピー")
            QVERIFY(rgb(QApplication::clipboard()->image()) == rgb(pictureOf(box)));
        if (choose == "画像として保存…")
            QVERIFY(rgb(QImage(dialogs.file)) == rgb(pictureOf(box)));
        QCOMPARE(f->px, 230.0);  // the lesson is untouched
    }

    // A pane not shown takes no focus, when the window opens or by a click,
    // and opens no menu; shown again, it takes the focus and opens its menu.
    void hiddenPane()
    {
        auto f = std::make_unique<Form1>();
        f->Show();
        QWidget* graph = platform::qt::frameOf(*f->gamen);
        graph->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(graph->window()));
        QCOMPARE(QApplication::focusWidget(), testutil::widget(f->end));  // the first of the tab order shown
        QCOMPARE(graph->focusPolicy(), Qt::NoFocus);
        QCOMPARE(platform::qt::frameOf(*f->hyo)->focusPolicy(), Qt::NoFocus);
        graph->setFocus();  // as if it had the focus all the same
        QCOMPARE(menu([&] { QTest::keyClick(graph, Qt::Key_F10, Qt::ShiftModifier); }), QStringList());
        testutil::click(f->Check2);
        QCOMPARE(graph->focusPolicy(), Qt::StrongFocus);
        QVERIFY(focus(graph));
        QCOMPARE(menu([&] { QTest::keyClick(graph, Qt::Key_F10, Qt::ShiftModifier); }).size(), 4);
    }

    // A file that cannot be written: one message naming it and why, nothing
    // left behind, for the picture and for the PDF file alike.
    void cannotWrite_data()
    {
        QTest::addColumn<QString>("name");  // inside the test's folder, or absolute
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder as the name") << "folder" << false << "同じ名前のフォルダがあります";
        QTest::newRow("inside a file") << "file/x.png" << false << "保存先のフォルダがありません";
        QTest::newRow("a folder without write permission") << "locked/x.png" << false << "このフォルダにはファイルを作れません";
        QTest::newRow("where nobody writes (/proc)") << "/proc/kansu-export.png" << false << "このフォルダにはファイルを作れません";
        QTest::newRow("PDF, inside a file") << "file/x.pdf" << true << "保存先のフォルダがありません";
    }
    void cannotWrite()
    {
        QFETCH(QString, name);
        QFETCH(bool, pdf);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(QDir(dir.path()).mkdir("folder") && QDir(dir.path()).mkdir("locked") && file.open(QIODevice::WriteOnly));
        file.close();
        QFile(dir.filePath("locked")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        if (name.startsWith("locked") && QFileInfo(dir.filePath("locked")).isWritable())
            QSKIP("this user may write in any folder (root)");
        const QString path = QDir(dir.path()).filePath(name);
        StandIns dialogs;
        (pdf ? dialogs.pdf : dialogs.file) = path;
        auto f = lesson(4);
        QTest::keyClick(testutil::widget(f->susumu), pdf ? Qt::Key_P : Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].contains(QDir::toNativeSeparators(path)) && dialogs.messages[0].contains(reason),
                 qPrintable(dialogs.messages[0]));
        QCOMPARE(entries(dir.path()), (QStringList{"file", "folder", "locked"}));
        QCOMPARE(entries(dir.filePath("folder")) + entries(dir.filePath("locked")), QStringList());
        QVERIFY(!QFileInfo::exists("/proc/kansu-export.png"));
        QFile(dir.filePath("locked")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Each file that cannot be written names the real reason, and only the
    // system's own words where none of the program's fits; nothing is left
    // behind.
    void reasons_data()
    {
        QTest::addColumn<QString>("name");  // inside the test's folder, or on a disk of its own
        QTest::addColumn<QString>("reason");
        QTest::newRow("permission: an existing file that may not be changed") << "old.png" << "このファイルは書き換えが許されていません";
        QTest::newRow("a folder that does not exist") << "nothere/x.png" << "保存先のフォルダがありません";
        QTest::newRow("a name too long") << QString(300, 'a') + ".png" << "ファイルの名前が長すぎます";
        QTest::newRow("a full disk") << "full:x.png" << "ディスクがいっぱいです";
        QTest::newRow("another fault: a file larger than allowed") << "x.png"
            << QString("書き込めませんでした（%1）").arg(QString::fromLocal8Bit(std::strerror(EFBIG)));
    }
    void reasons()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString folder = dir.path();
        if (name.startsWith("full:")) {
            if (disks.full.isEmpty())
                QSKIP("a full disk needs a file system of the test's own (root)");
            folder = disks.full;
            name = name.mid(5);
        } else if (name == "old.png" && !disks.readOnly.isEmpty()) {
            folder = disks.readOnly;  // root may change any file, but none on a read-only disk
        } else if (name == "old.png") {
            QFile old(dir.filePath(name));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            old.close();
            old.setPermissions(QFile::ReadOwner);
        }
        StandIns dialogs;
        dialogs.file = QDir(folder).filePath(name);
        const QStringList before = entries(folder);
        auto f = lesson(4);
#ifdef __linux__
        rlimit limit{};
        const bool larger = QByteArray(QTest::currentDataTag()).contains("larger");
        if (larger) {  // files of at most 4 KiB: a write past that fails (EFBIG)
            QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{4096, limit.rlim_max};
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        }
#endif
        QTest::keyClick(testutil::widget(f->susumu), Qt::Key_S, Qt::ControlModifier);
#ifdef __linux__
        if (larger)
            setrlimit(RLIMIT_FSIZE, &limit);
#endif
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].split("\n\n").value(2), reason);
        QCOMPARE(entries(folder), before);
    }

    // A long path in a message is given places to break (the toolkit's own
    // message box cannot wrap a long word), and is still shown whole.
    void longPathWraps()
    {
        const QString path = "/home/teacher/" + QString("lesson-of-the-third-year-").repeated(6) + "class-2/figure.png";
        const QString text = "画像を保存できませんでした。\n\n" + path + "\n\n保存先のフォルダがありません";
        QString shown;
        whileShown([&] { exportDialogs().message(nullptr, text); }, [&](QWidget* box) {
            QVERIFY(qobject_cast<QMessageBox*>(box));
            shown = box->findChild<QLabel*>("qt_msgbox_label")->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        QVERIFY(shown.count(QChar(0x200B)) >= path.size() / 24);
        QCOMPARE(shown.remove(QChar(0x200B)), text);
    }

    // The toolkit's dialogs speak Japanese like the program: the file dialog,
    // its question before a file is overwritten, and the print dialog.
    void dialogsInJapanese()
    {
        QTemporaryDir dir;
        QFile existing(dir.filePath("old.png"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        auto f = lesson(0);
        QWidget* window = platform::qt::widgetOf(*f->window);
        QStringList fileDialog, question;
        whileShown([&] { exportDialogs().saveFileName(window, dir.filePath("old.png")); }, [&](QWidget* dialog) {
            QVERIFY(qobject_cast<QFileDialog*>(dialog));
            fileDialog = textsOf(dialog);
            whileShown([&] { static_cast<QDialog*>(dialog)->accept(); }, [&](QWidget* box) {
                question = textsOf(box);
                static_cast<QDialog*>(box)->reject();  // not replaced
            });
            static_cast<QDialog*>(dialog)->reject();
        });
        QVERIFY2(fileDialog.contains("アドレス:") && fileDialog.contains("ファイル名(&N):") && fileDialog.contains("保存(&S)") &&
                     fileDialog.contains("キャンセル"),
                 qPrintable(fileDialog.join(" | ")));
        QVERIFY2(question.filter("は既に存在します").size() == 1, qPrintable(question.join(" | ")));
        QStringList printDialog;
        QPrinter printer;
        whileShown([&] { exportDialogs().choosePrinter(window, printer); }, [&](QWidget* dialog) {
            printDialog = textsOf(dialog);
            static_cast<QDialog*>(dialog)->reject();
        });
        QVERIFY2(printDialog.contains("印刷(&P)") && printDialog.contains("キャンセル"), qPrintable(printDialog.join(" | ")));
    }
};

int main(int argc, char* argv[])
{
#ifdef __linux__
    QTemporaryDir base;
    disks = mountDisks(base.path());
#endif
    QApplication app(argc, argv);
    TestExport test;
    const int failed = QTest::qExec(&test, argc, argv);
#ifdef __linux__
    for (const QString& d : {disks.full, disks.readOnlyMount})
        if (!d.isEmpty())
            umount(d.toLocal8Bit().constData());
#endif
    return failed;
}
#include "tst_export.moc"
