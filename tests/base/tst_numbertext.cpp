#include "base/NumberText.h"

#include <QtTest>

class TstNumberText : public QObject
{
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void round_data();
    void round();
    void parse_data();
    void parse();
    void places();
};

void TstNumberText::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 712.0 << "712";
    QTest::newRow("comma") << 6.47 << "6,47";
    QTest::newRow("half") << 2.5 << "2,5";
    QTest::newRow("third") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("sum 0.1+0.2") << 0.1 + 0.2 << "0,3";
    QTest::newRow("big") << 1e20 << "1E+20";
    QTest::newRow("small") << 1e-5 << "1E-05";
    QTest::newRow("negative") << -7.5 << "-7,5";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
}

void TstNumberText::format()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::format(value), text);
}

void TstNumberText::round_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fixed"); // the same rounding with every decimal shown
    // Ties go to the even digit of the exact binary value.
    QTest::newRow("0.125") << 0.125 << 2 << "0,12" << "0,12";
    QTest::newRow("0.375") << 0.375 << 2 << "0,38" << "0,38";
    QTest::newRow("2.5 to 0") << 2.5 << 0 << "2" << "2";
    QTest::newRow("3.5 to 0") << 3.5 << 0 << "4" << "4";
    // 1.005 is stored just below the half: multiplying by 100 first would give 1,01.
    QTest::newRow("1.005") << 1.005 << 2 << "1" << "1,00";
    QTest::newRow("resistance") << 711.997152 << 2 << "712" << "712,00";
    QTest::newRow("voltage drop") << 6.4727 << 2 << "6,47" << "6,47";
    QTest::newRow("power factor") << 0.7 << 2 << "0,7" << "0,70";
    QTest::newRow("negative places") << 2.75 << -1 << "3" << "3";
    QTest::newRow("negative") << -7.25 << 1 << "-7,2" << "-7,2";
    QTest::newRow("negative to zero") << -0.004 << 2 << "0" << "0,00";
    QTest::newRow("huge") << 1e20 << 2 << "1E+20" << "1E+20";
}

void TstNumberText::round()
{
    QFETCH(double, value);
    QFETCH(int, places);
    QFETCH(QString, text);
    QFETCH(QString, fixed);
    QCOMPARE(NumberText::formatRounded(value, places), text);
    QCOMPARE(NumberText::formatFixed(value, places), fixed);
}

void TstNumberText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "37,04" << true << 37.04;
    QTest::newRow("point") << "37.04" << true << 37.04;
    QTest::newRow("blanks") << "  12,5 " << true << 12.5;
    QTest::newRow("sign") << "-5" << true << -5.0;
    QTest::newRow("plus") << "+5" << true << 5.0;
    QTest::newRow("exponent") << "1,5E3" << true << 1500.0;
    QTest::newRow("leading point") << ",5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("grouping") << "1 000" << false << 0.0;
    QTest::newRow("two separators") << "1,2,3" << false << 0.0;
    QTest::newRow("unit") << "25А" << false << 0.0;
    QTest::newRow("bare exponent") << "1E" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
}

void TstNumberText::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto v = NumberText::parse(text);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(*v, value);
    QCOMPARE(NumberText::toDouble(text), ok ? value : 0.0);
}

void TstNumberText::places()
{
    QCOMPARE(NumberText::places(2), 2);
    QCOMPARE(NumberText::places(2.5), 2); // nearest, ties to even
    QCOMPARE(NumberText::places(3.5), 4);
    QCOMPARE(NumberText::places(-1), 0);
}

QTEST_GUILESS_MAIN(TstNumberText)
#include "tst_numbertext.moc"
