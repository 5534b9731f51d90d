#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// A small reader of the report documents: enough RTF to check page setup,
// paragraphs with their size and weight, and tables cell by cell, the way a
// word processor would see them.
struct RtfRun {
    QString text;
    int pointSize = 12;
    bool bold = false;
    bool italic = false;
    bool rightAligned = false; // \qr
    int colour = 0; // \cf: an entry of the colour table, 0 the automatic colour
};

struct RtfTable {
    // The first row when it spans the table alone and repeats on every
    // page: the table's caption, kept apart from the rows.
    RtfRun caption;
    bool captionRepeats = false;
    QVector<QVector<RtfRun>> rows;
    QVector<QVector<int>> cellEdges; // \cellx of each row
    QVector<bool> headerRows; // \trhdr of each row
    QVector<int> bordersPerRow; // \clbrdr* with a line style, per row
    int paragraphsBefore = 0; // paragraphs outside tables that precede the table
};

struct RtfDocumentView {
    bool wellFormed = false; // braces balanced, starts with {\rtf1
    QString problem;
    int codePage = 0;
    bool landscape = false;
    bool sectionLandscape = false;
    int paperWidth = 0;
    int paperHeight = 0;
    int marginLeft = 0;
    int marginRight = 0;
    QVector<RtfRun> paragraphs; // outside tables, formatting of their first character
    QVector<RtfTable> tables;
    // The texts of the header and the footers (the first page's, the
    // others'), one per paragraph or cell; page numbers as their field results.
    QStringList headerTexts;
    QStringList firstFooterTexts;
    QStringList footerTexts;
    int firstFooterRows = 0; // \row in the first page's footer
    int footerRows = 0;
};

RtfDocumentView readRtf(const QByteArray &rtf);
