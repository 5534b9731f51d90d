// The INI store, the Windows-1251 files, the list-input reader and the data-file registry.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/InputCheck.h"
#include "base/ListInput.h"
#include "base/SettingsStore.h"
#include "base/TextFile.h"

#include <QtTest>

#include <malloc.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>

namespace {

// The settings store on a file of the test's own.
struct StoreOnFile {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("s.ini"));
    SettingsStore store{[this] { return file; }};
    ScriptedPrompter prompter;

    bool set(const QString &section, const QString &key, const QString &value)
    {
        return store.update(prompter, [&](IniDocument &ini) { ini.setValue(section, key, value); });
    }
    QString get(const QString &section, const QString &key, const QString &def = QString()) const
    {
        return store.read().value(section, key, def);
    }
};

// Bytes held by the allocator, to see what a document costs beside its text.
size_t allocatedBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

QString repeated(const QString &line, int times)
{
    QString text;
    text.reserve(line.size() * times);
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

} // namespace

class TstSettings : public QObject
{
    Q_OBJECT
private slots:
    void iniCaseAndBlanks();
    void iniWriteInPlaceAppendAndNewSection();
    void iniLineBreaksBecomeBlanks();
    void iniValueCutTo254();
    void iniCreatesMissingFile();
    void iniKeepsForeignLines();
    void iniPathologicalFiles_data();
    void iniPathologicalFiles();
    void storeNeverWritesOverUnreadableFile();
    void failedWriteKeepsTheOldFile();
    void failureCauses_data();
    void failureCauses();
    void cp1251RoundTrip();
    void utf8Accepted();
    void textOutsideCp1251KeptAsUtf8();
    void listInput_data();
    void listInput();
    void listInputQuoteRoundTrip();
    void registryEntries();
    void registryQuotedAndShort();
    void checkDataFiles();
    void checkDataFilesMissingRegistry();
    void layoutChosenAndPathsResolved_data();
    void layoutChosenAndPathsResolved();
    void calcValuesDefaultsAndGarbage();
    void numericCheck_data();
    void numericCheck();
    void confirmOverwrite();
};

void TstSettings::iniCaseAndBlanks()
{
    const IniDocument ini = IniDocument::fromText(QStringLiteral("[Startup]\r\n  ShowInTray =  0  \r\n[calculation]\r\ngCu=56,18\r\n"));
    QCOMPARE(ini.value(QStringLiteral("STARTUP"), QStringLiteral("showintray"), QStringLiteral("1")), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("Calculation"), QStringLiteral("GCU"), QString()), QStringLiteral("56,18"));
    QCOMPARE(ini.value(QStringLiteral("Calculation"), QStringLiteral("gAl"), QStringLiteral("37,04")), QStringLiteral("37,04"));
    QCOMPARE(ini.value(QStringLiteral("Nowhere"), QStringLiteral("gAl"), QStringLiteral("x")), QStringLiteral("x"));
}

