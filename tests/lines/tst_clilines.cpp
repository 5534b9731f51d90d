// kabinor-cli line, sections and propose: the line dialog's results without a screen.
#include "TestSupport.h"
#include "base/ProjectFile.h"

#include <QtTest>

class TstCliLines : public QObject
{
    Q_OBJECT
private slots:
    void line_data();
    void line();
    void lineRefused_data();
    void lineRefused();
    void sections_data();
    void sections();
    void propose_data();
    void propose();
    void damagedTable();
    void offeredCurrents();
};

namespace {

int run(const TestAppDir &app, const QString &command, const QStringList &options, QString *out, QString *err)
{
    QStringList args{command, QStringLiteral("--app-dir"), app.path()};
    args << options;
    return runCli(args, out, err);
}

} // namespace

void TstCliLines::line_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("cells");
    QTest::newRow("copper single-phase")
        << QStringList{"--net", "220", "--material", "Медь", "--section", "2,5", "--length", "100", "--current", "10"}
        << "Линия №1\t\t3x2,5\tМедь\t100\t712\t10\t25\t6,47\t220";
    QTest::newRow("copper three-phase")
        << QStringList{"--material", "Медь", "--section", "2.5", "--length", "100", "--current", "10"}
        << "Линия №1\t\t3x2,5\tМедь\t100\t712\t10\t25\t3,25\t380";
    QTest::newRow("aluminium, offered current")
        << QStringList{"--section", "16", "--length", "50", "--current", "ЩО1 - 25А"}
        << "Линия №1\t\t3x16\tАлюминий\t50\t84,37\t25\t60\t0,96\t380";
    QTest::newRow("four-core with a neutral core")
        << QStringList{"--material", "Медь", "--type", "3", "--section", "25", "--length", "50", "--current", "40",
                       "--neutral", "16", "--name", "Щит", "--mark", "ВВГ"}
        << "Щит\tВВГ\t4x25 + 1x16\tМедь\t50\t35,6\t40\t87,4\t0,65\t380";
    QTest::newRow("open laying has three cores")
        << QStringList{"--net", "220", "--type", "0", "--material", "Медь", "--section", "4", "--length", "10",
                       "--current", "12,5"}
        << "Линия №1\t\t3x4\tМедь\t10\t44,5\t12,5\t41\t0,51\t220";
    // The power factor with the cable's reactance: R cos φ + X sin φ, X = x1 × L.
    // √3 × 40 × (35,6 × 0,8 + 0,0662 × 50 × 0,6) / 3800 = 0,5555 %; with 0,9: 0,6105 %.
    QTest::newRow("three-phase, cos φ 0,8")
        << QStringList{"--material", "Медь", "--type", "3", "--section", "25", "--length", "50", "--current", "40",
                       "--cos-phi", "0,8"}
        << "Линия №1		4x25	Медь	50	35,6	40	87,4	0,56	380";
    QTest::newRow("three-phase, cos φ 0,9")
        << QStringList{"--material", "Медь", "--type", "3", "--section", "25", "--length", "50", "--current", "40",
                       "--cos-phi", "0.9"}
        << "Линия №1		4x25	Медь	50	35,6	40	87,4	0,61	380";
    // 2 × 10 × (712 × 0,8 + 0,1 × 100 × 0,6) / 2200 = 5,233 %.
    QTest::newRow("single-phase, cos φ 0,8")
        << QStringList{"--net", "220", "--material", "Медь", "--section", "2,5", "--length", "100", "--current", "10",
                       "--cos-phi", "0,8"}
        << "Линия №1		3x2,5	Медь	100	712	10	25	5,23	220";
    // In the ground at 25 °C with three cables 100 mm apart: 175 × 0,89 × 0,85 = 132,3875 A, shown as 132,39.
    QTest::newRow("ground, corrected permissible current")
        << QStringList{"--laying", "ground", "--section", "50", "--length", "120", "--current", "100", "--ambient", "25",
                       "--cables", "3"}
        << "Линия №1		3x50	Алюминий	120	64,79	100	132,39	2,95	380";
    // Five-core as four-core: 0,92 × 75 A, in air at 35 °C × 0,87 = 60,03 A.
    QTest::newRow("five-core in warm air")
        << QStringList{"--material", "Медь", "--type", "4", "--section", "16", "--length", "30", "--current", "40",
                       "--ambient", "35"}
        << "Линия №1		5x16	Медь	30	33,37	40	60,03	0,61	380";
    QTest::newRow("one decimal with tolerance 1")
        << QStringList{"--net", "220", "--material", "Медь", "--section", "2,5", "--length", "100", "--current", "10",
                       "--tolerance", "1"}
        << "Линия №1\t\t3x2,5\tМедь\t100\t712\t10\t25\t6,5\t220";
}

