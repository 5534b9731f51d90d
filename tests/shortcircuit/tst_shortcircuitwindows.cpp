// "Выбор ТП" and "Расчет токов короткого замыкания" driven offscreen, and the
// main window's two commands that open them.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "shell/MainWindow.h"
#include "ui/shortcircuit/ShortCircuitWindow.h"
#include "ui/shortcircuit/SubstationDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

namespace {

CableLine line(const QString &voltage, bool checked, const QString &resistance = QStringLiteral("20"),
               const QString &cores = QString())
{
    CableLine l;
    l.name = QStringLiteral("Линия");
    l.cells[CableLine::Cores] = !cores.isEmpty()                     ? cores
                                : voltage == QLatin1String("220") ? QStringLiteral("3x2,5")
                                                                  : QStringLiteral("4x16");
    l.cells[CableLine::Material] = QStringLiteral("Медь");
    l.cells[CableLine::Length] = QStringLiteral("10");
    l.cells[CableLine::Resistance] = resistance;
    l.cells[CableLine::Voltage] = voltage;
    l.checked = checked;
    return l;
}

struct TpFixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    Project project;
};

QStringList texts(ShortCircuitWindow &w)
{
    return {w.currentEdits[0]->text(), w.currentEdits[1]->text(), w.currentEdits[2]->text(), w.currentEdits[3]->text()};
}

QStringList units(ShortCircuitWindow &w)
{
    return {w.unitLabels[0]->text(), w.unitLabels[1]->text(), w.unitLabels[2]->text(), w.unitLabels[3]->text()};
}

const QString kKiloAmpere = QStringLiteral("к") + QLatin1Char('A');
const QString kInitialUnit = QStringLiteral("кА");

// Runs `action` as soon as a modal window is up, and records its name.
void onModal(QString *name, const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, [name, action] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w)
            return;
        *name = w->objectName();
        action(w);
    });
}

} // namespace

class TstShortCircuitWindows : public QObject
{
    Q_OBJECT
private slots:
    void tpLayoutAndCaptions();
    void tpNewProjectOffers400();
    void tpEnablingRule();
    void tpApplySupplyLine();
    void tpApplyWithoutSupplyLineClearsIt();
    void tpOkChecksSectionFirst();
    void tpSystemDataForTheStandardMethod();
    void tpShowsTheChosenPowerAndGroupAtOnce();
    void tpEscDiscardsEdits();
    void tpCloseBoxAppliesOrStays();
    void tpStoredSupplyLineChecksTheBox();
    void tpMissingFileOpensEmpty();
    void tpUnknownStoredPowerIsKept();
    void kzOpening();
    void kzWorkedExample();
    void kzSinglePhaseEnd();
    void kzEscCloses();
    void mainCalcKZWithoutPowerWarnsThenOpensTP();
    void mainCalcKZOpensKZ();
    void mainRefreshTransformerValues();
};

void TstShortCircuitWindows::tpLayoutAndCaptions()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    QCOMPARE(w.windowTitle(), QStringLiteral("Выбор ТП"));
    QCOMPARE(w.transformerFrame->title(), QStringLiteral("Выбор трансформатора 10(6)/0,4 кВ"));
    QCOMPARE(w.impedanceFrame->title(), QStringLiteral("Данные ТП"));
    QCOMPARE(w.supplyLineCheck->text(), QStringLiteral("Учитывать высокую сторну"));
    QCOMPARE(w.supplyLineFrame->title(), QStringLiteral("Данные питающий линии"));
    QCOMPARE(w.applyButton->text(), QStringLiteral("&Применить"));
    QCOMPARE(w.okButton->text(), QStringLiteral("&OK"));
    QStringList labels;
    for (QLabel *l : w.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Мощность трансформатора ", "кВА", "Активное сопротивление", "Индуктивное сопротивление",
                                "Полное сопротивление однофазному КЗ", "мОм", "Длина   ", "км", "Сечение", "Материал"})
        QVERIFY2(labels.contains(QString::fromUtf8(caption)), caption);
    QCOMPARE(w.supplyMaterialList->count(), 2);
    QCOMPARE(w.supplyMaterialList->itemText(0), QStringLiteral("Алюминий"));
    QCOMPARE(w.supplyMaterialList->itemText(1), QStringLiteral("Медь"));
    QVERIFY(w.resistanceEdit->isReadOnly() && w.reactanceEdit->isReadOnly() && w.faultImpedanceEdit->isReadOnly());
}

