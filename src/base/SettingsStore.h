#pragma once

#include "base/IniStore.h"

#include <QString>

#include <functional>

class Prompter;

// The settings file, read and written by every window through this one path.
// A file that is there but cannot be read is never written over (it would
// end up holding only what one window keeps), and a write that fails is told
// once: further failures stay quiet until a write succeeds again.
class SettingsStore
{
public:
    // `path` says, each time it is asked, where the settings file is.
    explicit SettingsStore(std::function<QString()> path);

    QString path() const { return m_path(); }

    // The settings as they are; empty when the file is missing or unreadable.
    IniDocument read() const;
    // What the user is told at start when the file is there but cannot be
    // read: every value then takes its default. Empty when it reads or is
    // not there.
    QString startupProblem() const;

    // Reads the file, lets `change` set its values and writes it back. False
    // when nothing was written; the reason is told through the prompter.
    bool update(Prompter &prompter, const std::function<void(IniDocument &)> &change);

    // The messages of a failed update.
    static QString unreadableMessage(const QString &path, const QString &reason);
    static QString writeFailedMessage(const QString &path, const QString &reason);

private:
    void tell(Prompter &prompter, const QString &text);

    std::function<QString()> m_path;
    bool m_failureTold = false;
};
