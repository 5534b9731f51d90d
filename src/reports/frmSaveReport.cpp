#include "reports/frmSaveReport.h"

#include "reports/CableLineReport.h"
#include "reports/ReportWriter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmSaveReport::frmSaveReport(const Project &project, ReportWriter &writer, QWidget *parent)
    : QDialog(parent), m_project(project), m_writer(writer)
{
    setObjectName(QStringLiteral("frmSaveReport"));
    setWindowTitle(QStringLiteral("Сохранение отчета"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblHead = new QLabel(QStringLiteral("Заголовок"), this);
    lblHead->setObjectName(QStringLiteral("lblHead"));
    txtHead = new QLineEdit(CableLineReport::defaultTitle(), this);
    txtHead->setObjectName(QStringLiteral("txtHead"));
    lblHead->setBuddy(txtHead);

    fraItems = new QGroupBox(QStringLiteral("Печатать столбцы"), this);
    fraItems->setObjectName(QStringLiteral("fraItems"));
    lstItems = new QListWidget(fraItems);
    lstItems->setObjectName(QStringLiteral("lstItems"));
    for (const QString &header : LineCalc::columnHeaders()) {
        auto *item = new QListWidgetItem(header, lstItems);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    lstItems->setCurrentRow(0);
    auto *itemsLayout = new QVBoxLayout(fraItems);
    itemsLayout->addWidget(lstItems);

    cmdSaveReport = new QPushButton(QStringLiteral("&Сохранить"), this);
    cmdSaveReport->setObjectName(QStringLiteral("cmdSaveReport"));
    cmdSaveReport->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Отмена"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *headRow = new QHBoxLayout;
    headRow->addWidget(lblHead);
    headRow->addWidget(txtHead, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdSaveReport);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);

    auto *body = new QHBoxLayout;
    body->addWidget(fraItems, 1);
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(headRow);
    layout->addLayout(body, 1);

    // Every column fits without a scroll bar.
    const int rowHeight = lstItems->sizeHintForRow(0);
    lstItems->setMinimumHeight(rowHeight * lstItems->count() + 2 * lstItems->frameWidth() + 4);
    lstItems->setMinimumWidth(lstItems->sizeHintForColumn(0) + 2 * lstItems->frameWidth() + 24);

    connect(cmdSaveReport, &QPushButton::clicked, this, &frmSaveReport::saveReport);
    // Esc reaches QDialog::reject as well.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QVector<bool> frmSaveReport::selectedColumns() const
{
    QVector<bool> selected;
    selected.reserve(lstItems->count());
    for (int i = 0; i < lstItems->count(); ++i)
        selected << (lstItems->item(i)->checkState() == Qt::Checked);
    return selected;
}

bool frmSaveReport::saveReport()
{
    const QString title = txtHead->text();
    const QVector<bool> selected = selectedColumns();
    const Project &project = m_project;
    m_writer.setProgressPlan(ReportWriter::kDefaultPlan);
    return m_writer.run(project.sPrjName, title, CableLineReport::defaultFileName(project.sPrjName, title),
                        [&project, &selected] { return CableLineReport::build(project.lines, selected); });
}
