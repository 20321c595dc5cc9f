// The lesson in each language: every caption fits its control at 100 % and
// 200 %; a lesson by keys in English and in Portuguese shows, names and says
// that language; a link's lang= part, the choice kept over a restart, codes
// refused; and what reading aloud hands the platform's voice, cut off by the
// next.
#include <QAccessible>
#include <QCheckBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/start.h"
#include "lang/texts.h"
#include "link/link.h"
#include "platform/backend.h"
#include "testutil.h"

namespace {

void keys(const QList<Qt::Key>& sequence)
{
    for (Qt::Key k : sequence)
        QTest::keyClick(QApplication::focusWidget(), k);
}

QString description(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description); }
QString name(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }

// What reading aloud hands the voice: "tag|text", "stop" for a cut-off.
// A voice for every language but `missing`.
struct Voice {
    QStringList said;
    explicit Voice(const std::string& missing = {})
    {
        platform::qt::speechStandIn() = [this, missing](const std::string& text, const std::string& tag) {
            said << (text.empty() ? QString("stop") : QString::fromStdString(tag + "|" + text));
            return tag != missing;
        };
    }
    ~Voice() { platform::qt::speechStandIn() = nullptr; }
};

}  // namespace

class TestLanguage : public QObject {
    Q_OBJECT
    QTemporaryDir settings;

private slots:
    void init() { platform::settings::open(settings.filePath("kansu.ini").toStdString()); }
    void cleanup()
    {
        platform::setReadAloud(false);
        platform::chooseLanguage(lang::languages().front());
    }

