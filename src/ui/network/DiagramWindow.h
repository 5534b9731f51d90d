#pragma once

#include "docs/schedules/SingleLineDiagram.h"

#include <QDialog>
#include <QHash>

class AppContext;
class Prompter;
class QComboBox;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QPushButton;
class QTimer;
struct Project;

// "Однолинейная схема": the diagram of the network on screen, sheet beside
// sheet, to zoom and pan, and to save as PDF, SVG or DXF. It stays open
// beside the main window: the owner calls refresh() after every change of
// the project (the drawing is made again once the changes pause) and
// selectLine() when its list's selection moves; the window tells which line
// the user picked on the drawing or wants to change.
class DiagramWindow : public QDialog
{
    Q_OBJECT
public:
    DiagramWindow(const Project &project, AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    QGraphicsView *view = nullptr;
    QComboBox *sheetList = nullptr; // "A3", "A4"
    QPushButton *zoomInButton = nullptr;
    QPushButton *zoomOutButton = nullptr;
    QPushButton *fitButton = nullptr;
    QPushButton *saveButton = nullptr;
    QPushButton *closeButton = nullptr;
    QLabel *noteLabel = nullptr;

    // Draws the diagram again soon (refreshNow() at once), keeping the zoom
    // and what is in view.
    void refresh();
    void refreshNow();
    // Selects the pieces of a line (its index in the list; -1 none) without telling.
    void selectLine(int line);
    int selectedLine() const;
    const SingleLineDiagram::Diagram &diagram() const { return m_diagram; }

    // Asks for a file and saves the diagram in the format of its extension.
    void save();
    void zoomBy(double factor);
    void fitToWindow();

signals:
    void lineSelected(int line);
    void changeRequested(int line);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int lineAt(const QPoint &viewPosition) const;

    const Project &m_project;
    AppContext &m_context;
    Prompter &m_prompter;
    QGraphicsScene *m_scene = nullptr;
    QTimer *m_refreshTimer = nullptr;
    SingleLineDiagram::Diagram m_diagram;
    bool m_selecting = false;
    bool m_drawnOnce = false;
};
