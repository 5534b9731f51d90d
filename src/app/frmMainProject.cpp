// The project commands of the main window: new, open, save, save as, recent files.
#include "app/frmMain.h"

#include "app/IniStore.h"
#include "app/InputCheck.h"
#include "app/LineListModel.h"
#include "app/NumberText.h"
#include "app/ProjectFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

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
class BusyScope
{
public:
    BusyScope(frmMain &window, const QString &text) : m_window(window), m_savedText(window.statusPanel2->text())
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_window.showProgress(1);
        m_window.statusPanel2->setText(text);
    }
    ~BusyScope()
    {
        m_window.hideProgress();
        if (m_restoreText)
            m_window.statusPanel2->setText(m_savedText);
        QApplication::restoreOverrideCursor();
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    void progress(int value) { m_window.showProgress(value); }
    void keepStatusText() { m_restoreText = false; }

private:
    frmMain &m_window;
    QString m_savedText;
    bool m_restoreText = true;
};

} // namespace

bool frmMain::AskSaveProject()
{
    const auto answer = m_prompter.message(QStringLiteral("Сохранить проект '") + m_project.sPrjName + QStringLiteral("'?"),
                                           QString(), Prompter::Icon::Question, Prompter::Buttons::YesNoCancel);
    if (answer == Prompter::Answer::Cancel)
        return false;
    // A save the user chose not to finish lets the command go on; a save that
    // failed while writing stops it, so that the project is not thrown away.
    if (answer == Prompter::Answer::Yes)
        return storeProject(false) != SaveResult::Failed;
    return true;
}

bool frmMain::saveProject(bool saveAs)
{
    return storeProject(saveAs) == SaveResult::Saved;
}

frmMain::SaveResult frmMain::storeProject(bool saveAs)
{
    if (NumberText::toDouble(m_project.sSTP) == 0) {
        m_prompter.message(QStringLiteral("Укажите мощность трансформатора и данные питающей линии!"), QString(),
                           Prompter::Icon::Exclamation);
        cmdSelTP();
        return SaveResult::NotSaved;
    }

    QString target;
    if (saveAs || m_project.sPath.isEmpty()) {
        const QString chosen = m_prompter.saveFile(QStringLiteral("Сохранить как"), m_context.appDir(),
                                                   m_project.sPrjName, projectFilter());
        if (chosen.isEmpty())
            return SaveResult::NotSaved;
        target = withProjectExtension(QDir::fromNativeSeparators(chosen));
        if (ConfirmOverwrite(target, m_prompter))
            return SaveResult::NotSaved;
    } else {
        target = m_project.filePath();
    }

    const QFileInfo targetInfo(target);
    const bool replacing = targetInfo.exists();
    QString error;
    bool written;
    {
        BusyScope busy(*this, QStringLiteral("Идет сохранение файла ") + shownPath(target)
                                  + QStringLiteral("... Пожалуйста, ждите..."));
        written = ProjectFile::write(target, m_project, &error, [&busy](int value) { busy.progress(value); });
        if (written) {
            statusPanel2->setText(QStringLiteral("Файл проекта был сохранен как: ") + shownPath(target));
            // The project takes the new name only once it is really there.
            m_project.sPath = targetInfo.absolutePath() + QLatin1Char('/');
            m_project.sPrjName = projectNameOf(targetInfo);
            updateCaption();
            busy.progress(100);
        }
    }
    if (written)
        return SaveResult::Saved;

    QString text = QStringLiteral("Не удалось сохранить проект в файл '") + shownPath(target) + QStringLiteral("'.");
    if (replacing)
        text += QStringLiteral("\r\nПрежний файл остался без изменений.");
    if (!error.isEmpty())
        text += QStringLiteral("\r\n(") + error + QLatin1Char(')');
    m_prompter.message(text, QStringLiteral("Ошибка"), Prompter::Icon::Critical);
    return SaveResult::Failed;
}

