// The load dialog and the shields window driven offscreen through their controls.
#include "TestSupport.h"
#include "calc/loads/LoadCalc.h"
#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "ui/lines/CableLineDialog.h"
#include "ui/loads/LoadDialog.h"
#include "ui/loads/LoadListModel.h"
#include "ui/loads/ShieldsWindow.h"
#include "shell/MainWindow.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>
#include <QtTest>

namespace {

Load makeLoad(const QString &name, const QString &current, const QString &phase = QStringLiteral("A"),
              const QString &s = QStringLiteral("1"))
{
    Load l;
    l.name = name;
    const bool three = phase == QLatin1String("ABC");
    l.cells = QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), s, s, current, phase,
                          three ? QStringLiteral("3") : QStringLiteral("1"), QStringLiteral("1")};
    return l;
}

struct Env {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    Project project;
};

void fill(LoadDialog &d, const QString &name, const QString &power, const QString &cosf, const QString &ks)
{
    d.nameEdit->setText(name);
    d.powerEdit->setText(power);
    d.powerFactorEdit->setText(cosf);
    d.demandFactorEdit->setText(ks);
}

QStringList column(const LoadListModel &m, int c)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.index(r, c).data().toString();
    return out;
}

QStringList displays(const ShieldsWindow &w)
{
    return {w.installedPowerEdit->text(), w.designPowerEdit->text(), w.apparentPowerEdit->text(), w.currentEdit->text(), w.powerFactorEdit->text(),
            w.phaseAPowerEdit->text(),      w.phaseACurrentEdit->text(),      w.phaseBPowerEdit->text(),   w.phaseBCurrentEdit->text(),   w.phaseCPowerEdit->text(),
            w.phaseCCurrentEdit->text()};
}

// Runs `action` on the load dialog as soon as the shields window opens it.
void onLoadDialog(std::function<void(LoadDialog &)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<LoadDialog *>(w); d && d->isVisible()) {
                action(*d);
                return;
            }
        QFAIL("no load dialog");
    });
}

// A row as the load dialog writes it: Pу at cos φ 1 and Кс 1, so S = Pу and I = Pу / 0,22.
Load loadOf(const QString &name, const QString &power, const QString &phase = QStringLiteral("A"))
{
    LoadCalc::LoadInput in;
    in.name = name;
    in.power = power;
    in.cosf = in.ks = QStringLiteral("1");
    in.threePhase = phase == QLatin1String("ABC");
    in.phase = phase;
    return LoadCalc::computeLoad(in, 2);
}

} // namespace

class tst_LoadWindows : public QObject
{
    Q_OBJECT
private slots:
    // LoadDialog
    void dialogFreshState();
    void namedCoefficientLocksAndOtherUnlocks();
    void coefficientFileWithoutRecords();
    void phaseCountSwitchesEfficiency();
    void powerExpression();
    void addModeStaysOpenAndAddsTwice();
    void failedCheckFocusesField();
    void changeModeReplacesInPlace();
    void escapeLeavesList();
    // ShieldsWindow
    void windowFreshState();
    void addShieldProposalAndCancel();
    void deleteSecondOfThree();
    void deleteFirstOfTwo();
    void renameShield();
    void loadsThroughToolbarAndTotals();
    void rowColoursAndIcons();
    void removeAndChangeLoad();
    void recomputeShieldFromInputs();
    void sortByTextAndToggle();
    void copyToClipboard();
    void rightClickSelectsRow();
    void closeBoxKeepsAndCloseButtonSavesWidths();
    void badStoredWidthFallsBack();
    void mainWindowOwnsWindowAndLineDialogSeesLoads();
};

// ---------------------------------------------------------------- LoadDialog

