#pragma once

#include "base/Project.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Свойства проекта": what the title block of every schedule says about the
// project. OK hands the fields back as typed; Cancel and Esc change nothing.
class ProjectPropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ProjectPropertiesDialog(const ProjectProperties &properties, QWidget *parent = nullptr);

    // The fields as they stand.
    ProjectProperties properties() const;

    QLineEdit *organizationEdit = nullptr;
    QLineEdit *objectEdit = nullptr;
    QLineEdit *documentCodeEdit = nullptr;
    QLineEdit *stageEdit = nullptr;
    QLineEdit *developerEdit = nullptr;
    QLineEdit *checkerEdit = nullptr;
    QLineEdit *normControllerEdit = nullptr;
    QLineEdit *approverEdit = nullptr;
    QLineEdit *dateEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
};
