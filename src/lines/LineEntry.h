#pragma once

#include "lines/LineCalc.h"
#include "lines/PermissibleTables.h"

#include <QString>

struct CalcValues;

// What the line dialog does when a line is confirmed, without the dialog:
// the command line computes its lines through the same steps.
namespace LineEntry {

// The refusal of a load current that is not a number, and its title.
QString currentMessage();
QString currentTitle();

// "Линия №" followed by the counter.
QString autoName(int counter);

// The entries of a confirmed line, already checked.
struct Request {
    QString name;
    QString mark;
    Permissible::Choice choice;
    QString sectionText;
    QString lengthText;
    QString currentText;
    QString neutralText = QStringLiteral("0"); // the neutral list's text, "0" with the neutral core off
};

// Computes the row: resistance, voltage drop and the permissible current of
// the section. `idop` is the dialog's permissible current; a choice without a
// value for the section keeps it.
CableLine buildLine(const Request &request, const Permissible::PermissibleTable &table, const CalcValues &calc,
                    double &idop);

} // namespace LineEntry