void tst_LoadWindows::dialogFreshState()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    QCOMPARE(d.windowTitle(), QStringLiteral("Добавить нагрузку"));
    QCOMPARE(d.confirmButton->text(), QStringLiteral("&Добавить"));
    QCOMPARE(d.calculateButton->toolTip(), QStringLiteral("Вычислить"));
    QVERIFY(!d.changeMode);
    QCOMPARE(d.demandFactorList->itemText(0), QStringLiteral("Другое"));
    QCOMPARE(d.demandFactorList->itemText(1), QStringLiteral("Металлорежущие станки мелкосерийного производства"));
    QCOMPARE(d.powerFactorList->itemText(0), QStringLiteral("Другое"));
    QVERIFY(d.powerFactorList->count() > 1);
    QCOMPARE(d.demandFactorList->currentIndex(), 0);
    QVERIFY(d.demandFactorEdit->text().isEmpty() && !d.demandFactorEdit->isReadOnly());
    QVERIFY(d.powerFactorEdit->text().isEmpty() && !d.powerFactorEdit->isReadOnly());
    QCOMPARE(d.demandFactorEdit->maxLength(), 4);
    QCOMPARE(d.efficiencyEdit->maxLength(), 4);
    QCOMPARE(d.phaseCountList->currentText(), QStringLiteral("Однофазный"));
    QCOMPARE(d.phaseList->currentText(), QStringLiteral("A"));
    QVERIFY(d.phaseList->isEnabled());
    QVERIFY(d.efficiencyEdit->isHidden() && d.efficiencyLabel->isHidden());
    QCOMPARE(d.efficiencyEdit->text(), QStringLiteral("1"));
}

void tst_LoadWindows::namedCoefficientLocksAndOtherUnlocks()
{
    Env e;
    e.app.writeFile(QStringLiteral("PowerFactors.dat"),
                    cp1251(QStringLiteral("\"Печь\",\"0,80\"\r\n\"Кран\",\"много\"\r\n\"Печь\",\"0,3\"\r\n")));
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    QCOMPARE(d.powerFactorList->count(), 4); // "Другое" and every record, repeated names too

    d.demandFactorList->setCurrentIndex(d.demandFactorList->findText(QStringLiteral("Насосы, компрессоры")));
    QCOMPARE(d.demandFactorEdit->text(), QStringLiteral("0,75"));
    QVERIFY(d.demandFactorEdit->isReadOnly());
    d.demandFactorList->setCurrentIndex(0);
    QCOMPARE(d.demandFactorEdit->text(), QString());
    QVERIFY(!d.demandFactorEdit->isReadOnly());

    d.powerFactorList->setCurrentIndex(1);
    QCOMPARE(d.powerFactorEdit->text(), QStringLiteral("0,8")); // the stored 0,80 as a number text
    QVERIFY(d.powerFactorEdit->isReadOnly());
    d.powerFactorList->setCurrentIndex(2); // a value that is no number: as a name without a value
    QCOMPARE(d.powerFactorEdit->text(), QString());
    QVERIFY(!d.powerFactorEdit->isReadOnly());
    d.powerFactorList->setCurrentIndex(3); // the second "Печь": the first record counts
    QCOMPARE(d.powerFactorEdit->text(), QStringLiteral("0,8"));
}

void tst_LoadWindows::coefficientFileWithoutRecords()
{
    Env e;
    QFile::remove(e.app.file(QStringLiteral("DemandFactors.dat")));
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    QCOMPARE(d.demandFactorList->count(), 1);
    d.demandFactorEdit->setText(QStringLiteral("0,5"));
    d.demandFactorList->setCurrentIndex(0);
    QCOMPARE(d.demandFactorEdit->text(), QStringLiteral("0,5")); // nothing to read: the field stays
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::phaseCountSwitchesEfficiency()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    d.phaseCountList->setCurrentIndex(1);
    QVERIFY(!d.efficiencyEdit->isHidden() && !d.efficiencyLabel->isHidden());
    QVERIFY(!d.phaseList->isEnabled());
    QCOMPARE(d.efficiencyEdit->text(), QStringLiteral("1"));
    d.efficiencyEdit->setText(QStringLiteral("0,9"));
    d.phaseCountList->setCurrentIndex(0);
    QCOMPARE(d.efficiencyEdit->text(), QStringLiteral("1"));
    QVERIFY(d.efficiencyEdit->isHidden());
    d.phaseCountList->setCurrentIndex(1);
    QCOMPARE(d.efficiencyEdit->text(), QStringLiteral("1"));
}

