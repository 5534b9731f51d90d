#include "ui/project/ProjectPropertiesDialog.h"

#include "ui/widgets/WidgetHelpers.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProjectPropertiesDialog::ProjectPropertiesDialog(const ProjectProperties &p, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ProjectPropertiesDialog"));
    setWindowTitle(QStringLiteral("Свойства проекта"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto *note = new QLabel(QStringLiteral("Эти данные заполняют основную надпись каждого листа ведомостей. "
                                           "Пустое поле оставляет графу пустой."),
                            this);
    note->setWordWrap(true);
    auto *form = new QFormLayout;
    const auto field = [&](QLineEdit *&edit, const char *name, const char *label, const QString &value) {
        edit = new QLineEdit(value, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(320);
        form->addRow(QString::fromUtf8(label), edit);
    };
    field(organizationEdit, "organizationEdit", "&Организация:", p.organization);
    field(objectEdit, "objectEdit", "О&бъект:", p.object);
    field(documentCodeEdit, "documentCodeEdit", "Обо&значение документа:", p.documentCode);
    field(stageEdit, "stageEdit", "&Стадия:", p.stage);
    field(developerEdit, "developerEdit", "&Разработал:", p.developer);
    field(checkerEdit, "checkerEdit", "&Проверил:", p.checker);
    field(normControllerEdit, "normControllerEdit", "&Нормоконтроль:", p.normController);
    field(approverEdit, "approverEdit", "&Утвердил:", p.approver);
    field(dateEdit, "dateEdit", "&Дата:", p.date);

    okButton = namedButton(QStringLiteral("&OK"), QStringLiteral("okButton"), this);
    okButton->setDefault(true);
    cancelButton = namedButton(QStringLiteral("О&тмена"), QStringLiteral("cancelButton"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addLayout(buttonRow({okButton, cancelButton}));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ProjectProperties ProjectPropertiesDialog::properties() const
{
    return ProjectProperties{organizationEdit->text(), objectEdit->text(),  documentCodeEdit->text(),
                             stageEdit->text(),        developerEdit->text(), checkerEdit->text(),
                             normControllerEdit->text(), approverEdit->text(), dateEdit->text()};
}
