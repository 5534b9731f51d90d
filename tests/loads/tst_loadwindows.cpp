// The load dialog and the shields window driven offscreen through their controls.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/IniStore.h"
#include "app/Project.h"
#include "app/Prompter.h"
#include "app/UiHelpers.h"
#include "app/frmMain.h"
#include "lines/frmAddR.h"
#include "loads/LoadListModel.h"
#include "loads/frmAddPower.h"
#include "loads/frmCalcI.h"

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

void fill(frmAddPower &d, const QString &name, const QString &power, const QString &cosf, const QString &ks)
{
    d.txtName->setText(name);
    d.txtPust->setText(power);
    d.txtCosf->setText(cosf);
    d.txtKs->setText(ks);
}

QStringList column(const LoadListModel &m, int c)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.index(r, c).data().toString();
    return out;
}

QStringList displays(const frmCalcI &w)
{
    return {w.txtPrasSum->text(), w.txtPustSum->text(), w.txtSSum->text(), w.txtISum->text(), w.txtCosf->text(),
            w.txtSA->text(),      w.txtIA->text(),      w.txtSB->text(),   w.txtIB->text(),   w.txtSC->text(),
            w.txtIC->text()};
}

// Runs `action` on the load dialog as soon as the shields window opens it.
void onLoadDialog(std::function<void(frmAddPower &)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<frmAddPower *>(w); d && d->isVisible()) {
                action(*d);
                return;
            }
        QFAIL("no load dialog");
    });
}

} // namespace

class tst_LoadWindows : public QObject
{
    Q_OBJECT
private slots:
    // frmAddPower
    void dialogFreshState();
    void namedCoefficientLocksAndOtherUnlocks();
    void coefficientFileWithoutRecords();
    void phaseCountSwitchesEfficiency();
    void powerExpression();
    void addModeStaysOpenAndAddsTwice();
    void failedCheckFocusesField();
    void changeModeReplacesInPlace();
    void escapeLeavesList();
    // frmCalcI
    void windowFreshState();
    void addShieldProposalAndCancel();
    void deleteSecondOfThree();
    void deleteFirstOfTwo();
    void renameShield();
    void loadsThroughToolbarAndTotals();
    void rowColoursAndIcons();
    void removeAndChangeLoad();
    void sortByTextAndToggle();
    void copyToClipboard();
    void rightClickSelectsRow();
    void closeBoxKeepsAndCloseButtonSavesWidths();
    void badStoredWidthFallsBack();
    void mainWindowOwnsWindowAndLineDialogSeesLoads();
};

// ---------------------------------------------------------------- frmAddPower

void tst_LoadWindows::dialogFreshState()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    QCOMPARE(d.windowTitle(), QStringLiteral("Добавить нагрузку"));
    QCOMPARE(d.cmdAddP->text(), QStringLiteral("&Добавить"));
    QCOMPARE(d.cmdCalc->toolTip(), QStringLiteral("Вычислить"));
    QVERIFY(!d.ChangeFlag);
    QCOMPARE(d.cmbKS->itemText(0), QStringLiteral("Другое"));
    QCOMPARE(d.cmbKS->itemText(1), QStringLiteral("Металлорежущие станки мелкосерийного производства"));
    QCOMPARE(d.cmbCosf->itemText(0), QStringLiteral("Другое"));
    QVERIFY(d.cmbCosf->count() > 1);
    QCOMPARE(d.cmbKS->currentIndex(), 0);
    QVERIFY(d.txtKs->text().isEmpty() && !d.txtKs->isReadOnly());
    QVERIFY(d.txtCosf->text().isEmpty() && !d.txtCosf->isReadOnly());
    QCOMPARE(d.txtKs->maxLength(), 4);
    QCOMPARE(d.txtKPD->maxLength(), 4);
    QCOMPARE(d.cmbNFaz->currentText(), QStringLiteral("Однофазный"));
    QCOMPARE(d.cmbFaza->currentText(), QStringLiteral("A"));
    QVERIFY(d.cmbFaza->isEnabled());
    QVERIFY(d.txtKPD->isHidden() && d.lblKPD->isHidden());
    QCOMPARE(d.txtKPD->text(), QStringLiteral("1"));
}

