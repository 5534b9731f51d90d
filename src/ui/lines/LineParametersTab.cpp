#include "ui/lines/LineParametersTab.h"

#include "base/NumberText.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

LineParametersTab::LineParametersTab(QWidget *parent) : QWidget(parent)
{
    auto *pageLayout = new QHBoxLayout(this);

    coreFrame = new QGroupBox(QStringLiteral("Жила"), this);
    coreFrame->setObjectName(QStringLiteral("coreFrame"));
    auto *core = new QGridLayout(coreFrame);
    materialList = new QComboBox(coreFrame);
    materialList->setObjectName(QStringLiteral("materialList"));
    sectionEdit = new QLineEdit(coreFrame);
    sectionEdit->setObjectName(QStringLiteral("sectionEdit"));
    sectionList = new QListWidget(coreFrame);
    sectionList->setObjectName(QStringLiteral("sectionList"));
    sectionList->setSelectionMode(QAbstractItemView::SingleSelection);
    neutralCheck = new QCheckBox(QStringLiteral("Нулевая жила"), coreFrame);
    neutralCheck->setObjectName(QStringLiteral("neutralCheck"));
    neutralSectionList = new QComboBox(coreFrame);
    neutralSectionList->setObjectName(QStringLiteral("neutralSectionList"));
    proposeButton = namedButton(QStringLiteral("&Предложение"), QStringLiteral("proposeButton"), coreFrame);
    core->addWidget(new QLabel(QStringLiteral("Материал"), coreFrame), 0, 0);
    core->addWidget(materialList, 0, 1);
    core->addWidget(new QLabel(QStringLiteral("Сечение"), coreFrame), 1, 0);
    core->addWidget(sectionEdit, 1, 1);
    core->addWidget(sectionList, 2, 1);
    core->addWidget(neutralCheck, 3, 0);
    core->addWidget(neutralSectionList, 3, 1);
    core->addWidget(proposeButton, 4, 0, 1, 2);
    core->setColumnStretch(1, 1);
    core->setRowStretch(2, 1);
    sectionList->setMinimumHeight(sectionList->fontMetrics().height() * 8);
    greyWhenDisabled(neutralSectionList);

    auto *data = new QGroupBox(QStringLiteral("Данные линии"), this);
    data->setObjectName(QStringLiteral("dataFrame"));
    auto *grid = new QGridLayout(data);
    nameEdit = new QLineEdit(data);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setMaxLength(30);
    autoNumberCheck = new QCheckBox(QStringLiteral("Автонумерация"), data);
    autoNumberCheck->setObjectName(QStringLiteral("autoNumberCheck"));
    lengthEdit = new QLineEdit(data);
    lengthEdit->setObjectName(QStringLiteral("lengthEdit"));
    lengthEdit->setMaxLength(9);
    loadCurrentList = new QComboBox(data);
    loadCurrentList->setObjectName(QStringLiteral("loadCurrentList"));
    loadCurrentList->setEditable(true);
    loadCurrentList->setInsertPolicy(QComboBox::NoInsert);
    loadCurrentList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    loadCurrentList->setMinimumContentsLength(14);
    permissibleCurrentEdit = new QLineEdit(data);
    permissibleCurrentEdit->setObjectName(QStringLiteral("permissibleCurrentEdit"));
    permissibleCurrentEdit->setReadOnly(true);
    permissibleCurrentEdit->setFocusPolicy(Qt::NoFocus);
    {
        QPalette p = permissibleCurrentEdit->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        permissibleCurrentEdit->setPalette(p);
    }
    greyWhenDisabled(nameEdit);

    grid->addWidget(new QLabel(QStringLiteral("Обозначение"), data), 0, 0);
    grid->addWidget(nameEdit, 0, 1, 1, 2);
    grid->addWidget(autoNumberCheck, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Длина   "), data), 2, 0);
    grid->addWidget(lengthEdit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("м"), data), 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Ток нагрузки"), data), 3, 0);
    grid->addWidget(loadCurrentList, 3, 1, 1, 2);
    cosPhiEdit = new QLineEdit(QStringLiteral("1"), data);
    cosPhiEdit->setObjectName(QStringLiteral("cosPhiEdit"));
    cosPhiEdit->setMaxLength(9);
    correctionLabel = new QLabel(data);
    correctionLabel->setObjectName(QStringLiteral("correctionLabel"));
    correctionLabel->setTextFormat(Qt::RichText); // kт and kгр with subscripts
    grid->addWidget(new QLabel(QStringLiteral("cos φ"), data), 4, 0);
    grid->addWidget(cosPhiEdit, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Допуск. ток"), data), 5, 0);
    grid->addWidget(permissibleCurrentEdit, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("А"), data), 5, 2);
    grid->addWidget(correctionLabel, 6, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);

    pageLayout->addWidget(coreFrame, 1);
    pageLayout->addWidget(data, 1);

    connect(sectionList, &QListWidget::currentRowChanged, this, &LineParametersTab::onSectionRowChanged);
    connect(sectionEdit, &QLineEdit::textChanged, this, [this] { onSectionTextChanged(); });
    sectionEdit->installEventFilter(this);
}

LineParametersTab::~LineParametersTab()
{
    sectionEdit->removeEventFilter(this);
}

void LineParametersTab::selectSectionRow(int row)
{
    setRowQuietly(sectionList, row);
    onSectionRowChanged(row);
}

void LineParametersTab::onSectionRowChanged(int row)
{
    if (m_syncingSection || row < 0 || row >= sectionList->count())
        return;
    m_syncingSection = true;
    sectionEdit->setText(sectionList->item(row)->text());
    m_syncingSection = false;
    emit sectionChosen();
}

void LineParametersTab::onSectionTextChanged()
{
    if (m_syncingSection)
        return;
    const QString text = sectionEdit->text();
    for (int i = 0; i < sectionList->count(); ++i) {
        if (sectionList->item(i)->text() == text) {
            selectSectionRow(i);
            return;
        }
    }
}

void LineParametersTab::syncSectionFieldToList()
{
    const int row = selectedRow(sectionList);
    const QString listed = row >= 0 ? sectionList->item(row)->text() : QString();
    if (sectionEdit->text() != listed)
        sectionEdit->setText(listed);
}

void LineParametersTab::markFieldInList()
{
    for (int i = 0; i < sectionList->count(); ++i) {
        if (sectionList->item(i)->text() == sectionEdit->text()) {
            setRowQuietly(sectionList, i);
            break;
        }
    }
}

int LineParametersTab::sectionRowOf(double section) const
{
    for (int i = 0; i < sectionList->count(); ++i) {
        if (NumberText::toDouble(sectionList->item(i)->text()) == section)
            return i;
    }
    return 0;
}

void LineParametersTab::showNeutralSections(const QStringList &sections, int remembered)
{
    const QSignalBlocker block(neutralSectionList);
    neutralSectionList->clear();
    neutralSectionList->addItems(sections);
    neutralSectionList->setCurrentIndex(-1);
    if (remembered > 0 && remembered < neutralSectionList->count())
        neutralSectionList->setCurrentIndex(remembered);
    if (neutralSectionList->currentIndex() < 0 && neutralSectionList->count() > 0)
        neutralSectionList->setCurrentIndex(0);
}

bool LineParametersTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sectionEdit && event->type() == QEvent::FocusOut)
        syncSectionFieldToList();
    return QWidget::eventFilter(watched, event);
}
