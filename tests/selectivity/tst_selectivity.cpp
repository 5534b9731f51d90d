// Selectivity of devices in series: the curves of the delivered data file
// against the standards' test points, pairs worked by hand (where the curves
// meet, on a point or inside a segment, and the verdict at the node's
// current), a damaged curve file, and the command line on the workshop.
#include "TestSupport.h"
#include "../network/Workshop.h"
#include "base/ProjectFile.h"
#include "calc/selectivity/Selectivity.h"

#include <QtTest>

#include <cmath>

using namespace Selectivity;
using TripCurves::CurveTable;

Q_DECLARE_METATYPE(Selectivity::Verdict)
Q_DECLARE_METATYPE(Selectivity::Zone)

class TstSelectivity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void curvesOfEveryDevice();
    void pairs_data();
    void pairs();
    void damagedCurveFile_data();
    void damagedCurveFile();
    void commandLine();

private:
    Protection::Breaker device(const QString &characteristic, double rated) const;
    TestAppDir m_app;
    Protection::BreakerTable m_breakers;
    CurveTable m_curves;
};

void TstSelectivity::initTestCase()
{
    m_breakers = Protection::BreakerTable::load(m_app.path());
    m_curves = CurveTable::load(m_app.path());
    QCOMPARE(m_curves.status(), CurveTable::Status::Ok);
}

Protection::Breaker TstSelectivity::device(const QString &characteristic, double rated) const
{
    const auto d = m_breakers.find(characteristic, rated);
    return d ? *d : Protection::Breaker{};
}

// Every device of the delivered file has both curves, through the test
// points of ГОСТ IEC 60898-1 (modular) or ГОСТ Р 50030.2 (industrial).
void TstSelectivity::curvesOfEveryDevice()
{
    const QHash<QString, std::pair<double, double>> instantaneous = {
        {"B", {3, 5}}, {"C", {5, 10}}, {"D", {10, 20}}, {"10In", {8, 12}}};
    int devices = 0;
    for (const QString &characteristic : m_breakers.characteristics()) {
        for (const Protection::Breaker &d : m_breakers.ofCharacteristic(characteristic)) {
            ++devices;
            const auto band = m_curves.bandOf(d);
            QVERIFY2(band, qPrintable(d.designation()));
            const double in = d.rated;
            const bool modular = characteristic.size() == 1;
            const double conventional = in > 63 ? 7200 : 3600;
            QCOMPARE(band->instantaneousFrom(), instantaneous.value(characteristic).first * in);
            QCOMPARE(band->instantaneousTo(), instantaneous.value(characteristic).second * in);
            const double noTrip = (modular ? 1.13 : 1.05) * in;
            const double trip = (modular ? 1.45 : 1.3) * in;
            QCOMPARE(band->neverTrips.timeAt(noTrip), conventional);
            QVERIFY(std::isinf(band->neverTrips.timeAt(noTrip * 0.999)));
            QCOMPARE(band->alwaysTrips.timeAt(trip), conventional);
            QVERIFY(std::isinf(band->alwaysTrips.timeAt(trip * 0.999)));
            // Past the instantaneous range: may trip at once, sure within 0,1 s.
            QCOMPARE(band->neverTrips.timeAt(band->instantaneousFrom() * 1.001), 0.0);
            QCOMPARE(band->alwaysTrips.timeAt(1e6), 0.1);
            if (modular) {
                QCOMPARE(band->neverTrips.timeAt(2.55 * in), 1.0);
                QCOMPARE(band->alwaysTrips.timeAt(2.55 * in), in > 32 ? 120.0 : 60.0);
            }
        }
    }
    QCOMPARE(devices, 60);
    // Straight in log-log: at the geometric mean of 2,55·In and 10·In, the
    // geometric mean of 60 s and 0,1 s.
    const auto c16 = m_curves.bandOf(device("C", 16));
    QVERIFY(qAbs(c16->alwaysTrips.timeAt(std::sqrt(40.8 * 160)) - std::sqrt(6.0)) < 1e-9);
}