void tst_LoadWindows::namedCoefficientLocksAndOtherUnlocks()
{
    Env e;
    e.app.writeFile(QStringLiteral("PowerFactors.dat"),
                    cp1251(QStringLiteral("\"Печь\",\"0,80\"\r\n\"Кран\",\"много\"\r\n\"Печь\",\"0,3\"\r\n")));
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    QCOMPARE(d.cmbCosf->count(), 4); // "Другое" and every record, repeated names too

    d.cmbKS->setCurrentIndex(d.cmbKS->findText(QStringLiteral("Насосы, компрессоры")));
    QCOMPARE(d.txtKs->text(), QStringLiteral("0,75"));
    QVERIFY(d.txtKs->isReadOnly());
    d.cmbKS->setCurrentIndex(0);
    QCOMPARE(d.txtKs->text(), QString());
    QVERIFY(!d.txtKs->isReadOnly());

    d.cmbCosf->setCurrentIndex(1);
    QCOMPARE(d.txtCosf->text(), QStringLiteral("0,8")); // the stored 0,80 as a number text
    QVERIFY(d.txtCosf->isReadOnly());
    d.cmbCosf->setCurrentIndex(2); // a value that is no number: as a name without a value
    QCOMPARE(d.txtCosf->text(), QString());
    QVERIFY(!d.txtCosf->isReadOnly());
    d.cmbCosf->setCurrentIndex(3); // the second "Печь": the first record counts
    QCOMPARE(d.txtCosf->text(), QStringLiteral("0,8"));
}

void tst_LoadWindows::coefficientFileWithoutRecords()
{
    Env e;
    QFile::remove(e.app.file(QStringLiteral("DemandFactors.dat")));
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    QCOMPARE(d.cmbKS->count(), 1);
    d.txtKs->setText(QStringLiteral("0,5"));
    d.cmbKS->setCurrentIndex(0);
    QCOMPARE(d.txtKs->text(), QStringLiteral("0,5")); // nothing to read: the field stays
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::phaseCountSwitchesEfficiency()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    d.cmbNFaz->setCurrentIndex(1);
    QVERIFY(!d.txtKPD->isHidden() && !d.lblKPD->isHidden());
    QVERIFY(!d.cmbFaza->isEnabled());
    QCOMPARE(d.txtKPD->text(), QStringLiteral("1"));
    d.txtKPD->setText(QStringLiteral("0,9"));
    d.cmbNFaz->setCurrentIndex(0);
    QCOMPARE(d.txtKPD->text(), QStringLiteral("1"));
    QVERIFY(d.txtKPD->isHidden());
    d.cmbNFaz->setCurrentIndex(1);
    QCOMPARE(d.txtKPD->text(), QStringLiteral("1"));
}

void tst_LoadWindows::powerExpression()
{
    Env e;
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.txtPust->setText(QStringLiteral("2,5*4+Sqr(4)"));
    QTest::mouseClick(d.cmdCalc, Qt::LeftButton);
    QCOMPARE(d.txtPust->text(), QStringLiteral("12"));

    d.txtPust->setText(QStringLiteral("10/3"));
    d.txtName->setFocus();
    QTest::keyClick(d.txtName, Qt::Key_Return); // Enter anywhere evaluates
    QCOMPARE(d.txtPust->text(), QStringLiteral("3,33333333333333"));
    QCOMPARE(model.rowCount(), 0); // Enter does not confirm

    d.txtPust->setText(QStringLiteral("1/0"));
    QTest::mouseClick(d.cmdCalc, Qt::LeftButton);
    QCOMPARE(e.prompter.messages.size(), 1);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Синтаксическая ошибка!"));
    QCOMPARE(d.txtPust->text(), QStringLiteral("1/0"));
    QCOMPARE(d.txtPust->selectedText(), QStringLiteral("1/0"));
    QVERIFY(d.txtPust->hasFocus());
}