void tst_LoadWindows::powerExpression()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.powerEdit->setText(QStringLiteral("2,5*4+Sqr(4)"));
    QTest::mouseClick(d.calculateButton, Qt::LeftButton);
    QCOMPARE(d.powerEdit->text(), QStringLiteral("12"));

    d.powerEdit->setText(QStringLiteral("10/3"));
    d.nameEdit->setFocus();
    QTest::keyClick(d.nameEdit, Qt::Key_Return); // Enter anywhere evaluates
    QCOMPARE(d.powerEdit->text(), QStringLiteral("3,33333333333333"));
    QCOMPARE(model.rowCount(), 0); // Enter does not confirm

    d.powerEdit->setText(QStringLiteral("1/0"));
    QTest::mouseClick(d.calculateButton, Qt::LeftButton);
    QCOMPARE(e.prompter.messages.size(), 1);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Синтаксическая ошибка!"));
    QCOMPARE(d.powerEdit->text(), QStringLiteral("1/0"));
    QCOMPARE(d.powerEdit->selectedText(), QStringLiteral("1/0"));
    QVERIFY(d.powerEdit->hasFocus());
}

void tst_LoadWindows::addModeStaysOpenAndAddsTwice()
{
    Env e;
    e.context.calc.decimalPlaces = 2;
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    QSignalSpy changed(&model, &QAbstractItemModel::rowsInserted);
    d.show();
    fill(d, QStringLiteral("Насос"), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
    d.phaseList->setCurrentIndex(1);
    QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    QVERIFY(d.isVisible());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.load(0), model.load(1));
    QCOMPARE(model.load(0).cells,
             QStringList({"10", "0,8", "0,7", "7", "8,75", "39,77", "B", "1", "1"}));
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::failedCheckFocusesField()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));

    fill(d, QString(), QStringLiteral("abc"), QString(), QString());
    QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Укажите наименование нагрузки!"));
    QVERIFY(d.nameEdit->hasFocus());

    fill(d, QStringLiteral("Печь"), QStringLiteral("10"), QStringLiteral("0,9"), QStringLiteral("1,01"));
    QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Значение коэффициента спроса должно быть меньше единицы!"));
    QVERIFY(d.demandFactorEdit->hasFocus());
    QCOMPARE(d.demandFactorEdit->selectedText(), QStringLiteral("1,01"));

    d.demandFactorEdit->setText(QStringLiteral("1"));
    d.phaseCountList->setCurrentIndex(1);
    d.efficiencyEdit->setText(QString());
    QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Укажите численное значение!"));
    QVERIFY(d.efficiencyEdit->hasFocus());
    QCOMPARE(e.prompter.messages.size(), 3);
    QCOMPARE(model.rowCount(), 0);
}

void tst_LoadWindows::changeModeReplacesInPlace()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("Первая", "1"), makeLoad("Вторая", "2", "C"), makeLoad("Третья", "3")};
    e.project.shields[0].loads[1].cells[1] = QStringLiteral("0,9"); // cos φ
    e.project.shields[0].loads[1].cells[2] = QStringLiteral("0,5"); // Кс
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    d.loadForChange(1);
    QVERIFY(d.changeMode);
    QCOMPARE(d.windowTitle(), QStringLiteral("Изменить нагрузку"));
    QCOMPARE(d.confirmButton->text(), QStringLiteral("Изменить"));
    QCOMPARE(d.nameEdit->text(), QStringLiteral("Вторая"));
    QCOMPARE(d.powerFactorEdit->text(), QStringLiteral("0,9"));
    QCOMPARE(d.demandFactorEdit->text(), QStringLiteral("0,5"));
    QVERIFY(!d.powerFactorEdit->isReadOnly() && !d.demandFactorEdit->isReadOnly());
    QCOMPARE(d.phaseList->currentText(), QStringLiteral("C"));
    QCOMPARE(d.phaseCountList->currentIndex(), 0);

    d.nameEdit->setText(QStringLiteral("Новая"));
    d.phaseCountList->setCurrentIndex(1);
    d.efficiencyEdit->setText(QStringLiteral("0,9"));
    d.show();
    QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.isVisible());
    QCOMPARE(column(model, 0), QStringList({"Первая", "Новая", "Третья"}));
    QCOMPARE(model.load(1).column(7), QStringLiteral("ABC"));
    QCOMPARE(model.load(1).column(9), QStringLiteral("0,9"));

    // A three-phase row opens as three-phase with its efficiency shown.
    LoadDialog again(e.context, e.prompter, model);
    again.loadForChange(1);
    QCOMPARE(again.phaseCountList->currentIndex(), 1);
    QCOMPARE(again.efficiencyEdit->text(), QStringLiteral("0,9"));
    QVERIFY(!again.efficiencyEdit->isHidden());
}

