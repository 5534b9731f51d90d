#pragma once

#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <utility>

// A private copy of the delivered data folder, so a test may change and
// break files freely.
class TestAppDir
{
public:
    TestAppDir();
    bool isValid() const { return m_dir && m_dir->isValid(); }
    QString path() const { return m_dir->path(); }
    // path + "/" + name
    QString file(const QString &name) const;
    QString settingsPath() const;
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// A folder or program of the build, as CTest passes it in the environment
// (KABINOR_TEST_DATA, KABINOR_TEST_CLI, KABINOR_TEST_FUZZ).
QString testEnvironmentPath(const char *name);

// One value of an INI file, as a test prepares or checks the settings file
// (the program itself writes them through its settings store only).
QString iniValue(const QString &file, const QString &section, const QString &key, const QString &def = QString());
bool setIniValue(const QString &file, const QString &section, const QString &key, const QString &value);

// Writes UTF-8 text as Windows-1251 bytes.
QByteArray cp1251(const QString &text);

// Runs kabinor-cli with the arguments; returns the exit code and fills the outputs.
int runCli(const QStringList &args, QString *out = nullptr, QString *err = nullptr);

struct LineInputs;
// The inputs of a line as a project file holds them: the keys given by name
// with their texts, the others as the line dialog leaves them (aluminium)
// with a load current of 10 A, checked as opening a project checks them.
LineInputs storedInputs(std::initializer_list<std::pair<const char *, QString>> texts);
