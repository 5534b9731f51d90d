// The project file: exact layout, read-back rules, round trips of every text,
// loads whose plain section names coincide, damaged files.
#include "TestSupport.h"
#include "base/IniStore.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

CableLine makeLine(const QString &name, const QStringList &cells, bool checked = false)
{
    CableLine l;
    l.name = name;
    l.cells = cells;
    l.checked = checked;
    return l;
}

Load makeLoad(const QString &name, const QStringList &cells)
{
    Load l;
    l.name = name;
    l.cells = cells;
    return l;
}

QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fields the file stores, compared as a whole.
void compareStored(const Project &actual, const Project &expected)
{
    QCOMPARE(actual.transformerPower, expected.transformerPower);
    QCOMPARE(actual.supplyLineUsed, expected.supplyLineUsed);
    QCOMPARE(actual.supplyLineMaterial, expected.supplyLineMaterial);
    QCOMPARE(actual.supplyLineLength, expected.supplyLineLength);
    QCOMPARE(actual.supplyLineSection, expected.supplyLineSection);
    QCOMPARE(actual.supplyLineOverhead, expected.supplyLineOverhead);
    QCOMPARE(actual.lines.size(), expected.lines.size());
    for (int i = 0; i < expected.lines.size(); ++i)
        QCOMPARE(actual.lines.at(i), expected.lines.at(i));
    QCOMPARE(actual.shields.size(), expected.shields.size());
    for (int i = 0; i < expected.shields.size(); ++i) {
        QCOMPARE(actual.shields.at(i).name, expected.shields.at(i).name);
        QCOMPARE(actual.shields.at(i).loads.size(), expected.shields.at(i).loads.size());
        for (int j = 0; j < expected.shields.at(i).loads.size(); ++j)
            QCOMPARE(actual.shields.at(i).loads.at(j), expected.shields.at(i).loads.at(j));
    }
    QCOMPARE(actual.properties, expected.properties);
}

} // namespace

class TstProjectFile : public QObject
{
    Q_OBJECT
private slots:
    void writesTheExactLayout();
    void absentKeysReadAsZero();
    void checkedOnlyForExactTrue_data();
    void checkedOnlyForExactTrue();
    void roundTripKeepsEveryText_data();
    void roundTripKeepsEveryText();
    void collidingLoadSectionsBothSurvive();
    void separatedSectionIsReadFirst();
    void damagedFileOpensWhatItCan_data();
    void damagedFileOpensWhatItCan();
    void unreadableFile();
    void longSectionsMatchLikeShortOnes_data();
    void longSectionsMatchLikeShortOnes();
};

