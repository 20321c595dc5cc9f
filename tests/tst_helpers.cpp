// The number and text helpers: reading numbers, writing them, rounding, the
// integer conversions and the 16-colour palette.
#include <QTest>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "platform/helpers.h"

using namespace platform;

class TestHelpers : public QObject {
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("leading blank") << " 0.5" << 0.5;
        QTest::newRow("decimal") << "12.5" << 12.5;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("negative") << " -3" << -3.0;
        QTest::newRow("beyond double") << "1e400" << std::numeric_limits<double>::infinity();
        QTest::newRow("beyond 32 bits") << "99999999999" << 99999999999.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text.toStdString()), value);
    }

    // What a pupil types into 速度 with a Japanese input method on.
    void halfWidthNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        QTest::newRow("full-width digits") << "１０" << "10";
        QTest::newRow("full-width point") << "１２．５" << "12.5";
        QTest::newRow("full-width minus and the minus sign") << "－５−５" << "-5-5";
        QTest::newRow("ideographic space, other letters as they are") << "　５ｃｍ" << " 5ｃｍ";
        QTest::newRow("half-width as it is") << " 50" << " 50";
    }
    void halfWidthNumber()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        QCOMPARE(QString::fromStdString(platform::halfWidthNumber(text.toStdString())), read);
    }

    void str_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("str");
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("half: no leading zero") << 0.5 << " .5";
        QTest::newRow("ten") << 10.0 << " 10";
        QTest::newRow("negative: sign, no blank") << -3.0 << "-3";
        QTest::newRow("one and a half") << 1.5 << " 1.5";
    }
    void str()
    {
        QFETCH(double, value);
        QFETCH(QString, str);
        QCOMPARE(QString::fromStdString(Str(value)), str);
        QCOMPARE(QString::fromStdString(PrintText(value)), str + ' ');
    }

    void rounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("2.5 down to even") << 2.5 << 2;
        QTest::newRow("3.5 up to even") << 3.5 << 4;
        QTest::newRow("62.5 down to even") << 62.5 << 62;
        QTest::newRow("-2.5 to even") << -2.5 << -2;
        QTest::newRow("-2.6") << -2.6 << -3;
    }
    void rounding()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(roundHalfEven(value), double(rounded));
        QCOMPARE(int(CInt(value)), rounded);
        QCOMPARE(int(CLng(value)), rounded);
        QCOMPARE(int(CLngSaturated(value)), rounded);
        QCOMPARE(Int(value), std::floor(value));
    }

    void outOfRange()
    {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, QBColor(16));
        QCOMPARE(int(CInt(-32768)), -32768);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CInt(32768));
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CInt(32767.5));  // rounds to 32768
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CLng(2147483648.0));
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CLng(std::numeric_limits<double>::infinity()));
        constexpr auto lmax = std::numeric_limits<std::int32_t>::max(), lmin = std::numeric_limits<std::int32_t>::min();
        QCOMPARE(CLngSaturated(1e300), lmax);
        QCOMPARE(CLngSaturated(std::numeric_limits<double>::infinity()), lmax);
        QCOMPARE(CLngSaturated(-std::numeric_limits<double>::infinity()), lmin);
    }

    void qbcolor_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<uint>("colour");
        QTest::newRow("0 black") << 0 << 0x000000u;
        QTest::newRow("2 green") << 2 << 0x008000u;
        QTest::newRow("7 light grey") << 7 << 0xC0C0C0u;
        QTest::newRow("9 light blue") << 9 << 0xFF0000u;
        QTest::newRow("14 yellow") << 14 << 0x00FFFFu;
        QTest::newRow("15 white") << 15 << 0xFFFFFFu;
    }
    void qbcolor()
    {
        QFETCH(int, index);
        QFETCH(uint, colour);
        QCOMPARE(QBColor(index), Colour(colour));
    }
};

QTEST_APPLESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
