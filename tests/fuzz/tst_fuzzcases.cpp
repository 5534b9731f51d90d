// Every input the fuzzers ever found fatal, and their seeds, run through the
// same checks as the fuzz targets, in the normal (and sanitized) test build.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstddef>
#include <cstdint>

extern "C" int fuzzIni(const uint8_t *data, size_t size);
extern "C" int fuzzProject(const uint8_t *data, size_t size);
extern "C" int fuzzRegistry(const uint8_t *data, size_t size);
extern "C" int fuzzDataFiles(const uint8_t *data, size_t size);
extern "C" int fuzzEval(const uint8_t *data, size_t size);
extern "C" int fuzzUpdate(const uint8_t *data, size_t size);
extern "C" int fuzzLines(const uint8_t *data, size_t size);

using Target = int (*)(const uint8_t *, size_t);

class TstFuzzCases : public QObject
{
    Q_OBJECT
private slots:
    void cases_data();
    void cases();
};

void TstFuzzCases::cases_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("file");
    const QDir root(testEnvironmentPath("KABINOR_TEST_FUZZ"));
    for (const char *folder : {"crashes", "seeds"}) {
        const QDir dir(root.filePath(QString::fromLatin1(folder)));
        for (const QString &target : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QDir cases(dir.filePath(target));
            for (const QString &file : cases.entryList(QDir::Files))
                QTest::newRow(qPrintable(target + QLatin1Char('/') + file)) << target << cases.filePath(file);
        }
    }
}

void TstFuzzCases::cases()
{
    QFETCH(QString, target);
    QFETCH(QString, file);
    static const QHash<QString, Target> targets = {
        {QStringLiteral("fuzz_ini"), fuzzIni},         {QStringLiteral("fuzz_project"), fuzzProject},
        {QStringLiteral("fuzz_registry"), fuzzRegistry}, {QStringLiteral("fuzz_datafiles"), fuzzDataFiles},
        {QStringLiteral("fuzz_eval"), fuzzEval},       {QStringLiteral("fuzz_update"), fuzzUpdate},
        {QStringLiteral("fuzz_lines"), fuzzLines},
    };
    const Target run = targets.value(target);
    QVERIFY2(run, qPrintable(QStringLiteral("no fuzz target ") + target));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // A fatal input aborts the process; getting past the call is the test.
    QCOMPARE(run(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
}

QTEST_GUILESS_MAIN(TstFuzzCases)
#include "tst_fuzzcases.moc"
