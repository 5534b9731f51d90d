#include "TestSupport.h"

#include "base/DataFileRegistry.h"
#include "base/IniStore.h"
#include "base/LineInputs.h"
#include "calc/lines/LineEntry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>

TestAppDir::TestAppDir() : m_dir(std::make_unique<QTemporaryDir>())
{
    if (!m_dir->isValid())
        return;
    QDir source(testEnvironmentPath("KABINOR_TEST_DATA"));
    const QStringList files = source.entryList(QDir::Files);
    for (const QString &f : files)
        QFile::copy(source.filePath(f), m_dir->filePath(f));
}

QString TestAppDir::file(const QString &name) const
{
    return m_dir->filePath(name);
}

QString TestAppDir::settingsPath() const
{
    return DataFiles::dataFilePath(path(), DataFiles::Settings);
}

void TestAppDir::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TestAppDir::readFile(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString testEnvironmentPath(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        qFatal("%s is not set: run the tests through ctest", name);
    return value;
}

QString iniValue(const QString &file, const QString &section, const QString &key, const QString &def)
{
    IniDocument ini;
    ini.load(file);
    return ini.value(section, key, def);
}

bool setIniValue(const QString &file, const QString &section, const QString &key, const QString &value)
{
    IniDocument ini;
    ini.load(file);
    ini.setValue(section, key, value);
    return ini.save(file);
}

QByteArray cp1251(const QString &text)
{
    QStringEncoder enc("windows-1251");
    return enc.encode(text);
}

int runCli(const QStringList &args, QString *out, QString *err)
{
    QProcess p;
    p.start(testEnvironmentPath("KABINOR_TEST_CLI"), args);
    if (!p.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

LineInputs storedInputs(std::initializer_list<std::pair<const char *, QString>> texts)
{
    LineInputs inputs;
    inputs.material.text = QStringLiteral("Алюминий");
    inputs.loadCurrent.text = QStringLiteral("10");
    for (const auto &[name, text] : texts)
        for (const LineInputs::Key &key : LineInputs::keys())
            if (key.name == QLatin1String(name))
                key.text(inputs) = text;
    LineEntry::checkInputs(inputs);
    return inputs;
}
