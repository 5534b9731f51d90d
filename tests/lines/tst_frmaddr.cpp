// The cable line dialog driven offscreen through its controls, alone and
// from the main window's add and change commands.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/LineListModel.h"
#include "app/frmMain.h"
#include "lines/NetworkSummary.h"
#include "lines/frmAddR.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <functional>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> window;
    Fixture() { window = std::make_unique<frmMain>(context, prompter); }
    LineListModel &lines() { return *window->lineModel(); }
};

QStringList entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QString selected(const QListWidget *list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

// Runs `body` on the line dialog once the main window has it open modally.
void whenOpen(std::function<void(frmAddR &)> body)
{
    QTimer::singleShot(0, [body] {
        auto *dialog = qobject_cast<frmAddR *>(QApplication::activeModalWidget());
        if (!dialog) {
            QFAIL("the line dialog is not open");
            return;
        }
        body(*dialog);
        // A failed check inside the body must not leave the modal loop running.
        if (dialog->isVisible())
            dialog->reject();
    });
}

void enterLine(frmAddR &d, const QString &length, const QString &current)
{
    d.txtLenght->setText(length);
    d.cmbIList->setEditText(current);
}

void leaveSectionField(frmAddR &d)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(d.txtSect, &out);
}

CableLine computedLine(const QString &name, const QString &cores, const QString &material, const QString &voltage)
{
    CableLine l;
    l.name = name;
    l.cells = QStringList{QStringLiteral("ВВГ"), cores, material, QStringLiteral("80"), QStringLiteral("57"),
                          QStringLiteral("40"), QStringLiteral("87,4"), QStringLiteral("0,6"), voltage};
    return l;
}

} // namespace

class TstFrmAddR : public QObject
{
    Q_OBJECT
private slots:
    void initialState();
    void sectionListFollowsConstruction();
    void materialSwitchKeepsOrResetsSection();
    void singleCoreCableIsLaidInAir();
    void fourCoreCurrent();
    void sectionFieldAndList();
    void commandEnabling();
    void proposal();
    void confirmChecks();
    void addedLineReachesMainList();
    void autoNumberingAcrossCloseAndEsc();
    void changeCheckedRow();
    void changeFillsSinglePhaseRow();
    void offeredCurrentsFromShields();
    void marksAddAndRemove();
    void marksFileReadAndWritten();
    void damagedTableKeepsDialogUsable();
};

