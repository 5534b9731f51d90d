#pragma once

#include <QDialog>
#include <QVector>

class AppContext;
class LoadListModel;
struct Project;
class Prompter;
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
// the window only shows and edits them. Closing only hides it.
class frmCalcI : public QDialog
{
    Q_OBJECT
public:
    frmCalcI(AppContext &context, Prompter &prompter, Project &project, QWidget *parent = nullptr);

    // Position of the current shield (0-based).
    int iNs = 0;

    QToolBar *tbrTools = nullptr;
    QAction *tbAdd = nullptr;
    QAction *tbEdit = nullptr;
    QAction *tbRemove = nullptr;
    QTabBar *tabShields = nullptr;
    QPushButton *cmdAddShield = nullptr;
    QPushButton *cmdRenameShield = nullptr;
    QPushButton *cmdRemoveShield = nullptr;
    QPushButton *cmdClose = nullptr;

    QMenu *mnuShield = nullptr;
    QAction *mnuAddShield = nullptr;
    QAction *mnuRenameShield = nullptr;
    QAction *mnuDelShield = nullptr;
    QMenu *mnuPower = nullptr;
    QAction *mnuAddP = nullptr;
    QAction *mnuEditP = nullptr;
    QAction *mnuRemoveP = nullptr;
    QAction *mnuSendToClip = nullptr;

    // The eleven displays: "Общее" and "Нагрузка на фазы".
    QLineEdit *txtPrasSum = nullptr; // beside "Мощность установленная"
    QLineEdit *txtPustSum = nullptr; // beside "Мощность расчетная"
    QLineEdit *txtSSum = nullptr;
    QLineEdit *txtISum = nullptr;
    QLineEdit *txtCosf = nullptr;
    QLineEdit *txtSA = nullptr;
    QLineEdit *txtIA = nullptr;
    QLineEdit *txtSB = nullptr;
    QLineEdit *txtIB = nullptr;
    QLineEdit *txtSC = nullptr;
    QLineEdit *txtIC = nullptr;

    // The loads list of shield k and the current one.
    QTreeView *lvPower(int k) const;
    QTreeView *currentList() const;
    LoadListModel *currentModel() const;
    int shieldCount() const;
    // The selected load of the current shield, -1 when none.
    int selectedLoad() const;
    void selectLoad(int row);

    // Refresh: shows the current shield's list, the enabled state of the load
    // commands and the totals.
    void ShowCurrentShield();
    // The totals and phase loading of the current shield into the displays.
    void RecalcShieldTotals();

    void addShield();
    void renameShield();
    void deleteShield();
    void addLoad();
    void changeLoad();
    void removeLoad();
    void sendToClip();
    // A click on a column header: sort by its text, the same column again reverses.
    void sortByColumn(int column);
    // Runs the command of a toolbar key ("Add", "Edit", "Remove"; any case).
    void runToolbarKey(const QString &key);
    // cmdClose: writes the column widths, then hides.
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

    AppContext &m_context;
    Prompter &m_prompter;
    Project &m_project;
    QStackedWidget *m_stack = nullptr;
    QVector<ShieldList> m_lists;
    bool m_switching = false;
};
