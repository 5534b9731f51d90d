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
};

struct RtfTable {
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
};

RtfDocumentView readRtf(const QByteArray &rtf);