void tst_LoadWindows::addModeStaysOpenAndAddsTwice()
{
    Env e;
    e.context.calc.dTol = 2;
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    QSignalSpy changed(&d, &frmAddPower::loadsChanged);
    d.show();
    fill(d, QStringLiteral("Насос"), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
    d.cmbFaza->setCurrentIndex(1);
    QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
    QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
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
    frmAddPower d(e.context, e.prompter, model);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));

    fill(d, QString(), QStringLiteral("abc"), QString(), QString());
    QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Укажите наименование нагрузки!"));
    QVERIFY(d.txtName->hasFocus());

    fill(d, QStringLiteral("Печь"), QStringLiteral("10"), QStringLiteral("0,9"), QStringLiteral("1,01"));
    QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Значение коэффициента спроса должно быть меньше единицы!"));
    QVERIFY(d.txtKs->hasFocus());
    QCOMPARE(d.txtKs->selectedText(), QStringLiteral("1,01"));

    d.txtKs->setText(QStringLiteral("1"));
    d.cmbNFaz->setCurrentIndex(1);
    d.txtKPD->setText(QString());
    QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
    QCOMPARE(e.prompter.lastText(), QStringLiteral("Укажите численное значение!"));
    QVERIFY(d.txtKPD->hasFocus());
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
    frmAddPower d(e.context, e.prompter, model);
    d.loadForChange(1);
    QVERIFY(d.ChangeFlag);
    QCOMPARE(d.windowTitle(), QStringLiteral("Изменить нагрузку"));
    QCOMPARE(d.cmdAddP->text(), QStringLiteral("Изменить"));
    QCOMPARE(d.txtName->text(), QStringLiteral("Вторая"));
    QCOMPARE(d.txtCosf->text(), QStringLiteral("0,9"));
    QCOMPARE(d.txtKs->text(), QStringLiteral("0,5"));
    QVERIFY(!d.txtCosf->isReadOnly() && !d.txtKs->isReadOnly());
    QCOMPARE(d.cmbFaza->currentText(), QStringLiteral("C"));
    QCOMPARE(d.cmbNFaz->currentIndex(), 0);

    d.txtName->setText(QStringLiteral("Новая"));
    d.cmbNFaz->setCurrentIndex(1);
    d.txtKPD->setText(QStringLiteral("0,9"));
    d.show();
    QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.isVisible());
    QCOMPARE(column(model, 0), QStringList({"Первая", "Новая", "Третья"}));
    QCOMPARE(model.load(1).column(7), QStringLiteral("ABC"));
    QCOMPARE(model.load(1).column(9), QStringLiteral("0,9"));

    // A three-phase row opens as three-phase with its efficiency shown.
    frmAddPower again(e.context, e.prompter, model);
    again.loadForChange(1);
    QCOMPARE(again.cmbNFaz->currentIndex(), 1);
    QCOMPARE(again.txtKPD->text(), QStringLiteral("0,9"));
    QVERIFY(!again.txtKPD->isHidden());
}

void tst_LoadWindows::escapeLeavesList()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("Первая", "1")};
    LoadListModel model(e.project.shields, 0);
    frmAddPower d(e.context, e.prompter, model);
    d.loadForChange(0);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.txtName->setText(QStringLiteral("Другая"));
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(model.load(0).name, QStringLiteral("Первая"));
}

// ---------------------------------------------------------------- frmCalcI