void TstSettings::iniWriteInPlaceAppendAndNewSection()
{
    StoreOnFile f;
    TextFile::write(f.file, QStringLiteral("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n"));
    QVERIFY(f.set(QStringLiteral("a"), QStringLiteral("X"), QStringLiteral("10")));
    QVERIFY(f.set(QStringLiteral("A"), QStringLiteral("w"), QStringLiteral("4")));
    QVERIFY(f.set(QStringLiteral("C"), QStringLiteral("v"), QStringLiteral("5")));
    QString text;
    QVERIFY(TextFile::read(f.file, &text));
    QCOMPARE(text, QStringLiteral("[A]\r\nx=10\r\ny=2\r\nw=4\r\n[B]\r\nz=3\r\n[C]\r\nv=5\r\n"));
    QCOMPARE(f.get(QStringLiteral("c"), QStringLiteral("V")), QStringLiteral("5"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstSettings::iniLineBreaksBecomeBlanks()
{
    StoreOnFile f;
    f.set(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("one\r\ntwo\nthree"));
    QString text;
    TextFile::read(f.file, &text);
    QCOMPARE(text, QStringLiteral("[A]\r\nk=one  two three\r\n"));
}

void TstSettings::iniValueCutTo254()
{
    StoreOnFile f;
    f.set(QStringLiteral("A"), QStringLiteral("k"), QString(300, QLatin1Char('x')));
    QCOMPARE(f.get(QStringLiteral("A"), QStringLiteral("k")).size(), 254);
}

void TstSettings::iniCreatesMissingFile()
{
    StoreOnFile f;
    QCOMPARE(f.get(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
    QVERIFY(f.set(QStringLiteral("Раздел"), QStringLiteral("Ключ"), QStringLiteral("Значение")));
    QVERIFY(QFile::exists(f.file));
    QCOMPARE(f.get(QStringLiteral("раздел"), QStringLiteral("ключ")), QStringLiteral("Значение"));
}

void TstSettings::iniKeepsForeignLines()
{
    const QString text = QStringLiteral("; comment\r\n[A]\r\nno equals here\r\nk=v\r\n");
    IniDocument ini = IniDocument::fromText(text);
    QCOMPARE(ini.toText(), text);
    // A value set in place, shorter and then longer than the one read.
    ini.setValue(QStringLiteral("a"), QStringLiteral("K"), QString());
    QCOMPARE(ini.toText(), QStringLiteral("; comment\r\n[A]\r\nno equals here\r\nk=\r\n"));
    QCOMPARE(ini.value(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("нет")), QString(""));
    ini.setValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("длиннее"));
    QCOMPARE(ini.toText(), QStringLiteral("; comment\r\n[A]\r\nno equals here\r\nk=длиннее\r\n"));
}

void TstSettings::iniPathologicalFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    // About two million characters each: reading is one pass, and the
    // document costs a few bytes a line beside the text it keeps.
    const QString keyed = QStringLiteral("[Конец]\r\nk=v\r\n");
    QTest::newRow("blank lines in a section")
        << QStringLiteral("[A]\r\n") + repeated(QStringLiteral("\r\n"), 1000000) + keyed << "Конец" << "k" << "v";
    QTest::newRow("comments before the first section")
        << repeated(QStringLiteral("; комментарий\r\n"), 130000) + keyed << "Конец" << "k" << "v";
    QTest::newRow("plain text") << repeated(QStringLiteral("Строка текста, в которой нет знака равенства.\r\n"), 40000) + keyed
                                << "Конец" << "k" << "v";
    QTest::newRow("empty section headers") << repeated(QStringLiteral("[]\r\n"), 500000) + keyed << "Конец" << "k" << "v";
    QTest::newRow("one long line") << keyed + QString(2000000, QLatin1Char('x')) + QStringLiteral("\r\n") << "Конец"
                                   << "k" << "v";
    QString keys = QStringLiteral("[A]\r\n");
    QString sections;
    for (int i = 1; i <= 150000; ++i) {
        keys += QStringLiteral("ключ%1=%1\r\n").arg(i);
        sections += QStringLiteral("[Раздел%1]\r\nk=%1\r\n").arg(i);
    }
    QTest::newRow("distinct keys") << keys << "A" << "КЛЮЧ150000" << "150000";
    QTest::newRow("distinct sections") << sections << "раздел150000" << "K" << "150000";
}

void TstSettings::iniPathologicalFiles()
{
    QFETCH(QString, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const size_t before = allocatedBytes();
    const IniDocument ini = IniDocument::fromText(text);
    const size_t held = allocatedBytes() - qMin(before, allocatedBytes());
    QCOMPARE(ini.value(section, key), value);
    QCOMPARE(ini.toText(), text);
    QVERIFY2(held < 8 * size_t(text.size()), qPrintable(QStringLiteral("%1 bytes for %2 characters").arg(held).arg(text.size())));
}

void TstSettings::storeNeverWritesOverUnreadableFile()
{
    StoreOnFile f;
    // A file that is there but cannot be read (one too large to read stands
    // for one without read permission) is not replaced by the little one
    // window would write.
    QFile raw(f.file);
    QVERIFY(raw.open(QIODevice::WriteOnly) && raw.write("[A]\r\nk=v\r\n") > 0 && raw.resize(TextFile::MaxFileSize + 1));
    raw.close();
    QCOMPARE(f.get(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("нет")), QStringLiteral("нет"));
    QVERIFY(!f.set(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1")));
    QVERIFY(!f.set(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("2")));
    QCOMPARE(QFileInfo(f.file).size(), TextFile::MaxFileSize + 1);
    // Told once, not at every write.
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(),
             SettingsStore::unreadableMessage(f.file, QStringLiteral("файл слишком велик: 257 МБ при наибольших 256 МБ")));

    // A failed write is told once too, and again once a write has succeeded.
    const QString good = f.dir.filePath(QStringLiteral("good.ini"));
    f.file = good;
    QVERIFY(f.set(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("0")));
    f.prompter.clear();
    const QString nowhere = f.dir.filePath(QStringLiteral("нет/s.ini"));
    f.file = nowhere;
    QVERIFY(!f.set(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1")));
    QVERIFY(!f.set(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("2")));
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), SettingsStore::writeFailedMessage(nowhere, QStringLiteral("файл или папка не найдены")));
    f.file = good;
    QVERIFY(f.set(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("3")));
    f.file = nowhere;
    QVERIFY(!f.set(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("4")));
    QCOMPARE(f.prompter.messages.size(), 2);
}

void TstSettings::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.kbp"));
    QVERIFY(TextFile::write(path, QStringLiteral("прежний")));
    // A file-size limit stands in for a full disk: the write is cut short
    // where a buffered one would only fail when flushed at the end.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1000, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = TextFile::write(path, QString(5000, QLatin1Char('x')), &error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QString text;
    QVERIFY(TextFile::read(path, &text));
    QCOMPARE(text, QStringLiteral("прежний"));
}

void TstSettings::failureCauses_data()
{
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("cause");
    QTest::newRow("full disk") << ENOSPC << "на диске нет места";
    QTest::newRow("quota") << EDQUOT << "на диске нет места";
    QTest::newRow("no permission") << EACCES << "нет прав доступа";
    QTest::newRow("read-only disk") << EROFS << "диск доступен только для чтения";
    QTest::newRow("a file on the path") << ENOTDIR << "в пути к файлу вместо папки стоит файл";
    QTest::newRow("disk error") << EIO << "ошибка чтения или записи диска";
    QTest::newRow("other") << EPIPE << "";
}

void TstSettings::failureCauses()
{
    QFETCH(int, errorNumber);
    QFETCH(QString, cause);
    QCOMPARE(TextFile::systemCause(errorNumber), cause);
}

void TstSettings::cp1251RoundTrip()
{
    const QString text = QStringLiteral("Линия №1 Алюминий ЩО1 «кавычки» ёЁ");
    const QByteArray bytes = TextFile::encode(text);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.size(), text.size()); // one byte a character
    QCOMPARE(bytes, cp1251(text));
    QCOMPARE(TextFile::decode(bytes), text);
    // "п»ї" is a byte-order mark in Windows-1251 bytes: such a text is kept whole (found by fuzzing).
    const QString markLike = QStringLiteral("п»їтекст");
    QCOMPARE(TextFile::decode(TextFile::encode(markLike)), markLike);
    // So is a text that starts with the mark's own character, U+FEFF.
    const QString startsWithMark = QStringLiteral("\uFEFFтекст");
    QCOMPARE(TextFile::decode(TextFile::encode(startsWithMark)), startsWithMark);
}

void TstSettings::utf8Accepted()
{
    const QString text = QStringLiteral("Медь");
    QCOMPARE(TextFile::decode(text.toUtf8()), text);
    QCOMPARE(TextFile::decode("\xEF\xBB\xBF" + text.toUtf8()), text);
    // Two-, three- and four-byte sequences without a BOM.
    const QString wide = QStringLiteral("Линия € 中 \U0001F600");
    QCOMPARE(TextFile::decode(wide.toUtf8()), wide);
    // A sequence cut at the end, an overlong form or a lone continuation byte is not UTF-8: Windows-1251.
    QCOMPARE(TextFile::decode(QByteArray("ab\xD0")), QStringLiteral("abР"));
    QCOMPARE(TextFile::decode(QByteArray("\xC0\x80")), QStringLiteral("А") + QChar(0x0402));
    QCOMPARE(TextFile::decode(QByteArray("x\x80")), QStringLiteral("x") + QChar(0x0402));
    // A byte-order mark over Windows-1251 text (an editor's doing) keeps every letter.
    QCOMPARE(TextFile::decode("\xEF\xBB\xBF" + cp1251(text)), text);
    // No byte is ever replaced: 0x98, which Windows-1251 leaves unused, comes back as it was.
    const QByteArray unused("\xCC\xCC\x98");
    QCOMPARE(TextFile::decode(unused), QStringLiteral("ММ\u0098"));
    QCOMPARE(TextFile::encode(TextFile::decode(unused)), unused);
}

void TstSettings::textOutsideCp1251KeptAsUtf8()
{
    const QString text = QStringLiteral("Линия 中文 ∑");
    QVERIFY(!TextFile::fitsWindows1251(text));
    const QByteArray bytes = TextFile::encode(text);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(TextFile::decode(bytes), text);
}

void TstSettings::listInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("commas and lines") << "1.5,23,19\r\n2.5,30,27\r\n" << QStringList{"1.5", "23", "19", "2.5", "30", "27"};
    QTest::newRow("two marks on a line") << "ВВГ, АВВГ\r\n" << QStringList{"ВВГ", "АВВГ"};
    QTest::newRow("quoted comma") << "\"Станки, мелкие\",\"0,16\"\r\n" << QStringList{"Станки, мелкие", "0,16"};
    QTest::newRow("doubled quote") << "\"ВВГ \"\"нг\"\"\"\n" << QStringList{"ВВГ \"нг\""};
    QTest::newRow("blank lines skipped") << "a\n\n\nb\n" << QStringList{"a", "b"};
    QTest::newRow("unclosed quote ends with line") << "\"abc\nd" << QStringList{"abc", "d"};
    QTest::newRow("empty field") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("lone CR ends a field") << "ab\rcd" << QStringList{"ab", "cd"};
    QTest::newRow("quote closed before CR") << "\"x\"\r\ny" << QStringList{"x", "y"};
}

void TstSettings::listInput()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    ListInput in(text);
    QCOMPARE(in.rest(), fields);
    QVERIFY(in.atEnd());
}

void TstSettings::listInputQuoteRoundTrip()
{
    const QStringList marks{QStringLiteral("ВВГ"), QStringLiteral("ВВГ, АВВГ"), QStringLiteral("ПВ \"1\""), QStringLiteral(" край ")};
    QString text;
    for (const QString &m : marks)
        text += ListInput::quote(m) + QStringLiteral("\r\n");
    QCOMPARE(ListInput(text).rest(), marks);
    QCOMPARE(ListInput::toNumber(QStringLiteral("14.5")).value_or(-1), 14.5);
    QVERIFY(!ListInput::toNumber(QStringLiteral("14,5")));
    QVERIFY(!ListInput::toNumber(QStringLiteral("abc")));
}

void TstSettings::registryEntries()
{
    TestAppDir app;
    QVERIFY(app.isValid());
    for (int i = 0; i < DataFiles::RegisteredCount; ++i)
        QVERIFY2(DataFiles::dataFileName(app.path(), i).startsWith(QLatin1Char('\\')), qPrintable(QString::number(i)));
    // Entry 13 is the 14th line of the registry; later files follow it.
    QStringList lines = QString::fromLatin1(app.readFile(QStringLiteral("files.fls"))).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), DataFiles::RegisteredCount);
    QCOMPARE(DataFiles::dataFileName(app.path(), 13), lines.at(13).trimmed());
    QCOMPARE(DataFiles::dataFileName(app.path(), DataFiles::RegisteredCount), QString());
    QCOMPARE(DataFiles::dataFileName(app.path(), -1), QString());
}

