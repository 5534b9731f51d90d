#pragma once

#include "base/Prompter.h"
#include "reports/RtfDocument.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <array>
#include <functional>

// What the user sees while a report is written: the hourglass, the text of
// status panel 2 and the progress bar. The main window provides it.
class ReportProgress
{
public:
    virtual ~ReportProgress() = default;
    // Hourglass; the bar shown at `value`; panel 2 remembered and replaced by `status`.
    virtual void begin(const QString &status, int value) = 0;
    virtual void step(int value) = 0;
    // Normal pointer; panel 2 as remembered; the bar at 100 and hidden.
    virtual void end() = 0;
};

// The steps of writing a report, in order; each report gives the bar value
// shown at each step.
enum class ReportStage { Shown, Status, Started, Page, Heading, Counted, TableAdded, HeadingRow, Body, Saved, Count };
using ReportProgressPlan = std::array<int, size_t(ReportStage::Count)>;

// The common sequence of both reports: the file choice, the heading, the
// table, the progress shown meanwhile, the save and the final message.
class ReportWriter
{
public:
    // The save dialog starts in `folder`.
    ReportWriter(Prompter &prompter, const QString &folder);

    void setProgress(ReportProgress *progress) { m_progress = progress; }
    void setProgressPlan(const ReportProgressPlan &plan) { m_plan = plan; }
    // The moment and the locale of the date and time line; by default the
    // current time and the user's locale.
    void setClock(const QDateTime &now) { m_now = now; }
    void setLocale(const QLocale &locale)
    {
        m_locale = locale;
        m_localeSet = true;
    }

    // The save dialog in the application folder, then the overwrite question.
    // Returns the path to write, or an empty string when the user stopped.
    // A name typed without an extension gets ".doc", so that the question,
    // the file and the final message all speak of the same file.
    QString chooseFile(const QString &defaultFileName);

    // Writes the report under `path` while the progress is shown; the table is
    // built once the progress shows. Nothing is said to the user; false with
    // `error` set when the file could not be written (any old file stays).
    bool save(const QString &path, const QString &projectName, const QString &title,
              const std::function<ReportTable()> &buildTable, QString *error = nullptr);

    // save() followed by the success message or the failure message.
    bool write(const QString &path, const QString &projectName, const QString &title,
               const std::function<ReportTable()> &buildTable);

    // chooseFile() and write(); false when nothing was written.
    bool run(const QString &projectName, const QString &title, const QString &defaultFileName,
             const std::function<ReportTable()> &buildTable);

    static QString fileFilter();
    static QString saveDialogTitle();
    static QString statusText(const QString &path);
    static QString successMessage(const QString &path);
    static QString failureMessage(const QString &path);
    // The date with the locale's date separator, three spaces, the short time.
    static QString dateTimeLine(const QDateTime &now, const QLocale &locale);
    // The user's locale; the Russian one when the system names none.
    static QLocale userLocale();

    // The document: project name at 16 pt, the title in capitals at 14 pt
    // bold, the date and time line and an empty paragraph at 14 pt, then the
    // table (heading only when the table has no columns).
    static QByteArray document(const QString &projectName, const QString &title, const QString &dateTime,
                               const ReportTable &table);

    static constexpr ReportProgressPlan kDefaultPlan = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};

private:
    void step(ReportStage stage);

    Prompter &m_prompter;
    QString m_folder;
    ReportProgress *m_progress = nullptr;
    ReportProgressPlan m_plan = kDefaultPlan;
    QDateTime m_now;
    QLocale m_locale;
    bool m_localeSet = false;
};
