// Permissible-current tables, section lists, lookups, proposals, offered
// load currents, the neutral list and the mark files.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/NumberText.h"
#include "calc/lines/LineEntry.h"
#include "calc/lines/MarkList.h"
#include "calc/lines/PermissibleTables.h"

#include <QtTest>

using namespace Permissible;

Q_DECLARE_METATYPE(Permissible::Choice)

namespace {

Choice threePhase(int material, int cores, int laying = InAir)
{
    Choice c;
    c.net = NetworkType::ThreePhase;
    c.material = material;
    c.type1 = 2;
    c.type2 = cores;
    c.type3 = laying;
    return c;
}

Choice singlePhase(int material, int construction)
{
    Choice c;
    c.net = NetworkType::SinglePhase;
    c.material = material;
    c.type1 = construction;
    c.type2 = 2;
    c.type3 = InAir;
    return c;
}

Load makeLoad(const QString &name, const QString &current, const QString &phase, const QString &phases)
{
    Load l;
    l.name = name;
    l.cells[Load::Current] = current;
    l.cells[Load::Phase] = phase;
    l.cells[Load::Phases] = phases;
    return l;
}

// A three-phase table whose three-core value in air is 100 A for 10 mm².
const char *const kSmallTable = "4,30,28,40,27,38\n"
                                "10,60,55,80,100,90\n"
                                "16,75,0,105,0,115\n";

} // namespace

class TstPermissible : public QObject
{
    Q_OBJECT
private slots:
    void deliveredTables_data();
    void deliveredTables();
    void listedSections_data();
    void listedSections();
    void lookup_data();
    void lookup();
    void propose_data();
    void propose();
    void damagedTable_data();
    void damagedTable();
    void damagedAndMissingFiles();
    void extraRowsAreNotRead();
    void loadCurrentChoices();
    void correctionFactors();
    void neutralSections();
    void markListParsing();
    void markListRoundTrip();
    void markFileBytes();
    void buildLineUsesTheTable();
};

void TstPermissible::deliveredTables_data()
{
    QTest::addColumn<int>("net");
    QTest::addColumn<int>("material");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("entry");
    QTest::newRow("220 Al") << 0 << int(Aluminium) << 20 << "\\Iadm220Al.dat";
    QTest::newRow("220 Cu") << 0 << int(Copper) << 25 << "\\Iadm220Cu.dat";
    QTest::newRow("380 Al") << 1 << int(Aluminium) << 14 << "\\Iadm380Al.dat";
    QTest::newRow("380 Cu") << 1 << int(Copper) << 15 << "\\Iadm380Cu.dat";
}

void TstPermissible::deliveredTables()
{
    QFETCH(int, net);
    QFETCH(int, material);
    QFETCH(int, rows);
    QFETCH(QString, entry);
    TestAppDir app;
    const auto t = PermissibleTable::load(app.path(), net == 0 ? NetworkType::SinglePhase : NetworkType::ThreePhase,
                                          material);
    QVERIFY2(t.isUsable(), qPrintable(t.errorMessage()));
    QCOMPARE(t.rowCount(), rows);
    QCOMPARE(t.registryEntry(), entry);
    QCOMPARE(t.rows().first().currents.size(), net == 0 ? 6 : 5);
}

void TstPermissible::listedSections_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QStringList>("sections");
    const QStringList cu220All = {"0,5", "0,75", "1", "1,2", "1,5", "2", "2,5", "3", "4", "5", "6", "8", "10",
                                  "16", "25", "35", "50", "70", "95", "120", "150", "185", "240", "300", "400"};
    QTest::newRow("220 Cu открыто lists every row") << singlePhase(Copper, 0) << cu220All;
    QTest::newRow("220 Cu один двухжильный drops the zeros")
        << singlePhase(Copper, 4) << cu220All.mid(2, 18);
    QTest::newRow("220 Al два одножильных")
        << singlePhase(Aluminium, 1)
        << QStringList{"2", "2,5", "3", "4", "5", "6", "8", "10", "16", "25", "35", "50", "70", "95", "120", "150"};
    QTest::newRow("380 Al three-core in air has no 240")
        << threePhase(Aluminium, 2)
        << QStringList{"2,5", "4", "6", "10", "16", "25", "35", "50", "70", "95", "120", "150", "185"};
    QTest::newRow("380 Cu two-core in ground")
        << threePhase(Copper, 1, InGround)
        << QStringList{"1,5", "2,5", "4", "6", "10", "16", "25", "35", "50", "70", "95", "120", "150", "185"};
    QTest::newRow("380 Cu single-core lists every row")
        << threePhase(Copper, 0)
        << QStringList{"1,5", "2,5", "4", "6", "10", "16", "25", "35", "50", "70", "95", "120", "150", "185", "240"};
}

