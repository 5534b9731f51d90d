// Rooms lit by the utilisation-factor method: the hall by hand, η between
// the indices and the reflectance rows, refused inputs, luminaires with
// lamps, the table file, published examples, the loads that follow a room
// and the rooms in the project file.
#include "RoomFixtures.h"
#include "TestSupport.h"
#include "base/NumberText.h"
#include "base/ProjectFile.h"
#include "calc/lighting/RoomLighting.h"
#include "calc/lighting/RoomLoads.h"
#include "calc/loads/LoadCalc.h"

#include <QtTest>

using namespace RoomLighting;
using Lighting::UtilisationTables;

namespace {

const UtilisationTables &testTables()
{
    static const UtilisationTables tables = UtilisationTables::fromText(testTablesText());
    return tables;
}

// QCOMPARE for doubles computed along another path than the hand calculation.
bool near(double actual, double expected, double tolerance = 1e-9)
{
    return std::abs(actual - expected) <= tolerance * std::max(1.0, std::abs(expected));
}

Load plainLoad(const QString &name)
{
    return LoadCalc::computeLoad(LoadCalc::LoadInput{name, QStringLiteral("2"), QStringLiteral("0,8"),
                                                     QStringLiteral("0,7"), false, QStringLiteral("B"),
                                                     QStringLiteral("1")},
                                 2);
}

} // namespace

class TstRoomLighting : public QObject
{
    Q_OBJECT
private slots:
    void hallByHand();
    void utilisation_data();
    void utilisation();
    void refusals_data();
    void refusals();
    void luminairesWithLamps();
    void tableFile_data();
    void tableFile();
    void deliveredTables();
    void publishedExamples();
    void loadsFollowTheRoom();
    void roomsInTheProjectFile();
};

// S = 288 m², h = 6 − 0,8 = 5,2 m, i = 288 / (5,2 · 36) = 1,538; η between
// 35 % (i = 1,5) and 37 % (i = 1,75): 35 + 0,03846 / 0,25 · 2 = 35,308 %;
// N = 300 · 288 · 1,4 · 1 / (9000 · 0,35308) = 38,07 → 39 (13 × 3);
// Eср = 39 · 9000 · 0,35308 / (288 · 1,4) = 307,37 lx; 3900 W, 13,54 W/m².
void TstRoomLighting::hallByHand()
{
    const Result r = compute(hallRoom(), testTables());
    QVERIFY(r.ok());
    QCOMPARE(r.area, 288.0);
    QVERIFY(near(r.height, 5.2));
    QVERIFY(near(r.roomIndex, 288 / (5.2 * 36)));
    const double eta = (35 + (288 / (5.2 * 36) - 1.5) / 0.25 * 2) / 100;
    QVERIFY(near(r.utilisation.eta, eta));
    QVERIFY(!r.utilisation.indexClamped && !r.utilisation.reflectanceClamped);
    QVERIFY(near(r.required, 300 * 288 * 1.4 / (9000 * eta)));
    QCOMPARE(r.computed, 39);
    QCOMPARE(r.chosen.count, 39);
    QCOMPARE(gridText(r.chosen.grid), QStringLiteral("13x3"));
    QVERIFY(near(r.chosen.illuminance, 39 * 9000 * eta / (288 * 1.4)));
    QCOMPARE(NumberText::formatRounded(r.chosen.illuminance, 2), QStringLiteral("307,37"));
    QCOMPARE(r.chosen.installedPower, 3900.0);
    QCOMPARE(NumberText::formatRounded(r.chosen.powerDensity, 2), QStringLiteral("13,54"));
    QVERIFY(near(r.chosen.spacingLength, 24.0 / 13));
    QVERIFY(near(r.chosen.spacingWidth, 4));
    QVERIFY(near(r.chosen.wallLength, 12.0 / 13));
    QVERIFY(near(r.chosen.wallWidth, 2));
    QVERIFY(near(r.chosen.spacingRatio, 4 / 5.2));
    QCOMPARE(r.spacingLimit, 1.4);
    QVERIFY(!r.spacingExceeded);
    // 40 lie as 8 × 5 (3 × 2,4 m): nearly square.
    QVERIFY(r.rounder);
    QCOMPARE(r.rounder->count, 40);
    QCOMPARE(gridText(r.rounder->grid), QStringLiteral("8x5"));
    QCOMPARE(NumberText::formatRounded(r.rounder->illuminance, 2), QStringLiteral("315,25"));

    // The user's number is the one laid out; two luminaires are too sparse.
    LightingRoom room = hallRoom();
    room.count = QStringLiteral("40");
    QCOMPARE(compute(room, testTables()).chosen.grid.columns, 8);
    room.count = QStringLiteral("2");
    const Result sparse = compute(room, testTables());
    QVERIFY(sparse.spacingExceeded);
    QCOMPARE(sparse.computed, 39);
    QVERIFY(notes(sparse).join(QString()).contains(QStringLiteral("L/h = 2,31")));
}

