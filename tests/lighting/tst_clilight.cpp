// kabinor-cli light: the window's result and messages from the command line;
// light-room and lighting: rooms by the utilisation-factor method.
#include "RoomFixtures.h"
#include "TestSupport.h"
#include "base/ProjectFile.h"

#include <QtTest>

namespace {

QStringList roomArgs(const TestAppDir &app, const QStringList &extra = {})
{
    QStringList args = {QStringLiteral("light"),      QStringLiteral("--app-dir"), app.path(),
                        QStringLiteral("--length"),   QStringLiteral("6"),         QStringLiteral("--width"),
                        QStringLiteral("3"),          QStringLiteral("--h1"),      QStringLiteral("3"),
                        QStringLiteral("--h2"),       QStringLiteral("0,8"),       QStringLiteral("--kz"),
                        QStringLiteral("1,5"),        QStringLiteral("--en"),      QStringLiteral("744"),
                        QStringLiteral("--lamp-type"), QStringLiteral("3"),        QStringLiteral("--lamp-power"),
                        QStringLiteral("18"),         QStringLiteral("--lamps"),   QStringLiteral("4")};
    for (int k = 0; k + 1 < extra.size(); k += 2) {
        const int at = int(args.indexOf(extra.at(k)));
        if (at >= 0)
            args[at + 1] = extra.at(k + 1);
        else
            args << extra.at(k) << extra.at(k + 1);
    }
    return args;
}

// The hall of the fixtures as options of light-room, with `extra` after them.
QStringList hallArgs(const TestAppDir &app, const QStringList &extra = {})
{
    return QStringList{QStringLiteral("light-room"), QStringLiteral("--app-dir"), app.path(), "--length", "24",
                       "--width", "12", "--height", "6", "--plane", "0,8", "--reflect", "70/50/30", "--curve",
                       "Д-проба", "--norm", "300", "--kz", "1,4", "--z", "1", "--flux", "9000", "--power", "100"}
           + extra;
}

} // namespace

class TstCliLight : public QObject
{
    Q_OBJECT
private slots:
    void countAndGrid();
    void refusedInput_data();
    void refusedInput();
    void storedInputsAreTheDefaults();
    void tooManyToDraw();
    void usage();
    void lightRoom_data();
    void lightRoom();
    void projectRooms();
};

void TstCliLight::countAndGrid()
{
    TestAppDir app;
    const QByteArray settingsBefore = app.readFile(QStringLiteral("kabinor.ini"));
    QString out, err;
    QCOMPARE(runCli(roomArgs(app), &out, &err), 0);
    QCOMPARE(out, QStringLiteral("Колличество светильников: 12\n4x3\n"));
    QCOMPARE(err, QString());
    // The same room turned round gives the same plan; a point works as a comma.
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--length"), QStringLiteral("3"), QStringLiteral("--width"),
                                   QStringLiteral("6.0")}),
                    &out),
             0);
    QCOMPARE(out, QStringLiteral("Колличество светильников: 12\n4x3\n"));
    // The worked room with a compact fluorescent lamp: 7 in one row.
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--length"), QStringLiteral("5,4"), QStringLiteral("--width"),
                                   QStringLiteral("3,6"), QStringLiteral("--en"), QStringLiteral("300"),
                                   QStringLiteral("--lamp-type"), QStringLiteral("2")}),
                    &out),
             0);
    QCOMPARE(out, QStringLiteral("Колличество светильников: 7\n7x1\n"));
    QCOMPARE(app.readFile(QStringLiteral("kabinor.ini")), settingsBefore);
}

void TstCliLight::refusedInput_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("plane at 0,9 H1") << "--h2" << "2,7"
                                     << "Высота рабочей плоскости не может быть больше высоты комнаты!";
    QTest::newRow("L = 50,1") << "--length" << "50,1" << "Слишком большая длина комнаты!";
    QTest::newRow("not a number") << "--kz" << "x" << "Вводимое значение должно быть числовым!";
    QTest::newRow("room index beyond the table") << "--h2" << "2,6" << "Слишком большой индекс помещения!";
}

void TstCliLight::refusedInput()
{
    QFETCH(QString, option);
    QFETCH(QString, value);
    QFETCH(QString, message);
    TestAppDir app;
    QStringList extra = {option, value};
    // With H2 = 2,6 a 50 × 50 room has index 62,5, beyond the delivered table.
    if (message.contains(QStringLiteral("индекс")))
        extra << QStringLiteral("--length") << QStringLiteral("50") << QStringLiteral("--width") << QStringLiteral("50");
    QString out, err;
    QCOMPARE(runCli(roomArgs(app, extra), &out, &err), 1);
    QCOMPARE(out, QString());
    QCOMPARE(err, message + QLatin1Char('\n'));
}

void TstCliLight::storedInputsAreTheDefaults()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("kabinor.ini"), QByteArray());
    QString out, err;
    // Stored defaults: the norm is "Другое", so without --en the illuminance is missing.
    const QStringList bare = {QStringLiteral("light"), QStringLiteral("--app-dir"), app.path()};
    QCOMPARE(runCli(bare, &out, &err), 1);
    QCOMPARE(err, QStringLiteral("Укажите численное значение!\n"));
    QCOMPARE(runCli(bare + QStringList{QStringLiteral("--en"), QStringLiteral("300")}, &out), 0);
    QCOMPARE(out, QStringLiteral("Колличество светильников: 5\n5x1\n")); // ЛБ 75 lm/W: 8748 / 0,31 / 5400

    // A stored norm supplies the illuminance as the window's list would.
    app.writeFile(QStringLiteral("kabinor.ini"),
                  cp1251(QStringLiteral("[Light]\r\nEnListIdx=1\r\nLTListIdx=2\r\nNLamp=4\r\n")));
    QCOMPARE(runCli(bare, &out, &err), 0);
    QCOMPARE(out, QStringLiteral("Колличество светильников: 7\n7x1\n"));
}