void TstShortCircuitWindows::tpNewProjectOffers400()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    QCOMPARE(w.powerList->count(), 10);
    QCOMPARE(w.powerList->currentText(), QStringLiteral("400"));
    QCOMPARE(w.resistanceEdit->text(), QStringLiteral("5,4"));
    QCOMPARE(w.reactanceEdit->text(), QStringLiteral("17,2"));
    QCOMPARE(w.faultImpedanceEdit->text(), QStringLiteral("195"));
    QCOMPARE(w.supplyMaterialList->currentText(), QStringLiteral("Алюминий"));
    QVERIFY(!w.supplyLineCheck->isChecked());
    QVERIFY(w.applyButton->isEnabled());
    // Offered, not yet chosen.
    QCOMPARE(f.project.transformerPower, QStringLiteral("0"));

    w.okButton->click();
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(f.project.transformerPower, QStringLiteral("400"));
    QCOMPARE(f.project.supplyLineUsed, 0);
    QCOMPARE(f.project.Rt, 5.4);
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstShortCircuitWindows::tpEnablingRule()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    const QList<QWidget *> supply{w.supplyLineFrame, w.supplyLengthLabel, w.kilometreLabel, w.supplySectionLabel, w.supplyMaterialLabel,
                                  w.supplyLengthEdit, w.supplySectionEdit, w.supplyMaterialList};
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor window = QApplication::palette().color(QPalette::Base);
    for (QWidget *c : supply)
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
    QCOMPARE(w.supplySectionEdit->palette().color(QPalette::Base), face);

    w.applyButton->click();
    QVERIFY(!w.applyButton->isEnabled());
    w.supplyLineCheck->click();
    for (QWidget *c : supply)
        QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
    QCOMPARE(w.supplyLengthEdit->palette().color(QPalette::Base), window);
    QCOMPARE(w.supplyMaterialList->palette().color(QPalette::Base), window);
    QVERIFY(w.applyButton->isEnabled());

    w.supplyLineCheck->click();
    QVERIFY(!w.supplyLengthEdit->isEnabled());
    QCOMPARE(w.supplyLengthEdit->palette().color(QPalette::Base), face);
}

void TstShortCircuitWindows::tpApplySupplyLine()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    w.supplyLineCheck->click();
    QTest::keyClicks(w.supplyLengthEdit, QStringLiteral("0,5"));
    QTest::keyClicks(w.supplySectionEdit, QStringLiteral("35"));
    w.powerList->setCurrentIndex(w.powerList->findText(QStringLiteral("630")));
    w.applyButton->click();

    QCOMPARE(f.project.transformerPower, QStringLiteral("630"));
    QCOMPARE(f.project.supplyLineUsed, 1);
    QCOMPARE(f.project.supplyLineMaterial, QStringLiteral("Алюминий"));
    QCOMPARE(f.project.supplyLineLength, QStringLiteral("0,5"));
    QCOMPARE(f.project.supplyLineSection, QStringLiteral("35"));
    QCOMPARE(qRound(f.project.Rnet * 1000), 617);
    QCOMPARE(f.project.Rt, 3.0);
    QCOMPARE(w.reactanceEdit->text(), QStringLiteral("12,3"));
    QCOMPARE(w.powerList->currentText(), QStringLiteral("630"));
    QVERIFY(!w.applyButton->isEnabled());

    // Every kind of edit makes the apply button available again.
    QTest::keyClicks(w.supplySectionEdit, QStringLiteral("0"));
    QVERIFY(w.applyButton->isEnabled());
    w.applyButton->click();
    w.supplyMaterialList->setCurrentIndex(1);
    QVERIFY(w.applyButton->isEnabled());
    w.applyButton->click();
    QCOMPARE(f.project.supplyLineMaterial, QStringLiteral("Медь"));
    QCOMPARE(f.project.supplyLineSection, QStringLiteral("350"));
    w.powerList->setCurrentIndex(0);
    QVERIFY(w.applyButton->isEnabled());
}