    // Every button, check box and label of the window shows its whole text
    // inside its own box, no smaller than 70 % of its font, and no control
    // takes another's place.
    void fits_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<double>("zoom");
        for (const lang::Language& l : lang::languages())
            for (double zoom : {1.0, 2.0})
                QTest::newRow(qPrintable(QString("%1 at %2 %").arg(l.code).arg(zoom * 100))) << QString(l.code) << zoom;
    }
    void fits()
    {
        QFETCH(QString, code);
        QFETCH(double, zoom);
        Form1 f;
        f.window->setZoom(zoom);
        f.Show();
        QWidget* window = testutil::widget(f.kokuban)->window();
        QHash<QWidget*, int> designed;
        const QList<QAbstractButton*> controls = window->findChildren<QAbstractButton*>();
        for (QAbstractButton* c : controls)
            designed[c] = c->font().pixelSize();
        f.chooseLanguage(*lang::find(code.toStdString()));
        for (QAbstractButton* c : controls) {
            // A caption with readings is drawn by the program (looked at in screenshots).
            // So is a check box inside a picture box, with its caption beside it.
            if (!c->isVisible() || c->text().isEmpty() || c->parentWidget() != window)
                continue;
            const QString what = code + ": " + c->text();
            QVERIFY2(c->font().pixelSize() >= 0.7 * designed[c] - 1, qPrintable(what));
            double room = c->width() - 2 * zoom;
            if (auto* check = qobject_cast<QCheckBox*>(c)) {
                QStyleOptionButton option;
                option.initFrom(check);
                room = c->width() - c->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check).left();
            }
            const double width = QFontMetricsF(c->font()).horizontalAdvance(c->text());
            QVERIFY2(width <= room + 1, qPrintable(what + QString(": %1 in %2").arg(width).arg(room)));
            for (QAbstractButton* other : controls)
                if (other != c && other->isVisible() && other->parentWidget() == c->parentWidget())
                    QVERIFY2(!c->geometry().intersects(other->geometry()), qPrintable(what + " over " + name(other)));
        }
        for (platform::Container* box : std::initializer_list<platform::Container*>{f.window.get(), f.kokuban, f.hyo, f.gamen})
            for (platform::Graphic* g : box->graphics())
                if (auto* label = dynamic_cast<platform::Label*>(g);
                    label && label->Visible() && !label->ownFace() && lang::current().file && !label->shownText().empty()) {
                    const int pixels = static_cast<int>(std::lround(platform::fontPixels(label->font().points) * label->textScale()));
                    const double width = platform::backend::textWidth(label->shownText(), pixels, label->font().bold);
                    const QString what = QString::fromStdString(label->shownText());
                    QVERIFY2(label->textScale() >= 0.7, qPrintable(what));
                    QVERIFY2(width <= label->Width() + 1, qPrintable(what + QString(": %1 in %2").arg(width).arg(label->Width())));
                    // Readings above the text only where two lines fit, else in place of the kanji.
                    QVERIFY2(!label->hasReadings() || label->Height() >= pixels + pixels / 2, qPrintable(what));
                }
    }

    // A lesson by keys: names, the board's description and what is said
    // aloud all in the pupil's language, the values as everywhere.
    void lessonByKeys_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("forward");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("aloud");
        QTest::newRow("English") << "en" << "Forward"
            << "Blocks in columns 1 to 5: 2 cm, empty, empty, empty, empty. P is at χ = 1.5 cm; the area that has passed AB is y = 3 cm²."
            << "en|chi 1 point 5 centimetres, y 3 square centimetres";
        QTest::newRow("Portuguese") << "pt" << "Avançar"
            << "Blocos das colunas 1 a 5: 2 cm, vazia, vazia, vazia, vazia. O ponto P está em χ = 1.5 cm; a área que passou de AB é y = 3 cm²."
            << "pt-BR|qui 1 vírgula 5 centímetros, ípsilon 3 centímetros quadrados";
    }
    void lessonByKeys()
    {
        QFETCH(QString, code);
        QFETCH(QString, forward);
        QFETCH(QString, told);
        QFETCH(QString, aloud);
        Voice voice;
        Form1 f;
        start(f, readStartOptions({"--lang", code.toStdString()}));
        f.Show();
        f.setReadAloud(true);
        QWidget* window = testutil::widget(f.kokuban)->window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget* board = platform::qt::frameOf(*f.kokuban);
        board->setFocus(Qt::OtherFocusReason);
        keys({Qt::Key_Space, Qt::Key_1, Qt::Key_Space, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown});
        QCOMPARE(name(testutil::widget(f.susumu)), forward);
        QCOMPARE(description(board), told);
        QTest::qWait(1100);
        QCOMPARE(voice.said.last(), aloud);
        QCOMPARE(voice.said.at(voice.said.size() - 2), "stop");  // what was still being said is cut off
        QCOMPARE(f.hako[0], 1.0);
    }

    // A language change in the middle of a run: the run goes on, and what is
    // said from then on is in the new language, each text cutting off the last.
    void changeDuringRun()
    {
        Voice voice;
        Form1 f;
        f.Show();
        f.setReadAloud(true);
        testutil::build(f, {3, 0, 0, 0, 0});
        f.Combo1->setText("20");  // 100 ms a step: 2 s for the run
        QTimer::singleShot(500, [&] { f.chooseLanguage(*lang::find("en")); });
        f.jidou_Click();  // returns when the run has ended
        QTest::qWait(1100);
        QCOMPARE(f.px, 100);
        QCOMPARE(name(testutil::widget(f.susumu)), "Forward");
        QVERIFY2(voice.said.filter("ja|").size() >= 1, qPrintable(voice.said.join('\n')));
        QCOMPARE(voice.said.last(), "en|chi 10 centimetres, y 12 square centimetres, The automatic run stopped");
        for (int i = 1; i < voice.said.size(); i += 2)
            QCOMPARE(voice.said.at(i - 1), "stop");
    }

    // No voice for the language: said once in a message, then silence.
    void noVoice()
    {
        Voice voice("ne");
        QStringList messages;
        const platform::qt::ExportDialogs saved = platform::qt::exportDialogs();
        platform::qt::exportDialogs().message = [&](QWidget*, const QString& text) { messages << text; };
        Form1 f;
        f.Show();
        f.chooseLanguage(*lang::find("ne"));
        f.setReadAloud(true);
        for (int i = 0; i < 2; ++i) {
            testutil::click(f.susumu);
            QTest::qWait(1100);
        }
        platform::qt::exportDialogs() = saved;
        QCOMPARE(messages, QStringList{"यो उपकरणमा यो भाषा ठूलो स्वरमा पढ्ने आवाज छैन।"});
        QCOMPARE(voice.said.filter("ne|").size(), 2);  // asked each time, in case a voice came
    }

    // lang= in a link, the choice kept for the next start, and codes refused.
    void chosenAndKept()
    {
        {
            Form1 f;
            start(f, readStartOptions({"--link", "figure=1,1,3,0,2&lang=pt"}));
            QCOMPARE(lang::current().code, std::string("pt"));
            QVERIFY(QString::fromStdString(f.linkText()).contains("lang=pt"));
            QCOMPARE(f.hako[2], 3.0);
        }
        platform::chooseLanguage(lang::languages().front());  // as a new process starts
        {
            Form1 f;  // the next start, with nothing asked for
            start(f, readStartOptions({}));
            QCOMPARE(lang::current().code, std::string("pt"));
            QCOMPARE(name(testutil::widget(f.susumu)), "Avançar");
        }
        StartOptions options;
        const std::string refusal = readStartOption(options, "lang", "xx");
        QVERIFY2(QString::fromStdString(refusal).contains("ja, furigana, en, pt"), refusal.c_str());
        QVERIFY(!options.lang);
        QVERIFY(readStartOptions({"--lang", "<b>"}).refused.size() == 1);
        QCOMPARE(lessonlink::read("figure=1&lang=xx").refused, std::vector<std::string>{"lang=xx"});
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
