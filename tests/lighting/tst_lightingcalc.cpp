// The lighting calculation without a screen: checks, number of luminaires,
// the grid and the plan geometry, the reference lists and the stored inputs.
#include "TestSupport.h"
#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "calc/lighting/LightingCalc.h"

#include <QtTest>

using namespace Lighting;

namespace {

Texts validTexts()
{
    Texts t;
    t.length = QStringLiteral("5,4");
    t.width = QStringLiteral("3,6");
    t.h1 = QStringLiteral("3,0");
    t.h2 = QStringLiteral("0,8");
    t.kz = QStringLiteral("1,5");
    t.en = QStringLiteral("300");
    t.lampPower = QStringLiteral("18");
    return t;
}

Inputs exampleInputs()
{
    return inputsFromTexts(validTexts(), 60, 4);
}

const QVector<UtilisationRow> kExampleTable = {{0.5, 20}, {1, 45}, {2, 60}};

} // namespace

Q_DECLARE_METATYPE(Lighting::Field)
Q_DECLARE_METATYPE(QVector<Lighting::UtilisationRow>)

class TstLightingCalc : public QObject
{
    Q_OBJECT
private slots:
    void workedExample();
    void deliveredDataFiles();
    void checks_data();
    void checks();
    void smallResultShowsOne_data();
    void smallResultShowsOne();
    void refusedCalculations_data();
    void refusedCalculations();
    void hugeCountStillComputed();
    void grid_data();
    void grid();
    void planOfTwelveInLongRoom();
    void radiusHalving_data();
    void radiusHalving();
    void tooManyToDraw();
    void readers();
    void listLookups();
    void settingsRoundTrip();
    void storedValues();
};

void TstLightingCalc::workedExample()
{
    const Result r = calculate(exampleInputs(), kExampleTable);
    QVERIFY(r.ok);
    QCOMPARE(r.area, 5.4 * 3.6);
    QVERIFY(qAbs(r.roomIndex - 19.44 / 2.2 / 9.0) < 1e-12);
    QCOMPARE(r.eta, 0.45);
    QCOMPARE(r.flux, 4320.0);
    // 8748 / 0.45 / 4320 = 4,5: the half goes to the even 4.
    QCOMPARE(r.count, 4.0);
    QCOMPARE(countText(r.count), QStringLiteral("Количество светильников: 4"));
}

void TstLightingCalc::deliveredDataFiles()
{
    TestAppDir app;
    const auto table = readUtilisationTable(DataFiles::dataFilePath(app.path(), DataFiles::Utilisation));
    QVERIFY(table);
    QCOMPARE(table->size(), 13);
    QCOMPARE(table->first().threshold, 0.5);
    QCOMPARE(table->first().percent, 17.0);
    QCOMPARE(table->last().threshold, 5.0);
    for (int k = 1; k < table->size(); ++k)
        QVERIFY(table->at(k - 1).threshold < table->at(k).threshold);

    const auto lamps = readRecords(DataFiles::dataFilePath(app.path(), DataFiles::LampTypes));
    const auto norms = readRecords(DataFiles::dataFilePath(app.path(), DataFiles::IlluminanceNorms));
    QVERIFY(lamps && norms);
    QVERIFY(lamps->size() > 3); // the default lamp type is entry 3
    const QString cfl = QStringLiteral("КЛЛ (компактные люминесцентные)");
    QCOMPARE(lampEfficacy(*lamps, cfl), 60);
    const QString office = QStringLiteral("Кабинеты, рабочие комнаты, офисы");
    QCOMPARE(normIlluminance(*norms, office), std::optional<int>(300));
    for (const ListRecord &r : *lamps)
        QVERIFY2(readInteger(r.value).value_or(0) > 0, qPrintable(r.name));
    for (const ListRecord &r : *norms)
        QVERIFY2(readInteger(r.value).value_or(0) > 0, qPrintable(r.name));

    // The room of the example with the delivered table: index 0,98 falls
    // under the threshold 1,1 (31 %), so 6,53 luminaires round to 7.
    const Result r = calculate(inputsFromTexts(validTexts(), lampEfficacy(*lamps, cfl), 4), *table);
    QVERIFY(r.ok);
    QCOMPARE(r.eta, 0.31);
    QCOMPARE(r.count, 7.0);
}