void TstPermissible::listedSections()
{
    QFETCH(Choice, choice);
    QFETCH(QStringList, sections);
    TestAppDir app;
    const auto t = PermissibleTable::load(app.path(), choice.net, choice.material);
    QCOMPARE(Permissible::listedSections(t, choice), sections);
}

void TstPermissible::lookup_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<double>("section");
    QTest::addColumn<QVariant>("expected"); // invalid: no value
    QTest::newRow("three-core air") << threePhase(Aluminium, 2) << 10.0 << QVariant(100.0);
    QTest::newRow("four-core air is 0.92 of three-core") << threePhase(Aluminium, 3) << 10.0 << QVariant(92.0);
    QTest::newRow("four-core ground") << threePhase(Aluminium, 3, InGround) << 10.0 << QVariant(90 * 0.92);
    QTest::newRow("two-core ground") << threePhase(Aluminium, 1, InGround) << 4.0 << QVariant(40.0);
    QTest::newRow("single-core air") << threePhase(Aluminium, 0) << 16.0 << QVariant(75.0);
    QTest::newRow("single-core in ground has no value") << threePhase(Aluminium, 0, InGround) << 16.0 << QVariant();
    QTest::newRow("section not in the table") << threePhase(Aluminium, 2) << 6.0 << QVariant();
    QTest::newRow("no cores chosen") << threePhase(Aluminium, -1) << 10.0 << QVariant();
}

void TstPermissible::lookup()
{
    QFETCH(Choice, choice);
    QFETCH(double, section);
    QFETCH(QVariant, expected);
    const auto t = PermissibleTable::fromText(QString::fromLatin1(kSmallTable), NetworkType::ThreePhase, 3);
    QVERIFY(t.isUsable());
    const auto value = lookupPermissibleCurrent(t, choice, section);
    QCOMPARE(value.has_value(), expected.isValid());
    if (value)
        QCOMPARE(*value, expected.toDouble());
}

void TstPermissible::propose_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<double>("current");
    QTest::addColumn<QString>("section"); // empty: no row carries the load
    // 380 Al, three-core in air: 2.5→19, 4→27, 6→32, 10→42, 16→60, 25→75, ..., 185→270.
    QTest::newRow("equal to a tabulated value") << threePhase(Aluminium, 2) << 75.0 << "25";
    QTest::newRow("0.1 A above it") << threePhase(Aluminium, 2) << 75.1 << "35";
    QTest::newRow("the largest value") << threePhase(Aluminium, 2) << 270.0 << "185";
    QTest::newRow("above every value") << threePhase(Aluminium, 2) << 270.1 << "";
    QTest::newRow("zero takes the first row") << threePhase(Aluminium, 2) << 0.0 << "2,5";
    // Four-core: 0.92 × three-core, so 69 A (75 × 0.92) still fits 25 mm².
    QTest::newRow("four-core at 0.92 of the value") << threePhase(Aluminium, 3) << 69.0 << "25";
    QTest::newRow("four-core just above") << threePhase(Aluminium, 3) << 69.01 << "35";
    QTest::newRow("single-core in ground has no column") << threePhase(Aluminium, 0, InGround) << 10.0 << "";
    // 220 Cu, один двухжильный: 0.5 and 0.75 have 0 there and are skipped.
    QTest::newRow("rows with 0 never qualify") << singlePhase(Copper, 4) << 1.0 << "1";
    QTest::newRow("220 Cu открыто") << singlePhase(Copper, 0) << 12.0 << "0,75";
}

