#include "shell/OptionsDialog.h"

#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/NumberText.h"
#include "base/Prompter.h"
#include "base/StartupSettings.h"
#include "ui/widgets/UpDownControl.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLabel *label(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLineEdit *numberField(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(90);
    return e;
}

} // namespace

OptionsDialog::OptionsDialog(AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    pageList = new QListWidget(this);
    pageList->setObjectName(QStringLiteral("pageList"));
    pageList->addItems({QStringLiteral("Общие"), QStringLiteral("Расчет")});
    pageList->setFixedWidth(twipsToPixelsX(1500, this));

    // The header strip above the pages names the page shown.
    auto *head = new QFrame(this);
    head->setObjectName(QStringLiteral("headingFrame"));
    head->setFrameShape(QFrame::StyledPanel);
    head->setFrameShadow(QFrame::Sunken);
    head->setAutoFillBackground(true);
    QPalette pal = head->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Highlight));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
    head->setPalette(pal);
    auto *headLayout = new QHBoxLayout(head);
    // The label is 30 twips narrower than its strip.
    const int inset = twipsToPixelsX(15, this);
    headLayout->setContentsMargins(inset + 4, 3, inset, 3);
    headingLabel = label(QString(), head);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    QFont headFont = headingLabel->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.2);
    headingLabel->setFont(headFont);
    headLayout->addWidget(headingLabel);

    auto *pages = new QStackedWidget(this);
    pageWidgets[0] = buildGeneralPage();
    pageWidgets[1] = buildCalculationPage();
    for (int i = 0; i < 2; ++i) {
        pageWidgets[i]->setObjectName(QStringLiteral("pageWidgets%1").arg(i));
        pages->addWidget(pageWidgets[i]);
    }

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("О&тмена"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    applyButton = new QPushButton(QStringLiteral("&Применить"), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    applyButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);

    // Pages stand 100 twips right of the list and 100 twips below the header.
    const int gap = twipsToPixelsX(100, this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(gap);
    grid->setVerticalSpacing(twipsToPixelsY(100, this));
    grid->addWidget(pageList, 0, 0, 2, 1);
    grid->addWidget(head, 0, 1);
    grid->addWidget(pages, 1, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(applyButton);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid, 1);
    outer->addLayout(buttons);

    connect(pageList, &QListWidget::currentRowChanged, this, [this, pages](int row) {
        if (row < 0)
            return;
        pages->setCurrentIndex(row);
        showPage(row);
    });
    connect(okButton, &QPushButton::clicked, this, [this] {
        // A refused number keeps the dialog open on the field it names.
        if (apply())
            accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, &OptionsDialog::apply);

    load();

    for (QCheckBox *c : {showInTrayCheck, rememberPositionCheck, showTipsCheck})
        connect(c, &QCheckBox::clicked, this, &OptionsDialog::markChanged);
    for (QLineEdit *e : {copperConductivityEdit, aluminiumConductivityEdit, maxVoltageDropEdit, decimalPlacesEdit})
        connect(e, &QLineEdit::textChanged, this, &OptionsDialog::markChanged);
    connect(decimalPlacesEdit, &QLineEdit::textEdited, this, &OptionsDialog::syncUpDown);
    connect(decimalPlacesUpDown, &UpDownControl::valueChanged, this,
            [this](int value) { decimalPlacesEdit->setText(QString::number(value)); });
    applyButton->setEnabled(false);
}

QWidget *OptionsDialog::buildGeneralPage()
{
    auto *page = new QWidget(this);
    auto *frame = new QGroupBox(QStringLiteral("Запуск"), page);
    frame->setObjectName(QStringLiteral("startupFrame"));
    showInTrayCheck = new QCheckBox(QStringLiteral("Сворачивать в трей"), frame);
    showInTrayCheck->setObjectName(QStringLiteral("showInTrayCheck"));
    rememberPositionCheck = new QCheckBox(QStringLiteral("Помнить размеры окна"), frame);
    rememberPositionCheck->setObjectName(QStringLiteral("rememberPositionCheck"));
    showTipsCheck = new QCheckBox(QStringLiteral("Показывать совет при запуске"), frame);
    showTipsCheck->setObjectName(QStringLiteral("showTipsCheck"));
    auto *box = new QVBoxLayout(frame);
    box->addWidget(showInTrayCheck);
    box->addWidget(rememberPositionCheck);
    box->addWidget(showTipsCheck);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);
    return page;
}

QWidget *OptionsDialog::buildCalculationPage()
{
    auto *page = new QWidget(this);
    auto *constants = new QGroupBox(QStringLiteral("Константы"), page);
    constants->setObjectName(QStringLiteral("constantsFrame"));
    copperConductivityEdit = numberField("copperConductivityEdit", constants);
    aluminiumConductivityEdit = numberField("aluminiumConductivityEdit", constants);
    maxVoltageDropEdit = numberField("maxVoltageDropEdit", constants);
    auto *grid = new QGridLayout(constants);
    const struct {
        const char *caption;
        QLineEdit *field;
        const char *unit;
    } rows[] = {
        {"Удельная проводимость меди", copperConductivityEdit, "м/(Ом x мм2) "},
        {"Удельная проводимость алюминия", aluminiumConductivityEdit, "м/(Ом x мм2) "},
        {"Cуммарные потери напряжения", maxVoltageDropEdit, "%"},
    };
    int r = 0;
    for (const auto &row : rows) {
        QLabel *caption = label(QString::fromUtf8(row.caption), constants);
        caption->setBuddy(row.field);
        grid->addWidget(caption, r, 0);
        grid->addWidget(row.field, r, 1);
        grid->addWidget(label(QString::fromUtf8(row.unit), constants), r, 2);
        ++r;
    }
    grid->setColumnStretch(0, 1);

    auto *precision = new QGroupBox(QStringLiteral("Точность"), page);
    precision->setObjectName(QStringLiteral("precisionFrame"));
    decimalPlacesEdit = numberField("decimalPlacesEdit", precision);
    decimalPlacesEdit->setMaximumWidth(50);
    decimalPlacesUpDown = new UpDownControl(precision);
    decimalPlacesUpDown->setObjectName(QStringLiteral("decimalPlacesUpDown"));
    decimalPlacesUpDown->setRange(1, 5);
    decimalPlacesUpDown->setFixedHeight(decimalPlacesEdit->sizeHint().height());
    auto *line = new QHBoxLayout(precision);
    QLabel *caption = label(QStringLiteral("Количество знаков после запятой"), precision);
    caption->setBuddy(decimalPlacesEdit);
    line->addWidget(caption, 1);
    auto *pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(decimalPlacesEdit);
    pair->addWidget(decimalPlacesUpDown);
    line->addLayout(pair);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(constants);
    layout->addWidget(precision);
    layout->addStretch(1);
    return page;
}

void OptionsDialog::showPage(int index)
{
    headingLabel->setText(pageList->item(index)->text());
}

void OptionsDialog::load()
{
    pageList->setCurrentRow(0);

    const CalcValues &calc = m_context.calc;
    aluminiumConductivityEdit->setText(NumberText::format(calc.aluminiumConductivity));
    copperConductivityEdit->setText(NumberText::format(calc.copperConductivity));
    decimalPlacesEdit->setText(NumberText::format(calc.decimalPlaces));
    maxVoltageDropEdit->setText(NumberText::format(calc.maxVoltageDrop));
    syncUpDown();

    const IniDocument ini = m_context.settings().read();
    showTipsCheck->setChecked(Startup::readFlag(ini, Startup::ShowTips));
    rememberPositionCheck->setChecked(Startup::readFlag(ini, Startup::RemPosition));
    showInTrayCheck->setChecked(Startup::readFlag(ini, Startup::ShowInTray));
}

void OptionsDialog::markChanged()
{
    applyButton->setEnabled(true);
}

// The up-down steps from the whole number nearest to what the field holds.
void OptionsDialog::syncUpDown()
{
    const auto v = NumberText::parse(decimalPlacesEdit->text());
    if (!v || !std::isfinite(*v))
        return;
    const QSignalBlocker block(decimalPlacesUpDown);
    decimalPlacesUpDown->setValue(int(qBound(-1e6, std::nearbyint(*v), 1e6)));
}

bool OptionsDialog::apply()
{
    Prompter &prompter = m_prompter;
    for (QLineEdit *field : {aluminiumConductivityEdit, copperConductivityEdit, decimalPlacesEdit, maxVoltageDropEdit}) {
        if (!checkNumericEntry(field, prompter))
            return false;
    }
    CalcValues &calc = m_context.calc;
    calc.aluminiumConductivity = NumberText::toDouble(aluminiumConductivityEdit->text());
    calc.copperConductivity = NumberText::toDouble(copperConductivityEdit->text());
    calc.decimalPlaces = NumberText::toDouble(decimalPlacesEdit->text());
    calc.maxVoltageDrop = NumberText::toDouble(maxVoltageDropEdit->text());

    m_context.settings().update(prompter, [this](IniDocument &ini) {
        ini.setValue(Startup::Section, Startup::ShowTips, Startup::flagText(showTipsCheck->isChecked()));
        ini.setValue(Startup::Section, Startup::RemPosition, Startup::flagText(rememberPositionCheck->isChecked()));
        ini.setValue(Startup::Section, Startup::ShowInTray, Startup::flagText(showInTrayCheck->isChecked()));
    });

    applyButton->setEnabled(false);
    emit applied(showInTrayCheck->isChecked());
    return true;
}