void TstRoomLighting::utilisation_data()
{
    QTest::addColumn<double>("index");
    QTest::addColumn<double>("ceiling");
    QTest::addColumn<double>("walls");
    QTest::addColumn<double>("floor");
    QTest::addColumn<double>("percent");
    QTest::addColumn<bool>("indexClamped");
    QTest::addColumn<bool>("reflectanceClamped");
    QTest::newRow("a row as written") << 1.5 << 70.0 << 50.0 << 30.0 << 35.0 << false << false;
    QTest::newRow("between indices") << 1.6 << 70.0 << 50.0 << 10.0 << 33.8 << false << false;
    QTest::newRow("between two working planes") << 1.5 << 70.0 << 50.0 << 20.0 << 34.0 << false << false;
    // Ceiling 60 lies between 50 (walls 30 only: taken for 40) and 70
    // (walls 50 only, working plane 10): (30 + 33) / 2.
    QTest::newRow("between ceilings, walls beyond")
        << 1.5 << 60.0 << 40.0 << 10.0 << 31.5 << false << true;
    QTest::newRow("darker working plane than any row") << 2.0 << 70.0 << 50.0 << 0.0 << 37.0 << false << true;
    QTest::newRow("below the first index") << 0.6 << 70.0 << 50.0 << 30.0 << 30.0 << true << false;
    QTest::newRow("above the last index") << 7.0 << 70.0 << 50.0 << 30.0 << 39.0 << true << false;
}

void TstRoomLighting::utilisation()
{
    QFETCH(double, index);
    QFETCH(double, ceiling);
    QFETCH(double, walls);
    QFETCH(double, floor);
    QFETCH(double, percent);
    QFETCH(bool, indexClamped);
    QFETCH(bool, reflectanceClamped);
    const Lighting::Utilisation u =
        Lighting::utilisation(*testTables().find(QStringLiteral("Д-проба")), index, ceiling, walls, floor);
    QVERIFY2(near(u.eta, percent / 100), qPrintable(QString::number(u.eta)));
    QCOMPARE(u.indexClamped, indexClamped);
    QCOMPARE(u.reflectanceClamped, reflectanceClamped);
}

