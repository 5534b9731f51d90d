#include "ui/loads/ShieldTotalsPanel.h"

#include "base/NumberText.h"
#include "calc/loads/LoadCalc.h"
#include "ui/widgets/Icons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit *display(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(90);
    return e;
}

} // namespace

ShieldTotalsPanel::ShieldTotalsPanel(QWidget *parent) : QWidget(parent)
{
    // "Нагрузка на фазы": one row per phase, power and current.
    auto *phases = new QGroupBox(QStringLiteral("Нагрузка на фазы"), this);
    auto *pg = new QGridLayout(phases);
    pg->addWidget(new QLabel(QStringLiteral("Полн. мощн, кВА"), phases), 0, 1, Qt::AlignCenter);
    pg->addWidget(new QLabel(QStringLiteral("Ток, А"), phases), 0, 2, Qt::AlignCenter);
    phaseAPowerEdit = display(phases, "phaseAPowerEdit");
    phaseACurrentEdit = display(phases, "phaseACurrentEdit");
    phaseBPowerEdit = display(phases, "phaseBPowerEdit");
    phaseBCurrentEdit = display(phases, "phaseBCurrentEdit");
    phaseCPowerEdit = display(phases, "phaseCPowerEdit");
    phaseCCurrentEdit = display(phases, "phaseCCurrentEdit");
    const struct {
        const char *caption;
        QChar phase;
        QLineEdit *s;
        QLineEdit *i;
    } rows[] = {{"Фаза А", QLatin1Char('A'), phaseAPowerEdit, phaseACurrentEdit},
                {"Фаза B", QLatin1Char('B'), phaseBPowerEdit, phaseBCurrentEdit},
                {"Фаза C", QLatin1Char('C'), phaseCPowerEdit, phaseCCurrentEdit}};
    int r = 1;
    for (const auto &row : rows) {
        auto *caption = new QLabel(QString::fromUtf8(row.caption), phases);
        QPalette p = caption->palette();
        p.setColor(QPalette::WindowText, Icons::phaseColor(row.phase));
        caption->setPalette(p);
        pg->addWidget(caption, r, 0);
        pg->addWidget(row.s, r, 1);
        pg->addWidget(row.i, r++, 2);
    }
    neutralCurrentEdit = display(phases, "neutralCurrentEdit");
    imbalanceEdit = display(phases, "imbalanceEdit");
    imbalanceEdit->setToolTip(QStringLiteral("(Iмакс - Iср) / Iср; выше ")
                              + NumberText::format(LoadCalc::ImbalanceLimit)
                              + QStringLiteral(" % выделена"));
    pg->addWidget(new QLabel(QStringLiteral("Ток нулевого проводника, А"), phases), r, 0, 1, 2);
    pg->addWidget(neutralCurrentEdit, r++, 2);
    pg->addWidget(new QLabel(QStringLiteral("Неравномерность, %"), phases), r, 0, 1, 2);
    pg->addWidget(imbalanceEdit, r++, 2);

    // "Общее": the totals of the shield.
    auto *total = new QGroupBox(QStringLiteral("Общее"), this);
    auto *tg = new QGridLayout(total);
    installedPowerEdit = display(total, "installedPowerEdit");
    designPowerEdit = display(total, "designPowerEdit");
    apparentPowerEdit = display(total, "apparentPowerEdit");
    currentEdit = display(total, "currentEdit");
    powerFactorEdit = display(total, "powerFactorEdit");
    const struct {
        const char *caption;
        QLineEdit *box;
        const char *unit;
    } totals[] = {{"Мощность установленная", installedPowerEdit, "кВт"},
                  {"Мощность расчетная", designPowerEdit, "кВт"},
                  {"Полная мощность", apparentPowerEdit, "кВА"},
                  {"Ток", currentEdit, "А"},
                  {"Коэффициент мощности", powerFactorEdit, ""}};
    r = 0;
    for (const auto &t : totals) {
        tg->addWidget(new QLabel(QString::fromUtf8(t.caption), total), r, 0);
        tg->addWidget(t.box, r, 1);
        tg->addWidget(new QLabel(QString::fromUtf8(t.unit), total), r++, 2);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(phases);
    layout->addWidget(total);
}

void ShieldTotalsPanel::showTotals(const LoadCalc::ShieldTotals &t)
{
    installedPowerEdit->setText(t.installedPower);
    designPowerEdit->setText(t.designPower);
    apparentPowerEdit->setText(t.apparentPower);
    currentEdit->setText(t.current);
    powerFactorEdit->setText(t.powerFactor);
    QLineEdit *const powers[3] = {phaseAPowerEdit, phaseBPowerEdit, phaseCPowerEdit};
    QLineEdit *const currents[3] = {phaseACurrentEdit, phaseBCurrentEdit, phaseCCurrentEdit};
    for (int k = 0; k < 3; ++k) {
        powers[k]->setText(t.phasePower[k]);
        currents[k]->setText(t.phaseCurrent[k]);
    }
    neutralCurrentEdit->setText(t.neutralCurrent);
    imbalanceEdit->setText(t.imbalance);
    const bool uneven = LoadCalc::isImbalanced(t);
    if (uneven) {
        QPalette p = imbalanceEdit->palette();
        p.setColor(QPalette::Base, QColor(255, 215, 215));
        p.setColor(QPalette::Text, QColor(170, 0, 0));
        imbalanceEdit->setPalette(p);
    } else {
        imbalanceEdit->setPalette(QPalette());
    }
    imbalanceEdit->setProperty("uneven", uneven);
}