void TstProjectFile::writesTheExactLayout()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.supplyLineUsed = 1;
    p.supplyLineMaterial = QStringLiteral("Алюминий");
    p.supplyLineLength = QStringLiteral("0,5");
    p.supplyLineSection = QStringLiteral("35");
    p.supplyLineOverhead = 1;
    p.lines << makeLine(QStringLiteral("Линия №1"),
                        {QStringLiteral("АВВГ"), QStringLiteral("4x50"), QStringLiteral("Алюминий"), QStringLiteral("120"),
                         QStringLiteral("64,8"), QStringLiteral("85"), QStringLiteral("140"), QStringLiteral("1,45"),
                         QStringLiteral("380")},
                        true)
            << makeLine(QStringLiteral("ЩО1 - ЩР2"),
                        {QString(), QStringLiteral("3x2,5 + 1x1,5"), QStringLiteral("Медь"), QStringLiteral("30"),
                         QStringLiteral("213,6"), QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("1,94"),
                         QStringLiteral("220")});
    // The first line keeps its dialog inputs, after its cells; the second, as
    // a line of an older file, has none and is written as such files were.
    LineInputs inputs;
    inputs.threePhase = true;
    inputs.construction = 3;
    inputs.laying = 1;
    inputs.material = QStringLiteral("Алюминий");
    inputs.mark = QStringLiteral("АВВГ");
    inputs.loadCurrent = QStringLiteral("ЩО1 - 85А");
    p.lines[0].inputs = inputs;
    // Their places follow everything else; a start never set is not written.
    p.lines[0].place = LinePlace{1, std::nullopt, QStringLiteral("ВРУ")};
    p.lines[1].place = LinePlace{2, 1, QStringLiteral("ЩР2")};
    p.shields = {Shield{QStringLiteral("ЩО1"),
                        {makeLoad(QStringLiteral("Двигатель"),
                                  {QStringLiteral("5,5"), QStringLiteral("0,8"), QStringLiteral("0,7"), QStringLiteral("3,85"),
                                   QStringLiteral("4,81"), QStringLiteral("7,31"), QStringLiteral("ABC"), QStringLiteral("3"),
                                   QStringLiteral("0,9")}),
                         makeLoad(QStringLiteral("Освещение"),
                                  {QStringLiteral("2"), QStringLiteral("0,95"), QStringLiteral("0,9"), QStringLiteral("1,8"),
                                   QStringLiteral("1,89"), QStringLiteral("8,61"), QStringLiteral("A"), QStringLiteral("1"),
                                   QStringLiteral("1")})}},
                 Shield{QStringLiteral("ЩР2"), {}}};

    const QString expected = crlf({
        QStringLiteral("[TP]"), QStringLiteral("STP=400"), QStringLiteral("HS=1"), QStringLiteral("Material=Алюминий"),
        QStringLiteral("Length=0,5"), QStringLiteral("Section=35"), QStringLiteral("Group=Y"), QStringLiteral("Sk=0"),
        QStringLiteral("HV=10"), QStringLiteral("BusR=0"), QStringLiteral("BusX=0"), QStringLiteral("ContactR=0,1"),
        QStringLiteral("ArcR=10"), QStringLiteral("CableTemp=65"), QStringLiteral("Overhead=1"),
        QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=2"),
        QStringLiteral("NextId=3"), QStringLiteral("[Line1]"), QStringLiteral("LineName=Линия №1"), QStringLiteral("Checked=True"),
        QStringLiteral("SubItem1=АВВГ"), QStringLiteral("SubItem2=4x50"), QStringLiteral("SubItem3=Алюминий"),
        QStringLiteral("SubItem4=120"), QStringLiteral("SubItem5=64,8"), QStringLiteral("SubItem6=85"),
        QStringLiteral("SubItem7=140"), QStringLiteral("SubItem8=1,45"), QStringLiteral("SubItem9=380"),
        QStringLiteral("Network=380"), QStringLiteral("Construction=3"), QStringLiteral("Laying=1"),
        QStringLiteral("Material=Алюминий"), QStringLiteral("Neutral=0"), QStringLiteral("NeutralSection="),
        QStringLiteral("Mark=АВВГ"), QStringLiteral("LoadCurrent=ЩО1 - 85А"), QStringLiteral("CosPhi=1"),
        QStringLiteral("Reactance=0"), QStringLiteral("Ambient="), QStringLiteral("Cables=1"), QStringLiteral("Spacing=100"),
        QStringLiteral("Device="), QStringLiteral("DeviceRating="), QStringLiteral("TripTime="),
        QStringLiteral("Id=1"), QStringLiteral("Board=ВРУ"), QStringLiteral("[Line2]"), QStringLiteral("LineName=ЩО1 - ЩР2"), QStringLiteral("Checked=False"),
        QStringLiteral("SubItem1="), QStringLiteral("SubItem2=3x2,5 + 1x1,5"), QStringLiteral("SubItem3=Медь"),
        QStringLiteral("SubItem4=30"), QStringLiteral("SubItem5=213,6"), QStringLiteral("SubItem6=10"),
        QStringLiteral("SubItem7=25"), QStringLiteral("SubItem8=1,94"), QStringLiteral("SubItem9=220"),
        QStringLiteral("Id=2"), QStringLiteral("From=1"), QStringLiteral("Board=ЩР2"), QStringLiteral("[Shields]"), QStringLiteral("Tab1=ЩО1"), QStringLiteral("Tab2=ЩР2"),
        QStringLiteral("TabsCount=2"), QStringLiteral("SubItemsCount=9"),
        QStringLiteral("[Loads1]"), QStringLiteral("LoadCount=2"),
        QStringLiteral("[Load11]"), QStringLiteral("LoadName=Двигатель"), QStringLiteral("SubItem1=5,5"),
        QStringLiteral("SubItem2=0,8"), QStringLiteral("SubItem3=0,7"), QStringLiteral("SubItem4=3,85"),
        QStringLiteral("SubItem5=4,81"), QStringLiteral("SubItem6=7,31"), QStringLiteral("SubItem7=ABC"),
        QStringLiteral("SubItem8=3"), QStringLiteral("SubItem9=0,9"),
        QStringLiteral("[Load12]"), QStringLiteral("LoadName=Освещение"), QStringLiteral("SubItem1=2"),
        QStringLiteral("SubItem2=0,95"), QStringLiteral("SubItem3=0,9"), QStringLiteral("SubItem4=1,8"),
        QStringLiteral("SubItem5=1,89"), QStringLiteral("SubItem6=8,61"), QStringLiteral("SubItem7=A"),
        QStringLiteral("SubItem8=1"), QStringLiteral("SubItem9=1"),
        QStringLiteral("[Loads2]"), QStringLiteral("LoadCount=0"),
    });

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Проект.kbp"));
    QVERIFY(ProjectFile::write(path, p));
    QCOMPARE(TextFile::decode(readBytes(path)), expected);
    // Windows-1251 bytes, as existing installations read them.
    QCOMPARE(readBytes(path), cp1251(expected));

    Project back;
    back.properties.developer = QStringLiteral("из прежнего проекта");
    const ProjectFile::ReadResult r = ProjectFile::read(path, back);
    QVERIFY(r.opened);
    QVERIFY2(!r.damaged, qPrintable(r.problems.join(QLatin1Char(';'))));
    compareStored(back, p); // a file without properties has none

    // The properties of the title block: their own section after every
    // section of earlier versions, every key written, empty ones empty.
    p.properties = ProjectProperties{QStringLiteral("ООО «Сеть»"), QStringLiteral(" Дом "), QStringLiteral("15-ЭМ"),
                                     QStringLiteral("Р"), QStringLiteral("Иванов"), QString(), QStringLiteral("Сидорова"),
                                     QString(), QStringLiteral("05.2024")};
    QVERIFY(ProjectFile::write(path, p));
    QCOMPARE(TextFile::decode(readBytes(path)),
             expected + crlf({QStringLiteral("[Project]"), QStringLiteral("Organization=ООО «Сеть»"),
                              QStringLiteral("Object=\" Дом \""), QStringLiteral("Code=15-ЭМ"), QStringLiteral("Stage=Р"),
                              QStringLiteral("Developer=Иванов"), QStringLiteral("Checker="),
                              QStringLiteral("NormControl=Сидорова"), QStringLiteral("Approver="),
                              QStringLiteral("Date=05.2024")}));
    QVERIFY(!ProjectFile::read(path, back).damaged);
    compareStored(back, p);
}