void TstShortCircuitWindows::tpApplyWithoutSupplyLineClearsIt()
{
    TpFixture f;
    f.project.transformerPower = QStringLiteral("400");
    f.project.supplyLineUsed = 1;
    f.project.supplyLineMaterial = QStringLiteral("Медь");
    f.project.supplyLineLength = QStringLiteral("1");
    f.project.supplyLineSection = QStringLiteral("50");
    f.project.Rnet = 0.5;
    SubstationDialog w(f.project, f.context, f.prompter);
    QVERIFY(w.supplyLineCheck->isChecked());
    w.supplyLineCheck->click();
    w.okButton->click();
    QCOMPARE(f.project.supplyLineUsed, 0);
    QCOMPARE(f.project.Rnet, 0.0);
    QVERIFY(f.project.supplyLineMaterial.isEmpty() && f.project.supplyLineLength.isEmpty() && f.project.supplyLineSection.isEmpty());
}

void TstShortCircuitWindows::tpOkChecksSectionFirst()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    w.show();
    w.supplyLineCheck->click();
    QTest::keyClicks(w.supplyLengthEdit, QStringLiteral("abc"));
    w.okButton->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().text, QStringLiteral("Укажите численное значение!"));
    QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.supplySectionEdit));
    QVERIFY(w.isVisible());
    QCOMPARE(f.project.transformerPower, QStringLiteral("0"));
    QCOMPARE(f.project.supplyLineUsed, 0);

    // The section passes; now the length is examined.
    QTest::keyClicks(w.supplySectionEdit, QStringLiteral("35"));
    w.okButton->click();
    QCOMPARE(f.prompter.messages.size(), 2);
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Вводимое значение должно быть числовым!"));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.supplyLengthEdit));
    QCOMPARE(w.supplyLengthEdit->selectedText(), QStringLiteral("abc"));
    QVERIFY(w.isVisible());
    QCOMPARE(f.project.transformerPower, QStringLiteral("0"));

    w.supplyLengthEdit->setText(QStringLiteral("2"));
    w.okButton->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(f.project.transformerPower, QStringLiteral("400"));
    QCOMPARE(f.project.supplyLineLength, QStringLiteral("2"));
}

void TstShortCircuitWindows::tpSystemDataForTheStandardMethod()
{
    TpFixture f;
    f.project.transformerGroup = QStringLiteral("D");
    f.project.supplyVoltage = QStringLiteral("6");
    SubstationDialog w(f.project, f.context, f.prompter);
    w.show();
    QCOMPARE(w.groupList->currentText(), QStringLiteral("Д/Yн-11"));
    QCOMPARE(w.supplyVoltageList->currentText(), QStringLiteral("6"));
    QCOMPARE(w.systemPowerEdit->text(), QStringLiteral("0"));
    // 0 is an infinite system; what is no power of the system is refused on its field.
    w.systemPowerEdit->setText(QStringLiteral("-5"));
    w.okButton->click();
    QCOMPARE(f.prompter.lastText(), SubstationDialog::systemPowerMessage());
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.systemPowerEdit));
    QVERIFY(w.isVisible());
    w.systemPowerEdit->setText(QStringLiteral("250,5"));
    w.groupList->setCurrentIndex(0);
    w.supplyVoltageList->setCurrentIndex(0);
    w.okButton->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(f.project.transformerGroup, QStringLiteral("Y"));
    QCOMPARE(f.project.systemPower, QStringLiteral("250,5"));
    QCOMPARE(f.project.supplyVoltage, QStringLiteral("10"));
}

