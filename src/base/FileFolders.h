#pragma once

#include <QString>

class IniDocument;
struct Project;

// Where the file dialogs start: the work is kept together, so a dialog opens
// where the open project lies, or where the user last chose a file. The two
// folders are kept in the settings' "Recent" section ("OpenFolder",
// "LastFolder") and held in memory for the run.
struct FileFolders {
    QString opened; // the folder a project was last opened from
    QString used; // the folder of the last file opened or saved (projects, reports, printing to a file)

    static FileFolders load(const IniDocument &settings);
    // Writes the folders that are known; an unknown one leaves its key as it is.
    void store(IniDocument &ini) const;

    // A file was chosen to open or to save: its folder is the last used.
    void fileUsed(const QString &path);
    void projectOpened(const QString &path);

    // Saving and printing: the open project's folder once its file exists,
    // otherwise (a new project) the last folder used, otherwise `fallback`.
    QString startFolder(const Project &project, const QString &fallback) const;
    // "Открыть": the last folder a project was opened from, otherwise `fallback`.
    QString openFolder(const QString &fallback) const;
};