void TstRoomLighting::refusals_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    const QString noHeight = QStringLiteral("Расчетная высота h = H − hс − hр должна быть больше нуля: проверьте высоту "
                                            "помещения, свес светильника и высоту рабочей плоскости!");
    QTest::newRow("no name") << "name" << "  " << int(Field::Name) << "Укажите наименование помещения!";
    QTest::newRow("width empty") << "width" << "" << int(Field::Width) << "Ширина помещения: укажите численное значение!";
    QTest::newRow("plane at the ceiling") << "plane" << "6" << int(Field::Plane) << noHeight;
    QTest::newRow("luminaire hung to the plane") << "hang" << "5,2" << int(Field::Hang) << noHeight;
    QTest::newRow("plane below the floor") << "plane" << "-0,1" << int(Field::Plane)
                                           << "Высота рабочей плоскости: значение не может быть отрицательным!";
    QTest::newRow("mounted above the ceiling") << "mounted" << "6,5" << int(Field::Hang)
                                               << "Высота светильника над полом больше высоты помещения!";
    QTest::newRow("ceiling 95 %") << "ceiling" << "95" << int(Field::Ceiling)
                                  << "Коэффициент отражения потолка должен быть от 0 до 90 %!";
    QTest::newRow("walls not a number") << "walls" << "светлые" << int(Field::Walls)
                                        << "Коэффициент отражения стен: вводимое значение должно быть числовым!";
    QTest::newRow("Kз below 1") << "kz" << "0,9" << int(Field::Maintenance)
                                << "Коэффициент запаса Kз не может быть меньше 1!";
    QTest::newRow("unknown type") << "curve" << "Ш-9" << int(Field::Curve)
                                  << "Тип светильника «Ш-9» не найден в файле коэффициентов использования!";
    QTest::newRow("LED with a lamp table")
        << "curve" << "Лампы-проба" << int(Field::Curve)
        << "Таблица «Лампы-проба» дана относительно потока ламп (в ней учтен КПД светильника) и не подходит для "
           "светодиодного светильника: выберите таблицу для КПД 100 %!";
    QTest::newRow("no luminaires") << "count" << "0" << int(Field::Count)
                                   << "Число светильников: укажите целое число от 1 до 1000000!";
    QTest::newRow("too many to lay out") << "flux" << "0,001" << int(Field::Flux)
                                         << "Нужно больше 1 000 000 светильников: проверьте световой поток светильника "
                                            "и нормируемую освещенность!";
}

void TstRoomLighting::refusals()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, field);
    QFETCH(QString, message);
    LightingRoom room = hallRoom();
    QString *const targets[] = {&room.name, &room.width, &room.plane, &room.hang, &room.ceiling, &room.walls,
                                &room.maintenance, &room.curve, &room.count, &room.flux};
    const QStringList keys = {"name", "width", "plane", "hang", "ceiling", "walls", "kz", "curve", "count", "flux"};
    if (key == QLatin1String("mounted")) {
        room.mountedHeight = true;
        room.hang = value;
    } else {
        *targets[keys.indexOf(key)] = value;
    }
    const Result r = compute(room, testTables());
    QVERIFY(!r.ok());
    QCOMPARE(int(r.refusal->field), field);
    QCOMPARE(r.refusal->text, message);
    // Nothing is computed from a refused room.
    QCOMPARE(r.computed, 0);
    QCOMPARE(r.chosen.count, 0);
    QVERIFY(notes(r).isEmpty());
}

// Two lamps of 3000 lm and 36 W in a luminaire of 80 %: with a table for
// 100 % the luminaire gives 2 · 3000 · 0,8 = 4800 lm; a table of the
// luminaire itself counts the lamps' 6000 lm, its efficiency being inside.
void TstRoomLighting::luminairesWithLamps()
{
    LightingRoom room = hallRoom();
    room.led = false;
    room.flux = QStringLiteral("3000");
    room.power = QStringLiteral("36");
    room.lamps = QStringLiteral("2");
    room.efficiency = QStringLiteral("80");
    const Result typical = compute(room, testTables());
    QVERIFY(typical.ok());
    QCOMPARE(typical.luminaireFlux, 4800.0);
    QCOMPARE(typical.luminairePower, 72.0);
    QVERIFY(near(typical.required, 300 * 288 * 1.4 / (4800 * typical.utilisation.eta)));
    room.curve = QStringLiteral("Лампы-проба");
    const Result own = compute(room, testTables());
    QVERIFY(own.ok());
    QCOMPARE(own.luminaireFlux, 6000.0);
    QVERIFY(near(own.utilisation.eta, (40 + (288 / (5.2 * 36) - 1) * 10) / 100));
    room.efficiency = QStringLiteral("120");
    QCOMPARE(compute(room, testTables()).refusal->text, QStringLiteral("КПД светильника не может быть больше 100 %!"));
}