void TstLightingCalc::checks_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("otherField");
    QTest::addColumn<QString>("otherText");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<Lighting::Field>("field");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");

    const QString err = QStringLiteral("Ошибка");
    const QString input = QStringLiteral("Ошибка ввода");
    QTest::newRow("all valid") << "" << "" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("L = 50 accepted") << "length" << "50" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("L = 50,1 refused") << "length" << "50,1" << "" << "" << true << Field::Length
                                      << "Слишком большая длина комнаты!" << err;
    QTest::newRow("W = 50,1 refused") << "width" << "50,1" << "" << "" << true << Field::Width
                                      << "Слишком большая ширина комнаты!" << err;
    QTest::newRow("H1 = 15 accepted") << "h1" << "15" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("H1 = 15,01 refused") << "h1" << "15,01" << "" << "" << true << Field::H1
                                        << "Слишком большая высота комнаты!" << err;
    const QString plane = QStringLiteral("Высота рабочей плоскости не может быть больше высоты комнаты!");
    QTest::newRow("H2 = 0,9 H1 refused") << "h2" << "2,7" << "" << "" << true << Field::H2 << plane << err;
    QTest::newRow("H2 = 2,6 accepted") << "h2" << "2,6" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("H2 above H1 refused") << "h2" << "3,5" << "" << "" << true << Field::H2 << plane << err;
    QTest::newRow("E = 10000 accepted") << "en" << "10000" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("E = 10001 refused") << "en" << "10001" << "" << "" << true << Field::En
                                       << "Слишком большая норма освещенности!" << err;
    QTest::newRow("P = 5000 accepted") << "lampPower" << "5000" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("P = 5000,5 refused") << "lampPower" << "5000,5" << "" << "" << true << Field::LampPower
                                        << "Слишком большая мощность лампы!" << err;
    QTest::newRow("Kz = 10 accepted") << "kz" << "10" << "" << "" << false << Field::Length << "" << "";
    QTest::newRow("Kz = 10,5 refused") << "kz" << "10,5" << "" << "" << true << Field::Kz
                                       << "Слишком большой коэффициент запаса!" << err;

    // The shared numeric check comes before each limit.
    QTest::newRow("empty length") << "length" << "" << "" << "" << true << Field::Length
                                  << "Укажите численное значение!" << input;
    QTest::newRow("letters in width") << "width" << "abc" << "" << "" << true << Field::Width
                                      << "Вводимое значение должно быть числовым!" << input;
    QTest::newRow("zero plane") << "h2" << "0" << "" << "" << true << Field::H2
                                << "Вводимое значение должно быть положительным и неравным нулю!" << input;
    QTest::newRow("E above a million") << "en" << "2000000" << "" << "" << true << Field::En
                                       << "Вводимое значение слишком велико!" << input;
    QTest::newRow("empty E (norm Другое)") << "en" << "" << "" << "" << true << Field::En
                                           << "Укажите численное значение!" << input;

    // Order: length before width; illuminance, then lamp power, then safety factor.
    QTest::newRow("length before width") << "width" << "abc" << "length" << "60" << true << Field::Length
                                         << "Слишком большая длина комнаты!" << err;
    QTest::newRow("E before Kz") << "kz" << "11" << "en" << "20000" << true << Field::En
                                 << "Слишком большая норма освещенности!" << err;
    QTest::newRow("power before Kz") << "kz" << "" << "lampPower" << "6000" << true << Field::LampPower
                                     << "Слишком большая мощность лампы!" << err;
    QTest::newRow("H1 checked before plane") << "h1" << "-3" << "h2" << "5" << true << Field::H1
                                             << "Вводимое значение должно быть положительным и неравным нулю!"
                                             << input;
}

void TstLightingCalc::checks()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, text);
    QFETCH(QString, otherField);
    QFETCH(QString, otherText);
    QFETCH(bool, refused);
    QFETCH(Lighting::Field, field);
    QFETCH(QString, message);
    QFETCH(QString, title);

    Texts t = validTexts();
    auto set = [&t](const QString &name, const QString &value) {
        QString *target = name == QLatin1String("length") ? &t.length
                          : name == QLatin1String("width") ? &t.width
                          : name == QLatin1String("h1")    ? &t.h1
                          : name == QLatin1String("h2")    ? &t.h2
                          : name == QLatin1String("kz")    ? &t.kz
                          : name == QLatin1String("en")    ? &t.en
                          : name == QLatin1String("lampPower") ? &t.lampPower
                                                               : nullptr;
        if (target)
            *target = value;
    };
    set(fieldName, text);
    set(otherField, otherText);

    const auto failure = checkTexts(t);
    QCOMPARE(bool(failure), refused);
    if (!failure)
        return;
    QCOMPARE(failure->field, field);
    QCOMPARE(failure->text, message);
    QCOMPARE(failure->title, title);
}