void TstShortCircuitWindows::tpShowsTheChosenPowerAndGroupAtOnce()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    QCOMPARE(w.powerList->currentText(), QStringLiteral("400"));
    QCOMPARE(w.faultImpedanceEdit->text(), QStringLiteral("195"));
    // The data of the chosen power show before "Применить"; the project waits for it.
    w.powerList->setCurrentIndex(w.powerList->findText(QStringLiteral("630")));
    QCOMPARE((QStringList{w.resistanceEdit->text(), w.reactanceEdit->text(), w.faultImpedanceEdit->text()}),
             (QStringList{"3", "12,3", "129"}));
    QCOMPARE(f.project.transformerPower, QStringLiteral("0"));
    // Д/Yн-11: Zт(1) = 3·|Z1| = 3·√(3² + 12,3²) = 37,98 mΩ.
    w.groupList->setCurrentIndex(1);
    QCOMPARE(w.faultImpedanceEdit->text(), QStringLiteral("37,98"));
    // The supply line's kind is kept with the project.
    w.supplyLineCheck->click();
    w.supplyLengthEdit->setText(QStringLiteral("5"));
    w.supplySectionEdit->setText(QStringLiteral("35"));
    QVERIFY(w.supplyKindList->isEnabled());
    w.supplyKindList->setCurrentIndex(1);
    w.applyButton->click();
    QCOMPARE(f.project.transformerPower, QStringLiteral("630"));
    QCOMPARE(f.project.transformerGroup, QStringLiteral("D"));
    QCOMPARE(f.project.supplyLineOverhead, 1);
}