void TstPermissible::propose()
{
    QFETCH(Choice, choice);
    QFETCH(double, current);
    QFETCH(QString, section);
    TestAppDir app;
    const auto t = PermissibleTable::load(app.path(), choice.net, choice.material);
    const auto row = proposeSection(t, choice, current);
    QCOMPARE(row.has_value(), !section.isEmpty());
    if (row)
        QCOMPARE(NumberText::format(t.rows().at(*row).section), section);
}

void TstPermissible::damagedTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("fewer rows") << "4,30,28,40,27,38\n10,60,55,80,100,90\n" << "прочитано строк: 2 из 3";
    QTest::newRow("last row cut") << "4,30,28,40,27,38\n10,60,55,80,100,90\n16,75,0\n" << "строка 3 неполная";
    // Read field by field, a cut row pulls the next row's values into it.
    QTest::newRow("row cut in the middle") << "4,30,28,40,27,38\n10,60,55,80\n16,75,0,105,0,115\n"
                                           << "строка 3: недопустимое значение «0»";
    QTest::newRow("text for a number") << "4,30,28,40,27,38\n10,60,55,сто,100,90\n16,75,0,105,0,115\n"
                                       << "строка 2: «сто» не является числом";
    QTest::newRow("decimal comma splits a field")
        << "4,30,28,40,27,38\n10,60,55,80,100,90\n16,75,0,105,0,11 5\n" << "строка 3: «11 5» не является числом";
    QTest::newRow("negative current") << "4,30,28,40,27,38\n10,60,55,80,-1,90\n16,75,0,105,0,115\n"
                                      << "строка 2: недопустимое значение «-1»";
    QTest::newRow("sections out of order") << "10,60,55,80,100,90\n4,30,28,40,27,38\n16,75,0,105,0,115\n"
                                           << "строка 2: сечения должны идти по возрастанию";
    QTest::newRow("empty file") << "" << "прочитано строк: 0 из 3";
}

void TstPermissible::damagedTable()
{
    QFETCH(QString, text);
    QFETCH(QString, problem);
    const auto t = PermissibleTable::fromText(text, NetworkType::ThreePhase, 3);
    QCOMPARE(t.status(), PermissibleTable::Status::Damaged);
    QCOMPARE(t.problem(), problem);
    // Nothing of a damaged table is offered, looked up or proposed.
    QCOMPARE(t.rowCount(), 0);
    QVERIFY(Permissible::listedSections(t, threePhase(Aluminium, 2)).isEmpty());
    QVERIFY(!lookupPermissibleCurrent(t, threePhase(Aluminium, 2), 4));
    QVERIFY(!proposeSection(t, threePhase(Aluminium, 2), 1));
}

void TstPermissible::damagedAndMissingFiles()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("Iadm380Cu.dat"), QByteArray("1.5,23,19,33,19,27\n2.5,30,27\n"));
    const auto damaged = PermissibleTable::load(app.path(), NetworkType::ThreePhase, Copper);
    QCOMPARE(damaged.status(), PermissibleTable::Status::Damaged);
    QCOMPARE(damaged.errorMessage(), QStringLiteral("Файл таблицы допустимых токов ")
                                         + QDir::toNativeSeparators(app.file(QStringLiteral("Iadm380Cu.dat")))
                                         + QStringLiteral(" поврежден (строка 2 неполная)."));

    QFile::remove(app.file(QStringLiteral("Iadm220Al.dat")));
    const auto missing = PermissibleTable::load(app.path(), NetworkType::SinglePhase, Aluminium);
    QCOMPARE(missing.status(), PermissibleTable::Status::Missing);
    QCOMPARE(missing.errorMessage(), QStringLiteral("Файл ")
                                         + QDir::toNativeSeparators(app.file(QStringLiteral("Iadm220Al.dat")))
                                         + QStringLiteral(" не найден!"));

    // With no material chosen there is no table at all.
    QCOMPARE(PermissibleTable::load(app.path(), NetworkType::ThreePhase, -1).status(),
             PermissibleTable::Status::NotLoaded);
}