void tst_LoadWindows::windowFreshState()
{
    Env e;
    frmCalcI w(e.context, e.prompter, e.project);
    QCOMPARE(w.windowTitle(), QStringLiteral("Расчет нагрузок"));
    QCOMPARE(w.tabShields->count(), 1);
    QCOMPARE(w.tabShields->tabText(0), QStringLiteral("ЩО1"));
    QCOMPARE(w.currentModel()->rowCount(), 0);
    QCOMPARE(displays(w), QStringList(11, QStringLiteral("0")));
    QVERIFY(!w.cmdRemoveShield->isEnabled() && !w.mnuDelShield->isEnabled());
    QVERIFY(!w.mnuEditP->isEnabled() && !w.mnuRemoveP->isEnabled() && !w.mnuSendToClip->isEnabled());
    QVERIFY(!w.tbEdit->isEnabled() && !w.tbRemove->isEnabled() && w.tbAdd->isEnabled());
    QCOMPARE(w.tbAdd->toolTip(), QStringLiteral("Добавить"));
    QCOMPARE(w.mnuAddP->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    QCOMPARE(w.mnuEditP->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    QCOMPARE(w.mnuSendToClip->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
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
    frmCalcI w(e.context, e.prompter, e.project);
    e.prompter.inputs = {QString()}; // cancel
    QTest::mouseClick(w.cmdAddShield, Qt::LeftButton);
    QCOMPARE(e.prompter.prompts.last(), QStringLiteral("Введите обозначение нового щита:|Добавить щит|ЩО2"));
    QCOMPARE(w.tabShields->count(), 1);

    e.prompter.inputs = {QStringLiteral("ЩО2")};
    QTest::mouseClick(w.cmdAddShield, Qt::LeftButton);
    QCOMPARE(w.tabShields->count(), 2);
    QCOMPARE(e.project.shields.size(), 2);
    QCOMPARE(w.tabShields->currentIndex(), 1);
    QCOMPARE(w.iNs, 1);
    QCOMPARE(w.currentModel()->rowCount(), 0);
    QVERIFY(w.cmdRemoveShield->isEnabled() && w.mnuDelShield->isEnabled());

    // The proposal follows the number of shields.
    e.prompter.inputs = {QStringLiteral("Любой")};
    w.mnuAddShield->trigger();
    QCOMPARE(e.prompter.prompts.last(), QStringLiteral("Введите обозначение нового щита:|Добавить щит|ЩО3"));
    QCOMPARE(e.project.shields.last().name, QStringLiteral("Любой"));
}

void tst_LoadWindows::deleteSecondOfThree()
{
    Env e;
    e.project.shields = {Shield{"ЩО1", {makeLoad("a1", "1")}}, Shield{"ЩО2", {makeLoad("b1", "2")}},
                         Shield{"ЩО3", {makeLoad("c1", "3"), makeLoad("c2", "4")}}};
    frmCalcI w(e.context, e.prompter, e.project);
    w.tabShields->setCurrentIndex(1);
    QCOMPARE(w.iNs, 1);
    QTest::mouseClick(w.cmdRemoveShield, Qt::LeftButton);
    QVERIFY(e.prompter.messages.isEmpty()); // no question
    QCOMPARE(w.tabShields->count(), 2);
    QCOMPARE(w.tabShields->tabText(0), QStringLiteral("ЩО1"));
    QCOMPARE(w.tabShields->tabText(1), QStringLiteral("ЩО3"));
    QCOMPARE(w.iNs, 0);
    QCOMPARE(column(*qobject_cast<LoadListModel *>(w.lvPower(1)->model()), 0), QStringList({"c1", "c2"}));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"a1"}));
    QVERIFY(w.cmdRemoveShield->isEnabled());

    // The moved list still edits its own shield.
    w.tabShields->setCurrentIndex(1);
    w.selectLoad(0);
    w.mnuRemoveP->trigger();
    QCOMPARE(e.project.shields.at(1).loads.size(), 1);
    QCOMPARE(e.project.shields.at(1).loads.first().name, QStringLiteral("c2"));
}

void tst_LoadWindows::deleteFirstOfTwo()
{
    Env e;
    e.project.shields = {Shield{"ЩО1", {makeLoad("a1", "1")}}, Shield{"ЩС", {makeLoad("b1", "2", "B", "8,75")}}};
    frmCalcI w(e.context, e.prompter, e.project);
    w.mnuDelShield->trigger();
    QCOMPARE(w.tabShields->count(), 1);
    QCOMPARE(w.tabShields->tabText(0), QStringLiteral("ЩС"));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"b1"}));
    QCOMPARE(w.txtSB->text(), QStringLiteral("8,75"));
    QVERIFY(!w.cmdRemoveShield->isEnabled() && !w.mnuDelShield->isEnabled());

    w.deleteShield(); // the last shield stays
    QCOMPARE(e.project.shields.size(), 1);
}

void tst_LoadWindows::renameShield()
{
    Env e;
    frmCalcI w(e.context, e.prompter, e.project);
    e.prompter.inputs = {QString(), QStringLiteral("ЩР-1")};
    QTest::mouseClick(w.cmdRenameShield, Qt::LeftButton);
    QCOMPARE(w.tabShields->tabText(0), QStringLiteral("ЩО1"));
    QTest::mouseClick(w.cmdRenameShield, Qt::LeftButton);
    QCOMPARE(e.prompter.prompts.last(), QStringLiteral("Укажите новое имя для щита:|Переименование щита|ЩО1"));
    QCOMPARE(w.tabShields->tabText(0), QStringLiteral("ЩР-1"));
    QCOMPARE(e.project.shields.first().name, QStringLiteral("ЩР-1"));
}