void TstProjectFile::absentKeysReadAsZero()
{
    const QString text = crlf({QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=1"),
                               QStringLiteral("[Line1]"), QStringLiteral("SubItem2=3x4"),
                               QStringLiteral("[Shields]"), QStringLiteral("Tab1=ЩО1"), QStringLiteral("TabsCount=1"),
                               QStringLiteral("SubItemsCount=9"), QStringLiteral("[Loads1]"), QStringLiteral("LoadCount=1"),
                               QStringLiteral("[Load11]")});
    Project p;
    const ProjectFile::ReadResult r = ProjectFile::readText(text, p);
    QCOMPARE(p.transformerPower, QStringLiteral("0"));
    QCOMPARE(p.supplyLineMaterial, QStringLiteral("0"));
    QCOMPARE(p.supplyLineLength, QStringLiteral("0"));
    QCOMPARE(p.supplyLineSection, QStringLiteral("0"));
    QCOMPARE(p.supplyLineUsed, 0);
    // The keys added later take their defaults rather than "0": Y/Yн-0, 10 kV.
    QCOMPARE(p.transformerGroup, QStringLiteral("Y"));
    QCOMPARE(p.supplyVoltage, QStringLiteral("10"));
    QCOMPARE(p.contactResistance, QStringLiteral("0,1"));
    QCOMPARE(p.conductorTemperature, QStringLiteral("65"));
    QCOMPARE(p.supplyLineOverhead, 0); // a cable
    QCOMPARE(p.lines.size(), 1);
    QCOMPARE(p.lines.at(0).name, QStringLiteral("0"));
    QCOMPARE(p.lines.at(0).cells.at(0), QStringLiteral("0"));
    QCOMPARE(p.lines.at(0).cells.at(1), QStringLiteral("3x4"));
    QCOMPARE(p.lines.at(0).cells.at(8), QStringLiteral("0"));
    QCOMPARE(p.shields.at(0).loads.size(), 1);
    QCOMPARE(p.shields.at(0).loads.at(0).name, QStringLiteral("0"));
    QCOMPARE(p.shields.at(0).loads.at(0).cells, QStringList(9, QStringLiteral("0")));
    // Only the missing [TP] section makes it a damaged file; absent keys in
    // present sections are the format's own defaults.
    QCOMPARE(r.problems, QStringList{QStringLiteral("нет данных ТП")});
}

