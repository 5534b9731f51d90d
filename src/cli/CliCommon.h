#pragma once

#include "base/AppContext.h"
#include "base/Prompter.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// Messages of the calculations go to standard error; every question is
// answered No and every prompt cancelled, so nothing is written unasked.
class CliPrompter : public Prompter
{
public:
    explicit CliPrompter(QTextStream &err) : m_err(err) {}
    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &, const QString &, const QString &) override { return QString(); }
    QString openFile(const QString &, const QString &, const QString &) override { return QString(); }
    QString saveFile(const QString &, const QString &, const QString &, const QString &, QString *) override
    {
        return QString();
    }
    int count = 0;
    QString last;

private:
    QTextStream &m_err;
};

// The parsed command line of one command: positional arguments and --options.
class CliArgs
{
public:
    // Parses "--key value", "--key=value" and bare flags (listed in `flags`);
    // after "--" every argument is positional.
    static std::optional<CliArgs> parse(const QStringList &args, const QStringList &flags, QString *error);

    QStringList positional;
    bool has(const QString &key) const { return m_options.contains(key); }
    QString value(const QString &key, const QString &def = QString()) const { return m_options.value(key, def); }
    // The options in the order they were given, each once.
    const QStringList &keys() const { return m_keys; }

private:
    void set(const QString &key, const QString &value);

    QHash<QString, QString> m_options;
    QStringList m_keys;
};

// "Использование: kabinor-cli " followed by a command's usage.
QString cliUsageLine(const QString &usage);

// A number as given on the command line, written with the decimal comma as
// every number the program writes; any other text as it is.
QString cliNumberText(const QString &text);

struct CliContext {
    AppContext &app;
    CliArgs &args;
    QTextStream &out;
    QTextStream &err;
    CliPrompter &prompter;

    // Set when the project a command opened was damaged: the command still
    // gives its result, and the program ends with exit code 3.
    bool projectDamaged = false;

    // Refused input: the message on standard error, exit code 1.
    int refuse(const QString &message);
    // Wrong usage: a usage line on standard error, exit code 2.
    int usage(const QString &line);
};

struct CliCommand {
    const char *name;
    const char *usage; // "COMMAND ARGS" shown by --help
    const char *summary;
    QStringList options; // the command's own options, without "--"
    QStringList flags; // options that take no value
    int (*run)(CliContext &);
    bool opensProject = false; // exit code 3 for a damaged project
};

// The exit code of a command whose project was damaged.
constexpr int DamagedProjectExitCode = 3;

// Every command of the program; each subsystem adds its own.
const QVector<CliCommand> &cliCommands();