void tst_LoadWindows::loadsThroughToolbarAndTotals()
{
    Env e;
    e.context.calc.dTol = 2;
    frmCalcI w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // One load on each phase and a three-phase one, entered in one stay of the dialog.
    onLoadDialog([](frmAddPower &d) {
        const struct {
            const char *name;
            int phase;
        } singles[] = {{"Освещение", 0}, {"Насос", 1}, {"Розетки", 2}};
        for (const auto &s : singles) {
            fill(d, QString::fromUtf8(s.name), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
            d.cmbFaza->setCurrentIndex(s.phase);
            QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
        }
        fill(d, QStringLiteral("Двигатель"), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
        d.cmbNFaz->setCurrentIndex(1);
        d.txtKPD->setText(QStringLiteral("0,9"));
        QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
        d.reject();
    });
    w.runToolbarKey(QStringLiteral("add"));

    QCOMPARE(column(*w.currentModel(), 7), QStringList({"A", "B", "C", "ABC"}));
    QCOMPARE(displays(w), QStringList({"40", "28", "35", "159,09", "0,8", "11,667", "54,5", "11,667", "54,5",
                                       "11,667", "54,5"}));
    QVERIFY(w.tbEdit->isEnabled() && w.mnuSendToClip->isEnabled());
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::rowColoursAndIcons()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "1", "A"), makeLoad("b", "1", "B"), makeLoad("c", "1", "C"),
                                  makeLoad("abc", "1", "ABC"), makeLoad("x", "1", "b")};
    frmCalcI w(e.context, e.prompter, e.project);
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
    QCOMPARE(w.txtSSum->text(), QStringLiteral("5"));
}

void tst_LoadWindows::removeAndChangeLoad()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "1"), makeLoad("b", "2")};
    frmCalcI w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    w.selectLoad(0);
    onLoadDialog([](frmAddPower &d) {
        QVERIFY(d.ChangeFlag);
        d.txtPust->setText(QStringLiteral("5"));
        QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
    });
    w.runToolbarKey(QStringLiteral("EDIT"));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"a", "b"}));
    QCOMPARE(w.currentModel()->load(0).column(1), QStringLiteral("5"));
    QCOMPARE(w.txtPrasSum->text(), QStringLiteral("6"));

    w.selectLoad(1);
    w.runToolbarKey(QStringLiteral("Remove"));
    QCOMPARE(column(*w.currentModel(), 0), QStringList({"a"}));
    w.selectLoad(0);
    w.mnuRemoveP->trigger();
    QCOMPARE(w.currentModel()->rowCount(), 0);
    QVERIFY(!w.tbRemove->isEnabled() && !w.mnuEditP->isEnabled() && !w.mnuSendToClip->isEnabled());
    QCOMPARE(displays(w), QStringList(11, QStringLiteral("0")));
    QVERIFY(e.prompter.messages.isEmpty());
}

void tst_LoadWindows::sortByTextAndToggle()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "20"), makeLoad("b", "100"), makeLoad("c", "3"),
                                  makeLoad("d", "20,5", "B")};
    frmCalcI w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString before = w.txtISum->text();
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
    QCOMPARE(w.txtISum->text(), before);
}

void tst_LoadWindows::copyToClipboard()
{
    Env e;
    e.project.shields[0].loads = {makeLoad("a", "1"), makeLoad("b", "2", "ABC")};
    frmCalcI w(e.context, e.prompter, e.project);
    w.mnuSendToClip->trigger();
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
    frmCalcI w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTreeView *view = w.currentList();
    w.selectLoad(0);

    const QPoint onSecond = view->visualRect(view->model()->index(1, 0)).center();
    emit view->customContextMenuRequested(onSecond);
    QCOMPARE(w.selectedLoad(), 1);
    QTRY_VERIFY(w.mnuPower->isVisible());
    w.mnuPower->hide();

    const QRect last = view->visualRect(view->model()->index(1, 0));
    emit view->customContextMenuRequested(QPoint(last.center().x(), last.bottom() + 40));
    QCOMPARE(w.selectedLoad(), 1);
    QTRY_VERIFY(w.mnuPower->isVisible());
    w.mnuPower->hide();

    emit w.tabShields->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(w.mnuShield->isVisible());
    w.mnuShield->hide();
}