void TstSelectivity::pairs_data()
{
    QTest::addColumn<QString>("upCharacteristic");
    QTest::addColumn<double>("upRated");
    QTest::addColumn<QString>("downCharacteristic");
    QTest::addColumn<double>("downRated");
    QTest::addColumn<double>("maximumAtNode"); // kA, negative: not known
    QTest::addColumn<double>("limit"); // A
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<Zone>("zone");
    QTest::addColumn<QString>("text");

    // B16 clears every current above 5·16 = 80 A within 0,1 s; C63 does not
    // trip within 0,1 s below 5·63 = 315 A.
    QTest::newRow("C63 над B16, 0,25 кА") << "C" << 63.0 << "B" << 16.0 << 0.25 << 315.0 << Verdict::Full << Zone::None
                                          << "полная";
    QTest::newRow("C63 над B16, 2 кА") << "C" << 63.0 << "B" << 16.0 << 2.0 << 315.0 << Verdict::Partial
                                       << Zone::Instantaneous << "до Is = 0,32 кА";
    // C16's thermal part (2,55·In = 40,8 A, 60 s down to 160 A, 0,1 s) stays
    // under C63's (71,19 A, 3600 s to 160,65 A, 1 s): they meet at 315 A too.
    QTest::newRow("C63 над C16, 2 кА") << "C" << 63.0 << "C" << 16.0 << 2.0 << 315.0 << Verdict::Partial
                                       << Zone::Instantaneous << "до Is = 0,32 кА";
    // Two equal devices: at 1,45·16 = 23,2 A C16 is sure to trip in 1 h while
    // the other may already trip (its curve falls from 3600 s at 18,08 A).
    QTest::newRow("C16 над C16") << "C" << 16.0 << "C" << 16.0 << 1.0 << 23.2 << Verdict::None << Zone::Thermal << "нет";
    // Inside segments: C32 never trips below 3600·(I/36,16)^-10,061 s, C16
    // always trips by 60·(I/40,8)^-4,6813 s; equal at 69,68 A.
    QTest::newRow("C32 над C16") << "C" << 32.0 << "C" << 16.0 << 1.0 << 69.6809 << Verdict::None << Zone::Thermal
                                 << "нет";
    // 250 A, 10 In ± 20 %: may trip at once from 2000 A; C63 is sure to trip
    // within 0,1 s from 630 A, and its thermal part stays below.
    QTest::newRow("250 А, 10·Iн над C63, 4 кА") << "10In" << 250.0 << "C" << 63.0 << 4.0 << 2000.0 << Verdict::Partial
                                             << Zone::Instantaneous << "до Is = 2 кА";
    QTest::newRow("250 А, 10·Iн над C63, 1,5 кА") << "10In" << 250.0 << "C" << 63.0 << 1.5 << 2000.0 << Verdict::Full
                                               << Zone::None << "полная";
    QTest::newRow("250 А, 10·Iн над C63, ток не известен")
        << "10In" << 250.0 << "C" << 63.0 << -1.0 << 2000.0 << Verdict::Partial << Zone::Instantaneous
        << "до Is = 2 кА";
    // Upstream smaller than downstream: the downstream curve begins (91,35 A)
    // where the upstream one has long gone instantaneous (80 A).
    QTest::newRow("C16 над C63") << "C" << 16.0 << "C" << 63.0 << 3.0 << 91.35 << Verdict::None
                                 << Zone::Instantaneous << "нет";
    // Is exactly at the node's current is not full selectivity.
    QTest::newRow("C63 над B16, 0,315 кА") << "C" << 63.0 << "B" << 16.0 << 0.315 << 315.0 << Verdict::Partial
                                           << Zone::Instantaneous << "до Is = 0,32 кА";
}

void TstSelectivity::pairs()
{
    QFETCH(QString, upCharacteristic);
    QFETCH(double, upRated);
    QFETCH(QString, downCharacteristic);
    QFETCH(double, downRated);
    QFETCH(double, maximumAtNode);
    QFETCH(double, limit);
    const auto up = m_curves.bandOf(device(upCharacteristic, upRated));
    const auto down = m_curves.bandOf(device(downCharacteristic, downRated));
    QVERIFY(up && down);
    PairInput input{*up, *down, std::nullopt};
    if (maximumAtNode >= 0)
        input.maximumAtNode = maximumAtNode;
    const PairCheck c = check(input);
    QVERIFY(c.limit);
    QVERIFY2(qAbs(*c.limit - limit) < 1e-3, qPrintable(QString::number(*c.limit, 'g', 10)));
    QTEST(c.verdict, "verdict");
    QTEST(c.zone, "zone");
    QTEST(verdictText(c, 2), "text");
}

