#include "ui/reports/ReportColumnsDialog.h"

#include "docs/schedules/CableLineReport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ReportColumnsDialog::ReportColumnsDialog(const Project &project, ReportWriter &writer, int places, QWidget *parent)
    : QDialog(parent), m_project(project), m_writer(writer), m_places(places)
{
    setObjectName(QStringLiteral("ReportColumnsDialog"));
    setWindowTitle(QStringLiteral("Сохранение отчета"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    headingLabel = new QLabel(QStringLiteral("Заголовок"), this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    titleEdit = new QLineEdit(CableLineReport::defaultTitle(), this);
    titleEdit->setObjectName(QStringLiteral("titleEdit"));
    headingLabel->setBuddy(titleEdit);

    columnsFrame = new QGroupBox(QStringLiteral("Печатать столбцы"), this);
    columnsFrame->setObjectName(QStringLiteral("columnsFrame"));
    columnList = new QListWidget(columnsFrame);
    columnList->setObjectName(QStringLiteral("columnList"));
    // The list's own columns are ticked; what lines keep beyond them is there to pick.
    const QStringList headers = CableLineReport::columnHeaders();
    for (int c = 0; c < headers.size(); ++c) {
        auto *item = new QListWidgetItem(headers.at(c), columnList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(c < CableLineReport::ListColumnCount ? Qt::Checked : Qt::Unchecked);
    }
    columnList->setCurrentRow(0);
    auto *itemsLayout = new QVBoxLayout(columnsFrame);
    itemsLayout->addWidget(columnList);

    saveButton = new QPushButton(QStringLiteral("&Сохранить"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    saveButton->setDefault(true);
    if (m_writer.canPrint()) {
        printButton = new QPushButton(QStringLiteral("&Печать..."), this);
        printButton->setObjectName(QStringLiteral("printButton"));
    }
    cancelButton = new QPushButton(QStringLiteral("&Отмена"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto *headRow = new QHBoxLayout;
    headRow->addWidget(headingLabel);
    headRow->addWidget(titleEdit, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(saveButton);
    if (printButton)
        buttons->addWidget(printButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);

    auto *body = new QHBoxLayout;
    body->addWidget(columnsFrame, 1);
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(headRow);
    layout->addLayout(body, 1);

    // Every column fits without a scroll bar.
    const int rowHeight = columnList->sizeHintForRow(0);
    columnList->setMinimumHeight(rowHeight * columnList->count() + 2 * columnList->frameWidth() + 4);
    columnList->setMinimumWidth(columnList->sizeHintForColumn(0) + 2 * columnList->frameWidth() + 24);

    connect(saveButton, &QPushButton::clicked, this, &ReportColumnsDialog::saveReport);
    if (printButton)
        connect(printButton, &QPushButton::clicked, this, &ReportColumnsDialog::printReport);
    // Esc reaches QDialog::reject as well.
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QVector<bool> ReportColumnsDialog::selectedColumns() const
{
    QVector<bool> selected;
    selected.reserve(columnList->count());
    for (int i = 0; i < columnList->count(); ++i)
        selected << (columnList->item(i)->checkState() == Qt::Checked);
    return selected;
}

ReportWriter::TableBuilder ReportColumnsDialog::tableBuilder() const
{
    const QVector<bool> selected = selectedColumns();
    const Project &project = m_project;
    const int places = m_places;
    return [&project, selected, places] { return CableLineReport::build(project.lines, selected, places); };
}

bool ReportColumnsDialog::saveReport()
{
    const QString title = titleEdit->text();
    m_writer.setProgressPlan(ReportWriter::kDefaultPlan);
    return m_writer.run(m_project.projectName, title, CableLineReport::defaultFileName(m_project.projectName, title),
                        tableBuilder());
}

bool ReportColumnsDialog::printReport()
{
    return m_writer.print(m_project.projectName, titleEdit->text(), tableBuilder());
}
