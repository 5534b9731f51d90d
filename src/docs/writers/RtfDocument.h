#pragma once

#include "docs/writers/ReportTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Writes a Rich Text Format document that the common word processors open as
// their own: Windows-1251 text with escapes, an A4 page, paragraphs with a
// font size and weight, and grid tables stretched over the text width.
class RtfDocument
{
public:
    // A4 in twips.
    static constexpr int kA4Short = 11906;
    static constexpr int kA4Long = 16838;
    static constexpr int kMargin = 1134; // 2 cm
    static constexpr int kCellGap = 108; // text inset on each side of a cell

    explicit RtfDocument(bool landscape = true);

    void setTitle(const QString &title) { m_title = title; }

    void addParagraph(const QString &text, int pointSize, bool bold = false);
    // A table without columns adds nothing. Number columns stand right,
    // the totals in bold.
    void addTable(const ReportTable &table, int pointSize);

    // The complete document.
    QByteArray toRtf() const;

    int pageWidth() const { return m_landscape ? kA4Long : kA4Short; }
    int pageHeight() const { return m_landscape ? kA4Short : kA4Long; }
    int textWidth() const { return pageWidth() - 2 * kMargin; }

    // Text as RTF: control characters escaped, Windows-1251 characters as
    // \'xx, anything else as \uN? (one code unit at a time).
    static QByteArray escape(const QString &text);

    // Column widths in twips summing to `available`: each column gets at
    // least its longest word where possible, the rest is shared by what the
    // column's texts would like to have, as a fit-to-window table does.
    static QVector<int> columnWidths(const ReportTable &table, int available, int pointSize);

    // The largest size from `largest` down to `smallest` points at which the
    // longest word of every column fits beside the others.
    static int fittingPointSize(const ReportTable &table, int available, int largest, int smallest);

private:
    QByteArray rowDefinition(const QVector<int> &rightEdges, bool header) const;

    bool m_landscape;
    QString m_title;
    QByteArray m_body;
};
