#include "reports/StatusBarProgress.h"

#include "app/frmMain.h"

#include <QApplication>
#include <QLabel>

StatusBarProgress::~StatusBarProgress()
{
    // Never leave the hourglass behind.
    if (m_active)
        end();
}

void StatusBarProgress::begin(const QString &status, int value)
{
    if (!m_active)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_active = true;
    m_window.showProgress(value);
    m_savedStatus = m_window.statusPanel2->text();
    m_window.statusPanel2->setText(status);
}

void StatusBarProgress::step(int value)
{
    m_window.showProgress(value);
}

void StatusBarProgress::end()
{
    if (!m_active)
        return;
    m_active = false;
    QApplication::restoreOverrideCursor();
    m_window.statusPanel2->setText(m_savedStatus);
    m_window.showProgress(100);
    m_window.hideProgress();
}