void TstFrmAddR::initialState()
{
    Fixture f;
    frmAddR d(*f.window, false);
    QCOMPARE(d.windowTitle(), QStringLiteral("Добавить кабельную линию"));
    QCOMPARE(d.tabLines->count(), 3);
    QCOMPARE(d.tabLines->tabText(0), QStringLiteral("Тип линии"));
    QCOMPARE(d.tabLines->tabText(1), QStringLiteral("Параметры линии"));
    QCOMPARE(d.tabLines->tabText(2), QStringLiteral("Марка"));
    QCOMPARE(d.cmdCalcR->text(), QStringLiteral("&Добавить"));
    QCOMPARE(d.cmdClose->text(), QStringLiteral("&Закрыть"));
    QCOMPARE(d.cmdSelIdop->text(), QStringLiteral("&Предложение"));
    QVERIFY(!d.cmdCalcR->isEnabled());
    QVERIFY(!d.cmdSelIdop->isEnabled());

    QVERIFY(d.chkNetType[1]->isChecked());
    QVERIFY(!d.chkNetType[0]->isChecked());
    QVERIFY(!d.cmbType1->isEnabled());
    QVERIFY(d.cmbType2->isEnabled() && d.cmbType3->isEnabled());
    QCOMPARE(d.cmbType1->currentText(), QStringLiteral("три одножильных"));
    QCOMPARE(d.cmbType2->currentText(), QStringLiteral("трехжильный"));
    QCOMPARE(d.cmbType3->currentText(), QStringLiteral("в воздухе"));

    QCOMPARE(d.cmbMaterial->count(), 2);
    QCOMPARE(d.cmbMaterial->itemText(0), QStringLiteral("Алюминий"));
    QCOMPARE(d.cmbMaterial->currentText(), QStringLiteral("Алюминий"));
    QCOMPARE(d.nm, 14);
    QCOMPARE(d.sFileName, QStringLiteral("\\Iadm380Al.dat"));
    QCOMPARE(d.txtSect->text(), QStringLiteral("2,5"));
    QCOMPARE(selected(d.lstSmm), QStringLiteral("2,5"));
    QCOMPARE(d.lstSmm->count(), 13);
    QCOMPARE(d.txtIdop->text(), QString()); // cleared until the first lookup
    QVERIFY(d.txtIdop->isReadOnly());

    QVERIFY(d.chkAutoNum->isChecked());
    QVERIFY(!d.txtLName->isEnabled());
    QCOMPARE(d.txtLName->maxLength(), 30);
    QCOMPARE(d.txtLenght->maxLength(), 9);
    QVERIFY(!d.chkNSect->isChecked());
    QVERIFY(!d.cmbNSect->isEnabled());
    QCOMPARE(d.cmbNSect->count(), 11);
    QCOMPARE(d.cmbNSect->currentText(), QStringLiteral("1,5"));

    // Aluminium: its marks are editable, the copper ones are not.
    QVERIFY(d.fraAl->isEnabled() && d.cmdAddAlMark->isEnabled() && d.cmdRemAlMark->isEnabled());
    QVERIFY(!d.fraCu->isEnabled() && !d.lstCuMark->isEnabled() && !d.cmdAddCuMark->isEnabled());
    QCOMPARE(selected(d.lstAlMark), QStringLiteral("АВВГ"));
    QCOMPARE(selected(d.lstCuMark), QStringLiteral("ВВГ"));
    QCOMPARE(d.fraCu->title(), QStringLiteral("Марки медных проводов и кабелей"));
    QCOMPARE(d.fraAl->title(), QStringLiteral("Марки алюм. проводов и кабелей"));
    QVERIFY(f.prompter.messages.isEmpty());

    d.chkNSect->setChecked(true);
    QVERIFY(d.cmbNSect->isEnabled());
    d.chkAutoNum->setChecked(false);
    QVERIFY(d.txtLName->isEnabled());
}

void TstFrmAddR::sectionListFollowsConstruction()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.cmbMaterial->setCurrentIndex(1);
    d.chkNetType[0]->setChecked(true);
    QVERIFY(d.cmbType1->isEnabled() && !d.cmbType2->isEnabled() && !d.cmbType3->isEnabled());
    QCOMPARE(d.nm, 25);

    d.cmbType1->setCurrentText(QStringLiteral("один двухжильный"));
    const QStringList twoCore = entries(d.lstSmm);
    QCOMPARE(twoCore.first(), QStringLiteral("1"));
    QCOMPARE(twoCore.last(), QStringLiteral("120"));
    QVERIFY(!twoCore.contains(QStringLiteral("0,75")) && !twoCore.contains(QStringLiteral("150")));

    d.cmbType1->setCurrentText(QStringLiteral("открыто"));
    QCOMPARE(d.lstSmm->count(), 25);
    QCOMPARE(d.lstSmm->item(0)->text(), QStringLiteral("0,5"));

    d.chkNetType[1]->setChecked(true);
    QCOMPARE(d.nm, 15);
    QVERIFY(!d.cmbType1->isEnabled() && d.cmbType2->isEnabled());
    QVERIFY(!entries(d.lstSmm).contains(QStringLiteral("240"))); // no three-core value for it
}

