#pragma once

#include "base/LightingRoom.h"
#include "calc/lighting/LightingCalc.h"
#include "calc/lighting/UtilisationTables.h"

#include <QString>
#include <QStringList>

#include <optional>

// General lighting of a room of the project by the utilisation-factor
// method: N = Eн·S·Kз·z / (Φ·η), i = A·B / (h·(A + B)), h the height of the
// luminaires above the working plane, η from the table of the luminaire type.
namespace RoomLighting {

// The inputs of a room, in the order they are checked.
enum class Field {
    Name,
    Length,
    Width,
    Height,
    Plane,
    Hang,
    Ceiling,
    Walls,
    Floor,
    Illuminance,
    Maintenance,
    Uniformity,
    Curve,
    Flux,
    Power,
    Lamps,
    Efficiency,
    Count
};

// Why a room cannot be computed: the field and a message that names it.
struct Refusal {
    Field field = Field::Name;
    QString text;
};

// The arrangement of n luminaires: a grid with its columns along the longer
// side, spaced evenly with half a spacing to the walls.
struct Layout {
    int count = 0;
    Lighting::Grid grid;
    double spacingLength = 0; // between luminaires along A, m
    double spacingWidth = 0; // along B, m
    double wallLength = 0; // from the last luminaire to the wall, along A
    double wallWidth = 0;
    double spacingRatio = 0; // the larger spacing over h
    double illuminance = 0; // achieved average Eср = n·Φ·η / (S·Kз), lx
    double installedPower = 0; // W
    double powerDensity = 0; // W/m²
};

struct Result {
    std::optional<Refusal> refusal; // nothing else is set when refused
    double length = 0; // A, m
    double width = 0; // B, m
    double maintenance = 0; // Kз
    double area = 0; // S, m²
    double height = 0; // h, m
    double roomIndex = 0; // i
    Lighting::Utilisation utilisation; // η and where the table's edge was taken
    double firstIndex = 0; // the room indices of the table
    double lastIndex = 0;
    double luminaireFlux = 0; // Φ of one luminaire as the table counts it, lm
    double luminairePower = 0; // W
    double required = 0; // N before rounding up
    int computed = 0; // N: the required number rounded up, at least 1
    Layout chosen; // of the user's number when the room holds one, else of N
    // A number a little above N whose grid is nearer to square spacings.
    std::optional<Layout> rounder;
    double spacingLimit = 0; // λ of the luminaire type, 0 when not given
    bool spacingExceeded = false; // the chosen layout is wider than λ allows

    bool ok() const { return !refusal; }
};

// Beyond this number a room is refused: its grid could not be laid out.
constexpr int MaxLuminaires = 1000000;

// The checks and the calculation. A table file that cannot be read refuses
// the luminaire type with its message.
Result compute(const LightingRoom &room, const Lighting::UtilisationTables &tables);

// The layout of n luminaires in the room whose result is given.
Layout layoutOf(const Result &result, int count);

// The caption of a field as the messages name it.
QString fieldCaption(Field field, const LightingRoom &room);

// "13x3": columns along the longer side by rows.
QString gridText(const Lighting::Grid &grid);

// The notes a result carries: the table's edge taken, λ exceeded.
QStringList notes(const Result &result);

} // namespace RoomLighting