void tst_LoadWindows::escapeLeavesList()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("Первая", "1")};
    LoadListModel model(e.project.shields, 0);
    LoadDialog d(e.context, e.prompter, model);
    d.loadForChange(0);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.nameEdit->setText(QStringLiteral("Другая"));
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(model.load(0).name, QStringLiteral("Первая"));
}

// ---------------------------------------------------------------- ShieldsWindow

void tst_LoadWindows::windowFreshState()
{
    Env e;
    ShieldsWindow w(e.context, e.prompter, e.project);
    QCOMPARE(w.windowTitle(), QStringLiteral("Расчет нагрузок"));
    QCOMPARE(w.shieldTabs->count(), 1);
    QCOMPARE(w.shieldTabs->tabText(0), QStringLiteral("ЩО1"));
    QCOMPARE(w.currentModel()->rowCount(), 0);
    QCOMPARE(displays(w), QStringList(11, QStringLiteral("0")));
    QVERIFY(!w.removeShieldButton->isEnabled() && !w.actionDeleteShield->isEnabled());
    QVERIFY(!w.actionChangeLoad->isEnabled() && !w.actionRemoveLoad->isEnabled() && !w.actionCopyList->isEnabled());
    QVERIFY(!w.toolChangeLoad->isEnabled() && !w.toolRemoveLoad->isEnabled() && w.toolAddLoad->isEnabled());
    QCOMPARE(w.toolAddLoad->toolTip(), QStringLiteral("Добавить"));
    QCOMPARE(w.actionAddLoad->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    QCOMPARE(w.actionChangeLoad->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    QCOMPARE(w.actionCopyList->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(w.currentModel()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Ток"));
    QCOMPARE(w.minimumWidth(), twipsToPixelsX(12500, &w));
    QCOMPARE(w.minimumHeight(), twipsToPixelsY(6000, &w));
    // Default widths in twips.
    QCOMPARE(w.currentList()->columnWidth(0), twipsToPixelsX(1950, &w));
    QCOMPARE(w.currentList()->columnWidth(6), twipsToPixelsX(800, &w));
}

void tst_LoadWindows::addShieldProposalAndCancel()
{
    Env e;
    ShieldsWindow w(e.context, e.prompter, e.project);
    e.prompter.inputs = {QString()}; // cancel
    QTest::mouseClick(w.addShieldButton, Qt::LeftButton);
    QCOMPARE(e.prompter.prompts.last(), QStringLiteral("Введите обозначение нового щита:|Добавить щит|ЩО2"));
    QCOMPARE(w.shieldTabs->count(), 1);

    e.prompter.inputs = {QStringLiteral("ЩО2")};
    QTest::mouseClick(w.addShieldButton, Qt::LeftButton);
    QCOMPARE(w.shieldTabs->count(), 2);
    QCOMPARE(e.project.shields.size(), 2);
    QCOMPARE(w.shieldTabs->currentIndex(), 1);
    QCOMPARE(w.currentShieldIndex, 1);
    QCOMPARE(w.currentModel()->rowCount(), 0);
    QVERIFY(w.removeShieldButton->isEnabled() && w.actionDeleteShield->isEnabled());

    // The proposal follows the number of shields.
    e.prompter.inputs = {QStringLiteral("Любой")};
    w.actionAddShield->trigger();
    QCOMPARE(e.prompter.prompts.last(), QStringLiteral("Введите обозначение нового щита:|Добавить щит|ЩО3"));
    QCOMPARE(e.project.shields.last().name, QStringLiteral("Любой"));
}

void tst_LoadWindows::deleteSecondOfThree()
{
    Env e;
    e.project.shields = {Shield{"ЩО1", {makeLoad("a1", "1")}}, Shield{"ЩО2", {makeLoad("b1", "2")}},
                         Shield{"ЩО3", {makeLoad("c1", "3"), makeLoad("c2", "4")}}};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.shieldTabs->setCurrentIndex(1);
    QCOMPARE(w.currentShieldIndex, 1);
    QTest::mouseClick(w.removeShieldButton, Qt::LeftButton);
    QVERIFY(e.prompter.messages.isEmpty()); // no question
    QCOMPARE(w.shieldTabs->count(), 2);
    QCOMPARE(w.shieldTabs->tabText(0), QStringLiteral("ЩО1"));
    QCOMPARE(w.shieldTabs->tabText(1), QStringLiteral("ЩО3"));
    QCOMPARE(w.currentShieldIndex, 0);
    QCOMPARE(column(*qobject_cast<LoadListModel *>(w.loadList(1)->model()), 0), QStringList({"c1", "c2"}));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"a1"}));
    QVERIFY(w.removeShieldButton->isEnabled());

    // The moved list still edits its own shield.
    w.shieldTabs->setCurrentIndex(1);
    w.selectLoad(0);
    w.actionRemoveLoad->trigger();
    QCOMPARE(e.project.shields.at(1).loads.size(), 1);
    QCOMPARE(e.project.shields.at(1).loads.first().name, QStringLiteral("c2"));
}

void tst_LoadWindows::deleteFirstOfTwo()
{
    Env e;
    e.project.shields = {Shield{"ЩО1", {makeLoad("a1", "1")}}, Shield{"ЩС", {loadOf("b1", "8,75", "B")}}};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.actionDeleteShield->trigger();
    QCOMPARE(w.shieldTabs->count(), 1);
    QCOMPARE(w.shieldTabs->tabText(0), QStringLiteral("ЩС"));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"b1"}));
    QCOMPARE(w.phaseBPowerEdit->text(), QStringLiteral("8,75"));
    QVERIFY(!w.removeShieldButton->isEnabled() && !w.actionDeleteShield->isEnabled());

    w.deleteShield(); // the last shield stays
    QCOMPARE(e.project.shields.size(), 1);
}

