#include "ui/widgets/ReportPreview.h"

#include "docs/writers/ReportPages.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

bool ReportPreview::print(const ReportDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    // The pages draw their own frame and title block from the sheet's edges.
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
    printer.setDocName(document.title);
    QPrintPreviewDialog preview(&printer, m_parent);
    preview.setObjectName(QStringLiteral("reportPreview"));
    preview.setWindowTitle(QStringLiteral("Предварительный просмотр - ") + document.title);
    // The pages are drawn again whenever the preview or the print dialog asks.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&document](QPrinter *target) { ReportPages::draw(document, *target); });
    m_preview = &preview;
    const bool printed = preview.exec() == QDialog::Accepted;
    m_preview = nullptr;
    return printed;
}
