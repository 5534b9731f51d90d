// kabinor-cli light: the window's result and messages from the command line.
#include "TestSupport.h"

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
};

void TstCliLight::countAndGrid()
{
    TestAppDir app;
    const QByteArray settingsBefore = app.readFile(QStringLiteral("kabinor.ini"));
    QString out, err;
    QCOMPARE(runCli(roomArgs(app), &out, &err), 0);
    QCOMPARE(out, QStringLiteral("Количество светильников: 12\n4x3\n"));
    QCOMPARE(err, QString());
    // The same room turned round gives the same plan; a point works as a comma.
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--length"), QStringLiteral("3"), QStringLiteral("--width"),
                                   QStringLiteral("6.0")}),
                    &out),
             0);
    QCOMPARE(out, QStringLiteral("Количество светильников: 12\n4x3\n"));
    // The worked room with a compact fluorescent lamp: 7 in one row.
    QCOMPARE(runCli(roomArgs(app, {QStringLiteral("--length"), QStringLiteral("5,4"), QStringLiteral("--width"),
                                   QStringLiteral("3,6"), QStringLiteral("--en"), QStringLiteral("300"),
                                   QStringLiteral("--lamp-type"), QStringLiteral("2")}),
                    &out),
             0);
    QCOMPARE(out, QStringLiteral("Количество светильников: 7\n7x1\n"));
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
    QCOMPARE(out, QStringLiteral("Количество светильников: 5\n5x1\n")); // ЛБ 75 lm/W: 8748 / 0,31 / 5400

    // A stored norm supplies the illuminance as the window's list would.
    app.writeFile(QStringLiteral("kabinor.ini"),
                  cp1251(QStringLiteral("[Light]\r\nEnListIdx=1\r\nLTListIdx=2\r\nNLamp=4\r\n")));
    QCOMPARE(runCli(bare, &out, &err), 0);
    QCOMPARE(out, QStringLiteral("Количество светильников: 7\n7x1\n"));
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
    QCOMPARE(out, QStringLiteral("Количество светильников: 53418803419\n"
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

QTEST_GUILESS_MAIN(TstCliLight)
#include "tst_clilight.moc"
