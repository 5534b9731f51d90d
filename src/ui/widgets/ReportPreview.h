#pragma once

#include "docs/writers/ReportWriter.h"

#include <QDialog>
#include <QPointer>

// Printing a report: the pages as they will come out of the printer, with
// the system's print dialog behind the preview's print button.
class ReportPreview : public ReportPrinter
{
public:
    explicit ReportPreview(QWidget *parent) : m_parent(parent) {}

    // Landscape A4, the whole sheet, unless the user picks otherwise.
    bool print(const ReportDocument &document) override;

    // The preview while it is open (for a look at it from outside).
    QDialog *openPreview() const { return m_preview; }

private:
    QWidget *m_parent;
    QPointer<QDialog> m_preview;
};
