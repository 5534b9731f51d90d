#include "shortcircuit/frmTP.h"

#include "app/NumberText.h"
#include "app/UiHelpers.h"
#include "lines/CableLine.h"
#include "shortcircuit/Transformer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *displayBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000,00")) + 12);
    return box;
}

QLabel *label(const QString &text, QWidget *parent, const QString &name = QString())
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

} // namespace

frmTP::frmTP(Project &project, const AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmTP"));
    setWindowTitle(QStringLiteral("Выбор ТП"));
    setModal(true);
    buildLayout();

    // Opening: a project without a transformer is offered 400 kVA, but sSTP
    // stays "0" until the user applies.
    const float power = Transformer::powerValue(m_project.sSTP);
    SelectTransformer(power != 0 ? power : 400.0f, true);

    cmbMaterialHS->addItem(LineCalc::aluminium());
    cmbMaterialHS->addItem(LineCalc::copper());
    cmbMaterialHS->setCurrentIndex(0);

    showImpedances();

    bool supplyLine = m_project.hs != 0;
    if (!m_project.sNMat.isEmpty()) {
        const int i = cmbMaterialHS->findText(m_project.sNMat);
        if (i >= 0)
            cmbMaterialHS->setCurrentIndex(i);
        supplyLine = true;
    }
    if (!m_project.sNLen.isEmpty()) {
        txtLenghtHS->setText(m_project.sNLen);
        supplyLine = true;
    }
    if (!m_project.sNSec.isEmpty()) {
        txtSectHS->setText(m_project.sNSec);
        supplyLine = true;
    }
    chkHSide->setChecked(supplyLine);
    applyEnablingRule();

    // Change tracking: any edit may be applied.
    auto changed = [this] { cmdApp->setEnabled(true); };
    connect(cmbStran, &QComboBox::currentIndexChanged, this, changed);
    connect(cmbMaterialHS, &QComboBox::currentIndexChanged, this, changed);
    connect(txtLenghtHS, &QLineEdit::textEdited, this, changed);
    connect(txtSectHS, &QLineEdit::textEdited, this, changed);
    connect(chkHSide, &QCheckBox::clicked, this, [this] { applyEnablingRule(); });
    connect(cmdApp, &QPushButton::clicked, this, &frmTP::apply);
    connect(cmdOk, &QPushButton::clicked, this, &frmTP::confirm);
}

void frmTP::buildLayout()
{
    fraTransformer = new QGroupBox(QStringLiteral("Выбор трансформатора 10(6)/0,4 кВ"), this);
    fraTransformer->setObjectName(QStringLiteral("fraTransformer"));
    cmbStran = new QComboBox(fraTransformer);
    cmbStran->setObjectName(QStringLiteral("cmbStran"));
    cmbStran->setMinimumWidth(cmbStran->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 40);
    auto *powerRow = new QHBoxLayout(fraTransformer);
    powerRow->addWidget(label(QStringLiteral("Мощность трансформатора "), fraTransformer));
    powerRow->addStretch(1);
    powerRow->addWidget(cmbStran);
    powerRow->addWidget(label(QStringLiteral("кВА"), fraTransformer));

    fraTP = new QGroupBox(QStringLiteral("Данные ТП"), this);
    fraTP->setObjectName(QStringLiteral("fraTP"));
    txtRt = displayBox(fraTP, QStringLiteral("txtRt"));
    txtXt = displayBox(fraTP, QStringLiteral("txtXt"));
    txtZt = displayBox(fraTP, QStringLiteral("txtZt"));
    auto *tpGrid = new QGridLayout(fraTP);
    const QString captions[] = {QStringLiteral("Активное сопротивление"), QStringLiteral("Индуктивное сопротивление"),
                                QStringLiteral("Полное сопротивление однофазному КЗ")};
    QLineEdit *boxes[] = {txtRt, txtXt, txtZt};
    for (int r = 0; r < 3; ++r) {
        tpGrid->addWidget(label(captions[r], fraTP), r, 0);
        tpGrid->addWidget(boxes[r], r, 1);
        tpGrid->addWidget(label(QStringLiteral("мОм"), fraTP), r, 2);
    }
    tpGrid->setColumnStretch(0, 1);

    chkHSide = new QCheckBox(QStringLiteral("Учитывать высокую сторну"), this);
    chkHSide->setObjectName(QStringLiteral("chkHSide"));

    fraHS = new QGroupBox(QStringLiteral("Данные питающий линии"), this);
    fraHS->setObjectName(QStringLiteral("fraHS"));
    lblLength = label(QStringLiteral("Длина   "), fraHS, QStringLiteral("lblLength"));
    lblKm = label(QStringLiteral("км"), fraHS, QStringLiteral("lblKm"));
    lblSection = label(QStringLiteral("Сечение"), fraHS, QStringLiteral("lblSection"));
    lblMaterial = label(QStringLiteral("Материал"), fraHS, QStringLiteral("lblMaterial"));
    txtLenghtHS = new QLineEdit(fraHS);
    txtLenghtHS->setObjectName(QStringLiteral("txtLenghtHS"));
    txtSectHS = new QLineEdit(fraHS);
    txtSectHS->setObjectName(QStringLiteral("txtSectHS"));
    cmbMaterialHS = new QComboBox(fraHS);
    cmbMaterialHS->setObjectName(QStringLiteral("cmbMaterialHS"));
    const int fieldWidth = txtRt->width();
    txtLenghtHS->setFixedWidth(fieldWidth);
    txtSectHS->setFixedWidth(fieldWidth);
    auto *hsGrid = new QGridLayout(fraHS);
    hsGrid->addWidget(lblLength, 0, 0);
    hsGrid->addWidget(txtLenghtHS, 0, 1);
    hsGrid->addWidget(lblKm, 0, 2);
    hsGrid->addWidget(lblSection, 1, 0);
    hsGrid->addWidget(txtSectHS, 1, 1);
    hsGrid->addWidget(lblMaterial, 2, 0);
    hsGrid->addWidget(cmbMaterialHS, 2, 1, 1, 2);
    hsGrid->setColumnStretch(3, 1);

    cmdApp = new QPushButton(QStringLiteral("&Применить"), this);
    cmdApp->setObjectName(QStringLiteral("cmdApp"));
    cmdApp->setAutoDefault(false);
    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdApp);
    buttons->addWidget(cmdOk);

    auto *main = new QVBoxLayout(this);
    main->addWidget(fraTransformer);
    main->addWidget(fraTP);
    main->addWidget(chkHSide);
    main->addWidget(fraHS);
    main->addStretch(1);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void frmTP::SelectTransformer(float power, bool reportFileProblem)
{
    const TransformerTable table = Transformer::ReadTransformerTable(m_context.appDir());
    if (reportFileProblem)
        Transformer::ReportTableProblem(table, m_prompter);
    cmbStran->clear();
    cmbStran->addItems(table.powerTexts());
    cmbStran->setCurrentIndex(Transformer::SelectTransformer(table, power, m_project));
}