void TstFrmAddR::materialSwitchKeepsOrResetsSection()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.cmbMaterial->setCurrentIndex(1);
    d.lstSmm->setCurrentRow(int(entries(d.lstSmm).indexOf(QStringLiteral("25"))));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("95"));

    d.cmbMaterial->setCurrentIndex(0); // aluminium has 25 as well
    QCOMPARE(d.txtSect->text(), QStringLiteral("25"));
    QCOMPARE(selected(d.lstSmm), QStringLiteral("25"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("75"));

    d.cmbMaterial->setCurrentIndex(1);
    d.lstSmm->setCurrentRow(0); // 1,5 mm², which the aluminium table lacks
    QCOMPARE(d.txtSect->text(), QStringLiteral("1,5"));
    d.cmbMaterial->setCurrentIndex(0);
    QCOMPARE(selected(d.lstSmm), QStringLiteral("2,5"));
    QCOMPARE(d.txtSect->text(), QStringLiteral("2,5"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("19"));
}

void TstFrmAddR::singleCoreCableIsLaidInAir()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.cmbType3->setCurrentIndex(1);
    QCOMPARE(d.cmbType3->currentText(), QStringLiteral("в земле"));
    d.lstSmm->setCurrentRow(int(entries(d.lstSmm).indexOf(QStringLiteral("50"))));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("175"));

    d.cmbType2->setCurrentText(QStringLiteral("одножильный"));
    QCOMPARE(d.cmbType3->currentText(), QStringLiteral("в воздухе"));
    QCOMPARE(d.lstSmm->count(), 14); // nothing is removed for a single-core cable
    QCOMPARE(selected(d.lstSmm), QStringLiteral("50"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("165"));
    // Choosing the ground again is undone at once.
    d.cmbType3->setCurrentIndex(1);
    QCOMPARE(d.cmbType3->currentText(), QStringLiteral("в воздухе"));
}