void TstProjectFile::checkedOnlyForExactTrue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("checked");
    QTest::newRow("True") << QStringLiteral("Checked=True") << true;
    QTest::newRow("true") << QStringLiteral("Checked=true") << false;
    QTest::newRow("TRUE") << QStringLiteral("Checked=TRUE") << false;
    QTest::newRow("1") << QStringLiteral("Checked=1") << false;
    QTest::newRow("False") << QStringLiteral("Checked=False") << false;
    QTest::newRow("absent") << QString() << false;
    // INI readers drop the quotes around a value.
    QTest::newRow("quoted True") << QStringLiteral("Checked=\"True\"") << true;
    QTest::newRow("blanks around") << QStringLiteral("Checked =  True  ") << true;
}

void TstProjectFile::checkedOnlyForExactTrue()
{
    QFETCH(QString, line);
    QFETCH(bool, checked);
    const QString text = crlf({QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=1"),
                               QStringLiteral("[Line1]"), QStringLiteral("LineName=Л1"), line});
    Project p;
    ProjectFile::readText(text, p);
    QCOMPARE(p.lines.size(), 1);
    QCOMPARE(p.lines.at(0).checked, checked);
}

void TstProjectFile::roundTripKeepsEveryText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("windows1251");
    QTest::newRow("Windows-1251") << QStringLiteral("Линия №1 «ввод» — ЩР‰ Ёё") << true;
    QTest::newRow("outside Windows-1251") << QStringLiteral("Ω 中文 😀 ✓") << false;
    // Its Windows-1251 bytes are also valid UTF-8.
    QTest::newRow("looks like UTF-8") << QStringLiteral("Г№") << false;
    QTest::newRow("blanks at the ends") << QStringLiteral("  отступ\t ") << true;
    QTest::newRow("only blanks") << QStringLiteral("   ") << true;
    QTest::newRow("double quotes") << QStringLiteral("\"в кавычках\"") << true;
    QTest::newRow("single quotes") << QStringLiteral("'одинарные'") << true;
    QTest::newRow("one quote") << QStringLiteral("\"") << true;
    QTest::newRow("mixed quotes") << QStringLiteral("\"a'") << true;
    QTest::newRow("INI syntax") << QStringLiteral("[Line1] a=b=c ; # x") << true;
    QTest::newRow("section-like") << QStringLiteral("[Load11]") << true;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("longer than 254") << QString(600, QChar(0x0416)) << true;
}