void TstCliLight::tooManyToDraw()
{
    TestAppDir app;
    QString out;
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--length"), QStringLiteral("50"), QStringLiteral("--width"),
                                   QStringLiteral("50"), QStringLiteral("--h1"), QStringLiteral("15"),
                                   QStringLiteral("--h2"), QStringLiteral("1"), QStringLiteral("--kz"),
                                   QStringLiteral("10"), QStringLiteral("--en"), QStringLiteral("10000"),
                                   QStringLiteral("--lamp-type"), QStringLiteral("0"), QStringLiteral("--lamp-power"),
                                   QStringLiteral("0,001"), QStringLiteral("--lamps"), QStringLiteral("1")}),
                    &out),
             0);
    QCOMPARE(out, QStringLiteral("Колличество светильников: 53418803419\n"
                                 "Слишком много светильников для построения плана\n"));
}

void TstCliLight::usage()
{
    TestAppDir app;
    QString err;
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--lamps"), QStringLiteral("11")}), nullptr, &err), 2);
    QVERIFY(err.contains(QStringLiteral("--lamps")));
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--lamps"), QStringLiteral("0")}), nullptr, &err), 2);
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--lamp-type"), QStringLiteral("9")}), nullptr, &err), 2);
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--colour"), QStringLiteral("red")}), nullptr, &err), 2);
    QCOMPARE(runCli(roomArgs(app) << QStringLiteral("extra"), nullptr, &err), 2);
}

void TstCliLight::lightRoom_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    // The hall by hand: i = 1,538, η = 0,3531, N = 38,07 → 39 as 13 × 3.
    QTest::newRow("the hall") << QStringList() << 0 << "1,54\t0,35\t39\t13x3\t307,37\t3900\t13,54\n" << "";
    // 2 × 3000 lm in a luminaire whose table counts the lamps: η = 0,4538,
    // N = 120960 / (6000 · 0,4538) = 44,4 → 45 (9 × 5) of 72 W.
    QTest::newRow("a luminaire with lamps")
        << QStringList{"--curve", "Лампы-проба", "--flux", "3000", "--power", "36", "--lamps", "2", "--efficiency", "80"}
        << 0 << "1,54\t0,45\t45\t9x5\t303,91\t3240\t11,25\n" << "";
    // On the floor: h = 6, i = 1,333, η = 30 + 0,333 / 0,5 · 5 = 33,33 %,
    // N = 120960 / 3000 = 40,32 → 41, a prime laid out in one row: 12 m
    // across it over h = 6 m is beyond the type's λ, which is told.
    QTest::newRow("working plane on the floor")
        << QStringList{"--plane", "0"} << 0 << "1,33\t0,33\t41\t41x1\t305,06\t4100\t14,24\n"
        << "L/h = 2 больше рекомендуемого λ = 1,4: освещенность будет неравномерной, нужно больше светильников.\n";
    QTest::newRow("a reflectance of 95 %") << QStringList{"--reflect", "95/50/30"} << 1 << ""
                                           << "Коэффициент отражения потолка должен быть от 0 до 90 %!\n";
    QTest::newRow("an unknown type") << QStringList{"--curve", "Д-1"} << 1 << ""
                                     << "Тип светильника «Д-1» не найден в файле коэффициентов использования!\n";
    QTest::newRow("hung down to the plane") << QStringList{"--hang", "5,5"} << 1 << ""
                                            << "Расчетная высота h = H − hс − hр должна быть больше нуля: проверьте "
                                               "высоту помещения, свес светильника и высоту рабочей плоскости!\n";
    QTest::newRow("two reflectances") << QStringList{"--reflect", "70/50"} << 2 << "" << "";
}

void TstCliLight::lightRoom()
{
    QFETCH(QStringList, extra);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    TestAppDir app;
    app.writeFile(QStringLiteral("UtilTables.dat"), cp1251(testTablesText()));
    QString stdOut, stdErr;
    QCOMPARE(runCli(hallArgs(app, extra), &stdOut, &stdErr), exitCode);
    QCOMPARE(stdOut, out);
    if (exitCode != 2)
        QCOMPARE(stdErr, err);
}

// Every room of a project, one line each; a room that cannot be computed
// shows dashes and says why on standard error.
void TstCliLight::projectRooms()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("UtilTables.dat"), cp1251(testTablesText()));
    Project project;
    LightingRoom corridor = hallRoom();
    corridor.id = 2;
    corridor.name = QStringLiteral("Коридор");
    corridor.ceiling = QStringLiteral("95");
    LightingRoom chosen = hallRoom();
    chosen.count = QStringLiteral("40");
    project.rooms = {chosen, corridor};
    QVERIFY(ProjectFile::write(app.file(QStringLiteral("Цех.kbp")), project));
    QString out, err;
    QCOMPARE(runCli({QStringLiteral("lighting"), app.file(QStringLiteral("Цех.kbp")), QStringLiteral("--app-dir"), app.path()},
                    &out, &err),
             1);
    QCOMPARE(out, QStringLiteral("Зал\t1,54\t0,35\t40\t8x5\t315,25\t4000\t13,89\n"
                                 "Коридор\t-\t-\t-\t-\t-\t-\t-\n"));
    QCOMPARE(err, QStringLiteral("Коридор: Коэффициент отражения потолка должен быть от 0 до 90 %!\n"));
}

QTEST_GUILESS_MAIN(TstCliLight)
#include "tst_clilight.moc"