void TstShortCircuitWindows::tpEscDiscardsEdits()
{
    TpFixture f;
    f.project.transformerPower = QStringLiteral("630");
    f.project.Rt = 3;
    f.project.Xt = 12.3;
    f.project.Zt = 129;
    f.project.Rnet = 0.25;
    f.project.supplyLineUsed = 1;
    f.project.supplyLineMaterial = QStringLiteral("Алюминий");
    f.project.supplyLineLength = QStringLiteral("0,5");
    f.project.supplyLineSection = QStringLiteral("35");
    const Project before = f.project;

    SubstationDialog w(f.project, f.context, f.prompter);
    w.show();
    w.powerList->setCurrentIndex(w.powerList->findText(QStringLiteral("400")));
    w.supplySectionEdit->setText(QStringLiteral("70"));
    w.supplyLineCheck->click();
    QTest::keyClick(w.supplyMaterialList, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(f.project.transformerPower, before.transformerPower);
    QCOMPARE(f.project.Rt, before.Rt);
    QCOMPARE(f.project.Xt, before.Xt);
    QCOMPARE(f.project.Zt, before.Zt);
    QCOMPARE(f.project.Rnet, before.Rnet);
    QCOMPARE(f.project.supplyLineUsed, 1);
    QCOMPARE(f.project.supplyLineSection, QStringLiteral("35"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstShortCircuitWindows::tpCloseBoxAppliesOrStays()
{
    TpFixture f;
    SubstationDialog w(f.project, f.context, f.prompter);
    w.show();
    w.supplyLineCheck->click();
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Укажите численное значение!"));
    QCOMPARE(f.project.transformerPower, QStringLiteral("0"));

    w.supplyLineCheck->click();
    QVERIFY(w.close());
    QCOMPARE(f.project.transformerPower, QStringLiteral("400"));
    QCOMPARE(f.prompter.messages.size(), 1);
}

void TstShortCircuitWindows::tpStoredSupplyLineChecksTheBox()
{
    TpFixture f;
    f.project.transformerPower = QStringLiteral("1000");
    f.project.supplyLineMaterial = QStringLiteral("Медь");
    f.project.supplyLineSection = QStringLiteral("50");
    SubstationDialog w(f.project, f.context, f.prompter);
    QCOMPARE(w.powerList->currentText(), QStringLiteral("1000"));
    QCOMPARE(w.resistanceEdit->text(), QStringLiteral("1,73"));
    QVERIFY(w.supplyLineCheck->isChecked());
    QVERIFY(w.supplySectionEdit->isEnabled());
    QCOMPARE(w.supplyMaterialList->currentText(), QStringLiteral("Медь"));
    QCOMPARE(w.supplySectionEdit->text(), QStringLiteral("50"));
    QCOMPARE(w.supplyLengthEdit->text(), QString());
}

void TstShortCircuitWindows::tpMissingFileOpensEmpty()
{
    TpFixture f;
    QVERIFY(QFile::remove(f.app.file(QStringLiteral("Transformers.dat"))));
    SubstationDialog w(f.project, f.context, f.prompter);
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.lastText().endsWith(QStringLiteral("Transformers.dat не найден!")));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
    QCOMPARE(w.powerList->count(), 0);
    QCOMPARE(w.resistanceEdit->text(), QStringLiteral("0"));
    w.okButton->click();
    QCOMPARE(f.project.transformerPower, QStringLiteral("0"));
    // Apply reads the file again but does not repeat the message.
    QCOMPARE(f.prompter.messages.size(), 1);
}

void TstShortCircuitWindows::tpUnknownStoredPowerIsKept()
{
    TpFixture f;
    f.project.transformerPower = QStringLiteral("500");
    f.project.Rt = 8;
    SubstationDialog w(f.project, f.context, f.prompter);
    QCOMPARE(w.powerList->currentIndex(), -1);
    QCOMPARE(w.resistanceEdit->text(), QStringLiteral("8"));
    w.applyButton->click();
    QCOMPARE(f.project.transformerPower, QStringLiteral("500"));
    QCOMPARE(f.project.Rt, 8.0);
    // Choosing a listed power replaces it.
    w.powerList->setCurrentIndex(0);
    w.applyButton->click();
    QCOMPARE(f.project.transformerPower, QStringLiteral("25"));
    QCOMPARE(f.project.Rt, 153.6);
}

void TstShortCircuitWindows::kzOpening()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.lines = {line("380", true), line("220", true), line("380", true), line("380", false)};
    CalcValues calc;
    ShortCircuitWindow w(p, calc);
    QCOMPARE(w.windowTitle(), QStringLiteral("Расчет токов короткого замыкания (упрощенный метод)"));
    QCOMPARE(w.stageSpin->value(), 3);
    QCOMPARE(w.stageSpin->maximum(), 5);
    QCOMPARE(w.stageSpin->minimum(), 0);
    QCOMPARE(w.transformerPowerEdit->text(), QStringLiteral("400"));
    QCOMPARE(texts(w), (QStringList{"", "", "", ""}));
    QCOMPARE(units(w), (QStringList{kInitialUnit, kInitialUnit, kInitialUnit, kInitialUnit}));
    QCOMPARE(w.calculateButton->text(), QStringLiteral("&Вычислить"));
    QCOMPARE(w.closeButton->text(), QStringLiteral("&Закрыть"));
}

void TstShortCircuitWindows::kzWorkedExample()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    CalcValues calc;
    ShortCircuitWindow w(p, calc);
    QCOMPARE(w.stageSpin->value(), 1);
    w.calculateButton->click();
    QCOMPARE(texts(w), (QStringList{"4,39", "3,8", "1,91", "6,21"}));
    QCOMPARE(units(w), (QStringList{kKiloAmpere, kKiloAmpere, kKiloAmpere, kKiloAmpere}));

    // The project is read again on every calculation: a long path brings
    // Ik(1) under 0,1 kA, shown in amperes. 220 / (300 / 3 + 2650) = 0,08 kA;
    // a notation without a section has no neutral resistance.
    p.lines = {line("380", true, "2650", QStringLiteral("25"))};
    w.stageSpin->setValue(0);
    w.calculateButton->click();
    QCOMPARE(w.currentEdits[2]->text(), QStringLiteral("80"));
    QCOMPARE(w.unitLabels[2]->text(), QStringLiteral("A"));
}

void TstShortCircuitWindows::kzSinglePhaseEnd()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    p.lines = {line("380", true), line("220", true)};
    CalcValues calc;
    ShortCircuitWindow w(p, calc);
    w.calculateButton->click();
    const QStringList t = texts(w);
    QCOMPARE(t[0], QStringLiteral("-"));
    QCOMPARE(t[1], QStringLiteral("-"));
    QCOMPARE(t[3], QStringLiteral("-"));
    QVERIFY(t[2] != QLatin1String("-") && !t[2].isEmpty());
    QCOMPARE(units(w), (QStringList{kInitialUnit, kInitialUnit, kKiloAmpere, kInitialUnit}));

    // An unchecked three-phase line at the end of the list: all four
    // currents, and the unchecked line adds nothing to the path.
    p.lines.append(line("380", false, "999"));
    w.calculateButton->click();
    const QStringList all = texts(w);
    for (const QString &text : all)
        QVERIFY(text != QLatin1String("-"));
    QCOMPARE(all[2], t[2]);
    QCOMPARE(units(w), (QStringList{kKiloAmpere, kKiloAmpere, kKiloAmpere, kKiloAmpere}));
}

