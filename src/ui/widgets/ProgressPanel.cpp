#include "ui/widgets/ProgressPanel.h"

#include <QLabel>
#include <QProgressBar>

ProgressPanel::ProgressPanel(QWidget *parent) : QStackedWidget(parent)
{
    m_label = new QLabel(this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    addWidget(m_label);
    addWidget(m_bar);
}

void ProgressPanel::showProgress(int value)
{
    m_bar->setValue(value);
    setCurrentWidget(m_bar);
}

void ProgressPanel::hideProgress()
{
    setCurrentWidget(m_label);
}
