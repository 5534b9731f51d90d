#pragma once

#include "base/LightingRoom.h"
#include "calc/lighting/RoomLighting.h"
#include "calc/lighting/UtilisationTables.h"

#include <QDialog>

class AppContext;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Помещение": the inputs of one room and its luminaire. "OK" computes the
// room; a refused input is told, gets the focus and the dialog stays.
class RoomDialog : public QDialog
{
    Q_OBJECT
public:
    RoomDialog(const LightingRoom &room, const Lighting::UtilisationTables &tables, const AppContext &context,
               Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *nameEdit = nullptr;
    QLineEdit *lengthEdit = nullptr;
    QLineEdit *widthEdit = nullptr;
    QLineEdit *heightEdit = nullptr;
    QLineEdit *planeEdit = nullptr;
    QComboBox *hangModeList = nullptr; // suspension, or height above the floor
    QLineEdit *hangEdit = nullptr;
    QLineEdit *ceilingEdit = nullptr;
    QLineEdit *wallsEdit = nullptr;
    QLineEdit *floorEdit = nullptr;
    QComboBox *normList = nullptr; // "Другое", then the norm list
    QLineEdit *illuminanceEdit = nullptr;
    QLineEdit *maintenanceEdit = nullptr;
    QLineEdit *uniformityEdit = nullptr;
    QComboBox *curveList = nullptr; // the luminaire types of the table file
    QLabel *curveLabel = nullptr; // what the chosen table is and where it comes from
    QComboBox *kindList = nullptr; // LED, or with lamps
    QLabel *fluxLabel = nullptr;
    QLineEdit *fluxEdit = nullptr;
    QLabel *powerLabel = nullptr;
    QLineEdit *powerEdit = nullptr;
    QLineEdit *lampsEdit = nullptr;
    QLineEdit *efficiencyEdit = nullptr;
    QLineEdit *countEdit = nullptr; // empty: as computed
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

    // The room as the fields hold it.
    LightingRoom room() const;
    // "OK": the room is computed; a refusal keeps the dialog open.
    void confirm();
    const RoomLighting::Result &roomResult() const { return m_result; }

private:
    void buildLayout();
    void showRoom(const LightingRoom &room);
    void chooseNorm();
    void followKind();
    QLineEdit *fieldOf(RoomLighting::Field field) const;

    LightingRoom m_room;
    const Lighting::UtilisationTables &m_tables;
    const AppContext &m_context;
    Prompter &m_prompter;
    QStringList m_normNames;
    QVector<int> m_normValues;
    RoomLighting::Result m_result;
};