void TstShortCircuitWindows::kzEscCloses()
{
    Project p;
    p.transformerPower = QStringLiteral("400");
    CalcValues calc;
    ShortCircuitWindow w(p, calc);
    w.show();
    QTest::keyClick(w.stageSpin, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TstShortCircuitWindows::mainCalcKZWithoutPowerWarnsThenOpensTP()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    MainWindow::runStartupCheck(context, prompter);
    MainWindow window(context, prompter);
    QString opened;
    onModal(&opened, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    window.action(QStringLiteral("actionShortCircuit"))->trigger();
    QCOMPARE(opened, QStringLiteral("SubstationDialog"));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().text, QStringLiteral("Укажите мощность трансформатора и данные питающей линии!"));
    QCOMPARE(prompter.messages.first().title, QStringLiteral("Кабинор"));
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Exclamation);
    QCOMPARE(window.project().transformerPower, QStringLiteral("0"));

    // "&Выбрать..." opens the same dialog; OK keeps the offered power.
    onModal(&opened, [](QWidget *w) { static_cast<SubstationDialog *>(w)->okButton->click(); });
    window.action(QStringLiteral("actionChooseSubstation"))->trigger();
    QCOMPARE(opened, QStringLiteral("SubstationDialog"));
    QCOMPARE(window.project().transformerPower, QStringLiteral("400"));
}

void TstShortCircuitWindows::mainCalcKZOpensKZ()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    MainWindow::runStartupCheck(context, prompter);
    MainWindow window(context, prompter);
    window.project().transformerPower = QStringLiteral("400");
    window.refreshTransformerValues();
    QString opened;
    QStringList shown;
    onModal(&opened, [&shown](QWidget *w) {
        auto *kz = static_cast<ShortCircuitWindow *>(w);
        kz->calculateButton->click();
        shown = texts(*kz);
        kz->closeButton->click();
    });
    window.action(QStringLiteral("actionShortCircuit"))->trigger();
    QCOMPARE(opened, QStringLiteral("ShortCircuitWindow"));
    QVERIFY(prompter.messages.isEmpty());
    // 400 kVA: Rt 5,4, Xt 17,2, Zt 195, one stage of 15 mOhm.
    QCOMPARE(shown, (QStringList{"8,22", "7,12", "2,75", "11,63"}));
}

void TstShortCircuitWindows::mainRefreshTransformerValues()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    MainWindow::runStartupCheck(context, prompter);
    MainWindow window(context, prompter);
    Project &p = window.project();
    p.transformerPower = QStringLiteral("630");
    p.supplyLineMaterial = QStringLiteral("Алюминий");
    p.supplyLineLength = QStringLiteral("0,5");
    p.supplyLineSection = QStringLiteral("35");
    window.refreshTransformerValues();
    QCOMPARE(p.Rt, 3.0);
    QCOMPARE(p.Zt, 129.0);
    QCOMPARE(qRound(p.Rnet * 1000), 617);
    QVERIFY(prompter.messages.isEmpty());

    app.writeFile(QStringLiteral("Transformers.dat"), "630,3,12.3\n");
    window.refreshTransformerValues();
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Critical);
    QVERIFY(prompter.lastText().contains(QStringLiteral("поврежден")));
}

QTEST_MAIN(TstShortCircuitWindows)
#include "tst_shortcircuitwindows.moc"
