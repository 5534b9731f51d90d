#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The tab "Параметры линии" of the cable line dialog: the core (material,
// section, neutral core) and the line's data (name, length, load current,
// cos φ and the permissible current found). The section field and the list
// of sections follow each other.
class LineParametersTab : public QWidget
{
    Q_OBJECT
public:
    explicit LineParametersTab(QWidget *parent = nullptr);
    ~LineParametersTab() override;

    QGroupBox *coreFrame = nullptr;
    QComboBox *materialList = nullptr;
    QListWidget *sectionList = nullptr;
    QLineEdit *sectionEdit = nullptr;
    QCheckBox *neutralCheck = nullptr;
    QComboBox *neutralSectionList = nullptr;
    QPushButton *proposeButton = nullptr;
    QLineEdit *nameEdit = nullptr;
    QCheckBox *autoNumberCheck = nullptr;
    QLineEdit *lengthEdit = nullptr;
    QComboBox *loadCurrentList = nullptr;
    QLineEdit *permissibleCurrentEdit = nullptr;
    QLineEdit *cosPhiEdit = nullptr;
    // The correction factors of the permissible current.
    QLabel *correctionLabel = nullptr;

    // The row of the list chosen by the program: the field shows it and
    // sectionChosen() is emitted.
    void selectSectionRow(int row);
    // The field as the list's selection (what the field holds when it loses the focus).
    void syncSectionFieldToList();
    // Selects, without signals, the listed row whose text the field holds.
    void markFieldInList();
    // The listed section whose value equals `section`, or the first one.
    int sectionRowOf(double section) const;
    // The neutral-section list with the entry at `remembered` kept when it
    // still exists, else the first.
    void showNeutralSections(const QStringList &sections, int remembered);

signals:
    // A section was chosen in the list or typed as listed.
    void sectionChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onSectionRowChanged(int row);
    void onSectionTextChanged();

    bool m_syncingSection = false;
};
