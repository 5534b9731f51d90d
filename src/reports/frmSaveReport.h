#pragma once

#include "app/Project.h"

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
class frmSaveReport : public QDialog
{
    Q_OBJECT
public:
    frmSaveReport(const Project &project, ReportWriter &writer, QWidget *parent = nullptr);

    QLabel *lblHead = nullptr;
    QLineEdit *txtHead = nullptr;
    QGroupBox *fraItems = nullptr;
    QListWidget *lstItems = nullptr;
    QPushButton *cmdSaveReport = nullptr;
    QPushButton *cmdCancel = nullptr;

    // One flag per column of the line list: its entry is ticked.
    QVector<bool> selectedColumns() const;

    // "&Сохранить": the file choice and the report; true when it was written.
    bool saveReport();

private:
    const Project &m_project;
    ReportWriter &m_writer;
};
