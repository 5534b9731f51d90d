#pragma once

#include "docs/writers/ReportWriter.h"

#include <QDialog>
#include <QPointer>

#include <functional>

struct FileFolders;
struct Project;

// Printing a report: the pages as they will come out of the printer, with
// the system's print dialog behind the preview's print button.
class ReportPreview : public ReportPrinter
{
public:
    explicit ReportPreview(QWidget *parent) : m_parent(parent) {}

    // Printing to a file offers a PDF named after the report in `folder`;
    // `fileChosen` is told the file when one was printed to.
    void setFolder(const QString &folder, const std::function<void(const QString &path)> &fileChosen = {})
    {
        m_folder = folder;
        m_fileChosen = fileChosen;
    }

    // Landscape A4, the whole sheet, unless the user picks otherwise.
    bool print(const ReportDocument &document) override;

    // The preview while it is open (for a look at it from outside).
    QDialog *openPreview() const { return m_preview; }

private:
    QWidget *m_parent;
    QString m_folder;
    std::function<void(const QString &)> m_fileChosen;
    QPointer<QDialog> m_preview;
};

// A report's save dialog and printing to a file start where the work is (the
// open project's folder, else the last folder used), and the folder the user
// chooses becomes the last used.
void startInWorkFolder(ReportWriter &writer, ReportPreview *preview, FileFolders &folders, const Project &project,
                       const QString &fallback);
