#include "app/frmOptions.h"

#include "app/IniStore.h"
#include "app/NumberText.h"
#include "app/StartupSettings.h"
#include "app/UiHelpers.h"
#include "app/frmMain.h"
#include "lighting/UpDownControl.h"

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

frmOptions::frmOptions(frmMain &main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lstOpt = new QListWidget(this);
    lstOpt->setObjectName(QStringLiteral("lstOpt"));
    lstOpt->addItems({QStringLiteral("Общие"), QStringLiteral("Расчет")});
    lstOpt->setFixedWidth(twipsToPixelsX(1500, this));

    // The header strip above the pages names the page shown.
    auto *head = new QFrame(this);
    head->setObjectName(QStringLiteral("fraHead"));
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
    lblHead = label(QString(), head);
    lblHead->setObjectName(QStringLiteral("lblHead"));
    QFont headFont = lblHead->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.2);
    lblHead->setFont(headFont);
    headLayout->addWidget(lblHead);

    auto *pages = new QStackedWidget(this);
    picOpt[0] = buildGeneralPage();
    picOpt[1] = buildCalculationPage();
    for (int i = 0; i < 2; ++i) {
        picOpt[i]->setObjectName(QStringLiteral("picOpt%1").arg(i));
        pages->addWidget(picOpt[i]);
    }

    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("О&тмена"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdApply = new QPushButton(QStringLiteral("&Применить"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    // Pages stand 100 twips right of the list and 100 twips below the header.
    const int gap = twipsToPixelsX(100, this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(gap);
    grid->setVerticalSpacing(twipsToPixelsY(100, this));
    grid->addWidget(lstOpt, 0, 0, 2, 1);
    grid->addWidget(head, 0, 1);
    grid->addWidget(pages, 1, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid, 1);
    outer->addLayout(buttons);

    connect(lstOpt, &QListWidget::currentRowChanged, this, [this, pages](int row) {
        if (row < 0)
            return;
        pages->setCurrentIndex(row);
        showPage(row);
    });
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        // A refused number keeps the dialog open on the field it names.
        if (apply())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::apply);

    load();

    for (QCheckBox *c : {chkShowInTray, chkPosition, chkShowTips})
        connect(c, &QCheckBox::clicked, this, &frmOptions::markChanged);
    for (QLineEdit *e : {txtGCu, txtGAl, txtdUmax, txtTolerance})
        connect(e, &QLineEdit::textChanged, this, &frmOptions::markChanged);
    connect(txtTolerance, &QLineEdit::textEdited, this, &frmOptions::syncUpDown);
    connect(UpDown1, &UpDownControl::valueChanged, this,
            [this](int value) { txtTolerance->setText(QString::number(value)); });
    cmdApply->setEnabled(false);
}

QWidget *frmOptions::buildGeneralPage()
{
    auto *page = new QWidget(this);
    auto *frame = new QGroupBox(QStringLiteral("Запуск"), page);
    frame->setObjectName(QStringLiteral("fraStartup"));
    chkShowInTray = new QCheckBox(QStringLiteral("Сворачивать в трей"), frame);
    chkShowInTray->setObjectName(QStringLiteral("chkShowInTray"));
    chkPosition = new QCheckBox(QStringLiteral("Помнить размеры окна"), frame);
    chkPosition->setObjectName(QStringLiteral("chkPosition"));
    chkShowTips = new QCheckBox(QStringLiteral("Показывать совет при запуске"), frame);
    chkShowTips->setObjectName(QStringLiteral("chkShowTips"));
    auto *box = new QVBoxLayout(frame);
    box->addWidget(chkShowInTray);
    box->addWidget(chkPosition);
    box->addWidget(chkShowTips);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);
    return page;
}

QWidget *frmOptions::buildCalculationPage()
{
    auto *page = new QWidget(this);
    auto *constants = new QGroupBox(QStringLiteral("Константы"), page);
    constants->setObjectName(QStringLiteral("fraConstants"));
    txtGCu = numberField("txtGCu", constants);
    txtGAl = numberField("txtGAl", constants);
    txtdUmax = numberField("txtdUmax", constants);
    auto *grid = new QGridLayout(constants);
    const struct {
        const char *caption;
        QLineEdit *field;
        const char *unit;
    } rows[] = {
        {"Удельная проводимость меди", txtGCu, "м/(Ом x мм2) "},
        {"Удельная проводимость алюминия", txtGAl, "м/(Ом x мм2) "},
        {"Cуммарные потери напряжения", txtdUmax, "%"},
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
    precision->setObjectName(QStringLiteral("fraPrecision"));
    txtTolerance = numberField("txtTolerance", precision);
    txtTolerance->setMaximumWidth(50);
    UpDown1 = new UpDownControl(precision);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(1, 5);
    UpDown1->setFixedHeight(txtTolerance->sizeHint().height());
    auto *line = new QHBoxLayout(precision);
    QLabel *caption = label(QStringLiteral("Колличество знаков после запятой"), precision);
    caption->setBuddy(txtTolerance);
    line->addWidget(caption, 1);
    auto *pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(txtTolerance);
    pair->addWidget(UpDown1);
    line->addLayout(pair);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(constants);
    layout->addWidget(precision);
    layout->addStretch(1);
    return page;
}

void frmOptions::showPage(int index)
{
    lblHead->setText(lstOpt->item(index)->text());
}

void frmOptions::load()
{
    lstOpt->setCurrentRow(0);

    const CalcValues &calc = m_main.calc();
    txtGAl->setText(NumberText::format(calc.gAl));
    txtGCu->setText(NumberText::format(calc.gCu));
    txtTolerance->setText(NumberText::format(calc.dTol));
    txtdUmax->setText(NumberText::format(calc.dUmax));
    syncUpDown();

    IniDocument ini;
    ini.load(m_main.context().settingsPath());
    chkShowTips->setChecked(Startup::readFlag(ini, Startup::ShowTips));
    chkPosition->setChecked(Startup::readFlag(ini, Startup::RemPosition));
    chkShowInTray->setChecked(Startup::readFlag(ini, Startup::ShowInTray));
}

void frmOptions::markChanged()
{
    cmdApply->setEnabled(true);
}

// The up-down steps from the whole number nearest to what the field holds.
void frmOptions::syncUpDown()
{
    const auto v = NumberText::parse(txtTolerance->text());
    if (!v || !std::isfinite(*v))
        return;
    const QSignalBlocker block(UpDown1);
    UpDown1->setValue(int(qBound(-1e6, std::nearbyint(*v), 1e6)));
}

bool frmOptions::apply()
{
    Prompter &prompter = m_main.prompter();
    for (QLineEdit *field : {txtGAl, txtGCu, txtTolerance, txtdUmax}) {
        if (!CheckNumericEntry(field, prompter))
            return false;
    }
    CalcValues &calc = m_main.calc();
    calc.gAl = NumberText::toDouble(txtGAl->text());
    calc.gCu = NumberText::toDouble(txtGCu->text());
    calc.dTol = NumberText::toDouble(txtTolerance->text());
    calc.dUmax = NumberText::toDouble(txtdUmax->text());

    const QString settings = m_main.context().settingsPath();
    IniDocument ini;
    ini.load(settings);
    ini.setValue(Startup::Section, Startup::ShowTips, Startup::flagText(chkShowTips->isChecked()));
    ini.setValue(Startup::Section, Startup::RemPosition, Startup::flagText(chkPosition->isChecked()));
    ini.setValue(Startup::Section, Startup::ShowInTray, Startup::flagText(chkShowInTray->isChecked()));
    ini.save(settings);

    if (chkShowInTray->isChecked())
        m_main.AddTrayIcon();
    else
        m_main.RemoveTrayIcon();

    m_main.NetworkSummary();
    cmdApply->setEnabled(false);
    return true;
}
