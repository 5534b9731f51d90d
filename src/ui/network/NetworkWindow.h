#pragma once

#include <QDialog>
#include <QSet>

class AppContext;
class NetworkModel;
class Prompter;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;
struct Project;

// "Сеть": the bus and every line under the line it starts at, with what is
// computed in each line's place. It stays open beside the main window: the
// owner calls refresh() after every change of the project and selectLine()
// when its list's selection moves; the window tells which line the user
// chose, wants to change or wants the path marked to.
class NetworkWindow : public QDialog
{
    Q_OBJECT
public:
    NetworkWindow(const Project &project, AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    QTreeView *networkView = nullptr;
    QLabel *problemLabel = nullptr;
    QPushButton *changeButton = nullptr;
    QPushButton *markPathButton = nullptr;
    QPushButton *selectivityButton = nullptr;
    QPushButton *closeButton = nullptr;
    NetworkModel *model() const { return m_model; }

    // Computes and shows the network again, keeping what is expanded and selected.
    void refresh();
    // Selects a line (its index in the list; -1 selects nothing), without
    // telling; `reveal` opens the lines above it and scrolls to it.
    void selectLine(int line, bool reveal = true);
    // The selected line; -1 for none or the bus.
    int selectedLine() const;

signals:
    void lineSelected(int line);
    void changeRequested(int line);
    void markPathRequested(int line);
    void selectivityRequested(int line);

protected:
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restoreColumnWidths();
    void storeColumnWidths();
    void showProblems();
    void rememberCollapsed();
    void expandAsBefore();
    void updateButtons();

    const Project &m_project;
    AppContext &m_context;
    Prompter &m_prompter;
    NetworkModel *m_model = nullptr;
    QSet<int> m_collapsed; // ids of the lines collapsed before a refresh
    bool m_busCollapsed = false;
    bool m_selecting = false;
    bool m_restoring = false;
};
