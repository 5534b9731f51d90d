#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/protection/Protection.h"
#include "calc/selectivity/Selectivity.h"
#include "calc/shortcircuit/FaultCurrents.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>

class IniDocument;
class LineListModel;
class NetworkWindow;
class DiagramWindow;
class OptionsDialog;
class CableLineDialog;
class GuideViewer;
class QAction;
class ReportWriter;
class QLabel;
class QMenu;
class ProgressPanel;
class QProgressBar;
class QToolBar;
class QTreeView;
class QUndoStack;
class TrayIcon;
class UpdateCheck;

// The main window: owner of the open project, its cable line list and every
// command of the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows the start-up check's messages; false when the program must end.
    static bool runStartupCheck(const AppContext &context, Prompter &prompter);

    AppContext &context() { return m_context; }
    Prompter &prompter() { return m_prompter; }
    Project &project() { return m_project; }
    CalcValues &calc() { return m_context.calc; }

    // Public values of the window.
    int projectNumber() const { return m_project.projectNumber; }
    const QString &projectName() const { return m_project.projectName; }
    const QString &projectFolder() const { return m_project.projectFolder; }
    bool m_shownNormally = true;
    bool m_firstPaintPending = true;
    QString m_siteVersion;

    QTreeView *lineList = nullptr;
    LineListModel *lineModel() const { return m_lineModel; }
    QLabel *statusPanel1 = nullptr;
    QLabel *statusPanel2 = nullptr;
    QProgressBar *progressBar = nullptr;
    QToolBar *toolBar = nullptr;
    QMenu *lineMenu = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *printMenu = nullptr; // in the file menu: each schedule on paper
    QMenu *trayMenu = nullptr;

    QAction *action(const QString &name) const { return m_actions.value(name); }
    // The toolbar button of a key ("NewPrj", "ChangeLine", ...).
    QAction *toolButton(const QString &key) const { return m_toolActions.value(key); }

    // Runs the toolbar's command of a key, as a button press does.
    void runToolbarKey(const QString &key);

    // Re-runs the network summary into the two status panels.
    void summarizeNetwork();
    // The lines whose current comes from the network take it, as one step
    // of the history named `what`; the status bar tells how many.
    void followNetworkLoads(const QString &what);
    // Computes the open network and diagram windows again after a change of the project.
    void refreshNetworkWindow();
    // Enables or disables change, delete, copy, check all and the two buttons.
    void setLineCommandsEnabled(bool enabled);
    // Sets the caption from the project name.
    void updateCaption();
    int selectedRow() const;
    void selectRow(int row);

    // The save question, asked only while the project has changes not yet
    // saved (the history is not clean); false when the user cancels.
    bool askSaveProject();
    // Save (or save as); true when the file was written.
    bool saveProject(bool saveAs);
    // Opens a project file; false when it is missing or cannot be read (the
    // current project then stays).
    bool openProject(const QString &path);
    void addRecentFile(const QString &path);

    // Commands.
    void newProject();
    void chooseAndOpenProject();
    void addLine();
    void changeLine();
    // The line dialog while it is loaded: "&Закрыть" in add mode only hides it,
    // so its entries, offered currents and name counter outlive one opening.
    CableLineDialog *lineDialog() const { return m_lineDialog.get(); }
    void deleteLine();
    void copyLinesToClipboard();
    void checkAllLines();
    // "Отметить путь до линии": exactly the lines from the bus to that row checked, as one change.
    void markPathTo(int row);
    // "Сеть": the network window, kept beside the main window once opened.
    void showNetworkWindow();
    NetworkWindow *networkWindow() const;
    // "Однолинейная схема": the diagram window, kept beside the main window once opened.
    void showDiagramWindow();
    DiagramWindow *diagramWindow() const;
    // Every line again from its inputs with today's settings and tables; the
    // status bar tells how many lines were recomputed and how many could not be.
    void recomputeLines();
    void chooseSubstation();
    void showShieldsWindow();
    void showShortCircuitWindow();
    void showLightingWindow();
    // "Освещение помещений": the rooms of the project and their schedule.
    void showRoomsWindow();
    void saveLightingReport();
    void printLightingReport();
    // "Кабельный журнал": every line of the network for the installer.
    void saveCableJournalReport();
    void printCableJournalReport();
    void showCalculator();
    void showOptions();
    // The main window's part of an apply of the options: the tray icon and the summary.
    void followOptions(OptionsDialog &dialog);
    void checkForUpdate();
    void showHelp();
    void showTipOfDay();
    void showAbout();
    void saveCableLineReport();
    void saveShortCircuitReport();
    void saveLoadReport();
    // Each schedule on paper: the preview and the system's print dialog.
    void printCableLineReport();
    void printShortCircuitReport();
    void printLoadReport();
    void printFaultCurrentsReport();
    void printProtectionReport();
    // Short-circuit currents by ГОСТ 28249-93: the window and its schedule.
    void showFaultCurrentsWindow();
    void saveFaultCurrentsReport();
    // The network's schedule, computed as the network window computes it.
    void saveNetworkSchemeReport();
    void printNetworkSchemeReport();
    // The checks of the protective devices: the window and its schedule.
    void showProtectionWindow();
    void saveProtectionReport();
    // "Селективность" with the pair of a line selected (-1: the first pair).
    void showSelectivityWindow(int line);
    void saveSelectivityReport();
    void printSelectivityReport();
    std::optional<Selectivity::Result> selectivityForSchedule();
    // "Свойства проекта": what the title block of the schedules says; one undoable edit.
    void editProjectProperties();

    // Every change of the project, for undo and redo; emptied when a project
    // is created or opened.
    QUndoStack *history() const { return m_history; }

    // Writes the settings kept by the main window (done when it unloads).
    void writeSettings();

    // The tray icon and the window hidden in it.
    TrayIcon *trayIcon() const { return m_tray; }
    void addTrayIcon();
    void removeTrayIcon();
    void hideToTray();
    void showFromTray();
    // Size and position from the settings ("RemPosition"), and back at unload.
    void restoreWindowGeometry();
    void saveWindowGeometry(IniDocument &ini) const;
    // The update check behind "Проверить &обновление".
    UpdateCheck *updateCheck() const { return m_update; }
    GuideViewer *guideViewer() const { return m_guideViewer; }

    // Recomputes Rt, Xt, Zt (selectTransformer) and Rnet (supplyLineResistance) of the
    // project from its transformer and supply-line texts.
    void refreshTransformerValues();
    // The shields window, created on first use; a new or opened project
    // discards it so that it is rebuilt from the project's shields.
    QPointer<QWidget> m_shieldsWindow;
    void discardShieldsWindow();
    // The shields may have changed while the shields window was hidden (an
    // undo, the loads of a room): it shows the project afresh when opened.
    bool m_shieldsWindowStale = false;
    // The line calculator while it is open (it deletes itself on closing).
    QPointer<QWidget> m_calculatorWindow;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolbar();
    void buildList();
    void buildStatusBar();
    void applyColumnWidths();
    void fitColumns();
    void widenColumnsFor(int first, int last);
    void fillLastColumn(int fit);
    void readRecentFiles();
    void writeRecentFiles(IniDocument &ini) const;
    // Saved; not saved by the user's choice (or for want of a transformer);
    // failed while writing, which the user has been told.
    enum class SaveResult { Saved, NotSaved, Failed };
    SaveResult storeProject(bool saveAs);
    // The transformer power is chosen; otherwise the warning and the substation dialog.
    bool haveTransformer();
    bool shortCircuitInputsSound();
    // The results a schedule shows; nothing, after the message, when they
    // cannot be had or some point or line could not be computed.
    std::optional<FaultCurrents::Result> faultCurrentsForSchedule();
    std::optional<Protection::Result> protectionForSchedule();
    // The project as the simplified short-circuit calculation chains the
    // checked lines; nothing, after the message naming the break, when they
    // are not one path of the network.
    std::optional<Project> checkedPathProject();
    // A report writer for one command: its progress on the status bar, its
    // printing through the preview.
    void withReportWriter(const std::function<void(ReportWriter &)> &use);
    void rememberFile(const QString &path);
    bool isKnownFile(const QString &path) const;
    void onListContextMenu(const QPoint &pos);
    void onCheckChanged(int row);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void firstPaint();
    void buildTrayMenu();
    void minimiseToTray();

    QAction *makeAction(const QString &name, const QString &caption, const QKeySequence &shortcut = {});

    AppContext &m_context;
    Prompter &m_prompter;
    Project m_project;
    LineListModel *m_lineModel = nullptr;
    ProgressPanel *m_panel1 = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QAction *> m_toolActions;
    QList<QAction *> m_recentActions;
    QAction *m_recentSeparator = nullptr; // recentSeparator
    int m_recentFileCount = 0;
    bool m_unloaded = false;
    QSet<QString> m_knownFiles;
    QSet<int> m_fittedColumns; // columns sized to their contents, not from the settings
    bool m_fittingColumns = false;
    std::unique_ptr<CableLineDialog> m_lineDialog;
    TrayIcon *m_tray = nullptr;
    UpdateCheck *m_update = nullptr;
    GuideViewer *m_guideViewer = nullptr;
    QUndoStack *m_history = nullptr;
    bool m_doubleClickOnCheckBox = false;
    QPointer<NetworkWindow> m_networkWindow;
    QPointer<DiagramWindow> m_diagramWindow;
    bool m_followingNetworkWindow = false;
    bool m_rowsChanging = false;
};
