#pragma once

#include "lines/LineCalc.h"
#include "lines/PermissibleTables.h"

#include <QString>
#include <QStringList>
#include <QVector>

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

// The inputs a line keeps for its request, and the request they stand for
// (name, section and length from the line's own texts).
LineInputs inputsOf(const Request &request);
Request requestOf(const CableLine &line, const LineInputs &inputs);
// The dialog's choice that the inputs were made with.
Permissible::Choice choiceOf(const LineInputs &inputs);

// What a recompute of the whole list did.
struct RecomputeResult {
    int recomputed = 0; // lines recomputed from their inputs
    int withoutInputs = 0; // lines that kept no inputs: resistance and drop only
    QStringList problems; // tables that could not be read (their lines keep the permissible current)
};

// Recomputes every line with today's settings and tables, keeping names,
// order and check marks. A line with inputs goes through the dialog's confirm
// again; a line without them gets its resistance and voltage drop from its
// texts and keeps its permissible current. Each table is read once.
RecomputeResult recomputeLines(QVector<CableLine> &lines, const QString &appDir, const CalcValues &calc);

} // namespace LineEntry