void tst_LoadWindows::closeBoxKeepsAndCloseButtonSavesWidths()
{
    Env e;
    e.project.shields = {Shield{"ЩО1", {makeLoad("a", "1")}}, Shield{"ЩО2", {}}};
    frmCalcI w(e.context, e.prompter, e.project);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.currentList()->setColumnWidth(0, 300);

    w.close(); // the close box
    QVERIFY(!w.isVisible());
    QCOMPARE(ReadIniString(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", "none"), QStringLiteral("none"));
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(ReadIniString(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", "none"), QStringLiteral("none"));

    w.show();
    QCOMPARE(w.tabShields->count(), 2);
    QCOMPARE(w.currentModel()->rowCount(), 1);
    QTest::mouseClick(w.cmdClose, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(ReadIniString(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", ""),
             QString::number(qRound(pixelsToTwipsX(300, &w))));
    QCOMPARE(ReadIniString(e.app.settingsPath(), "LoadWindow", "ColumnWidth10", ""),
             QString::number(qRound(pixelsToTwipsX(twipsToPixelsX(700, &w), &w))));

    // A new window reads them back.
    frmCalcI next(e.context, e.prompter, e.project);
    QCOMPARE(next.currentList()->columnWidth(0), 300);
}

void tst_LoadWindows::badStoredWidthFallsBack()
{
    Env e;
    WriteIniString(e.app.settingsPath(), "LoadWindow", "ColumnWidth1", "широко");
    WriteIniString(e.app.settingsPath(), "LoadWindow", "ColumnWidth2", "3000");
    frmCalcI w(e.context, e.prompter, e.project);
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
    frmMain main(context, prompter);
    main.show();

    // The window opens modally and hides on closing; the loads stay in the project.
    QTimer::singleShot(0, [&main] {
        auto *w = qobject_cast<frmCalcI *>(main.m_shieldsWindow.data());
        QVERIFY(w && w->isVisible() && w->isModal());
        onLoadDialog([](frmAddPower &d) {
            fill(d, QStringLiteral("Насос"), QStringLiteral("10"), QStringLiteral("0,8"), QStringLiteral("0,7"));
            d.cmbFaza->setCurrentIndex(1);
            QTest::mouseClick(d.cmdAddP, Qt::LeftButton);
            d.reject();
            QTimer::singleShot(0, [] {
                for (QWidget *top : QApplication::topLevelWidgets())
                    if (auto *calc = qobject_cast<frmCalcI *>(top); calc && calc->isVisible())
                        calc->close();
            });
        });
        w->addLoad();
    });
    main.cmdCalcP();
    QPointer<QWidget> first = main.m_shieldsWindow;
    QVERIFY(first && !first->isVisible());
    QCOMPARE(main.project().shields.first().loads.size(), 1);

    // The line dialog offers the shield and the load as load currents.
    {
        frmAddR dialog(main, false);
        QStringList offered;
        for (int i = 0; i < dialog.cmbIList->count(); ++i)
            offered << dialog.cmbIList->itemText(i);
        QVERIFY2(offered.contains(QStringLiteral("Насос - 39,77А")), qPrintable(offered.join(" | ")));
        QVERIFY2(offered.contains(QStringLiteral("ЩО1 - 39,77А")), qPrintable(offered.join(" | ")));
    }

    // Opening again shows the same window; a new project discards it.
    QTimer::singleShot(0, [&main] { main.m_shieldsWindow->close(); });
    main.cmdCalcP();
    QCOMPARE(main.m_shieldsWindow.data(), first.data());
    main.discardShieldsWindow();
    QTRY_VERIFY(first.isNull());
}

QTEST_MAIN(tst_LoadWindows)
#include "tst_loadwindows.moc"