void tst_LoadWindows::renameShield()
{
    Env e;
    ShieldsWindow w(e.context, e.prompter, e.project);
    e.prompter.inputs = {QString(), QStringLiteral("ЩР-1")};
    QTest::mouseClick(w.renameShieldButton, Qt::LeftButton);
    QCOMPARE(w.shieldTabs->tabText(0), QStringLiteral("ЩО1"));
    QTest::mouseClick(w.renameShieldButton, Qt::LeftButton);
    QCOMPARE(e.prompter.prompts.last(), QStringLiteral("Укажите новое имя для щита:|Переименование щита|ЩО1"));
    QCOMPARE(w.shieldTabs->tabText(0), QStringLiteral("ЩР-1"));
    QCOMPARE(e.project.shields.first().name, QStringLiteral("ЩР-1"));
}

void tst_LoadWindows::loadsThroughToolbarAndTotals()
{
    Env e;
    e.context.calc.decimalPlaces = 2;
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // One load on each phase and a three-phase one, entered in one stay of the dialog.
    onLoadDialog([](LoadDialog &d) {
        const struct {
            const char *name;
            int phase;
        } singles[] = {{"Освещение", 0}, {"Насос", 1}, {"Розетки", 2}};
        for (const auto &s : singles) {
            fill(d, QString::fromUtf8(s.name), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
            d.phaseList->setCurrentIndex(s.phase);
            QTest::mouseClick(d.confirmButton, Qt::LeftButton);
        }
        fill(d, QStringLiteral("Двигатель"), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
        d.phaseCountList->setCurrentIndex(1);
        d.efficiencyEdit->setText(QStringLiteral("0,9"));
        QTest::mouseClick(d.confirmButton, Qt::LeftButton);
        d.reject();
    });
    w.runToolbarKey(QStringLiteral("add"));

    QCOMPARE(column(*w.currentModel(), 7), QStringList({"A", "B", "C", "ABC"}));
    // Each phase: 8,75 / 0,22 + 8,75 / 3 / 0,9 / 0,22 = 39,77 + 14,73 = 54,5 A;
    // the shield's current is its largest phase current, not ΣS / 0,22 = 159,09 A.
    QCOMPARE(displays(w), QStringList({"40", "28", "35", "54,5", "0,8", "11,667", "54,5", "11,667", "54,5",
                                       "11,667", "54,5"}));
    QVERIFY(w.toolChangeLoad->isEnabled() && w.actionCopyList->isEnabled());
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::rowColoursAndIcons()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "1", "A"), makeLoad("b", "1", "B"), makeLoad("c", "1", "C"),
                                  makeLoad("abc", "1", "ABC"), makeLoad("x", "1", "b")};
    ShieldsWindow w(e.context, e.prompter, e.project);
    const LoadListModel &m = *w.currentModel();
    const QColor expected[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 192, 0), QColor(128, 0, 128)};
    for (int r = 0; r < 4; ++r) {
        for (int c : {0, 5, 9})
            QCOMPARE(m.index(r, c).data(Qt::ForegroundRole).value<QColor>(), expected[r]);
        QVERIFY(!m.index(r, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    }
    // Another phase text: no colour, no icon, no phase share.
    QVERIFY(!m.index(4, 0).data(Qt::ForegroundRole).isValid());
    QVERIFY(!m.index(4, 0).data(Qt::DecorationRole).isValid());
    QCOMPARE(w.apparentPowerEdit->text(), QStringLiteral("5"));
}

void tst_LoadWindows::removeAndChangeLoad()
{
    Env e;
    e.project.shields[0].loads = {loadOf("a", "0,22"), loadOf("b", "0,44", "B")};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // 1 A on A, 2 A on B. By hand: IN = √(1² + 2² + 0² − 1·2 − 2·0 − 0·1) = √3 = 1,732;
    // Iср = 1, (2 − 1) / 1 = 100 %, above the 15 % limit: highlighted.
    QCOMPARE(w.neutralCurrentEdit->text(), QStringLiteral("1,73"));
    QCOMPARE(w.imbalanceEdit->text(), QStringLiteral("100"));
    QVERIFY(w.imbalanceEdit->property("uneven").toBool());
    QVERIFY(w.imbalanceEdit->palette().color(QPalette::Base) != w.neutralCurrentEdit->palette().color(QPalette::Base));

    // A double-click on a load opens it for change.
    QTreeView *list = w.currentList();
    const QPoint onB = list->visualRect(w.currentModel()->index(1, 2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onB);
    onLoadDialog([](LoadDialog &d) {
        QVERIFY(d.changeMode);
        QCOMPARE(d.nameEdit->text(), QStringLiteral("b"));
        d.reject();
    });
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, onB);
    QCOMPARE(w.selectedLoad(), 1);

    w.selectLoad(0);
    onLoadDialog([](LoadDialog &d) {
        QVERIFY(d.changeMode);
        d.powerEdit->setText(QStringLiteral("5"));
        QTest::mouseClick(d.confirmButton, Qt::LeftButton);
    });
    w.runToolbarKey(QStringLiteral("EDIT"));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"a", "b"}));
    QCOMPARE(w.currentModel()->load(0).column(1), QStringLiteral("5"));
    QCOMPARE(w.installedPowerEdit->text(), QStringLiteral("5,44"));

    w.selectLoad(1);
    w.runToolbarKey(QStringLiteral("Remove"));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"a"}));
    w.selectLoad(0);
    w.actionRemoveLoad->trigger();
    QCOMPARE(w.currentModel()->rowCount(), 0);
    QVERIFY(!w.toolRemoveLoad->isEnabled() && !w.actionChangeLoad->isEnabled() && !w.actionCopyList->isEnabled());
    QCOMPARE(displays(w), QStringList(11, QStringLiteral("0")));
    QCOMPARE(w.imbalanceEdit->text(), QStringLiteral("0"));
    QVERIFY(!w.imbalanceEdit->property("uneven").toBool());
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::recomputeShieldFromInputs()
{
    Env e;
    // A row an earlier version wrote from its rounded Pр: S 1,29 and I 5,86
    // for 1,3 kW at Кс 0,95 and cos φ 0,95.
    Load old = makeLoad("Старая", "5,86");
    old.cells = QStringList{"1,3", "0,95", "0,95", "1,23", "1,29", "5,86", "A", "1", "1"};
    Load bad = makeLoad("Испорченная", "7");
    bad.cells[Load::PowerFactor] = QStringLiteral("2");
    e.project.shields[0].loads = {old, bad};
    QUndoStack history;
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.setHistory(&history);
    // The row keeps its texts; the totals take the inputs: 1,3 / 0,22 = 5,91 A.
    QCOMPARE(w.currentModel()->load(0).cell(Load::Current), QStringLiteral("5,86"));
    w.actionRecomputeShield->trigger();
    QCOMPARE(w.currentModel()->load(0).cells, (QStringList{"1,3", "0,95", "0,95", "1,23", "1,3", "5,91", "A", "1", "1"}));
    QCOMPARE(w.currentModel()->load(1), bad); // inputs the dialog refuses: kept
    QCOMPARE(history.count(), 1);
    history.undo();
    QCOMPARE(e.project.shields[0].loads.at(0), old);
}

