#include "ui/widgets/ReportPreview.h"

#include "base/FileFolders.h"
#include "docs/writers/ReportPages.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// The report's title as a file name: what no file system takes becomes a blank.
QString fileNameOf(const QString &title)
{
    QString name = title;
    for (QChar &c : name)
        if (c < QLatin1Char(' ') || QStringView(u"\\/:*?\"<>|").contains(c))
            c = QLatin1Char(' ');
    name = name.simplified();
    return (name.isEmpty() ? QStringLiteral("Ведомость") : name) + QStringLiteral(".pdf");
}

} // namespace

bool ReportPreview::print(const ReportDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    // The pages draw their own frame and title block from the sheet's edges.
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
    printer.setDocName(document.title);
    if (!m_folder.isEmpty()) {
        // The print dialog offers this file for printing to a file; the
        // system's printer stays the first choice where there is one.
        printer.setOutputFileName(QDir(m_folder).filePath(fileNameOf(document.title)));
        printer.setOutputFormat(QPrinter::NativeFormat);
    }
    QPrintPreviewDialog preview(&printer, m_parent);
    preview.setObjectName(QStringLiteral("reportPreview"));
    preview.setWindowTitle(QStringLiteral("Предварительный просмотр - ") + document.title);
    // The pages are drawn again whenever the preview or the print dialog asks.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&document](QPrinter *target) { ReportPages::draw(document, *target); });
    m_preview = &preview;
    const bool printed = preview.exec() == QDialog::Accepted;
    m_preview = nullptr;
    if (printed && m_fileChosen && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        m_fileChosen(printer.outputFileName());
    return printed;
}

void startInWorkFolder(ReportWriter &writer, ReportPreview *preview, FileFolders &folders, const Project &project,
                       const QString &fallback)
{
    const QString folder = folders.startFolder(project, fallback);
    writer.setFolder(folder);
    const auto remember = [&folders](const QString &path) { folders.fileUsed(path); };
    writer.setFileChosen(remember);
    if (preview)
        preview->setFolder(folder, remember);
}
