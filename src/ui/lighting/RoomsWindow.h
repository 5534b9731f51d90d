#pragma once

#include "calc/lighting/RoomLighting.h"
#include "calc/lighting/RoomLoads.h"
#include "calc/lighting/UtilisationTables.h"

#include <QDialog>
#include <QVector>

#include <functional>

class AppContext;
class Prompter;
class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;
class QUndoStack;
class ReportWriter;
struct Project;

// "Освещение помещений": the rooms of the project, each computed by the
// utilisation-factor method, with the commands to add, change and remove
// them, take a rounder number of luminaires, hand them to a shield and write
// the schedule. The rooms and the loads belong to the project; every change
// is one step of the history, the loads a change of a room reaches included.
class RoomsWindow : public QDialog
{
    Q_OBJECT
public:
    RoomsWindow(Project &project, AppContext &context, Prompter &prompter, ReportWriter &writer,
                QWidget *parent = nullptr);

    QTableWidget *roomTable = nullptr;
    QLabel *detailsLabel = nullptr; // the results of the selected room
    QPushButton *addButton = nullptr;
    QPushButton *changeButton = nullptr;
    QPushButton *removeButton = nullptr;
    QPushButton *rounderButton = nullptr; // takes the rounder number, or back to the computed one
    QPushButton *transferButton = nullptr;
    QPushButton *reportButton = nullptr;
    QPushButton *printButton = nullptr; // only with a writer that can print
    QToolButton *undoButton = nullptr; // with a history only
    QToolButton *redoButton = nullptr;
    QPushButton *closeButton = nullptr;

    // Where the changes are kept (the main window's history).
    void setHistory(QUndoStack *history);

    // The commands; the dialogs they open are modal over the window.
    void addRoom();
    void changeRoom();
    void removeRoom();
    void toggleRounder();
    void transferToShield();
    void saveReport();
    void printReport();

    int selectedRoom() const;
    void selectRoom(int row);
    // The list and the details afresh from the project.
    void showRooms();

    const Lighting::UtilisationTables &tables() const { return m_tables; }
    const RoomLighting::Result &resultOf(int row) const { return m_results.at(row); }

    // Tests answer the dialogs the commands open; by default they are run.
    using DialogRunner = std::function<int(QDialog &)>;
    void setDialogRunner(const DialogRunner &run) { m_runDialog = run; }

private:
    void buildLayout();
    void showDetails();
    // Makes `change` on the project as one step of the history named `text`.
    void edit(const QString &text, const std::function<void()> &change);
    // A changed room reaches the loads linked to it.
    void putRoom(int row, const LightingRoom &room, const RoomLighting::Result &result);

    Project &m_project;
    AppContext &m_context;
    Prompter &m_prompter;
    ReportWriter &m_writer;
    Lighting::UtilisationTables m_tables;
    QVector<RoomLighting::Result> m_results;
    QUndoStack *m_history = nullptr;
    DialogRunner m_runDialog;
};
