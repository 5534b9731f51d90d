// The project commands of the main window: new, open, save, save as, recent files.
#include "app/frmMain.h"

#include "app/IniStore.h"
#include "app/ProjectFile.h"

void frmMain::cmdNewProject() {}
void frmMain::cmdOpenProject() {}

bool frmMain::AskSaveProject()
{
    const auto answer = m_prompter.message(QStringLiteral("Сохранить проект '") + m_project.sPrjName + QStringLiteral("'?"),
                                           QString(), Prompter::Icon::Question, Prompter::Buttons::YesNoCancel);
    if (answer == Prompter::Answer::Cancel)
        return false;
    if (answer == Prompter::Answer::Yes)
        saveProject(false);
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

bool frmMain::saveProject(bool) { return false; }
void frmMain::OpenProject(const QString &) {}
void frmMain::AddRecentFile(const QString &) {}
void frmMain::readRecentFiles() {}
void frmMain::writeRecentFiles() {}