void TstRoomLighting::tableFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    const QString head = QStringLiteral("\"Тип\",\"А\",\"100\",\"\",\"\"\n");
    QTest::newRow("rows before a type") << "\"Индекс\",1,2\n" << "строка 1: нет строки «Тип»";
    QTest::newRow("unknown basis") << "\"Тип\",\"А\",\"80\",\"\",\"\"\n" << "строка 1: неизвестная основа таблицы";
    QTest::newRow("indices not ascending") << head + "\"Индекс\",1,1\n" << "строка 2: индексы не по возрастанию";
    QTest::newRow("a value short") << head + "\"Индекс\",1,2\n70,50,30,40\n"
                                   << "строка 3: число значений не равно числу индексов";
    QTest::newRow("a row twice") << head + "\"Индекс\",1,2\n70,50,30,40,50\n70,50,30,41,51\n"
                                 << "строка 4: строка коэффициентов отражения повторяется";
    QTest::newRow("a type twice") << head + "\"Индекс\",1,2\n70,50,30,40,50\n" + head
                                  << "строка 4: тип повторяется";
    QTest::newRow("a type without rows") << head + "\"Индекс\",1,2\n" << "у типа «А» нет строк";
    QTest::newRow("empty") << "\r\n" << "нет таблиц";
}

void TstRoomLighting::tableFile()
{
    QFETCH(QString, text);
    QFETCH(QString, detail);
    TestAppDir app;
    app.writeFile(QStringLiteral("UtilTables.dat"), cp1251(text));
    const UtilisationTables tables = UtilisationTables::load(app.path());
    QCOMPARE(tables.status(), UtilisationTables::Status::Damaged);
    QVERIFY(tables.tables().isEmpty());
    QCOMPARE(tables.problem(), QStringLiteral("Файл коэффициентов использования ")
                                   + QDir::toNativeSeparators(app.file(QStringLiteral("UtilTables.dat")))
                                   + QStringLiteral(" поврежден (") + detail + QStringLiteral(")."));
    // A room of a damaged file is refused with the file's message.
    LightingRoom room = hallRoom();
    QCOMPARE(compute(room, tables).refusal->text, tables.problem());
}

// The delivered file: every table read, each cited, and a value by hand:
// У-15 at 70/50/30, i = 1,538 between 48 % (1,5) and 50 % (1,75).
void TstRoomLighting::deliveredTables()
{
    TestAppDir app;
    const UtilisationTables tables = UtilisationTables::load(app.path());
    QCOMPARE(tables.status(), UtilisationTables::Status::Ok);
    QCOMPARE(tables.names(), QStringList({QStringLiteral("У"), QStringLiteral("У-15"), QStringLiteral("УП-24"),
                                          QStringLiteral("РСП05-Г"), QStringLiteral("РСП05-К"),
                                          QStringLiteral("ЛЛ-призм")}));
    for (const Lighting::UtilisationTable &t : tables.tables())
        QVERIFY2(t.description.contains(QStringLiteral("Источник")), qPrintable(t.name));
    const double i = 288 / (5.2 * 36);
    const Lighting::Utilisation u = Lighting::utilisation(*tables.find(QStringLiteral("У-15")), i, 70, 50, 30);
    QVERIFY(near(u.eta, (48 + (i - 1.5) / 0.25 * 2) / 100));
    // The registry of an older version ends before the tables' entry.
    const QByteArray registry = app.readFile(QStringLiteral("files.fls"));
    app.writeFile(QStringLiteral("files.fls"), registry.left(registry.indexOf("\\UtilTables.dat")));
    QCOMPARE(UtilisationTables::load(app.path()).status(), UtilisationTables::Status::Missing);
}