void TstSettings::registryQuotedAndShort()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("files.fls"), cp1251(QStringLiteral("\"\\a.dat\"\r\n\\b.dat,\\c.dat\r\n")));
    QCOMPARE(DataFiles::dataFileName(app.path(), 0), QStringLiteral("\\a.dat"));
    QCOMPARE(DataFiles::dataFileName(app.path(), 1), QStringLiteral("\\b.dat"));
    QCOMPARE(DataFiles::dataFileName(app.path(), 2), QStringLiteral("\\c.dat"));
    QCOMPARE(DataFiles::dataFileName(app.path(), 5), QString());
    QCOMPARE(DataFiles::dataFilePath(app.path(), 0), app.path() + QStringLiteral("/a.dat"));
}

void TstSettings::checkDataFiles()
{
    TestAppDir app;
    QFile::remove(app.settingsPath());
    DataFiles::CheckResult r = DataFiles::checkDataFiles(app.path());
    QVERIFY(r.ok());
    QVERIFY(r.settingsCreated);
    QVERIFY(QFile::exists(app.settingsPath()));
    QCOMPARE(QFileInfo(app.settingsPath()).size(), 0);

    // Every missing file is reported on its own, in index order.
    const QString e2 = DataFiles::dataFileName(app.path(), 2);
    const QString e7 = DataFiles::dataFileName(app.path(), 7);
    QFile::remove(DataFiles::dataFilePath(app.path(), 7));
    QFile::remove(DataFiles::dataFilePath(app.path(), 2));
    r = DataFiles::checkDataFiles(app.path());
    QVERIFY(!r.ok());
    QCOMPARE(r.missingFiles.size(), 2);
    QVERIFY(r.missingFiles.at(0).endsWith(e2.mid(1)));
    QVERIFY(r.missingFiles.at(1).endsWith(e7.mid(1)));
    QCOMPARE(DataFiles::missingFileMessage(r.missingFiles.at(0)), QStringLiteral("Файл ") + r.missingFiles.at(0) + QStringLiteral(" не найден!"));
}