void TstSelectivity::damagedCurveFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sound");
    QTest::newRow("кривая изготовителя, 5 точек с вертикальным участком")
        << "\"C\",0,63,\"несрабатывание\",5,1.13,3600,2.55,1,5,0.1,5,0.02,8,0.01\n"
           "\"C\",0,63,\"срабатывание\",2,1.45,3600,10,0.1\n"
        << true;
    QTest::newRow("время растет") << "\"C\",0,63,\"срабатывание\",2,1.45,60,10,100\n" << false;
    QTest::newRow("ток убывает") << "\"C\",0,63,\"срабатывание\",2,10,3600,1.45,0.1\n" << false;
    QTest::newRow("точек меньше, чем сказано") << "\"C\",0,63,\"срабатывание\",3,1.45,3600,10,0.1\n" << false;
    QTest::newRow("неизвестная кривая") << "\"C\",0,63,\"max\",2,1.45,3600,10,0.1\n" << false;
    QTest::newRow("пустой диапазон In") << "\"C\",63,63,\"срабатывание\",2,1.45,3600,10,0.1\n" << false;
    QTest::newRow("нулевое время") << "\"C\",0,63,\"срабатывание\",2,1.45,3600,10,0\n" << false;
    QTest::newRow("пустой файл") << "" << false;
}

void TstSelectivity::damagedCurveFile()
{
    QFETCH(QString, text);
    QFETCH(bool, sound);
    const CurveTable t = CurveTable::fromText(text);
    QCOMPARE(t.status() == CurveTable::Status::Ok, sound);
    if (!sound) {
        QVERIFY(!t.bandOf(device("C", 16)));
        return;
    }
    // A vertical step: just below 5·In the lower time holds at the point, then
    // straight to 8·In; the upstream C16 of this file meets the delivered B10 at 5·16 A.
    const auto band = t.bandOf(device("C", 16));
    QCOMPARE(band->neverTrips.timeAt(80), 0.02);
    QVERIFY(qAbs(band->neverTrips.timeAt(std::sqrt(80.0 * 128.0)) - std::sqrt(0.02 * 0.01)) < 1e-12);
    const auto b10 = m_curves.bandOf(device("B", 10));
    QCOMPARE(*limitCurrent(*band, *b10), 80.0);
}

void TstSelectivity::commandLine()
{
    // The workshop: the feeder's 200 A 10In may trip at once from 1600 A; each
    // branch device is sure to trip within 0,1 s from 10·In (1000, 250, 400 A)
    // and its thermal part stays below the feeder's.
    Project p = Workshop::project();
    const QString path = m_app.file(QStringLiteral("Цех.kbp"));
    QVERIFY(ProjectFile::write(path, p));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("selectivity"), path, QStringLiteral("--app-dir"), m_app.path()}, &out, &err), 0);
    QStringList rows = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).split(QLatin1Char('\t')).mid(0, 4),
             (QStringList{"Ввод ВРУ", "ЩС-1", "200 А, 10·Iн", "C100"}));
    for (const QString &row : rows) {
        const QStringList f = row.split(QLatin1Char('\t'));
        QCOMPARE(f.size(), 7);
        QCOMPARE(f.mid(5), (QStringList{"1,6", "частичная"}));
    }
    QVERIFY(err.isEmpty());

    // A line starting at no line: the places are damaged, exit 3; the rest is listed.
    p.lines[3].place.from = 77;
    QVERIFY(ProjectFile::write(path, p));
    QCOMPARE(runCli({QStringLiteral("selectivity"), path, QStringLiteral("--app-dir"), m_app.path()}, &out, &err), 3);
    QCOMPARE(out.count(QLatin1Char('\n')), 2);
}

QTEST_GUILESS_MAIN(TstSelectivity)
#include "tst_selectivity.moc"