void tst_LoadWindows::sortByTextAndToggle()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "20"), makeLoad("b", "100"), makeLoad("c", "3"),
                                  makeLoad("d", "20,5", "B")};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString before = w.currentEdit->text();
    QHeaderView *header = w.currentList()->header();
    auto clickHeader = [&](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    clickHeader(6);
    QCOMPARE(column(*w.currentModel(), 6), QStringList({"100", "20", "20,5", "3"}));
    clickHeader(6);
    QCOMPARE(column(*w.currentModel(), 6), QStringList({"3", "20,5", "20", "100"}));
    // Another column keeps the direction.
    clickHeader(0);
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"d", "c", "b", "a"}));
    // The order is the shield's own: saving walks it.
    QCOMPARE(e.project.shields.first().loads.first().name, QStringLiteral("d"));
    QCOMPARE(w.currentEdit->text(), before);
}

void tst_LoadWindows::copyToClipboard()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "1"), makeLoad("b", "2", "ABC")};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.actionCopyList->trigger();
    const QString text = QGuiApplication::clipboard()->text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QVERIFY(!text.endsWith(QStringLiteral("\r\n")));
    for (const QString &line : lines)
        QCOMPARE(line.split(QLatin1Char('\t')).size(), 10);
    QCOMPARE(lines.at(0).split(QLatin1Char('\t')).first(), QStringLiteral("Нагрузка"));
    QCOMPARE(lines.at(2), QStringLiteral("b\t1\t1\t1\t1\t1\t2\tABC\t3\t1"));

    // The menu's shortcuts work from the list: Ctrl+C copies the whole list, Del removes the row.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QGuiApplication::clipboard()->clear();
    w.selectLoad(0);
    w.currentList()->setFocus();
    QTest::keyClick(w.currentList(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QTest::keyClick(w.currentList(), Qt::Key_Delete);
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"b"}));
}