void TstProjectFile::roundTripKeepsEveryText()
{
    QFETCH(QString, text);
    QFETCH(bool, windows1251);

    Project p;
    p.transformerPower = QStringLiteral("630");
    p.supplyLineMaterial = text;
    p.supplyLineLength = text;
    p.supplyLineSection = text;
    QStringList cells;
    for (int i = 0; i < CableLine::CellCount; ++i)
        cells << text + QString::number(i);
    // The other texts are ASCII, so that the file's encoding is decided by `text` alone.
    p.lines << makeLine(text, cells, true) << makeLine(QStringLiteral("L2"), QStringList(9, text));
    p.lines[0].place = LinePlace{7, 0, text};
    p.lines[1].place = LinePlace{3, 7, QString()};
    p.shields = {Shield{text, {makeLoad(text, QStringList(9, text)), makeLoad(QStringLiteral("N2"), cells)}},
                 Shield{QStringLiteral("S2") + text, {}}};
    p.properties = ProjectProperties{text, text + QLatin1Char('1'), text, QString(), text, text, text, text, text};

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.kbp"));
    QVERIFY(ProjectFile::write(path, p));
    const QByteArray bytes = readBytes(path);
    QCOMPARE(!bytes.startsWith("\xEF\xBB\xBF"), windows1251);

    Project back;
    const ProjectFile::ReadResult r = ProjectFile::read(path, back);
    QVERIFY2(!r.damaged, qPrintable(r.problems.join(QLatin1Char(';'))));
    compareStored(back, p);
}

void TstProjectFile::collidingLoadSectionsBothSurvive()
{
    // Shield 1 load 12 and shield 11 load 2 both give Load112; shield 1 load 11
    // and shield 11 load 1 both give Load111.
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.shields.clear();
    for (int i = 1; i <= 11; ++i) {
        Shield s{QStringLiteral("ЩО") + QString::number(i), {}};
        const int loads = i == 1 ? 12 : i == 11 ? 2 : 0;
        for (int j = 1; j <= loads; ++j)
            s.loads << makeLoad(QStringLiteral("Щит %1 нагрузка %2").arg(i).arg(j),
                                QStringList(9, QStringLiteral("%1.%2").arg(i).arg(j)));
        p.shields << s;
    }

    const QString text = ProjectFile::toText(p);
    for (const char *name : {"[Load1_12]", "[Load11_2]", "[Load1_11]", "[Load11_1]", "[Load110]", "[Load11]", "[Load19]"})
        QVERIFY2(text.contains(QLatin1String(name)), name);
    for (const char *name : {"[Load112]", "[Load111]", "[Load1_1]", "[Load1_10]"})
        QVERIFY2(!text.contains(QLatin1String(name)), name);

    Project back;
    const ProjectFile::ReadResult r = ProjectFile::readText(text, back);
    QVERIFY2(!r.damaged, qPrintable(r.problems.join(QLatin1Char(';'))));
    compareStored(back, p);

    // Without a collision nothing changes: shield 11 alone keeps the plain names.
    p.shields[0].loads.resize(9);
    const QString plain = ProjectFile::toText(p);
    QVERIFY(!plain.contains(QLatin1Char('_')));
    QVERIFY(plain.contains(QLatin1String("[Load111]")));
    QVERIFY(plain.contains(QLatin1String("[Load112]")));
    ProjectFile::readText(plain, back);
    compareStored(back, p);
}