void TstPermissible::extraRowsAreNotRead()
{
    // Rows after the first nm are not part of the table, whatever they hold.
    const QString text = QString::fromLatin1(kSmallTable) + QStringLiteral("25,junk\n");
    const auto t = PermissibleTable::fromText(text, NetworkType::ThreePhase, 3);
    QVERIFY(t.isUsable());
    QCOMPARE(t.rowCount(), 3);
}

void TstPermissible::loadCurrentChoices()
{
    Shield first;
    first.name = QStringLiteral("ЩО1");
    first.loads << makeLoad(QStringLiteral("Насос"), QStringLiteral("14,73"), QStringLiteral("ABC"), QStringLiteral("3"))
                << makeLoad(QStringLiteral("Свет"), QStringLiteral("39,77"), QStringLiteral("B"), QStringLiteral("1"))
                << makeLoad(QStringLiteral("Без фазы"), QStringLiteral("5"), QStringLiteral("b"), QStringLiteral("1"))
                << makeLoad(QStringLiteral("Кириллица"), QStringLiteral("1"), QStringLiteral("А"), QStringLiteral("1"));
    Shield empty;
    empty.name = QStringLiteral("ЩО2");
    Shield zero;
    zero.name = QStringLiteral("ЩО3");
    zero.loads << makeLoad(QStringLiteral("Резерв"), QStringLiteral("0"), QStringLiteral("C"), QStringLiteral("1"));

    const auto choices = Permissible::loadCurrentChoices({first, empty, zero}, NetworkType::SinglePhase, 2);
    const QVector<CurrentChoice> expected = {
        {QStringLiteral("ЩО1 - 89,96А"), QString(), QStringLiteral("0")}, // 14,73 × 3 + 39,77 + 5 + 1
        {QStringLiteral("Насос - 14,73А"), QStringLiteral("ABC"), QString()},
        {QStringLiteral("Свет - 39,77А"), QStringLiteral("B"), QString()},
        // ЩО3 sums to 0 and gets no entry, but its load with a phase does.
        {QStringLiteral("Резерв - 0А"), QStringLiteral("C"), QString()},
    };
    QCOMPARE(choices, expected);
    // The offered texts read back as their currents.
    QCOMPARE(LineCalc::parseLoadCurrent(choices.at(0).text), 89.96);
    QCOMPARE(LineCalc::parseLoadCurrent(choices.at(2).text), 39.77);

    // A three-phase line is offered the most loaded phase of the shield:
    // B = 14,73 (three-phase load on every phase) + 39,77; unmarked loads count on none.
    const auto threePhase = Permissible::loadCurrentChoices({first, empty, zero}, NetworkType::ThreePhase, 2);
    QCOMPARE(threePhase.first().text, QStringLiteral("ЩО1 - 54,5А"));
    QCOMPARE(threePhase.mid(1), expected.mid(1));
}