void frmTP::showImpedances()
{
    txtRt->setText(NumberText::format(m_project.Rt));
    txtXt->setText(NumberText::format(m_project.Xt));
    txtZt->setText(NumberText::format(m_project.Zt));
}

void frmTP::applyEnablingRule()
{
    const bool on = chkHSide->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{fraHS, lblLength, lblKm, lblSection, lblMaterial, cmbMaterialHS,
                                                       txtSectHS, txtLenghtHS})
        w->setEnabled(on);
    // Switched-off fields take the button face, as the frame around them.
    const QColor background = on ? QApplication::palette().color(QPalette::Base)
                                 : QApplication::palette().color(QPalette::Button);
    for (QWidget *w : std::initializer_list<QWidget *>{cmbMaterialHS, txtSectHS, txtLenghtHS}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, background);
        w->setPalette(p);
    }
    cmdApp->setEnabled(true);
}

void frmTP::apply()
{
    const bool on = chkHSide->isChecked();
    m_project.Rnet = on ? Transformer::CalcRnet(txtLenghtHS->text(), cmbMaterialHS->currentText(), txtSectHS->text(),
                                                m_context.calc)
                        : 0.0;
    // Without a selected power (the stored one is not in the file) the
    // project keeps the power it has.
    float power = Transformer::powerValue(m_project.sSTP);
    if (cmbStran->currentIndex() >= 0) {
        m_project.sSTP = cmbStran->currentText().trimmed();
        power = float(NumberText::toDouble(m_project.sSTP));
    }
    SelectTransformer(power, false);
    showImpedances();
    m_project.hs = on ? 1 : 0;
    if (on) {
        m_project.sNMat = cmbMaterialHS->currentText();
        m_project.sNLen = txtLenghtHS->text();
        m_project.sNSec = txtSectHS->text();
    } else {
        m_project.sNMat.clear();
        m_project.sNLen.clear();
        m_project.sNSec.clear();
    }
    cmdApp->setEnabled(false);
}

bool frmTP::supplyLineAccepted()
{
    if (!chkHSide->isChecked())
        return true;
    return CheckNumericEntry(txtSectHS, m_prompter) && CheckNumericEntry(txtLenghtHS, m_prompter);
}

void frmTP::confirm()
{
    if (!supplyLineAccepted())
        return;
    apply();
    // accept() does not pass through reject(), so nothing is applied twice.
    accept();
}

void frmTP::reject()
{
    if (!supplyLineAccepted())
        return;
    apply();
    QDialog::reject();
}

void frmTP::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        QDialog::reject();
        return;
    }
    QDialog::keyPressEvent(event);
}