void tst_LoadWindows::rightClickSelectsRow()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "1"), makeLoad("b", "2")};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTreeView *view = w.currentList();
    w.selectLoad(0);

    const QPoint onSecond = view->visualRect(view->model()->index(1, 0)).center();
    emit view->customContextMenuRequested(onSecond);
    QCOMPARE(w.selectedLoad(), 1);
    QTRY_VERIFY(w.loadMenu->isVisible());
    w.loadMenu->hide();

    const QRect last = view->visualRect(view->model()->index(1, 0));
    emit view->customContextMenuRequested(QPoint(last.center().x(), last.bottom() + 40));
    QCOMPARE(w.selectedLoad(), 1);
    QTRY_VERIFY(w.loadMenu->isVisible());
    w.loadMenu->hide();

    emit w.shieldTabs->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(w.shieldMenu->isVisible());
    w.shieldMenu->hide();
}

void tst_LoadWindows::closeBoxKeepsAndCloseButtonSavesWidths()
{
    Env e;
    e.project.shields = {Shield{"ЩО1", {makeLoad("a", "1")}}, Shield{"ЩО2", {}}};
    ShieldsWindow w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.currentList()->setColumnWidth(0, 300);

    w.close(); // the close box
    QVERIFY(!w.isVisible());
    QCOMPARE(iniValue(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", "none"), QStringLiteral("none"));
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(iniValue(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", "none"), QStringLiteral("none"));

    w.show();
    QCOMPARE(w.shieldTabs->count(), 2);
    QCOMPARE(w.currentModel()->rowCount(), 1);
    QTest::mouseClick(w.closeButton, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(iniValue(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", ""),
             QString::number(qRound(pixelsToTwipsX(300, &w))));
    QCOMPARE(iniValue(e.app.settingsPath(), "LoadWindow", "ColumnWidth10", ""),
             QString::number(qRound(pixelsToTwipsX(twipsToPixelsX(700, &w), &w))));

    // A new window reads them back.
    ShieldsWindow next(e.context, e.prompter, e.project);
    QCOMPARE(next.currentList()->columnWidth(0), 300);
}

void tst_LoadWindows::badStoredWidthFallsBack()
{
    Env e;
    setIniValue(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", "широко");
    setIniValue(e.app.settingsPath(), "LoadWindow", "ColumnWidth2", "3000");
    ShieldsWindow w(e.context, e.prompter, e.project);
    QCOMPARE(w.currentList()->columnWidth(0), twipsToPixelsX(1950, &w));
    QCOMPARE(w.currentList()->columnWidth(1), twipsToPixelsX(3000, &w));

    // A shield added later takes the current widths of the first list.
    w.currentList()->setColumnWidth(2, 123);
    e.prompter.inputs = {QStringLiteral("ЩО2")};
    w.addShield();
    QCOMPARE(w.currentList()->columnWidth(2), 123);
}

void tst_LoadWindows::mainWindowOwnsWindowAndLineDialogSeesLoads()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    MainWindow main(context, prompter);
    main.show();

    // The window opens modally and hides on closing; the loads stay in the project.
    QTimer::singleShot(0, [&main] {
        auto *w = qobject_cast<ShieldsWindow *>(main.m_shieldsWindow.data());
        QVERIFY(w && w->isVisible() && w->isModal());
        onLoadDialog([](LoadDialog &d) {
            fill(d, QStringLiteral("Насос"), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
            d.phaseList->setCurrentIndex(1);
            QTest::mouseClick(d.confirmButton, Qt::LeftButton);
            d.reject();
            QTimer::singleShot(0, [] {
                for (QWidget *top : QApplication::topLevelWidgets())
                    if (auto *calc = qobject_cast<ShieldsWindow *>(top); calc && calc->isVisible())
                        calc->close();
            });
        });
        w->addLoad();
    });
    main.showShieldsWindow();
    QPointer<QWidget> first = main.m_shieldsWindow;
    QVERIFY(first && !first->isVisible());
    QCOMPARE(main.project().shields.first().loads.size(), 1);

    // The line dialog offers the shield and the load as load currents.
    {
        CableLineDialog dialog(*main.lineModel(), main.project(), context, prompter, false);
        QStringList offered;
        for (int i = 0; i < dialog.loadCurrentList->count(); ++i)
            offered << dialog.loadCurrentList->itemText(i);
        // The load at its full power: 10 / 0,8 / 0,22 = 56,82 A; the shield at its design current.
        QVERIFY2(offered.contains(QStringLiteral("Насос - 56,82А")), qPrintable(offered.join(" | ")));
        QVERIFY2(offered.contains(QStringLiteral("ЩО1 - 39,77А")), qPrintable(offered.join(" | ")));
    }

    // Opening again shows the same window; a new project discards it.
    QTimer::singleShot(0, [&main] { main.m_shieldsWindow->close(); });
    main.showShieldsWindow();
    QCOMPARE(main.m_shieldsWindow.data(), first.data());
    main.discardShieldsWindow();
    QTRY_VERIFY(first.isNull());
}

QTEST_MAIN(tst_LoadWindows)
#include "tst_loadwindows.moc"
