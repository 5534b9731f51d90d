#pragma once

#include "calc/lines/LineCalc.h"

#include <QString>
#include <QVector>

// The total voltage drop of the checked lines and the warnings of the status bar.
struct SummaryText {
    QString panel1;
    QString panel2;
    bool operator==(const SummaryText &) const = default;
};

SummaryText summarizeNetwork(const QVector<CableLine> &lines, double maxVoltageDrop);

// The sum of the voltage drops of the checked lines, as the summary adds them.
double totalVoltageDrop(const QVector<CableLine> &lines);