void TstPermissible::correctionFactors()
{
    // k_t = √((65 − θ) / (65 − θ table)) to two places, as ПУЭ table 1.3.3 prints them.
    QCOMPARE(temperatureFactor(25, 25), 1.0);
    QCOMPARE(temperatureFactor(30, 25), 0.94); // √(35/40) = 0,935
    QCOMPARE(temperatureFactor(25, 15), 0.89); // √(40/50) = 0,894
    QCOMPARE(temperatureFactor(-5, 15), 1.18); // √(70/50) = 1,183
    QCOMPARE(temperatureFactor(64, 25), 0.16);
    QVERIFY(!temperatureFactor(65, 25));
    QVERIFY(!temperatureFactor(-51, 15));
    // ПУЭ table 1.3.26.
    QCOMPARE(groupingFactor(1, 100), 1.0);
    QCOMPARE(groupingFactor(2, 100), 0.90);
    QCOMPARE(groupingFactor(3, 200), 0.87);
    QCOMPARE(groupingFactor(6, 300), 0.85);
    QVERIFY(!groupingFactor(7, 100));
    QVERIFY(!groupingFactor(2, 150));

    // Aluminium four-core, 50 mm² in the ground: 0,92 × 175 = 161 A at 15 °C, one cable.
    TestAppDir app;
    const Choice ground = threePhase(Aluminium, FourCore, InGround);
    const auto t = PermissibleTable::load(app.path(), ground.net, ground.material);
    QCOMPARE(*lookupPermissibleCurrent(t, ground, 50), 161.0);
    // At 25 °C with three cables 100 mm apart: 161 × 0,89 × 0,85 = 121,7965 A.
    LayingConditions conditions;
    conditions.ambient = 25;
    conditions.cables = 3;
    const auto k = correctionFor(ground, conditions);
    QVERIFY(k);
    QCOMPARE(k->temperature, 0.89);
    QCOMPARE(k->grouping, 0.85);
    QVERIFY(qAbs(*lookupPermissibleCurrent(t, ground, 50, *k) - 121.7965) < 1e-9);
    // The proposal follows: 130 A needs 50 mm² at the tables' conditions, 70 mm² (146,2 A) corrected.
    QCOMPARE(t.rows().at(*proposeSection(t, ground, 130)).section, 50.0);
    QCOMPARE(t.rows().at(*proposeSection(t, ground, 130, *k)).section, 70.0);
    // In air the cables of a trench do not count; a condition out of range is refused.
    QCOMPARE(correctionFor(threePhase(Aluminium, FourCore), conditions)->grouping, 1.0);
    QString message;
    conditions.cables = 7;
    QVERIFY(!correctionFor(ground, conditions, &message));
    QCOMPARE(message, cablesMessage());
    conditions.cables = 2;
    conditions.ambient = 70;
    QVERIFY(!correctionFor(ground, conditions, &message));
    QCOMPARE(message, ambientMessage());
}

void TstPermissible::neutralSections()
{
    TestAppDir app;
    auto list = readNeutralSections(app.path());
    QCOMPARE(list.error, QString());
    QCOMPARE(list.sections, (QStringList{"1,5", "2,5", "4", "6", "10", "16", "25", "35", "50", "70", "95"}));

    app.writeFile(QStringLiteral("NeutralSect.dat"), QByteArray("1,2,3,4,5,6,7,8,9,10,11,12,13\n"));
    QCOMPARE(readNeutralSections(app.path()).sections.size(), 11);

    app.writeFile(QStringLiteral("NeutralSect.dat"), QByteArray("1.5\n2.5\nfour\n6\n"));
    list = readNeutralSections(app.path());
    QCOMPARE(list.sections, (QStringList{"1,5", "2,5"}));
    QVERIFY(list.error.contains(QDir::toNativeSeparators(app.file(QStringLiteral("NeutralSect.dat")))));
    QVERIFY(list.error.contains(QStringLiteral("«four»")));

    // A 0 entry offers nothing and is passed over; a negative one is damage.
    app.writeFile(QStringLiteral("NeutralSect.dat"), QByteArray("0\n1.5\n0\n2.5\n-4\n6\n"));
    list = readNeutralSections(app.path());
    QCOMPARE(list.sections, (QStringList{"1,5", "2,5"}));
    QVERIFY(list.error.contains(QStringLiteral("строка 5: «-4»")));
}

void TstPermissible::markListParsing()
{
    QCOMPARE(MarkList::parse(QStringLiteral("ВВГ, АВВГ\r\n")), (QStringList{"ВВГ", "АВВГ"}));
    QCOMPARE(MarkList::parse(QStringLiteral("  NYM  \r\n\r\n\"КГ, гибкий\"\r\nПВС")),
             (QStringList{"NYM", "КГ, гибкий", "ПВС"}));
    QCOMPARE(MarkList::parse(QString()), QStringList());
    QCOMPARE(MarkList::format({}), QString());
    QCOMPARE(MarkList::clean(QStringLiteral("ВВГ\r\nнг")), QStringLiteral("ВВГ нг"));
}

