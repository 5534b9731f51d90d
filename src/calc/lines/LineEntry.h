#pragma once

#include "calc/lines/CableReactance.h"
#include "calc/lines/LineCalc.h"
#include "calc/lines/PermissibleTables.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct CalcValues;

// What the line dialog does when a line is confirmed, without the dialog:
// the command line computes its lines through the same steps.
namespace LineEntry {

// The refusal of a load current that is not a number, and its title.
QString currentMessage();
QString currentTitle();

// "Линия №" followed by the counter.
QString autoName(int counter);

// The entries of a confirmed line.
struct Request {
    QString name;
    QString mark;
    Permissible::Choice choice;
    QString sectionText;
    QString lengthText;
    QString currentText;
    QString neutralText = QStringLiteral("0"); // the neutral list's text, "0" with the neutral core off
    QString cosPhiText = QStringLiteral("1");
    QString ambientText; // empty: the tables' own ambient
    int cables = 1;
    int spacing = 100;
    QString device; // the protective device's characteristic; empty: none
    QString deviceRating; // its rated current, A
    QString tripTime; // s; empty: what the disconnection check gives
};

// The checks of the power factor and the laying conditions (the numeric
// fields have their own): the field that failed, with its message.
enum class Field { None, CosPhi, Ambient, Cables, Spacing, TripTime };
Field checkConditions(const Request &request, QString *message);
QString cosPhiMessage();
QString tripTimeMessage();
// The disconnection time as typed: a number of 0,01…5 s (ПУЭ, table 1.7.1
// and 1.7.79); nothing for any other text. Stored lines are held to it too.
std::optional<double> tripTimeOf(const QString &text);

// The laying conditions of a request; the correction they give (1 when a
// condition cannot be read, which the checks refuse beforehand).
Permissible::LayingConditions conditionsOf(const Request &request);
Permissible::Correction correctionOf(const Request &request);
// The permissible current of a section under the request's conditions as
// the line shows it: a table value as printed, a derived one (corrected, or
// 0,92 of the three-core value) rounded to `places`. Nothing as for
// Permissible::lookupPermissibleCurrent.
std::optional<double> permissibleCurrentOf(const Permissible::PermissibleTable &table, const Request &request,
                                           double section, int places);

// What the computation of a line needs from the data files.
struct Tables {
    const Permissible::PermissibleTable &permissible;
    const CableReactance &reactance;
};

// Computes the row: resistance, reactance, voltage drop and the corrected
// permissible current of the section. `idop` is the dialog's permissible
// current; a choice without a value for the section keeps it.
// `reactanceKnown` tells whether the reactance file had the section.
CableLine buildLine(const Request &request, const Tables &tables, const CalcValues &calc, double &idop,
                    bool *reactanceKnown = nullptr);

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
// order, check marks and places in the network. A line with inputs goes through the dialog's confirm
// again; a line without them gets its resistance and voltage drop from its
// texts and keeps its permissible current. Each table is read once.
RecomputeResult recomputeLines(QVector<CableLine> &lines, const QString &appDir, const CalcValues &calc);

} // namespace LineEntry