void frmMain::cmdNewProject()
{
    if (!AskSaveProject())
        return;
    const QString name = m_prompter.input(QStringLiteral("Введите имя нового проекта:"),
                                          QStringLiteral("Создание нового проекта"),
                                          QStringLiteral("Проект ") + QString::number(m_project.iPrjN + 1));
    if (name.isEmpty())
        return;

    m_project.iPrjN += 1;
    m_project.sPrjName = name;
    // No folder: the first save asks for a file.
    m_project.sPath.clear();
    updateCaption();

    m_project.lines.clear();
    m_lineModel->reload();
    statusPanel1->setText(QStringLiteral("Нажмите F1 для получения справки"));
    statusPanel2->clear();
    m_project.sSTP = QStringLiteral("0");

    discardShieldsWindow();
    m_project.resetShields();
    setLineCommandsEnabled(false);
}

void frmMain::cmdOpenProject()
{
    if (!AskSaveProject())
        return;
    const QString path = m_prompter.openFile(QStringLiteral("Открыть"), m_context.appDir(), projectFilter());
    if (path.isEmpty())
        return;
    if (OpenProject(path))
        AddRecentFile(path);
}

bool frmMain::OpenProject(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists() || !file.isFile()) {
        m_prompter.message(QStringLiteral("Файл '") + shownPath(path) + QStringLiteral("' не найден!"),
                           QStringLiteral("Ошибка"), Prompter::Icon::Critical);
        return false;
    }

    ProjectFile::ReadResult result;
    {
        BusyScope busy(*this, QStringLiteral("Идет открытие файла ") + shownPath(path)
                                  + QStringLiteral("... Пожалуйста, ждите..."));
        // Read into a project of its own: a file that cannot be read leaves
        // the open project untouched.
        Project loaded;
        result = ProjectFile::read(path, loaded, [&busy](int value) { busy.progress(value); });
        if (result.opened) {
            m_project.sPath = file.absolutePath() + QLatin1Char('/');
            m_project.sPrjName = projectNameOf(file);
            updateCaption();

            m_project.sSTP = loaded.sSTP;
            m_project.hs = loaded.hs;
            m_project.sNMat = loaded.sNMat;
            m_project.sNLen = loaded.sNLen;
            m_project.sNSec = loaded.sNSec;
            m_project.lines = std::move(loaded.lines);
            m_lineModel->reload();
            // The shields window is built again from the project's shields.
            discardShieldsWindow();
            m_project.shields = std::move(loaded.shields);
            m_project.currentShield = 0;

            refreshTransformerValues();
            busy.progress(80);
            setLineCommandsEnabled(!m_project.lines.isEmpty());
            busy.progress(90);
            NetworkSummary();
            busy.progress(100);
            busy.keepStatusText();
            statusPanel2->setText(shownPath(path));
        }
    }

    if (!result.opened) {
        m_prompter.message(ProjectFile::unreadableMessage(path), QStringLiteral("Ошибка"), Prompter::Icon::Critical);
        return false;
    }
    if (result.damaged)
        m_prompter.message(ProjectFile::damagedMessage(path, result), QString(), Prompter::Icon::Exclamation);
    return true;
}

void frmMain::discardShieldsWindow()
{
    if (m_shieldsWindow) {
        m_shieldsWindow->hide();
        m_shieldsWindow->deleteLater();
        m_shieldsWindow = nullptr;
    }
}

// The recent files are a ring of five menu slots; nRecFiles is the slot of
// the newest entry, and the sixth file overwrites slot 1.
void frmMain::AddRecentFile(const QString &path)
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
    ++nRecFiles;
    if (items >= kRecentSlots) {
        if (nRecFiles >= kRecentSlots)
            nRecFiles = 0;
    } else {
        nRecFiles = qMin(nRecFiles, items);
    }
    setSlot(nRecFiles);
}

void frmMain::readRecentFiles()
{
    IniDocument ini;
    ini.load(m_context.settingsPath());
    const QString section = QStringLiteral("Recent");
    const auto count = NumberText::parse(ini.value(section, QStringLiteral("RecentFileCount"), QStringLiteral("0")));
    const int n = count ? int(qBound(0.0, *count, 32767.0)) : 0;
    for (int i = 1; i <= n; ++i) {
        const QString path = ini.value(section, QStringLiteral("RecentFile") + QString::number(i), QString(), true);
        // Files that have gone since the last run are dropped.
        if (!path.isEmpty() && QFileInfo(path).isFile())
            AddRecentFile(path);
    }
}

void frmMain::writeRecentFiles(IniDocument &ini) const
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
