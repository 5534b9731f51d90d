#pragma once

#include "calc/lines/LineCalc.h"

#include <QString>
#include <QVector>

// A running sum that carries the rounding error of every addition along
// (Neumaier), so that many drops such as 0,17 add up to what their decimal
// texts say instead of gathering binary noise.
class CompensatedSum
{
public:
    void add(double value);
    double value() const { return m_sum + m_carry; }

private:
    double m_sum = 0;
    double m_carry = 0;
};

// The total voltage drop of the checked lines and the warnings of the status bar.
struct SummaryText {
    QString panel1;
    QString panel2;
    bool operator==(const SummaryText &) const = default;
};

SummaryText summarizeNetwork(const QVector<CableLine> &lines, double maxVoltageDrop);

// The sum of the voltage drops of the checked lines, as the summary adds them.
double totalVoltageDrop(const QVector<CableLine> &lines);

// A total as the summary shows it ("∞" past the doubles' range), and whether
// it is above the limit as shown.
QString shownTotal(double total);
bool isAboveLimit(double total, double maxVoltageDrop);