void TstCliLines::line()
{
    QFETCH(QStringList, options);
    QFETCH(QString, cells);
    TestAppDir app;
    QString out, err;
    QCOMPARE(run(app, QStringLiteral("line"), options, &out, &err), 0);
    QCOMPARE(out, cells + QLatin1Char('\n'));
    QCOMPARE(err, QString());
}

void TstCliLines::lineRefused_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("error");
    const QStringList ok{"--section", "25", "--length", "10", "--current", "5"};
    QTest::newRow("section not listed")
        << QStringList{"--section", "26", "--length", "10", "--current", "5"} << 1
        << "Сечение 26 отсутствует в списке сечений для выбранного типа линии!\n";
    QTest::newRow("section missing") << QStringList{"--length", "10", "--current", "5"} << 1
                                     << "Укажите численное значение!\n";
    QTest::newRow("length zero") << QStringList{"--section", "25", "--length", "0", "--current", "5"} << 1
                                 << "Вводимое значение должно быть положительным и неравным нулю!\n";
    QTest::newRow("current not a number")
        << QStringList{"--section", "25", "--length", "10", "--current", "ток"} << 1
        << "Значение тока должно быть числовым!\nВведите значение тока нагрузки или выберете один из вариантов!\n";
    QTest::newRow("neutral not listed") << (ok + QStringList{"--neutral", "17"}) << 1
                                        << "Сечение нулевой жилы 17 отсутствует в списке сечений нулевых жил!\n";
    QTest::newRow("cos φ above 1") << (ok + QStringList{"--cos-phi", "1,2"}) << 1
                                   << "Коэффициент мощности должен быть больше 0 и не больше 1!\n";
    // ПУЭ table 1.3.3 prints -5…+50 °C for air, -5…+35 °C for the ground.
    QTest::newRow("ambient above table 1.3.3")
        << (ok + QStringList{"--ambient", "51"}) << 1
        << "Температура окружающей среды должна быть от -5 до +50 °C (ПУЭ, табл. 1.3.3)!\n";
    QTest::newRow("ground above table 1.3.3")
        << (ok + QStringList{"--laying", "ground", "--ambient", "36"}) << 1
        << "Температура земли должна быть от -5 до +35 °C (ПУЭ, табл. 1.3.3)!\n";
    QTest::newRow("seven cables in a trench")
        << (ok + QStringList{"--laying", "ground", "--cables", "7"}) << 1
        << "Число кабелей в траншее должно быть от 1 до 6 (ПУЭ, табл. 1.3.26)!\n";
    QTest::newRow("network") << (ok + QStringList{"--net", "110"}) << 2 << "";
    QTest::newRow("type out of range") << (ok + QStringList{"--type", "5"}) << 2 << "";
    QTest::newRow("laying") << (ok + QStringList{"--laying", "water"}) << 2 << "";
    QTest::newRow("material") << (ok + QStringList{"--material", "Железо"}) << 2 << "";
    // The calculation values take the options dialog's rule and messages.
    const QString positive = QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!\n");
    QTest::newRow("conductivity zero") << (ok + QStringList{"--gcu", "0"}) << 1 << positive;
    QTest::newRow("conductivity negative") << (ok + QStringList{"--gal", "-1"}) << 1 << positive;
    QTest::newRow("tolerance negative") << (ok + QStringList{"--tolerance", "-1"}) << 1 << positive;
    QTest::newRow("limit too large") << (ok + QStringList{"--dumax", "1e7"}) << 1
                                     << QStringLiteral("Вводимое значение слишком велико!\n");
    QTest::newRow("conductivity not a number") << (ok + QStringList{"--gcu", "inf"}) << 2 << "";
}

void TstCliLines::lineRefused()
{
    QFETCH(QStringList, options);
    QFETCH(int, code);
    QFETCH(QString, error);
    TestAppDir app;
    QString out, err;
    QCOMPARE(run(app, QStringLiteral("line"), options, &out, &err), code);
    QCOMPARE(out, QString());
    if (code == 1)
        QCOMPARE(err, error);
    else
        QVERIFY(err.startsWith(QStringLiteral("usage: kabinor-cli line")));
}