void TstProjectFile::separatedSectionIsReadFirst()
{
    // A file of the old kind has one Load112 for both loads: both read it.
    const QString legacy = crlf({QStringLiteral("[TP]"), QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"),
                                 QStringLiteral("LineCount=0"), QStringLiteral("[Shields]"), QStringLiteral("Tab1=A"),
                                 QStringLiteral("Tab2=B"), QStringLiteral("TabsCount=2"), QStringLiteral("SubItemsCount=9"),
                                 QStringLiteral("[Loads1]"), QStringLiteral("LoadCount=1"), QStringLiteral("[Load11]"),
                                 QStringLiteral("LoadName=старое"), QStringLiteral("[Load1_1]"),
                                 QStringLiteral("LoadName=новое"), QStringLiteral("[Loads2]"), QStringLiteral("LoadCount=1"),
                                 QStringLiteral("[Load21]"), QStringLiteral("LoadName=второй")});
    Project p;
    const ProjectFile::ReadResult r = ProjectFile::readText(legacy, p);
    QVERIFY(!r.damaged);
    QCOMPARE(p.shields.size(), 2);
    QCOMPARE(p.shields.at(0).loads.size(), 1);
    QCOMPARE(p.shields.at(0).loads.at(0).name, QStringLiteral("новое"));
    QCOMPARE(p.shields.at(1).loads.at(0).name, QStringLiteral("второй"));
}