void TstLightingCalc::smallResultShowsOne_data()
{
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("width");
    // 0,4 lx passes the numeric check but is read as the integer 0.
    QTest::newRow("E reads as 0") << "0,4" << "5,4" << "3,6";
    // Half a lux reads as 0 too (halves to even).
    QTest::newRow("E = 0,5") << "0,5" << "5,4" << "3,6";
    QTest::newRow("tiny room") << "1" << "0,5" << "0,5";
}

void TstLightingCalc::smallResultShowsOne()
{
    QFETCH(QString, en);
    QFETCH(QString, length);
    QFETCH(QString, width);
    Texts t = validTexts();
    t.en = en;
    t.length = length;
    t.width = width;
    QVERIFY(!checkTexts(t));
    const Result r = calculate(inputsFromTexts(t, 60, 4), kExampleTable);
    QVERIFY(r.ok);
    QCOMPARE(r.count, 1.0);
    QCOMPARE(countText(r.count), QStringLiteral("Количество светильников: 1"));
}

void TstLightingCalc::refusedCalculations_data()
{
    QTest::addColumn<QVector<Lighting::UtilisationRow>>("table");
    QTest::addColumn<int>("efficacy");
    QTest::addColumn<int>("lamps");
    QTest::addColumn<QString>("lampPower");
    QTest::addColumn<QString>("message");

    const QString tooBig = QStringLiteral("Слишком большой индекс помещения!");
    QTest::newRow("index beyond the table") << QVector<UtilisationRow>{{0.5, 20}, {0.9, 40}} << 60 << 4 << "18"
                                            << tooBig;
    QTest::newRow("empty table") << QVector<UtilisationRow>{} << 60 << 4 << "18" << tooBig;
    QTest::newRow("zero utilisation") << QVector<UtilisationRow>{{1, 0}} << 60 << 4 << "18"
                                      << "Неверный коэффициент использования!";
    const QString noLight = QStringLiteral("Не задана светоотдача лампы!");
    QTest::newRow("no lamp type") << kExampleTable << 0 << 4 << "18" << noLight;
    QTest::newRow("no lamps") << kExampleTable << 60 << 0 << "18" << noLight;
    QTest::newRow("negative efficacy") << kExampleTable << -60 << 4 << "18" << noLight;
    // A lamp of 1E-308 W passes the checks; the count overflows.
    QTest::newRow("count overflows") << kExampleTable << 60 << 4 << "1E-308"
                                     << "Слишком большое количество светильников!";
}

void TstLightingCalc::refusedCalculations()
{
    QFETCH(QVector<Lighting::UtilisationRow>, table);
    QFETCH(int, efficacy);
    QFETCH(int, lamps);
    QFETCH(QString, lampPower);
    QFETCH(QString, message);
    Texts t = validTexts();
    t.lampPower = lampPower;
    QVERIFY(!checkTexts(t));
    const Result r = calculate(inputsFromTexts(t, efficacy, lamps), table);
    QVERIFY(!r.ok);
    QCOMPARE(r.message, message);
    QCOMPARE(errorTitle(), QStringLiteral("Ошибка"));
}

void TstLightingCalc::hugeCountStillComputed()
{
    // The largest room with a milliwatt lamp: billions of luminaires are a result, not a failure.
    Texts t = validTexts();
    t.length = QStringLiteral("50");
    t.width = QStringLiteral("50");
    t.h1 = QStringLiteral("15");
    t.h2 = QStringLiteral("1");
    t.kz = QStringLiteral("10");
    t.en = QStringLiteral("10000");
    t.lampPower = QStringLiteral("0,001");
    QVERIFY(!checkTexts(t));
    const Result r = calculate(inputsFromTexts(t, 12, 1), {{2, 39}});
    QVERIFY(r.ok);
    QCOMPARE(r.count, std::nearbyint(10000.0 * 2500 * 10 / 0.39 / (0.001 * 12)));
    QVERIFY(r.count > MaxDrawable);
    QCOMPARE(countText(r.count), QStringLiteral("Количество светильников: 53418803419"));
}

