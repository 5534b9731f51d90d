#pragma once

#include "base/DataFileRegistry.h"
#include "base/FileFolders.h"
#include "base/SettingsStore.h"

#include <QString>

class IniDocument;

// The calculation values held for the whole run: conductivities, the limit of
// the total voltage drop and the number of decimal places of results.
struct CalcValues {
    double copperConductivity = 56.18;
    double aluminiumConductivity = 37.04;
    double maxVoltageDrop = 7.5;
    double decimalPlaces = 2;

    int places() const; // decimalPlaces as the nearest integer

    // Reads "Calculation" from the settings; a value that the options dialog
    // would refuse (not a number, not above 0, above 1 000 000) keeps its default.
    static CalcValues load(const IniDocument &settings);
    // Puts the values into a settings document being written.
    void store(IniDocument &ini) const;
};

// Where the program finds its data and keeps the files the user changes.
//
// Portable layout: one application folder holds files.fls and every file it
// names, the settings and the mark lists included; projects and reports
// default to that folder.
// Installed layout: files.fls and the delivered data are read from the
// installed data folder (share/kabinor under the prefix); the files the
// program writes (settings, mark lists) live in the user's folders, copied
// from the delivered ones on first use; projects and reports default to the
// user's documents folder.
// Every path of a registry entry is resolved here.
class AppContext
{
public:
    enum class Layout { Portable, Installed };

    struct UserFolders {
        QString settings; // the settings file
        QString data; // the mark lists
        QString documents; // projects and reports
    };

    // --app-dir wins, then KABINOR_APP_DIR (both portable); then the
    // executable's folder when it holds files.fls whose settings file can be
    // written; then the installed data folder when it holds files.fls; else
    // the executable's folder, whose missing files are reported as always.
    static AppContext forExecutable(const QString &fromCommandLine, const QString &executableDir);
    // share/kabinor beside the executable's bin folder.
    static QString installedDataDir(const QString &executableDir);
    // ~/.config/kabinor, ~/.local/share/kabinor and the documents folder (the
    // home folder where there is none), as the system names them.
    static UserFolders standardUserFolders();

    // The portable layout.
    explicit AppContext(const QString &appDir);
    // The installed layout.
    AppContext(const QString &dataDir, const UserFolders &user);
    // The settings store asks this context for the path.
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    Layout layout() const { return m_layout; }
    // The folder of files.fls and of the delivered files.
    const QString &appDir() const { return m_appDir; }
    // Registry entry 13 in this layout: the one place that says where the
    // settings file is.
    QString settingsPath() const;
    // Where registry entry `index` is read and written; empty for a blank entry.
    QString dataFilePath(int index) const;
    // The same for an entry already looked up.
    QString entryPath(int index, const QString &entry) const;
    // Where file dialogs for projects and reports start.
    QString documentsFolder() const;

    // Installed layout: each file the program writes that the user's folders
    // lack is copied there from the delivered one. A file once there is never
    // replaced. Nothing to do in the portable layout.
    void prepareUserFiles() const;
    // The start-up check of the data files, at the paths of this layout.
    DataFiles::CheckResult checkDataFiles() const;

    // Every read and write of the settings file goes through here.
    SettingsStore &settings() { return m_settings; }
    const SettingsStore &settings() const { return m_settings; }

    CalcValues calc;
    // Where the file dialogs of projects, reports and printing start.
    FileFolders folders;

private:
    QString userFolderOf(int index) const;

    Layout m_layout = Layout::Portable;
    QString m_appDir;
    UserFolders m_user;
    SettingsStore m_settings;
};