void TstFrmAddR::fourCoreCurrent()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.cmbMaterial->setCurrentIndex(1);
    d.txtSect->setText(QStringLiteral("25"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("95"));
    d.cmbType2->setCurrentText(QStringLiteral("четырехжильный"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("87,4")); // 95 × 0.92
    d.cmbType3->setCurrentIndex(1);
    QCOMPARE(d.txtIdop->text(), QStringLiteral("138")); // 150 × 0.92 in the ground
}

void TstFrmAddR::sectionFieldAndList()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.txtSect->setText(QStringLiteral("25"));
    QCOMPARE(selected(d.lstSmm), QStringLiteral("25"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("75"));

    d.txtSect->setText(QStringLiteral("26"));
    QCOMPARE(selected(d.lstSmm), QStringLiteral("25"));
    leaveSectionField(d);
    QCOMPARE(d.txtSect->text(), QStringLiteral("25"));

    d.lstSmm->setCurrentRow(0);
    QCOMPARE(d.txtSect->text(), QStringLiteral("2,5"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("19"));
}

void TstFrmAddR::commandEnabling()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.txtLenght->setText(QStringLiteral("100"));
    QVERIFY(!d.cmdCalcR->isEnabled());
    QVERIFY(!d.cmdSelIdop->isEnabled());
    d.cmbIList->setEditText(QStringLiteral("1"));
    QVERIFY(d.cmdCalcR->isEnabled());
    QVERIFY(d.cmdSelIdop->isEnabled());
    d.txtLenght->clear();
    QVERIFY(!d.cmdCalcR->isEnabled());
    QVERIFY(d.cmdSelIdop->isEnabled());
    d.cmbIList->setEditText(QString());
    d.txtLenght->setText(QStringLiteral("5"));
    QVERIFY(!d.cmdCalcR->isEnabled());
    QVERIFY(!d.cmdSelIdop->isEnabled());
}

void TstFrmAddR::proposal()
{
    Fixture f;
    frmAddR d(*f.window, false);
    // Aluminium, three-core in air: 16 → 60 A, 25 → 75 A, 35 → 90 A, 185 → 270 A.
    d.cmbIList->setEditText(QStringLiteral("75"));
    d.cmdSelIdop->click();
    QCOMPARE(d.txtSect->text(), QStringLiteral("25"));
    QCOMPARE(selected(d.lstSmm), QStringLiteral("25"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("75"));

    d.cmbIList->setEditText(QStringLiteral("75,1"));
    d.cmdSelIdop->click();
    QCOMPARE(d.txtSect->text(), QStringLiteral("35"));
    QCOMPARE(d.txtIdop->text(), QStringLiteral("90"));

    d.cmbIList->setEditText(QStringLiteral("ЩО1 - 60А"));
    d.cmdSelIdop->click();
    QCOMPARE(d.txtSect->text(), QStringLiteral("16"));
    QVERIFY(f.prompter.messages.isEmpty());

    d.cmbIList->setEditText(QStringLiteral("270,5"));
    d.cmdSelIdop->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Слишком большое значение тока нагрузки!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка"));
    QCOMPARE(f.prompter.messages.last().icon, Prompter::Icon::Exclamation);
    QCOMPARE(d.txtSect->text(), QStringLiteral("16")); // unchanged

    // Text that is not a number counts as 0: the first row.
    d.cmbIList->setEditText(QStringLiteral("много"));
    d.cmdSelIdop->click();
    QCOMPARE(d.txtSect->text(), QStringLiteral("2,5"));
}

void TstFrmAddR::confirmChecks()
{
    Fixture f;
    frmAddR d(*f.window, false);
    enterLine(d, QStringLiteral("100"), QStringLiteral("ток"));
    d.cmdCalcR->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.last().text,
             QStringLiteral("Значение тока должно быть числовым!\r\n"
                            "Введите значение тока нагрузки или выберете один из вариантов!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Омибка ввода"));
    QCOMPARE(f.prompter.messages.last().icon, Prompter::Icon::Exclamation);
    QVERIFY(d.focusWidget() == d.cmbIList || d.focusWidget() == d.cmbIList->lineEdit());
    QCOMPARE(d.cmbIList->lineEdit()->selectedText(), QStringLiteral("ток"));
    QCOMPARE(f.lines().rowCount(), 0);

    enterLine(d, QStringLiteral("0"), QStringLiteral("10"));
    d.cmdCalcR->click();
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(d.focusWidget(), d.txtLenght);
    QCOMPARE(f.lines().rowCount(), 0);
    QCOMPARE(d.cmdCalcR->text(), QStringLiteral("&Добавить"));
    QVERIFY(!f.window->action(QStringLiteral("mnuChangeLine"))->isEnabled());

    // A section typed but not listed gives way to the listed one.
    enterLine(d, QStringLiteral("100"), QStringLiteral("10"));
    d.txtSect->setText(QStringLiteral("26"));
    d.cmdCalcR->click();
    QCOMPARE(f.lines().rowCount(), 1);
    QCOMPARE(f.lines().line(0).cell(CableLine::Cores), QStringLiteral("3x2,5"));
}

void TstFrmAddR::addedLineReachesMainList()
{
    Fixture f;
    whenOpen([](frmAddR &d) {
        d.cmbMaterial->setCurrentText(QStringLiteral("Медь"));
        d.chkNetType[0]->setChecked(true);
        d.txtSect->setText(QStringLiteral("2,5"));
        enterLine(d, QStringLiteral("100"), QStringLiteral("10"));
        d.cmdCalcR->click();
        d.cmdClose->click();
    });
    f.window->cmdAddLine();
    QCOMPARE(f.lines().rowCount(), 1);
    const CableLine &line = f.lines().line(0);
    QCOMPARE(line.name, QStringLiteral("Линия №1"));
    QCOMPARE(line.cells, (QStringList{"ВВГ", "3x2,5", "Медь", "100", "712", "10", "25", "6,47", "220"}));
    QVERIFY(!line.checked);
    for (const char *name : {"mnuChangeLine", "mnuDelLine", "mnuSendToClip", "mnuSelectAll"})
        QVERIFY(f.window->action(QString::fromLatin1(name))->isEnabled());
    QVERIFY(f.window->toolButton(QStringLiteral("ChangeLine"))->isEnabled());
    QVERIFY(f.window->toolButton(QStringLiteral("DelLine"))->isEnabled());
    // The summary ran when the dialog returned.
    QCOMPARE(f.window->statusPanel1->text(), NetworkSummary(f.window->project().lines, f.context.calc.dUmax).panel1);
    QVERIFY(f.window->statusPanel1->text() != QStringLiteral("Нажмите F1 для получения справки"));
    // Checked, the line counts in the total.
    f.lines().setChecked(0, true);
    QVERIFY(f.window->statusPanel1->text().contains(QStringLiteral("6,47")));
}

void TstFrmAddR::autoNumberingAcrossCloseAndEsc()
{
    Fixture f;
    auto addLines = [](int count, bool escape) {
        whenOpen([count, escape](frmAddR &d) {
            enterLine(d, QStringLiteral("10"), QStringLiteral("5"));
            for (int i = 0; i < count; ++i)
                d.cmdCalcR->click();
            if (escape)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.cmdClose->click();
        });
    };
    addLines(3, false);
    f.window->cmdAddLine();
    QVERIFY(f.window->lineDialog()); // only hidden
    addLines(1, true);
    f.window->cmdAddLine();
    QVERIFY(!f.window->lineDialog()); // discarded
    addLines(1, false);
    f.window->cmdAddLine();
    QStringList names;
    for (int r = 0; r < f.lines().rowCount(); ++r)
        names << f.lines().line(r).name;
    QCOMPARE(names, (QStringList{"Линия №1", "Линия №2", "Линия №3", "Линия №4", "Линия №1"}));
}

void TstFrmAddR::changeCheckedRow()
{
    Fixture f;
    f.lines().appendLine(computedLine(QStringLiteral("Ввод"), QStringLiteral("3x16"), QStringLiteral("Алюминий"), QStringLiteral("380")));
    f.lines().appendLine(computedLine(QStringLiteral("Щит"), QStringLiteral("4x25 + 1x16"), QStringLiteral("Медь"), QStringLiteral("380")));
    f.lines().appendLine(computedLine(QStringLiteral("Насос"), QStringLiteral("3x4"), QStringLiteral("Алюминий"), QStringLiteral("380")));
    f.lines().setChecked(1, true);
    f.window->setLineCommandsEnabled(true);
    f.window->selectRow(1);

    bool seen = false;
    whenOpen([&seen](frmAddR &d) {
        seen = true;
        QCOMPARE(d.windowTitle(), QStringLiteral("Изменить кабельную линию"));
        QCOMPARE(d.cmdCalcR->text(), QStringLiteral("Изменить"));
        QVERIFY(d.ChangeFlag);
        QCOMPARE(d.txtLName->text(), QStringLiteral("Щит"));
        QCOMPARE(d.cmbMaterial->currentText(), QStringLiteral("Медь"));
        QCOMPARE(d.txtSect->text(), QStringLiteral("25"));
        QCOMPARE(d.cmbType2->currentText(), QStringLiteral("четырехжильный"));
        QCOMPARE(d.cmbType1->currentText(), QStringLiteral("четыре одножильных"));
        QVERIFY(d.chkNSect->isChecked());
        QCOMPARE(d.cmbNSect->currentText(), QStringLiteral("16"));
        QCOMPARE(d.txtLenght->text(), QStringLiteral("80"));
        QCOMPARE(d.cmbIList->currentText(), QStringLiteral("40"));
        QVERIFY(d.chkNetType[1]->isChecked());
        QVERIFY(d.cmdCalcR->isEnabled());
        d.txtLenght->setText(QStringLiteral("50"));
        d.cmdCalcR->click();
    });
    f.window->cmdChangeLine();
    QVERIFY(seen);
    QVERIFY(!f.window->lineDialog()); // change mode ends with the dialog
    QCOMPARE(f.lines().rowCount(), 3);
    const CableLine &changed = f.lines().line(1);
    // Auto-numbering is on, yet the changed row keeps the name of the field.
    QCOMPARE(changed.name, QStringLiteral("Щит"));
    QVERIFY(!changed.checked);
    QCOMPARE(changed.cells, (QStringList{"ВВГ", "4x25 + 1x16", "Медь", "50", "35,6", "40", "87,4", "0,37", "380"}));
    QCOMPARE(f.lines().line(0).name, QStringLiteral("Ввод"));
    QCOMPARE(f.lines().line(2).name, QStringLiteral("Насос"));
}

void TstFrmAddR::changeFillsSinglePhaseRow()
{
    Fixture f;
    f.lines().appendLine(computedLine(QStringLiteral("Розетки"), QStringLiteral("2x2,5"), QStringLiteral("Медь"), QStringLiteral("220")));
    f.lines().appendLine(computedLine(QStringLiteral("Свет"), QStringLiteral("3x4"), QStringLiteral("Алюминий"), QStringLiteral("380")));
    f.window->setLineCommandsEnabled(true);

    // Left hidden in add mode on single-phase; a change takes that instance over.
    whenOpen([](frmAddR &d) {
        d.chkNetType[0]->setChecked(true);
        d.chkNSect->setChecked(true);
        d.cmdClose->click();
    });
    f.window->cmdAddLine();
    QVERIFY(f.window->lineDialog());
    f.window->selectRow(1);
    whenOpen([](frmAddR &d) {
        // A three-phase row selects the three-phase option, with its lists.
        QVERIFY(d.chkNetType[1]->isChecked());
        QVERIFY(!d.chkNetType[0]->isChecked());
        QVERIFY(d.cmbType2->isEnabled() && !d.cmbType1->isEnabled());
        QCOMPARE(d.cmbMaterial->currentText(), QStringLiteral("Алюминий"));
        QCOMPARE(d.txtSect->text(), QStringLiteral("4"));
        QCOMPARE(d.txtIdop->text(), QStringLiteral("27"));
        // The neutral box ticked for an earlier line does not stick to a row without one.
        QVERIFY(!d.chkNSect->isChecked());
        d.cmdCalcR->click();
    });
    f.window->cmdChangeLine();
    QVERIFY(!f.window->lineDialog());
    QCOMPARE(f.lines().line(1).cells.mid(1, 3), (QStringList{"3x4", "Алюминий", "80"}));
    QCOMPARE(f.lines().line(1).cell(CableLine::Voltage), QStringLiteral("380"));

    f.window->selectRow(0);
    whenOpen([](frmAddR &d) {
        QVERIFY(d.chkNetType[0]->isChecked());
        QCOMPARE(d.cmbType1->currentText(), QStringLiteral("два одножильных"));
        QCOMPARE(d.cmbType2->currentText(), QStringLiteral("двухжильный"));
        QCOMPARE(d.txtSect->text(), QStringLiteral("2,5"));
        QCOMPARE(d.txtIdop->text(), QStringLiteral("27"));
        QVERIFY(!d.chkNSect->isChecked());
        d.txtLenght->setText(QStringLiteral("1"));
        // Closing a change unloads the dialog without touching the row.
        d.cmdClose->click();
    });
    f.window->cmdChangeLine();
    QVERIFY(!f.window->lineDialog());
    QCOMPARE(f.lines().line(0).cell(CableLine::Length), QStringLiteral("80"));
}

void TstFrmAddR::offeredCurrentsFromShields()
{
    Fixture f;
    Shield s;
    s.name = QStringLiteral("ЩО1");
    Load pump;
    pump.name = QStringLiteral("Насос");
    pump.cells = QStringList{"10", "0,8", "0,7", "7", "8,75", "14,73", "ABC", "3", "0,9"};
    Load light;
    light.name = QStringLiteral("Свет");
    light.cells = QStringList{"2", "1", "1", "2", "2", "9,09", "B", "1", "1"};
    s.loads << pump << light;
    f.window->project().shields = {s};

    frmAddR d(*f.window, false);
    QCOMPARE(d.cmbIList->count(), 3);
    QCOMPARE(d.cmbIList->itemText(0), QStringLiteral("ЩО1 - 53,28А"));
    QCOMPARE(d.cmbIList->itemText(1), QStringLiteral("Насос - 14,73А"));
    QCOMPARE(d.cmbIList->itemText(2), QStringLiteral("Свет - 9,09А"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(!d.cmbIList->itemIcon(i).isNull());
    // Offering the currents chooses none of them.
    QCOMPARE(d.cmbIList->currentText(), QString());
    QVERIFY(!d.cmdSelIdop->isEnabled());

    d.txtLenght->setText(QStringLiteral("30"));
    d.cmbIList->setCurrentIndex(1);
    QVERIFY(d.cmdCalcR->isEnabled());
    d.cmdCalcR->click();
    QCOMPARE(f.lines().line(0).cell(CableLine::LoadCurrent), QStringLiteral("14,73"));

    // The choices are those of the shields when the dialog was loaded.
    f.window->project().shields.first().loads.removeLast();
    QCOMPARE(d.cmbIList->count(), 3);
}

void TstFrmAddR::marksAddAndRemove()
{
    Fixture f;
    frmAddR d(*f.window, false);
    d.cmbMaterial->setCurrentText(QStringLiteral("Медь"));
    QVERIFY(d.cmdAddCuMark->isEnabled() && !d.cmdAddAlMark->isEnabled());

    // Nothing selected: the new mark goes to the top.
    d.lstCuMark->setCurrentRow(-1);
    d.lstCuMark->clearSelection();
    f.prompter.inputs << QStringLiteral("АААА");
    d.cmdAddCuMark->click();
    QCOMPARE(d.lstCuMark->item(0)->text(), QStringLiteral("АААА"));
    QCOMPARE(f.prompter.prompts.last(),
             QStringLiteral("Введите обозначение новой марки провода или кабеля с медными жилами.\r\n\r\n\r\n\r\n\r\n"
                            "Новая марка:|Кабинор|"));

    // After the selected mark, then the first mark is selected.
    d.lstCuMark->setCurrentRow(2);
    f.prompter.inputs << QStringLiteral("ВВГ, 3 жилы");
    d.cmdAddCuMark->click();
    QCOMPARE(d.lstCuMark->item(3)->text(), QStringLiteral("ВВГ, 3 жилы"));
    QCOMPARE(selected(d.lstCuMark), QStringLiteral("АААА"));

    const int before = d.lstCuMark->count();
    d.cmdAddCuMark->click(); // the input box cancelled
    QCOMPARE(d.lstCuMark->count(), before);

    // The mark of the line is the selected one of its material.
    enterLine(d, QStringLiteral("10"), QStringLiteral("5"));
    d.cmdCalcR->click();
    QCOMPARE(f.lines().line(0).cell(CableLine::Mark), QStringLiteral("АААА"));

    // Removing asks; No keeps the mark.
    d.lstCuMark->setCurrentRow(3);
    f.prompter.answers << Prompter::Answer::No;
    d.cmdRemCuMark->click();
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Удалить марку медного провода или кабеля 'ВВГ, 3 жилы'?"));
    QCOMPARE(f.prompter.messages.last().icon, Prompter::Icon::Exclamation);
    QCOMPARE(f.prompter.messages.last().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(d.lstCuMark->count(), before);
    d.cmdRemCuMark->click();
    QCOMPARE(d.lstCuMark->count(), before - 1);
    QCOMPARE(d.lstCuMark->currentRow(), 2);

    // The aluminium list: its own prompt and question; removing the last mark disables "Удалить".
    d.cmbMaterial->setCurrentText(QStringLiteral("Алюминий"));
    while (d.lstAlMark->count() > 1) {
        d.lstAlMark->setCurrentRow(0);
        d.cmdRemAlMark->click();
    }
    QVERIFY(d.cmdRemAlMark->isEnabled());
    const QString last = d.lstAlMark->item(0)->text();
    d.lstAlMark->setCurrentRow(0);
    d.cmdRemAlMark->click();
    QCOMPARE(f.prompter.messages.last().text,
             QStringLiteral("Удалить марку алюминиевого провода или кабеля '") + last + QStringLiteral("'?"));
    QCOMPARE(d.lstAlMark->count(), 0);
    QVERIFY(!d.cmdRemAlMark->isEnabled());
    // With no mark the line gets an empty one.
    d.cmdCalcR->click();
    QCOMPARE(f.lines().line(1).cell(CableLine::Mark), QString());

    f.prompter.inputs << QStringLiteral("СИП-4");
    d.cmdAddAlMark->click();
    QVERIFY(f.prompter.prompts.last().startsWith(
        QStringLiteral("Введите обозначение новой марки провода или кабеля с алюминиевыми жилами.\r\n\r\n\r\n\r\nНовая")));
    QVERIFY(d.cmdRemAlMark->isEnabled());
}

void TstFrmAddR::marksFileReadAndWritten()
{
    Fixture f;
    f.app.writeFile(QStringLiteral("MarksCu.dat"), cp1251(QStringLiteral("ВВГ, АВВГ\r\nNYM\r\n")));
    {
        frmAddR d(*f.window, false);
        QCOMPARE(entries(d.lstCuMark), (QStringList{"ВВГ", "АВВГ", "NYM"}));
        d.cmbMaterial->setCurrentText(QStringLiteral("Медь"));
        d.lstCuMark->setCurrentRow(2);
        f.prompter.inputs << QStringLiteral("ПВС \"гибкий\", 3x1,5");
        d.cmdAddCuMark->click();
        // Nothing is written before the dialog unloads.
        QCOMPARE(f.app.readFile(QStringLiteral("MarksCu.dat")), cp1251(QStringLiteral("ВВГ, АВВГ\r\nNYM\r\n")));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isUnloaded());
        QVERIFY(!d.ChangeFlag);
    }
    QCOMPARE(f.app.readFile(QStringLiteral("MarksCu.dat")),
             cp1251(QStringLiteral("ВВГ\r\nАВВГ\r\nNYM\r\n\"ПВС \"\"гибкий\"\", 3x1,5\"\r\n")));
    // The mark with a comma and quotes reads back as it was typed.
    frmAddR again(*f.window, false);
    QCOMPARE(entries(again.lstCuMark), (QStringList{"ВВГ", "АВВГ", "NYM", "ПВС \"гибкий\", 3x1,5"}));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstFrmAddR::damagedTableKeepsDialogUsable()
{
    Fixture f;
    f.app.writeFile(QStringLiteral("Iadm380Al.dat"), QByteArray("2.5,23,21,34,19,29\n4,31,29,42,27,38\n6,38,38,55\n"));
    const QString path = QDir::toNativeSeparators(f.app.file(QStringLiteral("Iadm380Al.dat")));
    frmAddR d(*f.window, false);
    // Loading reloads the table several times; the user hears of it once.
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
    QVERIFY(f.prompter.messages.first().text.contains(path));
    QCOMPARE(d.lstSmm->count(), 0);
    QCOMPARE(d.txtIdop->text(), QString());

    // Neither a proposal nor a line is made from it, and the reason is repeated.
    enterLine(d, QStringLiteral("10"), QStringLiteral("20"));
    d.cmdSelIdop->click();
    d.cmdCalcR->click();
    QCOMPARE(f.prompter.messages.size(), 3);
    QVERIFY(f.prompter.messages.at(1).text.contains(path));
    QVERIFY(f.prompter.messages.at(2).text.contains(path));
    QCOMPARE(f.lines().rowCount(), 0);

    // Copper is sound and works as usual.
    d.cmbMaterial->setCurrentText(QStringLiteral("Медь"));
    QCOMPARE(d.lstSmm->count(), 14);
    d.cmdSelIdop->click();
    QCOMPARE(d.txtSect->text(), QStringLiteral("2,5")); // 20 A: 19 A at 1,5 mm² is too little
    d.cmdCalcR->click();
    QCOMPARE(f.lines().rowCount(), 1);
    QCOMPARE(f.prompter.messages.size(), 3);
}

QTEST_MAIN(TstFrmAddR)
#include "tst_frmaddr.moc"