void TstRoomLighting::publishedExamples()
{
    // A room of 3 × 2 m, 2,5 m high, luminaires at the ceiling, working plane
    // at 0,8 m: h = 1,7 m and i = 0,71 (bankswork.ru, banks-828-2).
    LightingRoom small = hallRoom();
    small.length = QStringLiteral("3");
    small.width = QStringLiteral("2");
    small.height = QStringLiteral("2,5");
    const Result r = compute(small, testTables());
    QVERIFY(near(r.height, 1.7));
    QCOMPARE(NumberText::formatRounded(r.roomIndex, 2), QStringLiteral("0,71"));
    // A hall of 76 × 46 m with h = 10,7 m and 28 luminaires: 7 in a row, 4
    // rows; 11,5 m between the rows and 5,75 m to the wall, 76 / 7 along the
    // rows (ukrbukva.net, 70828, "Розрахунок електричного освітлення").
    LightingRoom hall = hallRoom();
    hall.length = QStringLiteral("76");
    hall.width = QStringLiteral("46");
    hall.height = QStringLiteral("11,5");
    hall.count = QStringLiteral("28");
    const Result big = compute(hall, testTables());
    QVERIFY(near(big.height, 10.7));
    QCOMPARE(gridText(big.chosen.grid), QStringLiteral("7x4"));
    QVERIFY(near(big.chosen.spacingWidth, 11.5));
    QVERIFY(near(big.chosen.wallWidth, 5.75));
    QVERIFY(near(big.chosen.spacingLength, 76.0 / 7));
    QVERIFY(near(big.chosen.spacingRatio, 11.5 / 10.7));
}

// The loads carry the room: they follow it through renamed, reordered and
// sorted shields and keep what was changed in them by hand.
void TstRoomLighting::loadsFollowTheRoom()
{
    Project project;
    project.shields = {Shield{QStringLiteral("ЩО1"), {plainLoad(QStringLiteral("Розетки"))}},
                       Shield{QStringLiteral("ЩР2"), {}}};
    LightingRoom room = hallRoom();
    room.id = 7;
    RoomLoads::Transfer transfer{1, QStringLiteral("0,95"), QStringLiteral("0,9"), RoomLoads::Spread::EvenlyABC};
    RoomLoads::transfer(project, room, 40, 100, transfer, 2);
    const QVector<Load> &given = project.shields.at(1).loads;
    QCOMPARE(given.size(), 3);
    const QString powers[3] = {QStringLiteral("1,4"), QStringLiteral("1,3"), QStringLiteral("1,3")};
    const QString phases[3] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(given.at(k).name, QStringLiteral("Освещение Зал"));
        QCOMPARE(given.at(k).cell(Load::InstalledPower), powers[k]);
        QCOMPARE(given.at(k).cell(Load::Phase), phases[k]);
        QCOMPARE(given.at(k).cell(Load::DemandFactor), QStringLiteral("0,9"));
        QCOMPARE(given.at(k).room, 7);
    }
    QCOMPARE(given.at(0).cell(Load::DesignPower), QStringLiteral("1,26"));

    // Shields swapped and renamed, the loads sorted backwards, one changed by hand.
    std::swap(project.shields[0], project.shields[1]);
    project.shields[0].name = QStringLiteral("ЩО-2");
    std::reverse(project.shields[0].loads.begin(), project.shields[0].loads.end());
    Load &byHand = project.shields[0].loads[0]; // phase C
    byHand = LoadCalc::computeLoad(LoadCalc::LoadInput{byHand.name, byHand.cell(Load::InstalledPower),
                                                       QStringLiteral("0,9"), QStringLiteral("0,9"), false,
                                                       QStringLiteral("C"), QStringLiteral("1")},
                                   2);
    byHand.room = 7;
    QCOMPARE(RoomLoads::linkedShields(project, 7), QStringList{QStringLiteral("ЩО-2")});

    room.name = QStringLiteral("Цех");
    QCOMPARE(RoomLoads::update(project, room, 31, 100, 2), 3);
    const QVector<Load> &followed = project.shields.at(0).loads;
    const QString shares[3] = {QStringLiteral("1,1"), QStringLiteral("1"), QStringLiteral("1")};
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(followed.at(k).name, QStringLiteral("Освещение Цех"));
        QCOMPARE(followed.at(k).cell(Load::InstalledPower), shares[k]);
        QCOMPARE(followed.at(k).room, 7);
    }
    QCOMPARE(followed.at(0).cell(Load::Phase), QStringLiteral("C"));
    QCOMPARE(followed.at(0).cell(Load::PowerFactor), QStringLiteral("0,9"));
    QCOMPARE(project.shields.at(1).loads.size(), 1); // the other shield untouched

    // Handed again, three-phase, to the other shield: the old loads go.
    transfer = {1, QStringLiteral("0,95"), QStringLiteral("0,9"), RoomLoads::Spread::ThreePhase};
    RoomLoads::transfer(project, room, 31, 100, transfer, 2);
    QVERIFY(project.shields.at(0).loads.isEmpty());
    QCOMPARE(project.shields.at(1).loads.size(), 2);
    QCOMPARE(project.shields.at(1).loads.at(1).cell(Load::InstalledPower), QStringLiteral("3,1"));
    QCOMPARE(project.shields.at(1).loads.at(1).cell(Load::Phase), QStringLiteral("ABC"));
    QCOMPARE(RoomLoads::newRoomId(project), 8);
    RoomLoads::unlink(project, 7);
    QCOMPARE(RoomLoads::linkedCount(project, 7), 0);
    QCOMPARE(project.shields.at(1).loads.size(), 2);
}