void TstSettings::checkDataFilesMissingRegistry()
{
    TestAppDir app;
    QFile::remove(app.file(QStringLiteral("files.fls")));
    const DataFiles::CheckResult r = DataFiles::checkDataFiles(app.path());
    QVERIFY(r.registryMissing);
    QCOMPARE(r.missingFiles.size(), 1);
    QVERIFY(r.missingFiles.first().endsWith(QDir::toNativeSeparators(QStringLiteral("/files.fls"))));
}

// A tree with a program folder holding the data, an installed prefix and an
// empty folder; the user's folders are the system's, pointed into the tree.
struct LayoutTree {
    QTemporaryDir root;
    QString portable = root.filePath(QStringLiteral("portable"));
    QString prefixBin = root.filePath(QStringLiteral("usr/bin"));
    QString installedData = root.filePath(QStringLiteral("usr/share/kabinor"));
    QString empty = root.filePath(QStringLiteral("empty"));
    LayoutTree()
    {
        const QDir source(testEnvironmentPath("KABINOR_TEST_DATA"));
        for (const QString &folder : {portable, installedData}) {
            QDir().mkpath(folder);
            for (const QString &f : source.entryList(QDir::Files))
                QFile::copy(source.filePath(f), QDir(folder).filePath(f));
        }
        QDir().mkpath(prefixBin);
        QDir().mkpath(empty);
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("userdata")).toUtf8());
    }
    ~LayoutTree()
    {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("KABINOR_APP_DIR");
    }
    QString at(const QString &name) const { return name.isEmpty() ? QString() : root.filePath(name); }
};

