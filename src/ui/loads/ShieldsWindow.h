#pragma once

#include "base/Load.h"

#include <QDialog>
#include <QVector>

#include <optional>

class AppContext;
class LoadListModel;
class ShieldTotalsPanel;
struct Project;
class Prompter;
class QUndoStack;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolBar;
class QTreeView;

// "Расчет нагрузок": one tab per shield of the project, the loads of the
// current shield and its totals. The shields and loads belong to the project;
// the window only shows and edits them. Closing only hides it. With a
// history, every change of the shields and loads can be undone.
class ShieldsWindow : public QDialog
{
    Q_OBJECT
public:
    ShieldsWindow(AppContext &context, Prompter &prompter, Project &project, QWidget *parent = nullptr);

    // Position of the current shield (0-based).
    int currentShieldIndex = 0;

    QToolBar *toolBar = nullptr;
    QAction *toolAddLoad = nullptr;
    QAction *toolChangeLoad = nullptr;
    QAction *toolRemoveLoad = nullptr;
    QAction *toolUndo = nullptr; // with a history only
    QAction *toolRedo = nullptr;
    QAction *toolSaveReport = nullptr; // the load schedule as a document
    QAction *toolPrintReport = nullptr; // the load schedule on paper
    QTabBar *shieldTabs = nullptr;
    QPushButton *addShieldButton = nullptr;
    QPushButton *renameShieldButton = nullptr;
    QPushButton *removeShieldButton = nullptr;
    QPushButton *closeButton = nullptr;

    QMenu *shieldMenu = nullptr;
    QAction *actionAddShield = nullptr;
    QAction *actionRenameShield = nullptr;
    QAction *actionDeleteShield = nullptr;
    QAction *actionRecomputeShield = nullptr;
    QMenu *loadMenu = nullptr;
    QAction *actionAddLoad = nullptr;
    QAction *actionChangeLoad = nullptr;
    QAction *actionRemoveLoad = nullptr;
    QAction *actionCopyList = nullptr;

    // The eleven displays: "Общее" and "Нагрузка на фазы".
    QLineEdit *installedPowerEdit = nullptr; // beside "Мощность установленная"
    QLineEdit *designPowerEdit = nullptr; // beside "Мощность расчетная"
    QLineEdit *apparentPowerEdit = nullptr;
    QLineEdit *currentEdit = nullptr;
    QLineEdit *powerFactorEdit = nullptr;
    QLineEdit *phaseAPowerEdit = nullptr;
    QLineEdit *phaseACurrentEdit = nullptr;
    QLineEdit *phaseBPowerEdit = nullptr;
    QLineEdit *phaseBCurrentEdit = nullptr;
    QLineEdit *phaseCPowerEdit = nullptr;
    QLineEdit *phaseCCurrentEdit = nullptr;
    // The balance of the phases, beside them; the imbalance is highlighted
    // above its limit.
    QLineEdit *neutralCurrentEdit = nullptr;
    QLineEdit *imbalanceEdit = nullptr;

    // The loads list of shield k and the current one.
    QTreeView *loadList(int k) const;
    QTreeView *currentList() const;
    LoadListModel *currentModel() const;
    int shieldCount() const;
    // The selected load of the current shield, -1 when none.
    int selectedLoad() const;
    void selectLoad(int row);

    // Where the edits of the shields and loads are kept (the main window's history).
    void setHistory(QUndoStack *history);

    // Refresh: shows the current shield's list, the enabled state of the load
    // commands and the totals.
    void showCurrentShield();
    // The shields were changed behind the window's back (an undo, a redo):
    // every list shows the project afresh, on the shield `shieldIndex`.
    void showProjectShields(int shieldIndex);
    // The totals and phase loading of the current shield into the displays.
    void recalcShieldTotals();

    void addShield();
    void renameShield();
    void deleteShield();
    // Every load of the current shield computed afresh from its inputs (rows
    // of earlier versions keep their texts until then), as one edit.
    void recomputeShield();
    void addLoad();
    void changeLoad();
    void removeLoad();
    void copyLoadsToClipboard();
    // The load schedule of every shield: saved as a document, or printed.
    void saveLoadReport();
    void printLoadReport();
    // A click on a column header: sort by its text, the same column again reverses.
    void sortByColumn(int column);
    // Runs the command of a toolbar key ("Add", "Edit", "Remove"; any case).
    void runToolbarKey(const QString &key);
    // closeButton: writes the column widths, then hides.
    void closeAndSaveWidths();

    // The column widths read from the settings, in pixels.
    QVector<int> storedColumnWidths() const;

protected:
    bool event(QEvent *event) override;

private:
    struct ShieldList {
        QTreeView *view = nullptr;
        LoadListModel *model = nullptr;
        int sortColumn = -1;
        Qt::SortOrder sortOrder = Qt::AscendingOrder;
    };

    void buildControls();
    ShieldList makeList(int shield, const QVector<int> &widths);
    // Tabs and lists follow the project's shields (their number and names).
    void syncWithProject();
    void selectTab(int k);
    void setLoadCommandsEnabled(bool enabled);
    void updateDeleteShieldEnabled();
    void onListContextMenu(const QPoint &pos);
    // A change of shield `k` made a moment ago; `before` or `after` is missing
    // when the shield was added or deleted.
    void recordShieldEdit(const QString &text, int k, const std::optional<Shield> &before,
                          const std::optional<Shield> &after);
    void followRecordedEdits(LoadListModel *model);

    AppContext &m_context;
    Prompter &m_prompter;
    Project &m_project;
    QStackedWidget *m_stack = nullptr;
    ShieldTotalsPanel *m_totals = nullptr;
    QVector<ShieldList> m_lists;
    bool m_switching = false;
    QUndoStack *m_history = nullptr;
};
