#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The registry file "files.fls" in the application folder names, by position,
// the reference data files (0..12), the settings file (13) and the reference
// data files added since (14 on). An older registry without the later entries
// still starts the program: the calculations that need them say so.
namespace DataFiles {

// Entries read from a registry at most.
constexpr int SlotCount = 32;

enum Index {
    Table220Al = 0,
    Table220Cu = 1,
    Table380Al = 2,
    Table380Cu = 3,
    NeutralSections = 4,
    Transformers = 5,
    MarksAl = 6,
    MarksCu = 7,
    DemandFactors = 8,
    PowerFactors = 9,
    Utilisation = 10,
    LampTypes = 11,
    IlluminanceNorms = 12,
    Settings = 13,
    CableReactance = 14,
    TransformerImpedances = 15,
    CableImpedances = 16,
    Breakers = 17,
    UtilisationTables = 18,
    LetThrough = 19,
};

// The entries the delivered registry holds.
constexpr int RegisteredCount = LetThrough + 1;

// The entries the program writes (the mark lists and the settings): an
// installed program keeps them in the user's folders.
bool isUserFile(int index);

// application folder + "\files.fls", with the platform's separators.
QString registryPath(const QString &appDir);

// The entries of a registry text, at most SlotCount of them.
QStringList parseRegistry(const QString &text);

// Entry `index` of the registry, with its leading "\", read afresh from the
// file on every call. Empty when the file or the entry is missing.
QString dataFileName(const QString &appDir, int index);

// application folder + entry, as a usable path ("\" turned into "/").
QString dataFilePath(const QString &appDir, int index);
// The same for an entry already looked up; empty for a blank entry.
QString entryPath(const QString &appDir, const QString &entry);

// Joins a folder and an entry that begins with a separator.
QString joinEntry(const QString &appDir, const QString &entry);

struct CheckResult {
    bool registryMissing = false;
    QStringList missingFiles; // shown paths, in index order
    bool settingsCreated = false;
    bool ok() const { return !registryMissing && missingFiles.isEmpty(); }
};

// Where entry `index`, named `entry` in the registry, is.
using EntryLocator = std::function<QString(int index, const QString &entry)>;

// Start-up check: the registry and entries 0..12 must exist; the settings
// file is created empty when missing (with its folder). Without a locator
// every entry is in the application folder.
CheckResult checkDataFiles(const QString &appDir, const EntryLocator &locate = {});

// The message shown for a missing file.
QString missingFileMessage(const QString &shownPath);

// The text of the file of registry entry `index` in the application folder;
// nothing when the registry does not name it or it cannot be read.
// `shownPath` gets the path for messages (with `fallbackEntry` where the
// registry lacks the entry, as an older registry does).
std::optional<QString> readDataFile(const QString &appDir, int index, const QString &fallbackEntry, QString *shownPath);
// What the user is told of a data file that is missing, or damaged:
// `what` + path + " поврежден (" + detail + ")."
QString fileProblemMessage(bool missing, const QString &what, const QString &shownPath, const QString &detail);

// A data file's path as shown in messages, with the platform's separators.
QString shownPath(const QString &appDir, const QString &entry);

} // namespace DataFiles