void TstProjectFile::damagedFileOpensWhatItCan_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("shields");
    QTest::addColumn<QList<int>>("loads");
    QTest::addColumn<bool>("damaged");

    auto file = [](const QStringList &lines) { return cp1251(crlf(lines)); };
    const QStringList tp{QStringLiteral("[TP]"), QStringLiteral("STP=400")};
    const QStringList twoLines{QStringLiteral("[Line1]"), QStringLiteral("LineName=A"), QStringLiteral("[Line2]"),
                               QStringLiteral("LineName=B")};
    const QStringList oneShield{QStringLiteral("[Shields]"), QStringLiteral("Tab1=ЩО1"), QStringLiteral("TabsCount=1"),
                                QStringLiteral("SubItemsCount=9"), QStringLiteral("[Loads1]"),
                                QStringLiteral("LoadCount=0")};
    const QStringList linesOk{QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=2")};
    const QStringList ab{QStringLiteral("A"), QStringLiteral("B")};
    const QStringList shield1{QStringLiteral("ЩО1")};

    QTest::newRow("sound") << file(tp + linesOk + twoLines + oneShield) << ab << shield1 << QList<int>{0} << false;
    QTest::newRow("line count not a number")
        << file(tp + QStringList{QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=две")}
                + twoLines + oneShield)
        << ab << shield1 << QList<int>{0} << true;
    QTest::newRow("huge line count without lines")
        << file(tp + QStringList{QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=100000")}
                + oneShield)
        << QStringList() << shield1 << QList<int>{0} << true;
    QTest::newRow("line section missing")
        << file(tp + QStringList{QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=9"), QStringLiteral("LineCount=3"),
                                 QStringLiteral("[Line1]"), QStringLiteral("LineName=A"), QStringLiteral("[Line3]"),
                                 QStringLiteral("LineName=C")}
                + oneShield)
        << QStringList{QStringLiteral("A"), QStringLiteral("C")} << shield1 << QList<int>{0} << true;
    QTest::newRow("cell count not a number")
        << file(tp + QStringList{QStringLiteral("[Lines]"), QStringLiteral("SubItemCount=x"), QStringLiteral("LineCount=2")}
                + twoLines + oneShield)
        << ab << shield1 << QList<int>{0} << true;
    QTest::newRow("no Shields section") << file(tp + linesOk + twoLines) << ab << shield1 << QList<int>{0} << true;
    QTest::newRow("shield count garbage")
        << file(tp + linesOk + twoLines
                + QStringList{QStringLiteral("[Shields]"), QStringLiteral("Tab1=A"), QStringLiteral("Tab2=B"),
                              QStringLiteral("TabsCount=\x01\x02"), QStringLiteral("SubItemsCount=9"),
                              QStringLiteral("[Loads1]"), QStringLiteral("LoadCount=1"), QStringLiteral("[Load11]"),
                              QStringLiteral("LoadName=н"), QStringLiteral("[Loads2]"), QStringLiteral("LoadCount=0")})
        << ab << ab << QList<int>{1, 0} << true;
    QTest::newRow("huge load count")
        << file(tp + linesOk + twoLines
                + QStringList{QStringLiteral("[Shields]"), QStringLiteral("Tab1=ЩО1"), QStringLiteral("TabsCount=1"),
                              QStringLiteral("SubItemsCount=9"), QStringLiteral("[Loads1]"), QStringLiteral("LoadCount=30000"),
                              QStringLiteral("[Load11]"), QStringLiteral("[Load12]")})
        << ab << shield1 << QList<int>{2} << true;
    QTest::newRow("load count not a number, loads of another shield after a gap")
        << file(tp + linesOk + twoLines
                + QStringList{QStringLiteral("[Shields]"), QStringLiteral("Tab1=ЩО1"), QStringLiteral("TabsCount=1"),
                              QStringLiteral("SubItemsCount=9"), QStringLiteral("[Loads1]"), QStringLiteral("LoadCount=?"),
                              QStringLiteral("[Load11]"), QStringLiteral("[Load12]"), QStringLiteral("[Load111]")})
        << ab << shield1 << QList<int>{2} << true;
    // Absent keys read "0": no column counts and no load list of a shield without loads are no damage.
    QTest::newRow("no column counts, no load list")
        << file(tp + QStringList{QStringLiteral("[Lines]"), QStringLiteral("LineCount=2")} + twoLines
                + QStringList{QStringLiteral("[Shields]"), QStringLiteral("Tab1=ЩО1"), QStringLiteral("TabsCount=1")})
        << ab << shield1 << QList<int>{0} << false;
    QTest::newRow("line inputs that make no sense")
        << file(tp + linesOk + twoLines + QStringList{QStringLiteral("Construction=-1")} + oneShield)
        << ab << shield1 << QList<int>{0} << true;
    QTest::newRow("empty file") << QByteArray() << QStringList() << shield1 << QList<int>{0} << true;
    // A number no double holds would read as 0 without a word.
    QTest::newRow("cells beyond any number")
        << file(tp + linesOk + QStringList{QStringLiteral("[Line1]"), QStringLiteral("LineName=A"), QStringLiteral("SubItem8=1e309"),
                                           QStringLiteral("[Line2]"), QStringLiteral("LineName=B"), QStringLiteral("SubItem4=-inf")}
                + oneShield)
        << ab << shield1 << QList<int>{0} << true;
    // An editor's byte-order mark over Windows-1251 text keeps the Cyrillic letters.
    QTest::newRow("byte-order mark over Windows-1251")
        << QByteArray("\xEF\xBB\xBF") + file(tp + linesOk + twoLines + oneShield) << ab << shield1 << QList<int>{0}
        << false;

    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator gen(7);
    for (char &c : garbage)
        c = char(gen.bounded(256));
    QTest::newRow("binary garbage") << garbage << QStringList() << shield1 << QList<int>{0} << true;
    QTest::newRow("binary after a sound start")
        << file(tp + linesOk + twoLines) + garbage << ab << shield1 << QList<int>{0} << true;
}

void TstProjectFile::damagedFileOpensWhatItCan()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, shields);
    QFETCH(QList<int>, loads);
    QFETCH(bool, damaged);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.kbp"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    Project p;
    p.lines << CableLine(); // whatever was there is replaced
    const ProjectFile::ReadResult r = ProjectFile::read(path, p);
    QVERIFY(r.opened);
    QCOMPARE(r.damaged, damaged);
    QCOMPARE(r.damaged, !r.problems.isEmpty());
    QStringList names;
    for (const CableLine &l : std::as_const(p.lines)) {
        names << l.name;
        QCOMPARE(l.cells.size(), int(CableLine::CellCount));
    }
    QCOMPARE(names, lines);
    QStringList shieldNames;
    QList<int> loadCounts;
    for (const Shield &s : std::as_const(p.shields)) {
        shieldNames << s.name;
        loadCounts << int(s.loads.size());
    }
    QCOMPARE(shieldNames, shields);
    QCOMPARE(loadCounts, loads);
}

