#pragma once

#include "base/Project.h"
#include "docs/writers/ReportWriter.h"

#include <QDialog>
#include <QVector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Сохранение отчета": the title and the columns of the cable line schedule,
// saved as a document or printed. The dialog stays open after a report, so
// several variants can be written. Numbers show `places` decimals.
class ReportColumnsDialog : public QDialog
{
    Q_OBJECT
public:
    ReportColumnsDialog(const Project &project, ReportWriter &writer, int places, QWidget *parent = nullptr);

    QLabel *headingLabel = nullptr;
    QLineEdit *titleEdit = nullptr;
    QGroupBox *columnsFrame = nullptr;
    QListWidget *columnList = nullptr;
    QPushButton *saveButton = nullptr;
    QPushButton *printButton = nullptr; // only with a writer that can print
    QPushButton *cancelButton = nullptr;

    // One flag per column of the line list: its entry is ticked.
    QVector<bool> selectedColumns() const;

    // "&Сохранить": the file choice and the report; true when it was written.
    bool saveReport();
    // "&Печать...": the preview and the print dialog; true when printed.
    bool printReport();

private:
    ReportWriter::TableBuilder tableBuilder() const;

    const Project &m_project;
    ReportWriter &m_writer;
    int m_places;
};
