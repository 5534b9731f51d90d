#pragma once

#include "base/InputCheck.h"

#include <QPointF>
#include <QString>
#include <QVector>

#include <optional>

class IniDocument;

// Lighting of a rectangular room by the utilisation-factor method: how many
// luminaires reach a required illuminance, and how they are laid out on the plan.
namespace Lighting {

// ---- Reference lists -------------------------------------------------------

// One record of the lamp-type or norm list: both fields as the file holds them.
struct ListRecord {
    QString name;
    QString value;
};

// One row of the utilisation table: the room index up to which it applies and
// the utilisation factor in per cent.
struct UtilisationRow {
    double threshold = 0;
    double percent = 0;
};

// Reads a file of two-field records (name, value) in file order; a last field
// without its partner is dropped. Nothing when the file cannot be read.
std::optional<QVector<ListRecord>> readRecords(const QString &path);

// The utilisation table in file order. Thresholds are decimal-comma texts
// ("0,5"); a row whose fields are not numbers is left out.
std::optional<QVector<UtilisationRow>> readUtilisationTable(const QString &path);

// A field "read as an integer": the nearest whole number, halves to even.
// Nothing when the text is not a number or does not fit 16 bits.
std::optional<int> readInteger(const QString &text);

// The efficacy (lm/W) of the lamp type `name`; the last record of that name
// wins. 0 when no record has the name or its value is not a number.
int lampEfficacy(const QVector<ListRecord> &lamps, const QString &name);

// The illuminance of the norm `name` from the first record of that name;
// nothing for the user's own value ("Другое") or an unreadable record.
std::optional<int> normIlluminance(const QVector<ListRecord> &norms, const QString &name);

// The first entry of the norm list, for the user's own value.
QString otherNormName();

// The message for registry entry `index` whose file cannot be read.
QString unreadableFileText(const QString &appDir, int index);

// ---- Settings (section "Light") --------------------------------------------

// The last inputs of the lighting window, kept as typed.
struct Settings {
    QString length = QStringLiteral("5,4");
    QString width = QStringLiteral("3,6");
    QString h1 = QStringLiteral("3,0");
    QString h2 = QStringLiteral("0,8");
    QString kz = QStringLiteral("1,5");
    QString enListIdx = QStringLiteral("0");
    QString ltListIdx = QStringLiteral("3");
    QString lampPower = QStringLiteral("18");
    QString lampCount = QStringLiteral("4");

    static Settings load(const IniDocument &settings);
    // Puts the values into a settings document being written.
    void store(IniDocument &settings) const;
};

constexpr int MinLamps = 1;
constexpr int MaxLamps = 10;

// A stored list index as a usable one: out of range or not a number gives the
// first entry, and -1 only for an empty list.
int storedListIndex(const QString &stored, int count);
// A stored lamp count within MinLamps..MaxLamps; 4 when it is not a number.
int storedLampCount(const QString &stored);

// ---- Checks and calculation ------------------------------------------------

enum class Field { Length, Width, H1, H2, En, LampPower, Kz };

// The texts of the numeric fields as typed.
struct Texts {
    QString length;
    QString width;
    QString h1;
    QString h2;
    QString kz;
    QString en;
    QString lampPower;
};

// A refused field: either the shared numeric check failed (`numeric` tells
// which message it gave) or a limit of the calculation was exceeded.
struct Failure {
    Field field = Field::Length;
    InputCheck::Numeric numeric = InputCheck::Numeric::Ok;
    QString text;
    QString title;
};

// The title of every refusal of the calculation itself.
QString errorTitle();

// The checks of the calculation, in their order; nothing when all pass.
std::optional<Failure> checkTexts(const Texts &texts);

struct Inputs {
    double length = 0; // L, m
    double width = 0; // W, m
    double h1 = 0; // room height, m
    double h2 = 0; // working plane, m
    double kz = 0; // safety factor
    int illuminance = 0; // E, lx
    double lampPower = 0; // P, W
    int efficacy = 0; // lm/W
    int lamps = 0; // per luminaire
};

// Inputs from texts that passed checkTexts(); E is read as an integer.
Inputs inputsFromTexts(const Texts &texts, int efficacy, int lamps);

struct Result {
    bool ok = false;
    QString message; // why it was refused (title errorTitle())
    double area = 0; // S, m²
    double roomIndex = 0; // i
    double eta = 0; // utilisation factor
    double flux = 0; // F of one luminaire, lm
    double count = 0; // N, whole, at least 1
};

Result calculate(const Inputs &inputs, const QVector<UtilisationRow> &table);

// "Количество светильников: " followed by the number.
QString countText(double count);

// ---- Plan ------------------------------------------------------------------

// The plan is drawn in twips: the longer room side runs across PlanSize.
constexpr int PlanSize = 4035;
// The drawing takes 16-bit counts; beyond that the plan only says so.
constexpr double MaxDrawable = 32767;

struct Grid {
    int columns = 0;
    int rows = 0;
};

// Columns run along the longer side, rows along the shorter. Of the pairs
// columns x rows = n, the one whose spacings (longSide / columns and
// shortSide / rows) are closest wins; on a tie the squarer pair, then the one
// with more columns. A prime n gives n x 1.
Grid chooseGrid(qint64 n, double longSide, double shortSide);

struct Plan {
    double width = PlanSize; // Wd
    double height = PlanSize; // Hd
    bool drawable = false;
    int radius = 0;
    Grid grid;

    // Circle centres, column by column, half a spacing from the borders.
    QVector<QPointF> centres() const;
};

Plan makePlan(double length, double width, double count);

// What the plan shows when the count is too large to draw.
QString tooManyText();

} // namespace Lighting