void TstCliLines::sections_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("sections");
    QTest::newRow("aluminium three-core in air") << QStringList{}
                                                 << "2,5 4 6 10 16 25 35 50 70 95 120 150 185";
    QTest::newRow("single-core in the ground is laid in air")
        << QStringList{"--type", "0", "--laying", "ground"} << "2,5 4 6 10 16 25 35 50 70 95 120 150 185 240";
    QTest::newRow("220 copper один двухжильный")
        << QStringList{"--net", "220", "--type", "4", "--material", "Медь"}
        << "1 1,2 1,5 2 2,5 3 4 5 6 8 10 16 25 35 50 70 95 120";
}

void TstCliLines::sections()
{
    QFETCH(QStringList, options);
    QFETCH(QString, sections);
    TestAppDir app;
    QString out;
    QCOMPARE(run(app, QStringLiteral("sections"), options, &out, nullptr), 0);
    QCOMPARE(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' ')), sections);
}

void TstCliLines::propose_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::newRow("equal value") << QStringList{"--current", "75"} << 0 << "25\n";
    QTest::newRow("just above") << QStringList{"--current", "75,1"} << 0 << "35\n";
    QTest::newRow("offered text") << QStringList{"--current", "Насос - 60А"} << 0 << "16\n";
    QTest::newRow("four-core") << QStringList{"--type", "3", "--current", "69,1"} << 0 << "35\n";
    QTest::newRow("too large") << QStringList{"--current", "271"} << 1 << "";
}

void TstCliLines::propose()
{
    QFETCH(QStringList, options);
    QFETCH(int, code);
    QFETCH(QString, out);
    TestAppDir app;
    QString stdOut, stdErr;
    QCOMPARE(run(app, QStringLiteral("propose"), options, &stdOut, &stdErr), code);
    QCOMPARE(stdOut, out);
    QCOMPARE(stdErr, code ? QStringLiteral("Слишком большое значение тока нагрузки!\n") : QString());
}

void TstCliLines::damagedTable()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("Iadm380Al.dat"), QByteArray("2.5,23,21,34,19,29\n4,31,x,42,27,38\n"));
    QString out, err;
    QCOMPARE(run(app, QStringLiteral("sections"), {}, &out, &err), 1);
    QCOMPARE(out, QString());
    QCOMPARE(err, QStringLiteral("Файл таблицы допустимых токов ")
                      + QDir::toNativeSeparators(app.file(QStringLiteral("Iadm380Al.dat")))
                      + QStringLiteral(" поврежден (строка 2: «x» не является числом).\n"));
    QCOMPARE(run(app, QStringLiteral("propose"), {QStringLiteral("--current"), QStringLiteral("1")}, &out, &err), 1);
    // The copper table is sound.
    QCOMPARE(run(app, QStringLiteral("propose"), {QStringLiteral("--current"), QStringLiteral("1"),
                                                  QStringLiteral("--material"), QStringLiteral("Медь")},
                 &out, &err),
             0);
    QCOMPARE(out, QStringLiteral("1,5\n"));
}

void TstCliLines::offeredCurrents()
{
    TestAppDir app;
    Project project;
    Load pump;
    pump.name = QStringLiteral("Насос");
    pump.cells = QStringList{"10", "0,8", "0,7", "7", "8,75", "14,73", "ABC", "3", "0,9"};
    Load light;
    light.name = QStringLiteral("Свет");
    light.cells = QStringList{"2", "1", "1", "2", "2", "9,09", "B", "1", "1"};
    project.shields = {Shield{QStringLiteral("ЩО1"), {pump, light}}};
    const QString path = app.file(QStringLiteral("Щиты.kbp"));
    QVERIFY(ProjectFile::write(path, project));

    // As the line dialog lists them: the most loaded phase for a three-phase
    // line, the sum of the loads' currents for a single-phase one; a load at
    // its full power (Кс = 1): 10 / 0,8 / 3 / 0,9 / 0,22 = 21,04 A.
    QString out;
    QCOMPARE(run(app, QStringLiteral("currents"), {path}, &out, nullptr), 0);
    QCOMPARE(out, QStringLiteral("ЩО1 - 23,82А\nНасос - 21,04А\nСвет - 9,09А\n"));
    QCOMPARE(run(app, QStringLiteral("currents"), {path, QStringLiteral("--net"), QStringLiteral("220")}, &out, nullptr), 0);
    QCOMPARE(out, QStringLiteral("ЩО1 - 53,28А\nНасос - 21,04А\nСвет - 9,09А\n"));
    QCOMPARE(run(app, QStringLiteral("currents"), {path, QStringLiteral("--net"), QStringLiteral("110")}, &out, nullptr), 2);
}

QTEST_GUILESS_MAIN(TstCliLines)
#include "tst_clilines.moc"
