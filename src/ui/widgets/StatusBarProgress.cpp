#include "ui/widgets/StatusBarProgress.h"

#include "ui/widgets/ProgressPanel.h"

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
    m_panel1.showProgress(value);
    m_savedStatus = m_panel2.text();
    m_panel2.setText(status);
}

void StatusBarProgress::step(int value)
{
    m_panel1.showProgress(value);
}

void StatusBarProgress::end()
{
    if (!m_active)
        return;
    m_active = false;
    QApplication::restoreOverrideCursor();
    if (!m_keepStatus)
        m_panel2.setText(m_savedStatus);
    m_panel1.showProgress(100);
    m_panel1.hideProgress();
}