void TstProjectFile::unreadableFile()
{
    QTemporaryDir dir;
    Project p;
    p.transformerPower = QStringLiteral("250");
    // A folder in place of the file cannot be read; nothing is touched.
    ProjectFile::ReadResult r = ProjectFile::read(dir.path(), p);
    QVERIFY(!r.opened);
    QCOMPARE(p.transformerPower, QStringLiteral("250"));
    QCOMPARE(ProjectFile::missingMessage(dir.path()),
             QStringLiteral("'") + QDir::toNativeSeparators(dir.path()) + QStringLiteral("' - это папка, а не файл проекта!"));

    // A file too large to be a project is refused before it is read (a
    // sparse file: it takes no room on the disk).
    const QString huge = dir.filePath(QStringLiteral("huge.kbp"));
    QFile f(huge);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(TextFile::MaxFileSize + 1));
    f.close();
    QVERIFY(ProjectFile::missingMessage(huge).isEmpty());
    r = ProjectFile::read(huge, p);
    QVERIFY(!r.opened);
    QCOMPARE(p.transformerPower, QStringLiteral("250"));
    QCOMPARE(ProjectFile::unreadableMessage(huge, r),
             QStringLiteral("Не удалось прочитать файл '") + QDir::toNativeSeparators(huge)
                 + QStringLiteral("'.\r\n(файл слишком велик: 257 МБ при наибольших 256 МБ)"));
}

void TstProjectFile::longSectionsMatchLikeShortOnes_data()
{
    QTest::addColumn<int>("keys");
    QTest::newRow("short section, searched") << 5;
    QTest::newRow("long section, indexed") << 60;
}

void TstProjectFile::longSectionsMatchLikeShortOnes()
{
    QFETCH(int, keys);
    QStringList lines{QStringLiteral("[Щиты]")};
    for (int i = 1; i <= keys; ++i)
        lines << QStringLiteral("Ключ%1=v%1").arg(i);
    lines << QStringLiteral("ключ1=второй");
    IniDocument ini = IniDocument::fromText(crlf(lines));
    // Letter case does not matter, Cyrillic included; the first of two equal keys wins.
    QCOMPARE(ini.value(QStringLiteral("щИТЫ"), QStringLiteral("КЛЮЧ1")), QStringLiteral("v1"));
    QCOMPARE(ini.value(QStringLiteral("Щиты"), QStringLiteral(" ключ%1 ").arg(keys)), QStringLiteral("v%1").arg(keys));
    QVERIFY(!ini.contains(QStringLiteral("Щиты"), QStringLiteral("Ключ%1").arg(keys + 1)));
    // A write updates the key in place or appends it to its section.
    ini.setValue(QStringLiteral("ЩИТЫ"), QStringLiteral("ключ2"), QStringLiteral("новое"));
    ini.setValue(QStringLiteral("щиты"), QStringLiteral("Добавлен"), QStringLiteral("x"));
    QCOMPARE(ini.value(QStringLiteral("Щиты"), QStringLiteral("Ключ2")), QStringLiteral("новое"));
    QCOMPARE(ini.value(QStringLiteral("Щиты"), QStringLiteral("ДОБАВЛЕН")), QStringLiteral("x"));
    QCOMPARE(ini.keys(QStringLiteral("Щиты")).size(), keys + 2);
    QCOMPARE(ini.sectionCount(), 1);
    QVERIFY(ini.toText().contains(QStringLiteral("\r\nКлюч2=новое\r\n")));
}

QTEST_GUILESS_MAIN(TstProjectFile)
#include "tst_projectfile.moc"
