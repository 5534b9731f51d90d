#pragma once

#include "base/Project.h"

#include <QDialog>
#include <QVector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ReportWriter;

// "Сохранение отчета": the title and the columns of the cable line schedule.
// The dialog stays open after a report, so several variants can be written.
class ReportColumnsDialog : public QDialog
{
    Q_OBJECT
public:
    ReportColumnsDialog(const Project &project, ReportWriter &writer, QWidget *parent = nullptr);

    QLabel *headingLabel = nullptr;
    QLineEdit *titleEdit = nullptr;
    QGroupBox *columnsFrame = nullptr;
    QListWidget *columnList = nullptr;
    QPushButton *saveButton = nullptr;
    QPushButton *cancelButton = nullptr;

    // One flag per column of the line list: its entry is ticked.
    QVector<bool> selectedColumns() const;

    // "&Сохранить": the file choice and the report; true when it was written.
    bool saveReport();

private:
    const Project &m_project;
    ReportWriter &m_writer;
};
