// The project commands of the main window: new, open, save, save as, recent files.
#include "shell/MainWindow.h"

#include "base/IniStore.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/ProjectFile.h"
#include "calc/network/NetworkTree.h"
#include "ui/lines/LineListModel.h"
#include "ui/project/ProjectPropertiesDialog.h"
#include "ui/widgets/RecordedEdit.h"
#include "ui/widgets/ProgressPanel.h"
#include "ui/widgets/StatusBarProgress.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QUndoStack>

namespace {

const QString kExtension = QStringLiteral(".kbp");
constexpr int kRecentSlots = 5;

QString projectFilter()
{
    return QStringLiteral("Файлы проектов (*.kbp)");
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A name chosen without the extension gets it, rather than losing its last
// four characters when the project name is taken from it.
QString withProjectExtension(const QString &path)
{
    if (path.endsWith(kExtension, Qt::CaseInsensitive))
        return path;
    return path + kExtension;
}

// The project name of a file: its name without the ".kbp" extension.
QString projectNameOf(const QFileInfo &file)
{
    const QString name = file.fileName();
    return name.endsWith(kExtension, Qt::CaseInsensitive) ? name.chopped(kExtension.size()) : name;
}

// The hourglass, the progress bar and a status text for the length of one
// file operation: however the operation ends, the pointer and the progress
// bar come back, and so does the status text unless the operation keeps its own.
// The status bar while a project file is read or written.
class BusyScope : public StatusBarProgress
{
public:
    BusyScope(ProgressPanel &panel1, QLabel &panel2, const QString &text) : StatusBarProgress(panel1, panel2)
    {
        begin(text, 1);
    }
};

} // namespace

bool MainWindow::askSaveProject()
{
    const auto answer = m_prompter.message(QStringLiteral("Сохранить проект '") + m_project.projectName + QStringLiteral("'?"),
                                           QString(), Prompter::Icon::Question, Prompter::Buttons::YesNoCancel);
    if (answer == Prompter::Answer::Cancel)
        return false;
    // After Yes the command goes on only with the project saved: a save that
    // did not happen (no transformer, the file dialog cancelled, a failed
    // write) stops it, so that the project is not thrown away.
    if (answer == Prompter::Answer::Yes)
        return storeProject(false) == SaveResult::Saved;
    return true;
}

bool MainWindow::saveProject(bool saveAs)
{
    return storeProject(saveAs) == SaveResult::Saved;
}

MainWindow::SaveResult MainWindow::storeProject(bool saveAs)
{
    if (NumberText::toDouble(m_project.transformerPower) == 0) {
        m_prompter.message(QStringLiteral("Укажите мощность трансформатора и данные питающей линии!"), QString(),
                           Prompter::Icon::Exclamation);
        chooseSubstation();
        return SaveResult::NotSaved;
    }

    QString target;
    // A plain save never replaces a file this run has not opened or saved
    // (yesterday's "Проект 1.kbp", say) without asking; No makes it a save as.
    if (!saveAs && !m_project.projectFolder.isEmpty()) {
        target = m_project.filePath();
        if (QFileInfo::exists(target) && !isKnownFile(target) && confirmOverwrite(target, m_prompter))
            saveAs = true;
    }
    const bool chosenInDialog = saveAs || m_project.projectFolder.isEmpty();
    if (chosenInDialog) {
        const QString chosen = m_prompter.saveFile(QStringLiteral("Сохранить как"), m_context.documentsFolder(),
                                                   m_project.projectName, projectFilter());
        if (chosen.isEmpty())
            return SaveResult::NotSaved;
        target = withProjectExtension(QDir::fromNativeSeparators(chosen));
        if (confirmOverwrite(target, m_prompter))
            return SaveResult::NotSaved;
    }

    const QFileInfo targetInfo(target);
    const bool replacing = targetInfo.exists();
    QString error;
    bool written;
    {
        BusyScope busy(*m_panel1, *statusPanel2, QStringLiteral("Идет сохранение файла ") + shownPath(target)
                                  + QStringLiteral("... Пожалуйста, ждите..."));
        written = ProjectFile::write(target, m_project, &error, [&busy](int value) { busy.step(value); });
        if (written) {
            statusPanel2->setText(QStringLiteral("Файл проекта был сохранен как: ") + shownPath(target));
            // The project takes the new name only once it is really there.
            m_project.projectFolder = targetInfo.absolutePath() + QLatin1Char('/');
            m_project.projectName = projectNameOf(targetInfo);
            updateCaption();
            busy.step(100);
        }
    }
    if (written) {
        rememberFile(target);
        if (chosenInDialog)
            addRecentFile(target);
        return SaveResult::Saved;
    }

    QString text = QStringLiteral("Не удалось сохранить проект в файл '") + shownPath(target) + QStringLiteral("'.");
    if (replacing)
        text += QStringLiteral("\r\nПрежний файл остался без изменений.");
    if (!error.isEmpty())
        text += QStringLiteral("\r\n(") + error + QLatin1Char(')');
    m_prompter.message(text, QStringLiteral("Ошибка"), Prompter::Icon::Critical);
    return SaveResult::Failed;
}

void MainWindow::newProject()
{
    if (!askSaveProject())
        return;
    const QString name = m_prompter.input(QStringLiteral("Введите имя нового проекта:"),
                                          QStringLiteral("Создание нового проекта"),
                                          QStringLiteral("Проект ") + QString::number(m_project.projectNumber + 1));
    if (name.isEmpty())
        return;

    m_project.projectNumber += 1;
    m_project.projectName = name;
    // No folder: the first save asks for a file.
    m_project.projectFolder.clear();
    updateCaption();

    m_project.lines.clear();
    m_project.nextLineId = 1;
    m_lineModel->reload();
    statusPanel1->setText(QStringLiteral("Нажмите F1 для получения справки"));
    statusPanel2->clear();
    m_project.transformerPower = QStringLiteral("0");

    discardShieldsWindow();
    m_project.resetShields();
    m_project.rooms.clear();
    // A new document: its title block starts empty.
    m_project.properties = ProjectProperties();
    m_history->clear();
    refreshNetworkWindow();
}

void MainWindow::chooseAndOpenProject()
{
    if (!askSaveProject())
        return;
    const QString path = m_prompter.openFile(QStringLiteral("Открыть"), m_context.documentsFolder(), projectFilter());
    if (path.isEmpty())
        return;
    if (openProject(path))
        addRecentFile(path);
}

bool MainWindow::openProject(const QString &path)
{
    const QFileInfo file(path);
    if (const QString missing = ProjectFile::missingMessage(path); !missing.isEmpty()) {
        m_prompter.message(missing, QStringLiteral("Ошибка"), Prompter::Icon::Critical);
        return false;
    }

    ProjectFile::ReadResult result;
    {
        BusyScope busy(*m_panel1, *statusPanel2, QStringLiteral("Идет открытие файла ") + shownPath(path)
                                  + QStringLiteral("... Пожалуйста, ждите..."));
        // Read into a project of its own: a file that cannot be read leaves
        // the open project untouched.
        Project loaded;
        result = ProjectFile::read(path, loaded, [&busy](int value) { busy.step(value); });
        if (result.opened)
            Network::addPlaceProblems(loaded.lines, result);
        if (result.opened) {
            m_project.projectFolder = file.absolutePath() + QLatin1Char('/');
            m_project.projectName = projectNameOf(file);
            updateCaption();

            m_project.setSubstation(loaded.substation());
            m_project.lines = std::move(loaded.lines);
            m_project.nextLineId = loaded.nextLineId;
            m_lineModel->reload();
            // The shields window is built again from the project's shields.
            discardShieldsWindow();
            m_project.shields = std::move(loaded.shields);
            m_project.currentShield = 0;
            m_project.rooms = std::move(loaded.rooms);
            m_project.properties = loaded.properties;
            m_history->clear();

            refreshTransformerValues();
            busy.step(80);
            busy.step(90);
            summarizeNetwork();
            refreshNetworkWindow();
            busy.step(100);
            busy.keepStatusText();
            statusPanel2->setText(shownPath(path));
        }
    }

    if (!result.opened) {
        m_prompter.message(ProjectFile::unreadableMessage(path, result), QStringLiteral("Ошибка"),
                           Prompter::Icon::Critical);
        return false;
    }
    rememberFile(path);
    if (result.damaged)
        m_prompter.message(ProjectFile::damagedMessage(path, result), QString(), Prompter::Icon::Exclamation);
    return true;
}

// Files this run opened or saved, by their canonical paths.
void MainWindow::rememberFile(const QString &path)
{
    m_knownFiles.insert(QFileInfo(path).canonicalFilePath());
}

bool MainWindow::isKnownFile(const QString &path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && m_knownFiles.contains(canonical);
}

void MainWindow::discardShieldsWindow()
{
    if (m_shieldsWindow) {
        m_shieldsWindow->hide();
        m_shieldsWindow->deleteLater();
        m_shieldsWindow = nullptr;
    }
}

// The recent files are a ring of five menu slots; m_recentFileCount is the slot of
// the newest entry, and the sixth file overwrites slot 1.
void MainWindow::addRecentFile(const QString &path)
{
    const QString shown = shownPath(path);
    auto setSlot = [&](int slot) {
        QAction *a = m_recentActions.at(slot);
        a->setText(QString::number(slot + 1) + QLatin1Char(' ') + shown);
        a->setVisible(true);
    };

    if (m_recentActions.first()->text().isEmpty()) {
        m_recentSeparator->setVisible(true);
        setSlot(0);
        return;
    }
    int items = 0;
    for (QAction *a : std::as_const(m_recentActions)) {
        if (a->text().isEmpty())
            continue;
        ++items;
        if (a->text().mid(2) == shown)
            return;
    }
    ++m_recentFileCount;
    if (items >= kRecentSlots) {
        if (m_recentFileCount >= kRecentSlots)
            m_recentFileCount = 0;
    } else {
        m_recentFileCount = qMin(m_recentFileCount, items);
    }
    setSlot(m_recentFileCount);
}

void MainWindow::readRecentFiles()
{
    const IniDocument ini = m_context.settings().read();
    const QString section = QStringLiteral("Recent");
    const auto count = NumberText::parse(ini.value(section, QStringLiteral("RecentFileCount"), QStringLiteral("0")));
    const int n = count ? int(qBound(0.0, *count, 32767.0)) : 0;
    for (int i = 1; i <= n; ++i) {
        const QString path = ini.value(section, QStringLiteral("RecentFile") + QString::number(i), QString(), true);
        // Files that have gone since the last run are dropped.
        if (!path.isEmpty() && QFileInfo(path).isFile())
            addRecentFile(path);
    }
}

void MainWindow::writeRecentFiles(IniDocument &ini) const
{
    QStringList paths;
    for (QAction *a : std::as_const(m_recentActions))
        if (!a->text().isEmpty())
            paths << a->text().mid(2);
    if (paths.isEmpty())
        return;
    const QString section = QStringLiteral("Recent");
    ini.setValue(section, QStringLiteral("RecentFileCount"), QString::number(paths.size()));
    for (int k = 0; k < paths.size(); ++k)
        ini.setValue(section, QStringLiteral("RecentFile") + QString::number(k + 1), paths.at(k));
}

void MainWindow::editProjectProperties()
{
    ProjectPropertiesDialog dialog(m_project.properties, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ProjectProperties before = m_project.properties;
    const ProjectProperties after = dialog.properties();
    if (after == before)
        return;
    m_project.properties = after;
    Project *project = &m_project;
    RecordedEdit::record(
        m_history, QStringLiteral("изменение свойств проекта"), [project, before] { project->properties = before; },
        [project, after] { project->properties = after; });
}