void TstRoomLighting::roomsInTheProjectFile()
{
    Project project;
    LightingRoom hall = hallRoom();
    hall.id = 3;
    hall.name = QStringLiteral(" Зал, 1 этаж ");
    hall.norm = QStringLiteral("Спортивные залы");
    hall.count = QStringLiteral("40");
    LightingRoom store = hallRoom();
    store.id = 9;
    store.name = QStringLiteral("Склад");
    store.led = false;
    store.mountedHeight = true;
    store.hang = QStringLiteral("4");
    store.lamps = QStringLiteral("2");
    project.rooms = {hall, store};
    Load linked = plainLoad(QStringLiteral("Освещение Зал"));
    linked.room = 3;
    project.shields[0].loads = {plainLoad(QStringLiteral("Розетки")), linked};

    const QString text = ProjectFile::toText(project);
    QVERIFY(text.contains(QStringLiteral("SubItem9=1\r\nRoom=3\r\n[Rooms]\r\nRoomCount=2\r\n[Room1]\r\nId=3\r\n")));
    Project back;
    const ProjectFile::ReadResult read = ProjectFile::readText(text, back);
    QVERIFY(!read.damaged);
    QCOMPARE(back.rooms, project.rooms);
    QCOMPARE(back.shields.at(0).loads, project.shields.at(0).loads);

    // A project without rooms is written as before.
    Project plain;
    QVERIFY(!ProjectFile::toText(plain).contains(QStringLiteral("Room")));
    ProjectFile::readText(ProjectFile::toText(plain), back);
    QVERIFY(back.rooms.isEmpty());

    // A taken Id and a link that is not a number are damage; the room gets an
    // Id of its own and the load none.
    QString damaged = text;
    damaged.replace(QStringLiteral("Id=9"), QStringLiteral("Id=3")).replace(QStringLiteral("Room=3"), QStringLiteral("Room=x"));
    const ProjectFile::ReadResult r = ProjectFile::readText(damaged, back);
    QVERIFY(r.damaged);
    QCOMPARE(back.rooms.size(), 2);
    QCOMPARE(back.rooms.at(0).id, 3);
    QCOMPARE(back.rooms.at(1).id, 1);
    QCOMPARE(back.shields.at(0).loads.at(1).room, 0);
    QCOMPARE(r.problems, QStringList({QStringLiteral("неверная связь с помещением в нагрузке «Освещение Зал»: «x»"),
                                      QStringLiteral("неверный номер помещения «Склад»: «3»")}));
}

QTEST_GUILESS_MAIN(TstRoomLighting)
#include "tst_roomlighting.moc"
