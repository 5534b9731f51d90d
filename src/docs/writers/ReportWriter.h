#pragma once

#include "base/Prompter.h"
#include "docs/writers/RtfDocument.h"

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

// Hands a document to the printer: the preview and the system's print
// dialog. The windows provide it; a writer without one cannot print.
class ReportPrinter
{
public:
    virtual ~ReportPrinter() = default;
    // False when nothing was printed (the user stopped, or no printer).
    virtual bool print(const ReportDocument &document) = 0;
};

// The file formats of a report, chosen by the file's extension.
enum class ReportFormat { Word, Pdf, Spreadsheet };

// The common sequence of every report: the file choice, the heading, the
// tables, the progress shown meanwhile, the save and the final message; or
// the same document handed to the printer.
class ReportWriter
{
public:
    using TableBuilder = std::function<ReportTable()>;
    using SectionsBuilder = std::function<QVector<ReportSection>()>;
    // Draws a document as PDF pages. Drawing needs QtGui, which the core
    // does not link: each program installs the renderer once at start.
    using PdfRenderer = std::function<QByteArray(const ReportDocument &)>;

    // The save dialog starts in `folder`.
    ReportWriter(Prompter &prompter, const QString &folder);

    static void setPdfRenderer(const PdfRenderer &renderer);

    void setProgress(ReportProgress *progress) { m_progress = progress; }
    // What the title block of every sheet says; empty until set.
    void setProjectProperties(const ProjectProperties &properties) { m_properties = properties; }
    void setProgressPlan(const ReportProgressPlan &plan) { m_plan = plan; }
    void setPrinter(ReportPrinter *printer) { m_printer = printer; }
    bool canPrint() const { return m_printer != nullptr; }
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
    // A name typed without an extension gets the one of the format chosen in
    // the dialog (".doc" unless PDF or the workbook was chosen), so that the
    // question, the file and the final message all speak of the same file.
    QString chooseFile(const QString &defaultFileName);

    // Writes the report under `path`, in the format of its extension, while
    // the progress is shown; the tables are built once the progress shows.
    // Nothing is said to the user; false with `error` set when the file could
    // not be written (any old file stays).
    bool save(const QString &path, const QString &projectName, const QString &title, const TableBuilder &buildTable,
              QString *error = nullptr);
    bool save(const QString &path, const QString &projectName, const QString &title,
              const SectionsBuilder &buildSections, QString *error = nullptr);

    // save() followed by the success message or the failure message.
    bool write(const QString &path, const QString &projectName, const QString &title, const TableBuilder &buildTable);
    bool write(const QString &path, const QString &projectName, const QString &title,
               const SectionsBuilder &buildSections);

    // chooseFile() and write(); false when nothing was written.
    bool run(const QString &projectName, const QString &title, const QString &defaultFileName,
             const TableBuilder &buildTable);
    bool run(const QString &projectName, const QString &title, const QString &defaultFileName,
             const SectionsBuilder &buildSections);

    // The same document handed to the printer; false when nothing was printed.
    bool print(const QString &projectName, const QString &title, const TableBuilder &buildTable);
    bool print(const QString &projectName, const QString &title, const SectionsBuilder &buildSections);

    // The heading lines with the date and time of now, the tables and the
    // project's properties.
    ReportDocument compose(const QString &projectName, const QString &title,
                           const QVector<ReportSection> &sections) const;

    // ".pdf" in any case is PDF, ".xlsx" the workbook; every other name is
    // written as the Word document.
    static ReportFormat formatOf(const QString &path);
    static QString fileFilter();
    static QString saveDialogTitle();
    static QString statusText(const QString &path);
    static QString successMessage(const QString &path);
    static QString failureMessage(const QString &path);
    // The date with the locale's date separator, three spaces, the short time.
    static QString dateTimeLine(const QDateTime &now, const QLocale &locale);
    // The user's locale; the Russian one when the system names none.
    static QLocale userLocale();

    // The Word document: project name at 16 pt, the title in capitals at 14
    // pt bold, the date and time line and an empty paragraph at 14 pt, then
    // each table under its caption (14 pt bold, in a row of the table that
    // repeats with its heading row), all tables at one size (the heading only
    // when no table has columns); the frame, "Лист N из M" and the title
    // block on every page.
    static QByteArray document(const ReportDocument &document);
    static QByteArray document(const QString &projectName, const QString &title, const QString &dateTime,
                               const ReportTable &table);

    // The size of the tables of a document: the heading's 14 pt unless the
    // longest words of some table's columns would then have to break.
    static int tablePointSize(const ReportDocument &document, int textWidthTwips);
    static constexpr int kNameSize = 16;
    static constexpr int kHeadingSize = 14;
    static constexpr int kSmallestTableSize = 8;

    static constexpr ReportProgressPlan kDefaultPlan = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};

private:
    void step(ReportStage stage);
    static SectionsBuilder oneTable(const TableBuilder &buildTable);

    Prompter &m_prompter;
    QString m_folder;
    ReportProgress *m_progress = nullptr;
    ReportPrinter *m_printer = nullptr;
    ProjectProperties m_properties;
    ReportProgressPlan m_plan = kDefaultPlan;
    QDateTime m_now;
    QLocale m_locale;
    bool m_localeSet = false;
};