void TstLightingCalc::grid_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("longSide");
    QTest::addColumn<double>("shortSide");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    // Spacings 12/3 = 4 and 6/2 = 3 (ratio 1,33) beat 6 x 1 (2 and 6) and 2 x 3 (6 and 2).
    QTest::newRow("6 in 12 x 6") << 6 << 12.0 << 6.0 << 3 << 2;
    QTest::newRow("4 in 5,4 x 3,6") << 4 << 5.4 << 3.6 << 2 << 2;
    // 4 x 3 (1,5 and 1) ties with 6 x 2 (1 and 1,5): the squarer pair wins.
    QTest::newRow("12 in 6 x 3") << 12 << 6.0 << 3.0 << 4 << 3;
    QTest::newRow("9 in a square room") << 9 << 6.0 << 6.0 << 3 << 3;
    QTest::newRow("16 in 10 x 5") << 16 << 10.0 << 5.0 << 4 << 4;
    QTest::newRow("36 in 12 x 6") << 36 << 12.0 << 6.0 << 9 << 4;
    // 36 x 10 and 30 x 12 both give a ratio of 1,2; 30 x 12 is squarer.
    QTest::newRow("360 in 60 x 20") << 360 << 60.0 << 20.0 << 30 << 12;
    QTest::newRow("prime: one row along the long side") << 7 << 12.0 << 6.0 << 7 << 1;
    // 2 x 1 and 1 x 2 tie on both counts in a square room: more columns.
    QTest::newRow("2 in a square room") << 2 << 4.0 << 4.0 << 2 << 1;
    QTest::newRow("1") << 1 << 5.0 << 3.0 << 1 << 1;
}

void TstLightingCalc::grid()
{
    QFETCH(int, n);
    QFETCH(double, longSide);
    QFETCH(double, shortSide);
    QFETCH(int, columns);
    QFETCH(int, rows);
    const Grid g = chooseGrid(n, longSide, shortSide);
    QCOMPARE(g.columns, columns);
    QCOMPARE(g.rows, rows);
}

void TstLightingCalc::planOfTwelveInLongRoom()
{
    // 6 m × 3 m: the 6 m side runs across with 4 columns, 3 rows along the 3 m side.
    for (const auto &[length, width] : {std::pair{6.0, 3.0}, std::pair{3.0, 6.0}}) {
        const Plan p = makePlan(length, width, 12);
        QVERIFY(p.drawable);
        QCOMPARE(p.width, 4035.0);
        QCOMPARE(p.height, 2017.5);
        QCOMPARE(p.grid.columns, 4);
        QCOMPARE(p.grid.rows, 3);
        QCOMPARE(p.radius, 101); // 2017,5 / 20 = 100,875
        const QVector<QPointF> c = p.centres();
        QCOMPARE(c.size(), 12);
        QCOMPARE(c.first(), QPointF(504.375, 336.25)); // half of 4035 / 4 and of 2017,5 / 3
        QCOMPARE(c.last(), QPointF(3530.625, 1681.25));
        for (const QPointF &pt : c) {
            QVERIFY(pt.x() - p.radius >= 0 && pt.x() + p.radius <= p.width);
            QVERIFY(pt.y() - p.radius >= 0 && pt.y() + p.radius <= p.height);
        }
    }
}

void TstLightingCalc::radiusHalving_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("count");
    QTest::addColumn<int>("radius");
    QTest::newRow("one in a square room") << 4.0 << 4.0 << 1.0 << 202;
    // 202 × 100 > 4035: 101, 50 (50,5 to even), 25.
    QTest::newRow("too wide") << 4.0 << 4.0 << 100.0 << 25;
    // 101 × 30 fits across but not down 2017,5: 50,5 goes to 50.
    QTest::newRow("too high") << 6.0 << 3.0 << 30.0 << 50;
    // Halving ends at 0 for the largest drawable count.
    QTest::newRow("largest count") << 6.0 << 3.0 << 32767.0 << 0;
}

void TstLightingCalc::radiusHalving()
{
    QFETCH(double, length);
    QFETCH(double, width);
    QFETCH(double, count);
    QFETCH(int, radius);
    const Plan p = makePlan(length, width, count);
    QVERIFY(p.drawable);
    QCOMPARE(p.radius, radius);
    QVERIFY(p.radius * count <= p.width);
}

void TstLightingCalc::tooManyToDraw()
{
    const Plan p = makePlan(6, 3, MaxDrawable + 1);
    QVERIFY(!p.drawable);
    QVERIFY(p.centres().isEmpty());
    QCOMPARE(p.width, 4035.0);
    QCOMPARE(p.height, 4035.0);
    QVERIFY(!makePlan(50, 50, 5e10).drawable);
    QVERIFY(!tooManyText().isEmpty());
}

