#pragma once

#include "docs/writers/ReportTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Writes a Rich Text Format document that the common word processors open as
// their own: Windows-1251 text with escapes, an A4 page, paragraphs with a
// font size and weight, and grid tables stretched over the text width. With
// a title block, every page carries it in its footer (the first page's form
// on the first page), the frame around the page and "Лист N из M" at the top,
// the page numbers as fields that the word processor fills in.
class RtfDocument
{
public:
    // A4 in twips.
    static constexpr int kA4Short = 11906;
    static constexpr int kA4Long = 16838;
    static constexpr int kMargin = 1134; // 2 cm
    static constexpr int kCellGap = 108; // text inset on each side of a cell
    // With a title block: the frame 20 mm from the left edge and 5 mm from
    // the others, the text 5 mm inside it.
    static constexpr int kFrameLeftMargin = 1417; // 25 mm
    static constexpr int kFrameMargin = 567; // 10 mm
    static constexpr int kFrameGap = 283; // 5 mm

    explicit RtfDocument(bool landscape = true);

    void setTitle(const QString &title) { m_title = title; }
    // The title block of every page, filled from the project's properties,
    // with the document's title beside the signatures.
    void setTitleBlock(const ProjectProperties &properties, const QString &documentTitle);

    void addParagraph(const QString &text, int pointSize, bool bold = false);
    // A table without columns adds nothing. Number columns stand right,
    // the totals in bold, failing cells in bold red. A caption stands in a
    // row of its own above the heading row, at `captionSize` in bold and
    // without rules, and repeats with it on every page the table goes on to:
    // a continued table never starts a page without its name.
    void addTable(const ReportTable &table, int pointSize, const QString &caption = QString(), int captionSize = 14);

    // The complete document.
    QByteArray toRtf() const;

    int pageWidth() const { return m_landscape ? kA4Long : kA4Short; }
    int pageHeight() const { return m_landscape ? kA4Short : kA4Long; }
    int leftMargin() const { return m_framed ? kFrameLeftMargin : kMargin; }
    int rightMargin() const { return m_framed ? kFrameMargin : kMargin; }
    int textWidth() const { return pageWidth() - leftMargin() - rightMargin(); }

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

    // "Лист N из M" with the page numbers as fields.
    static QByteArray pageNumberFields();

private:
    QByteArray rowDefinition(const QVector<int> &rightEdges, bool header) const;
    QByteArray titleBlockTable(const ProjectProperties &properties, const QString &documentTitle, bool firstSheet) const;

    bool m_landscape;
    bool m_framed = false;
    QString m_title;
    QByteArray m_marginals; // the header and footers
    QByteArray m_body;
};