void TstSettings::layoutChosenAndPathsResolved_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("appDir");

    QTest::newRow("program folder holding the data") << "portable" << "" << "" << false << "portable";
    QTest::newRow("installed beside share/kabinor") << "usr/bin" << "" << "" << true << "usr/share/kabinor";
    QTest::newRow("--app-dir wins over the installed data") << "usr/bin" << "portable" << "" << false << "portable";
    QTest::newRow("KABINOR_APP_DIR wins over the installed data") << "usr/bin" << "" << "portable" << false << "portable";
    QTest::newRow("no data anywhere: reported in the program folder") << "empty" << "" << "" << false << "empty";
}

void TstSettings::layoutChosenAndPathsResolved()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, commandLine);
    QFETCH(QString, environment);
    QFETCH(bool, installed);
    QFETCH(QString, appDir);
    LayoutTree tree;
    if (!environment.isEmpty())
        qputenv("KABINOR_APP_DIR", tree.at(environment).toUtf8());

    const AppContext context = AppContext::forExecutable(tree.at(commandLine), tree.at(executableDir));
    QCOMPARE(context.layout() == AppContext::Layout::Installed, installed);
    QCOMPARE(context.appDir(), tree.at(appDir));
    if (!QFileInfo::exists(DataFiles::registryPath(context.appDir())))
        return; // the start-up check reports files.fls missing there
    // Reference data is always read where files.fls is.
    QCOMPARE(context.dataFilePath(DataFiles::Transformers), tree.at(appDir) + QStringLiteral("/Transformers.dat"));
    if (installed) {
        QCOMPARE(context.settingsPath(), tree.at(QStringLiteral("config/kabinor/kabinor.ini")));
        QCOMPARE(context.dataFilePath(DataFiles::MarksAl), tree.at(QStringLiteral("userdata/kabinor/MarksAl.dat")));
        QCOMPARE(context.dataFilePath(DataFiles::MarksCu), tree.at(QStringLiteral("userdata/kabinor/MarksCu.dat")));
        QCOMPARE(context.documentsFolder(), AppContext::standardUserFolders().documents);
    } else {
        QCOMPARE(context.settingsPath(), tree.at(appDir) + QStringLiteral("/kabinor.ini"));
        QCOMPARE(context.dataFilePath(DataFiles::MarksAl), tree.at(appDir) + QStringLiteral("/MarksAl.dat"));
        QCOMPARE(context.documentsFolder(), tree.at(appDir));
    }
}

