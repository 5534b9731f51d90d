#pragma once

#include "calc/lines/PermissibleTables.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The tab "Тип линии" of the cable line dialog: the network, the construction
// and the laying of the line, and the laying conditions the tables' currents
// are corrected for.
class LineTypeTab : public QWidget
{
    Q_OBJECT
public:
    explicit LineTypeTab(QWidget *parent = nullptr);

    QRadioButton *networkOptions[2] = {nullptr, nullptr};
    QComboBox *singlePhaseTypeList = nullptr;
    QComboBox *coreCountList = nullptr;
    QComboBox *layingList = nullptr;
    // "Условия прокладки"
    QLineEdit *ambientEdit = nullptr;
    QSpinBox *cablesSpin = nullptr;
    QComboBox *spacingList = nullptr;

    bool isSinglePhase() const;
    // Only the construction list of the chosen network can be changed.
    void enableNetworkLists();
    // Cables in a trench and their spacing matter in the ground only; an
    // empty ambient is the tables' own, which the field shows.
    void enableConditionsFor(const Permissible::Choice &choice);
    void setConditions(const QString &ambient, int cables, int spacing);

signals:
    // An option of the network was turned on.
    void networkChanged();
    // Another construction or laying was chosen.
    void constructionChanged();
    // The ambient, the number of cables or their spacing changed.
    void conditionsChanged();
};
