#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class AppContext;
class Prompter;
class QGroupBox;
class QListWidget;
class QPushButton;

// The tab "Марка" of the cable line dialog: the user's lists of conductor
// marks, copper and aluminium, read from and written back to their files.
class LineMarksTab : public QWidget
{
    Q_OBJECT
public:
    // Tells the dialog of a file that could not be read (path, message).
    using FileProblem = std::function<void(const QString &path, const QString &message)>;

    LineMarksTab(const AppContext &context, Prompter &prompter, FileProblem reportProblem, QWidget *parent = nullptr);

    QGroupBox *copperMarksFrame = nullptr;
    QListWidget *copperMarkList = nullptr;
    QPushButton *addCopperMarkButton = nullptr;
    QPushButton *removeCopperMarkButton = nullptr;
    QGroupBox *aluminiumMarksFrame = nullptr;
    QListWidget *aluminiumMarkList = nullptr;
    QPushButton *addAluminiumMarkButton = nullptr;
    QPushButton *removeAluminiumMarkButton = nullptr;

    // Fills both lists from their files.
    void loadMarks();
    // Writes the lists back; a file that could not be read is not replaced
    // unless the user edited its list. False when a write failed (told).
    bool writeMarks();
    void addMark(bool copper);
    void removeMark(bool copper);
    // Only the list of the chosen material can be used.
    void enableMaterial(bool aluminium);
    // Selects the mark in its list; a mark no longer listed leaves no selection.
    void selectMark(bool copper, const QString &mark);
    // The mark selected in the list of the material; none when no row is selected.
    std::optional<QString> selectedMark(bool copper) const;

private:
    QListWidget *listOf(bool copper) const { return copper ? copperMarkList : aluminiumMarkList; }

    const AppContext &m_context;
    Prompter &m_prompter;
    FileProblem m_reportProblem;
    bool m_marksReadCu = false;
    bool m_marksReadAl = false;
    bool m_marksChangedCu = false;
    bool m_marksChangedAl = false;
};