void TstSettings::calcValuesDefaultsAndGarbage()
{
    StoreOnFile f;
    CalcValues v = CalcValues::load(f.store.read());
    QCOMPARE(v.copperConductivity, 56.18);
    QCOMPARE(v.aluminiumConductivity, 37.04);
    QCOMPARE(v.maxVoltageDrop, 7.5);
    QCOMPARE(v.decimalPlaces, 2.0);
    TextFile::write(f.file, QStringLiteral("[Calculation]\r\ngCu=много\r\ngAl=30,5\r\nTolerance=3\r\n"));
    v = CalcValues::load(f.store.read());
    QCOMPARE(v.copperConductivity, 56.18);
    QCOMPARE(v.aluminiumConductivity, 30.5);
    QCOMPARE(v.places(), 3);
    QVERIFY(f.store.update(f.prompter, [&](IniDocument &ini) { v.store(ini); }));
    QCOMPARE(f.get(QStringLiteral("Calculation"), QStringLiteral("gCu")), QStringLiteral("56,18"));
    QCOMPARE(f.get(QStringLiteral("Calculation"), QStringLiteral("dUmax")), QStringLiteral("7,5"));
    // What the options dialog refuses keeps its default too: no negative
    // resistance from a negative conductivity.
    TextFile::write(f.file, QStringLiteral("[Calculation]\r\ngCu=-1\r\ngAl=0\r\ndUmax=1e309\r\nTolerance=1000001\r\n"));
    v = CalcValues::load(f.store.read());
    QCOMPARE(v.copperConductivity, 56.18);
    QCOMPARE(v.aluminiumConductivity, 37.04);
    QCOMPARE(v.maxVoltageDrop, 7.5);
    QCOMPARE(v.decimalPlaces, 2.0);
}

void TstSettings::numericCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "" << "Укажите численное значение!";
    QTest::newRow("text") << "abc" << "Вводимое значение должно быть числовым!";
    QTest::newRow("zero") << "0" << "Вводимое значение должно быть положительным и неравным нулю!";
    QTest::newRow("negative") << "-1" << "Вводимое значение должно быть положительным и неравным нулю!";
    QTest::newRow("million") << "1000000" << "";
    QTest::newRow("million and a half") << "1500000" << "Вводимое значение слишком велико!";
    QTest::newRow("comma") << "2,5" << "";
}

void TstSettings::numericCheck()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    ScriptedPrompter p;
    QCOMPARE(InputCheck::report(text, p), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(p.messages.isEmpty());
        return;
    }
    QCOMPARE(p.messages.size(), 1);
    QCOMPARE(p.messages.first().text, message);
    QCOMPARE(p.messages.first().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(p.messages.first().icon, Prompter::Icon::Exclamation);
}

void TstSettings::confirmOverwrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.kbp"));
    ScriptedPrompter p;
    QCOMPARE(::confirmOverwrite(path, p), false);
    QVERIFY(p.messages.isEmpty());
    TextFile::write(path, QStringLiteral("x"));
    p.answers = {Prompter::Answer::No};
    QCOMPARE(::confirmOverwrite(path, p), true);
    QCOMPARE(p.messages.first().title, QStringLiteral("Сохранить как"));
    QVERIFY(p.messages.first().text.endsWith(QStringLiteral(" уже существует!\r\nЗаменить?")));
    p.answers = {Prompter::Answer::Yes};
    QCOMPARE(::confirmOverwrite(path, p), false);
}

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