void TstLightingCalc::readers()
{
    TestAppDir app;
    // Decimal-comma thresholds in quotes; a damaged row is left out, and a
    // last field without its partner is dropped.
    app.writeFile(QStringLiteral("u.dat"), cp1251(QStringLiteral("\"0,5\",17\r\n\"x\",20\r\n\"1,25\",33\r\n2.5,42\r\n\"3\"")));
    const auto table = readUtilisationTable(app.file(QStringLiteral("u.dat")));
    QVERIFY(table);
    QCOMPARE(table->size(), 3);
    QCOMPARE(table->at(1).threshold, 1.25);
    QCOMPARE(table->at(1).percent, 33.0);
    QCOMPARE(table->at(2).threshold, 2.5);
    QVERIFY(!readUtilisationTable(app.file(QStringLiteral("missing.dat"))));

    app.writeFile(QStringLiteral("l.dat"), cp1251(QStringLiteral("\"Лампа, 1\",60\r\n\"Б\",\"75\"\r\n")));
    const auto lamps = readRecords(app.file(QStringLiteral("l.dat")));
    QVERIFY(lamps);
    QCOMPARE(lamps->size(), 2);
    QCOMPARE(lamps->at(0).name, QStringLiteral("Лампа, 1"));
    QCOMPARE(lamps->at(1).value, QStringLiteral("75"));
}

void TstLightingCalc::listLookups()
{
    const QVector<ListRecord> lamps = {{"А", "12"}, {"Б", "60"}, {"А", "18"}, {"В", "много"}};
    QCOMPARE(lampEfficacy(lamps, QStringLiteral("А")), 18); // the last record wins
    QCOMPARE(lampEfficacy(lamps, QStringLiteral("Г")), 0);
    QCOMPARE(lampEfficacy(lamps, QStringLiteral("В")), 0);

    const QVector<ListRecord> norms = {{"Офис", "300"}, {"Офис", "500"}, {"Склад", "?"}};
    QCOMPARE(normIlluminance(norms, QStringLiteral("Офис")), std::optional<int>(300)); // the first wins
    QCOMPARE(normIlluminance(norms, otherNormName()), std::nullopt);
    QCOMPARE(normIlluminance(norms, QStringLiteral("Склад")), std::nullopt);

    QCOMPARE(readInteger(QStringLiteral("2,5")), std::optional<int>(2));
    QCOMPARE(readInteger(QStringLiteral("3.5")), std::optional<int>(4));
    QCOMPARE(readInteger(QStringLiteral("40000")), std::nullopt);
}

void TstLightingCalc::settingsRoundTrip()
{
    TestAppDir app;
    const QString path = app.settingsPath();
    QFile::remove(path);
    IniDocument ini;
    const Settings defaults = Settings::load(ini);
    QCOMPARE(defaults.length, QStringLiteral("5,4"));
    QCOMPARE(defaults.h1, QStringLiteral("3,0"));
    QCOMPARE(defaults.ltListIdx, QStringLiteral("3"));
    QCOMPARE(defaults.lampCount, QStringLiteral("4"));

    app.writeFile(QStringLiteral("kabinor.ini"), cp1251(QStringLiteral("[Calculation]\r\ndUmax=8\r\n")));
    Settings s;
    s.length = QStringLiteral("12,5");
    s.enListIdx = QStringLiteral("7");
    s.lampCount = QStringLiteral("2");
    QVERIFY(ini.load(path));
    s.store(ini);
    const QString text = ini.toText();
    QVERIFY(text.contains(QStringLiteral("[Light]\r\nLenght=12,5\r\n")));
    QVERIFY(text.contains(QStringLiteral("dUmax=8")));
    const Settings back = Settings::load(IniDocument::fromText(text));
    QCOMPARE(back.length, QStringLiteral("12,5"));
    QCOMPARE(back.enListIdx, QStringLiteral("7"));
    QCOMPARE(back.lampCount, QStringLiteral("2"));
    QCOMPARE(back.kz, QStringLiteral("1,5"));
}

void TstLightingCalc::storedValues()
{
    QCOMPARE(storedListIndex(QStringLiteral("3"), 9), 3);
    QCOMPARE(storedListIndex(QStringLiteral("9"), 9), 0);
    QCOMPARE(storedListIndex(QStringLiteral("-1"), 9), 0);
    QCOMPARE(storedListIndex(QStringLiteral("abc"), 9), 0);
    QCOMPARE(storedListIndex(QStringLiteral("0"), 0), -1);
    QCOMPARE(storedLampCount(QStringLiteral("4")), 4);
    QCOMPARE(storedLampCount(QStringLiteral("0")), MinLamps);
    QCOMPARE(storedLampCount(QStringLiteral("25")), MaxLamps);
    QCOMPARE(storedLampCount(QStringLiteral("много")), 4);
}

QTEST_GUILESS_MAIN(TstLightingCalc)
#include "tst_lightingcalc.moc"