void TstPermissible::markListRoundTrip()
{
    const QStringList marks = {QStringLiteral("ВВГнг(А)-LS"), QStringLiteral("ВВГ, 3 жилы"),
                               QStringLiteral("ПВС \"гибкий\""), QStringLiteral("\"АВВГ\""), QStringLiteral(" СИП-2 ")};
    QCOMPARE(MarkList::parse(MarkList::format(marks)), marks);
}

void TstPermissible::markFileBytes()
{
    TestAppDir app;
    const QString path = app.file(QStringLiteral("MarksCu.dat"));
    QVERIFY(MarkList::write(path, {QStringLiteral("ВВГ"), QStringLiteral("NYM")}));
    QCOMPARE(app.readFile(QStringLiteral("MarksCu.dat")), cp1251(QStringLiteral("ВВГ\r\nNYM\r\n")));
    QVERIFY(MarkList::write(path, {}));
    QCOMPARE(app.readFile(QStringLiteral("MarksCu.dat")), QByteArray());
    QCOMPARE(*MarkList::read(path), QStringList());
    // An absent file is an empty list, not a failure.
    QCOMPARE(*MarkList::read(app.file(QStringLiteral("none.dat"))), QStringList());
}

void TstPermissible::buildLineUsesTheTable()
{
    TestAppDir app;
    CalcValues calc;
    LineEntry::Request r;
    r.name = QStringLiteral("Линия №1");
    r.mark = QStringLiteral("ВВГ");
    r.choice = threePhase(Copper, 3);
    r.sectionText = QStringLiteral("25");
    r.lengthText = QStringLiteral("50");
    r.currentText = QStringLiteral("ЩО1 - 40А");
    r.neutralText = QStringLiteral("16");
    const auto t = PermissibleTable::load(app.path(), r.choice.net, r.choice.material);
    const auto x = CableReactance::load(app.path());
    QVERIFY(x.isUsable());
    double idop = 0;
    const CableLine line = LineEntry::buildLine(r, {t, x}, calc, idop);
    // 50 × 1000 / 56.18 / 25 = 35.6 mΩ; √3 × 35.6 × 40 / 380 / 10 = 0.65 %; 95 × 0.92 = 87.4 A.
    QCOMPARE(line.cells, (QStringList{"ВВГ", "4x25 + 1x16", "Медь", "50", "35,6", "40", "87,4", "0,65", "380"}));
    QCOMPARE(idop, 95 * 0.92);
    QVERIFY(!line.checked);
    // x1 = 0,0662 mΩ/m for 25 mm²: X = 3,31 mΩ, kept with the line.
    QCOMPARE(line.inputs->reactance.text, QStringLiteral("3,31"));

    // With a power factor: √3 × 40 × (35,6 × 0,8 + 3,31 × 0,6) / 3800 = 0,5555 %.
    r.cosPhiText = QStringLiteral("0,8");
    QCOMPARE(LineEntry::buildLine(r, {t, x}, calc, idop).cell(CableLine::VoltageDrop), QStringLiteral("0,56"));
    r.cosPhiText = QStringLiteral("0.9");
    QCOMPARE(LineEntry::buildLine(r, {t, x}, calc, idop).cell(CableLine::VoltageDrop), QStringLiteral("0,61"));

    // A five-core cable carries what a four-core one does; its notation says five cores.
    r.choice = threePhase(Copper, Permissible::FiveCore);
    r.neutralText = QStringLiteral("0");
    const CableLine five = LineEntry::buildLine(r, {t, x}, calc, idop);
    QCOMPARE(five.cell(CableLine::Cores), QStringLiteral("5x25"));
    QCOMPARE(five.cell(CableLine::PermissibleCurrent), QStringLiteral("87,4"));
    r.cosPhiText = QStringLiteral("1");

    // A choice without a value keeps the permissible current it had.
    r.choice = threePhase(Copper, 0, InGround);
    idop = 12;
    QCOMPARE(LineEntry::buildLine(r, {t, x}, calc, idop).cell(CableLine::PermissibleCurrent), QStringLiteral("12"));
}

QTEST_GUILESS_MAIN(TstPermissible)
#include "tst_permissible.moc"
