// The cable line dialog driven offscreen through its controls, alone and
// from the main window's add and change commands.
#include "TestSupport.h"
#include "base/NumberText.h"
#include "base/AppContext.h"
#include "ui/lines/CableLineDialog.h"
#include "ui/lines/LineListModel.h"
#include "calc/lines/NetworkSummary.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <functional>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    Fixture() { window = std::make_unique<MainWindow>(context, prompter); }
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
void whenOpen(std::function<void(CableLineDialog &)> body)
{
    QTimer::singleShot(0, [body] {
        auto *dialog = qobject_cast<CableLineDialog *>(QApplication::activeModalWidget());
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

void enterLine(CableLineDialog &d, const QString &length, const QString &current)
{
    d.lengthEdit->setText(length);
    d.loadCurrentList->setEditText(current);
}

void leaveSectionField(CableLineDialog &d)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(d.sectionEdit, &out);
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

class TstCableLineDialog : public QObject
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
    void changedRowKeepsItsCheckMark();
    void changeRestoresStoredInputs();
    void recomputeKeepsNamesOrderAndChecks();
    void conditionsAndPowerFactor();
    void refusedConditionsNameTheirRange_data();
    void refusedConditionsNameTheirRange();
    void chooseDeviceTakesTheCurrentAsAddDoes();
    void chooseDeviceUsesTheCurrentsOfACheckedLine();
    void changeFillsSinglePhaseRow();
    void offeredCurrentsFromShields();
    void marksAddAndRemove();
    void marksFileReadAndWritten();
    void damagedTableKeepsDialogUsable();
    void storedDeviceMissingFromTable_data();
    void storedDeviceMissingFromTable();
    void binaryMarkListIsDamaged();
};

void TstCableLineDialog::initialState()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    QCOMPARE(d.windowTitle(), QStringLiteral("Добавить кабельную линию"));
    QCOMPARE(d.tabs->count(), 5);
    QCOMPARE(d.tabs->tabText(0), QStringLiteral("Тип линии"));
    QCOMPARE(d.tabs->tabText(1), QStringLiteral("Параметры линии"));
    QCOMPARE(d.tabs->tabText(2), QStringLiteral("Марка"));
    QCOMPARE(d.tabs->tabText(3), QStringLiteral("Защита"));
    QCOMPARE(d.confirmButton->text(), QStringLiteral("&Добавить"));
    QCOMPARE(d.closeButton->text(), QStringLiteral("&Закрыть"));
    QCOMPARE(d.proposeButton->text(), QStringLiteral("&Предложение"));
    QVERIFY(!d.confirmButton->isEnabled());
    QVERIFY(!d.proposeButton->isEnabled());

    QVERIFY(d.networkOptions[1]->isChecked());
    QVERIFY(!d.networkOptions[0]->isChecked());
    QVERIFY(!d.singlePhaseTypeList->isEnabled());
    QVERIFY(d.coreCountList->isEnabled() && d.layingList->isEnabled());
    QCOMPARE(d.singlePhaseTypeList->currentText(), QStringLiteral("три одножильных"));
    QCOMPARE(d.coreCountList->currentText(), QStringLiteral("трехжильный"));
    QCOMPARE(d.layingList->currentText(), QStringLiteral("в воздухе"));

    QCOMPARE(d.materialList->count(), 2);
    QCOMPARE(d.materialList->itemText(0), QStringLiteral("Алюминий"));
    QCOMPARE(d.materialList->currentText(), QStringLiteral("Алюминий"));
    QCOMPARE(d.table().rowCount(), 14);
    QCOMPARE(d.table().registryEntry(), QStringLiteral("\\Iadm380Al.dat"));
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("2,5"));
    QCOMPARE(selected(d.sectionList), QStringLiteral("2,5"));
    QCOMPARE(d.sectionList->count(), 13);
    QCOMPARE(d.permissibleCurrentEdit->text(), QString()); // cleared until the first lookup
    QVERIFY(d.permissibleCurrentEdit->isReadOnly());

    QVERIFY(d.autoNumberCheck->isChecked());
    QVERIFY(!d.nameEdit->isEnabled());
    QCOMPARE(d.nameEdit->maxLength(), 30);
    QCOMPARE(d.lengthEdit->maxLength(), 9);
    QVERIFY(!d.neutralCheck->isChecked());
    QVERIFY(!d.neutralSectionList->isEnabled());
    QCOMPARE(d.neutralSectionList->count(), 11);
    QCOMPARE(d.neutralSectionList->currentText(), QStringLiteral("1,5"));

    // Aluminium: its marks are editable, the copper ones are not.
    QVERIFY(d.aluminiumMarksFrame->isEnabled() && d.addAluminiumMarkButton->isEnabled() && d.removeAluminiumMarkButton->isEnabled());
    QVERIFY(!d.copperMarksFrame->isEnabled() && !d.copperMarkList->isEnabled() && !d.addCopperMarkButton->isEnabled());
    QCOMPARE(selected(d.aluminiumMarkList), QStringLiteral("АВВГ"));
    QCOMPARE(selected(d.copperMarkList), QStringLiteral("ВВГ"));
    QCOMPARE(d.copperMarksFrame->title(), QStringLiteral("Марки медных проводов и кабелей"));
    QCOMPARE(d.aluminiumMarksFrame->title(), QStringLiteral("Марки алюм. проводов и кабелей"));
    QVERIFY(f.prompter.messages.isEmpty());

    d.neutralCheck->setChecked(true);
    QVERIFY(d.neutralSectionList->isEnabled());
    d.autoNumberCheck->setChecked(false);
    QVERIFY(d.nameEdit->isEnabled());
}

void TstCableLineDialog::sectionListFollowsConstruction()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.materialList->setCurrentIndex(1);
    d.networkOptions[0]->setChecked(true);
    QVERIFY(d.singlePhaseTypeList->isEnabled() && !d.coreCountList->isEnabled() && !d.layingList->isEnabled());
    QCOMPARE(d.table().rowCount(), 25);

    d.singlePhaseTypeList->setCurrentText(QStringLiteral("один двухжильный"));
    const QStringList twoCore = entries(d.sectionList);
    QCOMPARE(twoCore.first(), QStringLiteral("1"));
    QCOMPARE(twoCore.last(), QStringLiteral("120"));
    QVERIFY(!twoCore.contains(QStringLiteral("0,75")) && !twoCore.contains(QStringLiteral("150")));

    d.singlePhaseTypeList->setCurrentText(QStringLiteral("открыто"));
    QCOMPARE(d.sectionList->count(), 25);
    QCOMPARE(d.sectionList->item(0)->text(), QStringLiteral("0,5"));

    d.networkOptions[1]->setChecked(true);
    QCOMPARE(d.table().rowCount(), 15);
    QVERIFY(!d.singlePhaseTypeList->isEnabled() && d.coreCountList->isEnabled());
    QVERIFY(!entries(d.sectionList).contains(QStringLiteral("240"))); // no three-core value for it
}

void TstCableLineDialog::materialSwitchKeepsOrResetsSection()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.materialList->setCurrentIndex(1);
    d.sectionList->setCurrentRow(int(entries(d.sectionList).indexOf(QStringLiteral("25"))));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("95"));

    d.materialList->setCurrentIndex(0); // aluminium has 25 as well
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("25"));
    QCOMPARE(selected(d.sectionList), QStringLiteral("25"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("75"));

    d.materialList->setCurrentIndex(1);
    d.sectionList->setCurrentRow(0); // 1,5 mm², which the aluminium table lacks
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("1,5"));
    d.materialList->setCurrentIndex(0);
    QCOMPARE(selected(d.sectionList), QStringLiteral("2,5"));
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("2,5"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("19"));
}

void TstCableLineDialog::singleCoreCableIsLaidInAir()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.layingList->setCurrentIndex(1);
    QCOMPARE(d.layingList->currentText(), QStringLiteral("в земле"));
    d.sectionList->setCurrentRow(int(entries(d.sectionList).indexOf(QStringLiteral("50"))));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("175"));

    d.coreCountList->setCurrentText(QStringLiteral("одножильный"));
    QCOMPARE(d.layingList->currentText(), QStringLiteral("в воздухе"));
    QCOMPARE(d.sectionList->count(), 14); // nothing is removed for a single-core cable
    QCOMPARE(selected(d.sectionList), QStringLiteral("50"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("165"));
    // Choosing the ground again is undone at once.
    d.layingList->setCurrentIndex(1);
    QCOMPARE(d.layingList->currentText(), QStringLiteral("в воздухе"));
}

void TstCableLineDialog::fourCoreCurrent()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.materialList->setCurrentIndex(1);
    d.sectionEdit->setText(QStringLiteral("25"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("95"));
    d.coreCountList->setCurrentText(QStringLiteral("четырехжильный"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("87,4")); // 95 × 0.92
    d.layingList->setCurrentIndex(1);
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("138")); // 150 × 0.92 in the ground
}

void TstCableLineDialog::sectionFieldAndList()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.sectionEdit->setText(QStringLiteral("25"));
    QCOMPARE(selected(d.sectionList), QStringLiteral("25"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("75"));

    d.sectionEdit->setText(QStringLiteral("26"));
    QCOMPARE(selected(d.sectionList), QStringLiteral("25"));
    leaveSectionField(d);
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("25"));

    d.sectionList->setCurrentRow(0);
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("2,5"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("19"));
}

void TstCableLineDialog::commandEnabling()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.lengthEdit->setText(QStringLiteral("100"));
    QVERIFY(!d.confirmButton->isEnabled());
    QVERIFY(!d.proposeButton->isEnabled());
    d.loadCurrentList->setEditText(QStringLiteral("1"));
    QVERIFY(d.confirmButton->isEnabled());
    QVERIFY(d.proposeButton->isEnabled());
    d.lengthEdit->clear();
    QVERIFY(!d.confirmButton->isEnabled());
    QVERIFY(d.proposeButton->isEnabled());
    d.loadCurrentList->setEditText(QString());
    d.lengthEdit->setText(QStringLiteral("5"));
    QVERIFY(!d.confirmButton->isEnabled());
    QVERIFY(!d.proposeButton->isEnabled());
}

void TstCableLineDialog::proposal()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    // Aluminium, three-core in air: 16 → 60 A, 25 → 75 A, 35 → 90 A, 185 → 270 A.
    d.loadCurrentList->setEditText(QStringLiteral("75"));
    d.proposeButton->click();
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("25"));
    QCOMPARE(selected(d.sectionList), QStringLiteral("25"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("75"));

    d.loadCurrentList->setEditText(QStringLiteral("75,1"));
    d.proposeButton->click();
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("35"));
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("90"));

    d.loadCurrentList->setEditText(QStringLiteral("ЩО1 - 60А"));
    d.proposeButton->click();
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("16"));
    QVERIFY(f.prompter.messages.isEmpty());

    d.loadCurrentList->setEditText(QStringLiteral("270,5"));
    d.proposeButton->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Слишком большое значение тока нагрузки!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка"));
    QCOMPARE(f.prompter.messages.last().icon, Prompter::Icon::Exclamation);
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("16")); // unchanged

    // An expression is worked out, and the field keeps its value, for
    // "Предложение" and "Подобрать" alike.
    d.loadCurrentList->setEditText(QStringLiteral("2*(30+7,5)"));
    d.proposeButton->click();
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("25"));
    QCOMPARE(d.loadCurrentList->currentText(), QStringLiteral("75"));
    d.loadCurrentList->setEditText(QStringLiteral("100-60,5"));
    d.chooseDevice();
    QCOMPARE(d.loadCurrentList->currentText(), QStringLiteral("39,5"));
    // 39,5 A <= In <= 75 A: C40.
    QCOMPARE(d.deviceCharacteristicList->currentText(), QStringLiteral("C"));
    QCOMPARE(d.deviceRatingList->currentText(), QStringLiteral("40"));
    QCOMPARE(f.prompter.messages.size(), 1);

    // Text that is not a number counts as 0: the first row.
    d.loadCurrentList->setEditText(QStringLiteral("много"));
    d.proposeButton->click();
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("2,5"));
}

void TstCableLineDialog::confirmChecks()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    enterLine(d, QStringLiteral("100"), QStringLiteral("ток"));
    d.confirmButton->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.last().text,
             QStringLiteral("Значение тока должно быть числовым!\r\n"
                            "Введите значение тока нагрузки или выберите один из вариантов!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.prompter.messages.last().icon, Prompter::Icon::Exclamation);
    QVERIFY(d.focusWidget() == d.loadCurrentList || d.focusWidget() == d.loadCurrentList->lineEdit());
    QCOMPARE(d.loadCurrentList->lineEdit()->selectedText(), QStringLiteral("ток"));
    QCOMPARE(f.lines().rowCount(), 0);

    enterLine(d, QStringLiteral("0"), QStringLiteral("10"));
    d.confirmButton->click();
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(d.focusWidget(), d.lengthEdit);
    QCOMPARE(f.lines().rowCount(), 0);
    QCOMPARE(d.confirmButton->text(), QStringLiteral("&Добавить"));
    QVERIFY(!f.window->action(QStringLiteral("actionChangeLine"))->isEnabled());

    // A section typed but not listed gives way to the listed one; the current
    // may be an expression, which the line keeps as its value.
    enterLine(d, QStringLiteral("100"), QStringLiteral("Sqr(100)"));
    d.sectionEdit->setText(QStringLiteral("26"));
    d.confirmButton->click();
    QCOMPARE(f.lines().rowCount(), 1);
    QCOMPARE(f.lines().line(0).cell(CableLine::Cores), QStringLiteral("3x2,5"));
    QCOMPARE(f.lines().line(0).cell(CableLine::LoadCurrent), QStringLiteral("10"));
    QCOMPARE(d.loadCurrentList->currentText(), QStringLiteral("10"));
}

void TstCableLineDialog::addedLineReachesMainList()
{
    Fixture f;
    whenOpen([](CableLineDialog &d) {
        d.materialList->setCurrentText(QStringLiteral("Медь"));
        d.networkOptions[0]->setChecked(true);
        d.sectionEdit->setText(QStringLiteral("2,5"));
        enterLine(d, QStringLiteral("100"), QStringLiteral("10"));
        d.confirmButton->click();
        d.closeButton->click();
    });
    f.window->addLine();
    QCOMPARE(f.lines().rowCount(), 1);
    const CableLine &line = f.lines().line(0);
    QCOMPARE(line.name, QStringLiteral("Линия №1"));
    QCOMPARE(line.cells, (QStringList{"ВВГ", "3x2,5", "Медь", "100", "712", "10", "25", "6,47", "220"}));
    QVERIFY(!line.checked);
    for (const char *name : {"actionChangeLine", "actionDeleteLine", "actionCopyList", "actionCheckAll"})
        QVERIFY(f.window->action(QString::fromLatin1(name))->isEnabled());
    QVERIFY(f.window->toolButton(QStringLiteral("ChangeLine"))->isEnabled());
    QVERIFY(f.window->toolButton(QStringLiteral("DelLine"))->isEnabled());
    // The summary ran when the dialog returned.
    QCOMPARE(f.window->statusPanel1->text(), summarizeNetwork(f.window->project().lines, f.context.calc.maxVoltageDrop).panel1);
    QVERIFY(f.window->statusPanel1->text() != QStringLiteral("Нажмите F1 для получения справки"));
    // Checked, the line counts in the total.
    f.lines().setChecked(0, true);
    QVERIFY(f.window->statusPanel1->text().contains(QStringLiteral("6,47")));
}

void TstCableLineDialog::autoNumberingAcrossCloseAndEsc()
{
    Fixture f;
    auto addLines = [](int count, bool escape) {
        whenOpen([count, escape](CableLineDialog &d) {
            enterLine(d, QStringLiteral("10"), QStringLiteral("5"));
            for (int i = 0; i < count; ++i)
                d.confirmButton->click();
            if (escape)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.closeButton->click();
        });
    };
    addLines(3, false);
    f.window->addLine();
    QVERIFY(f.window->lineDialog()); // only hidden
    addLines(1, true);
    f.window->addLine();
    QVERIFY(!f.window->lineDialog()); // discarded
    addLines(1, false);
    f.window->addLine();
    QStringList names;
    for (int r = 0; r < f.lines().rowCount(); ++r)
        names << f.lines().line(r).name;
    QCOMPARE(names, (QStringList{"Линия №1", "Линия №2", "Линия №3", "Линия №4", "Линия №1"}));
}

void TstCableLineDialog::changedRowKeepsItsCheckMark()
{
    Fixture f;
    f.lines().appendLine(computedLine(QStringLiteral("Ввод"), QStringLiteral("3x16"), QStringLiteral("Алюминий"), QStringLiteral("380")));
    f.lines().appendLine(computedLine(QStringLiteral("Щит"), QStringLiteral("4x25 + 1x16"), QStringLiteral("Медь"), QStringLiteral("380")));
    f.lines().appendLine(computedLine(QStringLiteral("Насос"), QStringLiteral("3x4"), QStringLiteral("Алюминий"), QStringLiteral("380")));
    f.lines().setChecked(1, true);
    f.window->setLineCommandsEnabled(true);
    f.window->selectRow(1);

    bool seen = false;
    whenOpen([&seen](CableLineDialog &d) {
        seen = true;
        QCOMPARE(d.windowTitle(), QStringLiteral("Изменить кабельную линию"));
        QCOMPARE(d.confirmButton->text(), QStringLiteral("Изменить"));
        QVERIFY(d.changeMode);
        QCOMPARE(d.nameEdit->text(), QStringLiteral("Щит"));
        QCOMPARE(d.materialList->currentText(), QStringLiteral("Медь"));
        QCOMPARE(d.sectionEdit->text(), QStringLiteral("25"));
        QCOMPARE(d.coreCountList->currentText(), QStringLiteral("четырехжильный"));
        QCOMPARE(d.singlePhaseTypeList->currentText(), QStringLiteral("четыре одножильных"));
        QVERIFY(d.neutralCheck->isChecked());
        QCOMPARE(d.neutralSectionList->currentText(), QStringLiteral("16"));
        QCOMPARE(d.lengthEdit->text(), QStringLiteral("80"));
        QCOMPARE(d.loadCurrentList->currentText(), QStringLiteral("40"));
        QVERIFY(d.networkOptions[1]->isChecked());
        QVERIFY(d.confirmButton->isEnabled());
        d.lengthEdit->setText(QStringLiteral("50"));
        d.confirmButton->click();
    });
    f.window->changeLine();
    QVERIFY(seen);
    QVERIFY(!f.window->lineDialog()); // change mode ends with the dialog
    QCOMPARE(f.lines().rowCount(), 3);
    const CableLine &changed = f.lines().line(1);
    // Auto-numbering is on, yet the changed row keeps the name of the field.
    QCOMPARE(changed.name, QStringLiteral("Щит"));
    QCOMPARE(changed.cells, (QStringList{"ВВГ", "4x25 + 1x16", "Медь", "50", "35,6", "40", "87,4", "0,65", "380"}));
    // The changed row stays checked and bold, and the summary counts its new drop.
    QVERIFY(changed.checked);
    QVERIFY(f.lines().data(f.lines().index(1, 0), Qt::FontRole).value<QFont>().bold());
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 0,65%"));
    QCOMPARE(f.lines().line(0).name, QStringLiteral("Ввод"));
    QCOMPARE(f.lines().line(2).name, QStringLiteral("Насос"));
}

void TstCableLineDialog::changeRestoresStoredInputs()
{
    Fixture f;
    // A copper four-core cable in the ground with a neutral core, its
    // current picked as typed: what the old rows could not keep.
    whenOpen([](CableLineDialog &d) {
        d.materialList->setCurrentIndex(Permissible::Copper);
        d.coreCountList->setCurrentIndex(3);
        d.layingList->setCurrentIndex(Permissible::InGround);
        d.sectionEdit->setText(QStringLiteral("25"));
        d.neutralCheck->setChecked(true);
        d.neutralSectionList->setCurrentIndex(d.neutralSectionList->findText(QStringLiteral("16")));
        d.copperMarkList->setCurrentRow(1);
        enterLine(d, QStringLiteral("50"), QStringLiteral("ЩО1 - 40А"));
        // "Подобрать": the smallest device with 40 A <= In <= 87,4 A, C first.
        d.chooseDevice();
        QCOMPARE(d.deviceCharacteristicList->currentText(), QStringLiteral("C"));
        QCOMPARE(d.deviceRatingList->currentText(), QStringLiteral("40"));
        d.tripTimeEdit->setText(QStringLiteral("0,2"));
        d.confirmButton->click();
        d.closeButton->click();
    });
    f.window->addLine();
    QCOMPARE(f.lines().rowCount(), 1);
    const CableLine added = f.lines().line(0);
    QVERIFY(added.inputs);
    QCOMPARE(added.inputs->laying.value, 1);
    QCOMPARE(added.inputs->loadCurrent.text, QStringLiteral("ЩО1 - 40А"));
    QCOMPARE(added.inputs->device.text, QStringLiteral("C"));
    QCOMPARE(added.inputs->deviceRating.text, QStringLiteral("40"));

    // The change dialog shows it exactly as entered; confirming unchanged
    // gives the same row (in the ground: 0,92 × the three-core value).
    f.window->selectRow(0);
    bool seen = false;
    whenOpen([&seen, &added](CableLineDialog &d) {
        seen = true;
        QVERIFY(!d.inputsNote->isVisible());
        QCOMPARE(d.layingList->currentIndex(), int(Permissible::InGround));
        QCOMPARE(d.coreCountList->currentIndex(), 3);
        QCOMPARE(d.materialList->currentIndex(), int(Permissible::Copper));
        QVERIFY(d.neutralCheck->isChecked());
        QCOMPARE(d.neutralSectionList->currentText(), QStringLiteral("16"));
        QCOMPARE(d.loadCurrentList->currentText(), QStringLiteral("ЩО1 - 40А"));
        QCOMPARE(d.copperMarkList->currentItem()->text(), added.cell(CableLine::Mark));
        QCOMPARE(d.deviceRatingList->currentText(), QStringLiteral("40"));
        QCOMPARE(d.tripTimeEdit->text(), QStringLiteral("0,2"));
        d.confirmButton->click();
    });
    f.window->changeLine();
    QVERIFY(seen);
    QCOMPARE(f.lines().line(0), added);

    // A line of an older file has no inputs: the dialog says what to check.
    CableLine old = computedLine(QStringLiteral("Старая"), QStringLiteral("4x25"), QStringLiteral("Медь"), QStringLiteral("380"));
    f.lines().appendLine(old);
    f.window->selectRow(1);
    seen = false;
    whenOpen([&seen](CableLineDialog &d) {
        seen = true;
        QVERIFY(d.inputsNote->isVisible());
        QCOMPARE(d.inputsNote->text(), QStringLiteral("Конструкция и прокладка этой линии не были сохранены в проекте: проверьте их."));
        d.closeButton->click();
    });
    f.window->show();
    f.window->changeLine();
    QVERIFY(seen);
}

void TstCableLineDialog::recomputeKeepsNamesOrderAndChecks()
{
    Fixture f;
    // Entered with the inputs kept, computed back when three-phase drops
    // lacked the √3 and with a conductivity since changed.
    CableLine kept = computedLine(QStringLiteral("Ввод"), QStringLiteral("4x2,5"), QStringLiteral("Медь"), QStringLiteral("380"));
    kept.cells = QStringList{"ВВГ", "4x2,5", "Медь", "100", "712", "10", "1", "1,87", "380"};
    kept.inputs = storedInputs({{"Construction", QStringLiteral("3")},
                                {"Material", QStringLiteral("Медь")},
                                {"Mark", QStringLiteral("ВВГ")},
                                {"LoadCurrent", QStringLiteral("ЩО1 - 10А")}});
    kept.checked = true;
    CableLine old = computedLine(QStringLiteral("Старая"), QStringLiteral("3x2,5"), QStringLiteral("Медь"), QStringLiteral("220"));
    old.cells = QStringList{"", "3x2,5", "Медь", "100", "712", "10", "7", "6,47", "220"};
    f.window->project().lines = {old, kept};
    f.window->lineModel()->reload();
    f.context.calc.copperConductivity = 50;

    f.window->action(QStringLiteral("actionRecomputeLines"))->trigger();
    const CableLine first = f.lines().line(0);
    const CableLine second = f.lines().line(1);
    QCOMPARE(first.name, QStringLiteral("Старая"));
    QVERIFY(!first.checked);
    // 100 m / 50 / 2,5 = 800 mOhm; single-phase 800 × 20 / 2200 = 7,27 %; the
    // permissible current of a line without inputs stays.
    QCOMPARE(first.cells, (QStringList{"", "3x2,5", "Медь", "100", "800", "10", "7", "7,27", "220"}));
    QVERIFY(!first.inputs);
    QCOMPARE(second.name, QStringLiteral("Ввод"));
    QVERIFY(second.checked);
    // √3 × 800 × 10 / 3800 = 3,65 %; four-core copper in air: 0,92 × 25 = 23 A.
    QCOMPARE(second.cells, (QStringList{"ВВГ", "4x2,5", "Медь", "100", "800", "10", "23", "3,65", "380"}));
    // Its reactance comes from today's file: 0,1 mΩ/m × 100 m.
    LineInputs recomputedInputs = *kept.inputs;
    recomputedInputs.reactance = {QStringLiteral("10"), 10.0};
    QCOMPARE(second.inputs, recomputedInputs);
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Суммарное падение напряжения: 3,65%"));
    // The line without inputs kept its permissible current: not recomputed.
    QCOMPARE(f.window->statusPanel2->text(), QStringLiteral("Пересчитано линий: 1; не удалось пересчитать: 1"));
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.lastText().startsWith(QStringLiteral("Пересчитано линий: 2.")));
}

void TstCableLineDialog::conditionsAndPowerFactor()
{
    Fixture f;
    Shield s;
    s.name = QStringLiteral("ЩО1");
    Load pump;
    pump.name = QStringLiteral("Насос");
    pump.cells = QStringList{"10", "0,8", "0,7", "7", "8,75", "14,73", "ABC", "3", "0,9"};
    s.loads << pump;
    f.window->project().shields = {s};
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));

    // Picking the shield brings its power factor (7 kW of 8,75 kVA).
    QCOMPARE(d.cosPhiEdit->text(), QStringLiteral("1"));
    d.loadCurrentList->setCurrentIndex(0);
    emit d.loadCurrentList->activated(0);
    QCOMPARE(d.cosPhiEdit->text(), QStringLiteral("0,8"));

    // Trench conditions count in the ground only; the factors show beside the current.
    d.materialList->setCurrentIndex(Permissible::Aluminium);
    d.coreCountList->setCurrentIndex(Permissible::ThreeCore);
    QVERIFY(!d.cablesSpin->isEnabled());
    QCOMPARE(d.ambientEdit->placeholderText(), QStringLiteral("25"));
    d.layingList->setCurrentIndex(Permissible::InGround);
    QVERIFY(d.cablesSpin->isEnabled());
    QCOMPARE(d.ambientEdit->placeholderText(), QStringLiteral("15"));
    d.sectionEdit->setText(QStringLiteral("50"));
    d.ambientEdit->setText(QStringLiteral("25"));
    d.cablesSpin->setValue(3);
    // 175 × 0,89 × 0,85 = 132,3875 A, shown with the decimal places.
    QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("132,39"));
    QCOMPARE(d.correctionLabel->text(), QStringLiteral("Поправки: k<sub>т</sub> = 0,89; k<sub>гр</sub> = 0,85"));

    // A five-core cable has no separate neutral core.
    d.neutralCheck->setChecked(true);
    d.coreCountList->setCurrentIndex(Permissible::FiveCore);
    QVERIFY(!d.neutralCheck->isChecked() && !d.neutralCheck->isEnabled());

    // A power factor above 1 is refused on its field.
    d.cosPhiEdit->setText(QStringLiteral("1,2"));
    d.lengthEdit->setText(QStringLiteral("40"));
    d.confirmButton->click();
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Коэффициент мощности должен быть больше 0 и не больше 1!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка ввода"));
    QVERIFY(d.cosPhiEdit->hasFocus());
    QCOMPARE(f.lines().rowCount(), 0);

    d.cosPhiEdit->setText(QStringLiteral("0,8"));
    d.confirmButton->click();
    QCOMPARE(f.lines().rowCount(), 1);
    const CableLine line = f.lines().line(0);
    QCOMPARE(line.cell(CableLine::Cores), QStringLiteral("5x50"));
    QCOMPARE(line.inputs->cosPhi.text, QStringLiteral("0,8"));
    QCOMPARE(line.inputs->cables.value, 3);
    QCOMPARE(line.inputs->ambient.text, QStringLiteral("25"));
}

void TstCableLineDialog::refusedConditionsNameTheirRange_data()
{
    QTest::addColumn<bool>("ground");
    QTest::addColumn<QString>("ambient");
    QTest::addColumn<QString>("tripTime");
    QTest::addColumn<QString>("coincidence"); // Ко on the tab "Сеть"
    QTest::addColumn<QString>("message");
    const QString air = QStringLiteral("Температура окружающей среды должна быть от -5 до +50 °C (ПУЭ, табл. 1.3.3)!");
    const QString earth = QStringLiteral("Температура земли должна быть от -5 до +35 °C (ПУЭ, табл. 1.3.3)!");
    const QString time = QStringLiteral("Время отключения должно быть числом от 0,01 до 5 с!");
    const QString k = QStringLiteral("Коэффициент совмещения максимумов Ко должен быть больше 0 и не больше 1!");
    QTest::newRow("air 55 °C") << false << "55" << "" << "1" << air;
    QTest::newRow("air -6 °C") << false << "-6" << "" << "1" << air;
    QTest::newRow("ground 36 °C") << true << "36" << "" << "1" << earth;
    QTest::newRow("disconnection in 0 s") << false << "" << "0" << "1" << time;
    QTest::newRow("disconnection in 5,5 s") << false << "" << "5,5" << "1" << time;
    QTest::newRow("air 50 °C, 5 s") << false << "50" << "5" << "1" << "";
    QTest::newRow("ground 35 °C, 0,01 s") << true << "35" << "0,01" << "1" << "";
    QTest::newRow("Ко 0") << false << "" << "" << "0" << k;
    QTest::newRow("Ко 1,01") << false << "" << "" << "1,01" << k;
    QTest::newRow("Ко not a number") << false << "" << "" << "0,9а" << k;
    QTest::newRow("Ко 0,85") << false << "" << "" << "0,85" << "";
}

void TstCableLineDialog::refusedConditionsNameTheirRange()
{
    QFETCH(bool, ground);
    QFETCH(QString, ambient);
    QFETCH(QString, tripTime);
    QFETCH(QString, coincidence);
    QFETCH(QString, message);
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.layingList->setCurrentIndex(ground ? Permissible::InGround : Permissible::InAir);
    d.ambientEdit->setText(ambient);
    d.tripTimeEdit->setText(tripTime);
    auto *coincidenceEdit = d.findChild<QLineEdit *>(QStringLiteral("coincidenceEdit"));
    QVERIFY(coincidenceEdit);
    coincidenceEdit->setText(coincidence);
    enterLine(d, QStringLiteral("10"), QStringLiteral("10"));
    d.confirmButton->click();
    QCOMPARE(f.lines().rowCount(), message.isEmpty() ? 1 : 0);
    if (!message.isEmpty()) {
        QCOMPARE(f.prompter.lastText(), message);
        QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка ввода"));
    } else {
        QCOMPARE(NumberText::format(f.lines().line(0).place.coincidence), coincidence);
    }
    // A refused Ко is shown on its own tab.
    if (message.startsWith(QStringLiteral("Коэффициент совмещения")))
        QVERIFY(d.tabs->currentWidget()->isAncestorOf(coincidenceEdit));
}

void TstCableLineDialog::chooseDeviceTakesTheCurrentAsAddDoes()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    // A text that gives no current is refused as "Добавить" refuses it, and
    // no 6 A breaker is chosen for it.
    enterLine(d, QStringLiteral("10"), QStringLiteral("45,27+17,58+"));
    d.tabs->setCurrentIndex(3);
    d.chooseDeviceButton->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), LineEntry::currentMessage());
    QCOMPARE(f.prompter.messages.last().title, LineEntry::currentTitle());
    QCOMPARE(d.deviceCharacteristicList->currentText(), QStringLiteral("нет"));
    QCOMPARE(d.tabs->currentIndex(), 1);
    QCOMPARE(d.loadCurrentList->lineEdit()->selectedText(), QStringLiteral("45,27+17,58+"));
}

void TstCableLineDialog::chooseDeviceUsesTheCurrentsOfACheckedLine()
{
    Fixture f;
    // 400 kVA Д/Yн-11, Sк 200 MVA: 12,33 kA at the terminals, where the line
    // starts; 100 A on aluminium 95 mm² of 120 m.
    Project &project = f.window->project();
    project.transformerPower = QStringLiteral("400");
    project.transformerGroup = QStringLiteral("D");
    project.systemPower = QStringLiteral("200");
    CableLine feeder = computedLine(QStringLiteral("Ввод"), QStringLiteral("4x95"), QStringLiteral("Алюминий"),
                                    QStringLiteral("380"));
    feeder.cells[CableLine::Length] = QStringLiteral("120");
    feeder.inputs = storedInputs({{"Construction", QString::number(Permissible::FourCore)},
                                  {"Material", QStringLiteral("Алюминий")},
                                  {"LoadCurrent", QStringLiteral("100")}});
    f.lines().appendLine(feeder);

    auto chosen = [&f](bool checked) {
        f.lines().setChecked(0, checked);
        CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, true);
        d.fillFromRow(0);
        d.chooseDeviceButton->click();
        return d.deviceCharacteristicList->currentText() + d.deviceRatingList->currentText();
    };
    // Checked or not, the line has its place in the network (the bus): C100
    // (10 kA) cannot break 12,33 kA; the industrial 100 A breaker (25 kA,
    // 1200 A at once) breaks it and trips on 2,08 kA at the line's end.
    QCOMPARE(chosen(false), QStringLiteral("10·Iн100"));
    QCOMPARE(chosen(true), QStringLiteral("10·Iн100"));
}

void TstCableLineDialog::changeFillsSinglePhaseRow()
{
    Fixture f;
    f.lines().appendLine(computedLine(QStringLiteral("Розетки"), QStringLiteral("2x2,5"), QStringLiteral("Медь"), QStringLiteral("220")));
    f.lines().appendLine(computedLine(QStringLiteral("Свет"), QStringLiteral("3x4"), QStringLiteral("Алюминий"), QStringLiteral("380")));
    f.window->setLineCommandsEnabled(true);

    // Left hidden in add mode on single-phase; a change takes that instance over.
    whenOpen([](CableLineDialog &d) {
        d.networkOptions[0]->setChecked(true);
        d.neutralCheck->setChecked(true);
        d.closeButton->click();
    });
    f.window->addLine();
    QVERIFY(f.window->lineDialog());
    f.window->selectRow(1);
    whenOpen([](CableLineDialog &d) {
        // A three-phase row selects the three-phase option, with its lists.
        QVERIFY(d.networkOptions[1]->isChecked());
        QVERIFY(!d.networkOptions[0]->isChecked());
        QVERIFY(d.coreCountList->isEnabled() && !d.singlePhaseTypeList->isEnabled());
        QCOMPARE(d.materialList->currentText(), QStringLiteral("Алюминий"));
        QCOMPARE(d.sectionEdit->text(), QStringLiteral("4"));
        QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("27"));
        // The neutral box ticked for an earlier line does not stick to a row without one.
        QVERIFY(!d.neutralCheck->isChecked());
        d.confirmButton->click();
    });
    f.window->changeLine();
    QVERIFY(!f.window->lineDialog());
    QCOMPARE(f.lines().line(1).cells.mid(1, 3), (QStringList{"3x4", "Алюминий", "80"}));
    QCOMPARE(f.lines().line(1).cell(CableLine::Voltage), QStringLiteral("380"));

    f.window->selectRow(0);
    whenOpen([](CableLineDialog &d) {
        QVERIFY(d.networkOptions[0]->isChecked());
        QCOMPARE(d.singlePhaseTypeList->currentText(), QStringLiteral("два одножильных"));
        QCOMPARE(d.coreCountList->currentText(), QStringLiteral("двухжильный"));
        QCOMPARE(d.sectionEdit->text(), QStringLiteral("2,5"));
        QCOMPARE(d.permissibleCurrentEdit->text(), QStringLiteral("27"));
        QVERIFY(!d.neutralCheck->isChecked());
        d.lengthEdit->setText(QStringLiteral("1"));
        // Closing a change unloads the dialog without touching the row.
        d.closeButton->click();
    });
    f.window->changeLine();
    QVERIFY(!f.window->lineDialog());
    QCOMPARE(f.lines().line(0).cell(CableLine::Length), QStringLiteral("80"));
}

void TstCableLineDialog::offeredCurrentsFromShields()
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

    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    QCOMPARE(d.loadCurrentList->count(), 3);
    // A three-phase line is offered the most loaded phase: B = 14,73 + 9,09.
    QCOMPARE(d.loadCurrentList->itemText(0), QStringLiteral("ЩО1 - 23,82А"));
    // A single load at its full power: 10 / 0,8 / 3 / 0,9 / 0,22 = 21,04 A.
    QCOMPARE(d.loadCurrentList->itemText(1), QStringLiteral("Насос - 21,04А"));
    QCOMPARE(d.loadCurrentList->itemText(2), QStringLiteral("Свет - 9,09А"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(!d.loadCurrentList->itemIcon(i).isNull());
    // Offering the currents chooses none of them.
    QCOMPARE(d.loadCurrentList->currentText(), QString());
    QVERIFY(!d.proposeButton->isEnabled());

    // A single-phase line is offered the sum: 14,73 × 3 + 9,09; the typed text stays.
    d.loadCurrentList->setEditText(QStringLiteral("12"));
    d.networkOptions[0]->setChecked(true);
    QCOMPARE(d.loadCurrentList->itemText(0), QStringLiteral("ЩО1 - 53,28А"));
    QCOMPARE(d.loadCurrentList->currentText(), QStringLiteral("12"));
    d.loadCurrentList->setEditText(QString());

    d.lengthEdit->setText(QStringLiteral("30"));
    d.loadCurrentList->setCurrentIndex(1);
    QVERIFY(d.confirmButton->isEnabled());
    d.confirmButton->click();
    QCOMPARE(f.lines().line(0).cell(CableLine::LoadCurrent), QStringLiteral("21,04"));

    // The choices are those of the shields when the dialog was loaded.
    f.window->project().shields.first().loads.removeLast();
    QCOMPARE(d.loadCurrentList->count(), 3);
}

void TstCableLineDialog::marksAddAndRemove()
{
    Fixture f;
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    d.materialList->setCurrentText(QStringLiteral("Медь"));
    QVERIFY(d.addCopperMarkButton->isEnabled() && !d.addAluminiumMarkButton->isEnabled());

    // Nothing selected: the new mark goes to the top.
    d.copperMarkList->setCurrentRow(-1);
    d.copperMarkList->clearSelection();
    f.prompter.inputs << QStringLiteral("АААА");
    d.addCopperMarkButton->click();
    QCOMPARE(d.copperMarkList->item(0)->text(), QStringLiteral("АААА"));
    QCOMPARE(f.prompter.prompts.last(),
             QStringLiteral("Введите обозначение новой марки провода или кабеля с медными жилами.\r\n\r\n\r\n\r\n\r\n"
                            "Новая марка:|Кабинор|"));

    // After the selected mark, then the first mark is selected.
    d.copperMarkList->setCurrentRow(2);
    f.prompter.inputs << QStringLiteral("ВВГ, 3 жилы");
    d.addCopperMarkButton->click();
    QCOMPARE(d.copperMarkList->item(3)->text(), QStringLiteral("ВВГ, 3 жилы"));
    QCOMPARE(selected(d.copperMarkList), QStringLiteral("АААА"));

    const int before = d.copperMarkList->count();
    d.addCopperMarkButton->click(); // the input box cancelled
    QCOMPARE(d.copperMarkList->count(), before);

    // The mark of the line is the selected one of its material.
    enterLine(d, QStringLiteral("10"), QStringLiteral("5"));
    d.confirmButton->click();
    QCOMPARE(f.lines().line(0).cell(CableLine::Mark), QStringLiteral("АААА"));

    // Removing asks; No keeps the mark.
    d.copperMarkList->setCurrentRow(3);
    f.prompter.answers << Prompter::Answer::No;
    d.removeCopperMarkButton->click();
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Удалить марку медного провода или кабеля 'ВВГ, 3 жилы'?"));
    QCOMPARE(f.prompter.messages.last().icon, Prompter::Icon::Exclamation);
    QCOMPARE(f.prompter.messages.last().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(d.copperMarkList->count(), before);
    d.removeCopperMarkButton->click();
    QCOMPARE(d.copperMarkList->count(), before - 1);
    QCOMPARE(d.copperMarkList->currentRow(), 2);

    // The aluminium list: its own prompt and question; removing the last mark disables "Удалить".
    d.materialList->setCurrentText(QStringLiteral("Алюминий"));
    while (d.aluminiumMarkList->count() > 1) {
        d.aluminiumMarkList->setCurrentRow(0);
        d.removeAluminiumMarkButton->click();
    }
    QVERIFY(d.removeAluminiumMarkButton->isEnabled());
    const QString last = d.aluminiumMarkList->item(0)->text();
    d.aluminiumMarkList->setCurrentRow(0);
    d.removeAluminiumMarkButton->click();
    QCOMPARE(f.prompter.messages.last().text,
             QStringLiteral("Удалить марку алюминиевого провода или кабеля '") + last + QStringLiteral("'?"));
    QCOMPARE(d.aluminiumMarkList->count(), 0);
    QVERIFY(!d.removeAluminiumMarkButton->isEnabled());
    // With no mark the line gets an empty one.
    d.confirmButton->click();
    QCOMPARE(f.lines().line(1).cell(CableLine::Mark), QString());

    f.prompter.inputs << QStringLiteral("СИП-4");
    d.addAluminiumMarkButton->click();
    QVERIFY(f.prompter.prompts.last().startsWith(
        QStringLiteral("Введите обозначение новой марки провода или кабеля с алюминиевыми жилами.\r\n\r\n\r\n\r\nНовая")));
    QVERIFY(d.removeAluminiumMarkButton->isEnabled());
}

void TstCableLineDialog::marksFileReadAndWritten()
{
    Fixture f;
    f.app.writeFile(QStringLiteral("MarksCu.dat"), cp1251(QStringLiteral("ВВГ, АВВГ\r\nNYM\r\n")));
    {
        CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
        QCOMPARE(entries(d.copperMarkList), (QStringList{"ВВГ", "АВВГ", "NYM"}));
        d.materialList->setCurrentText(QStringLiteral("Медь"));
        d.copperMarkList->setCurrentRow(2);
        f.prompter.inputs << QStringLiteral("ПВС \"гибкий\", 3x1,5");
        d.addCopperMarkButton->click();
        // Nothing is written before the dialog unloads.
        QCOMPARE(f.app.readFile(QStringLiteral("MarksCu.dat")), cp1251(QStringLiteral("ВВГ, АВВГ\r\nNYM\r\n")));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isUnloaded());
        QVERIFY(!d.changeMode);
    }
    QCOMPARE(f.app.readFile(QStringLiteral("MarksCu.dat")),
             cp1251(QStringLiteral("ВВГ\r\nАВВГ\r\nNYM\r\n\"ПВС \"\"гибкий\"\", 3x1,5\"\r\n")));
    // The mark with a comma and quotes reads back as it was typed.
    CableLineDialog again(f.lines(), f.window->project(), f.context, f.prompter, false);
    QCOMPARE(entries(again.copperMarkList), (QStringList{"ВВГ", "АВВГ", "NYM", "ПВС \"гибкий\", 3x1,5"}));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstCableLineDialog::damagedTableKeepsDialogUsable()
{
    Fixture f;
    f.app.writeFile(QStringLiteral("Iadm380Al.dat"), QByteArray("2.5,23,21,34,19,29\n4,31,29,42,27,38\n6,38,38,55\n"));
    const QString path = QDir::toNativeSeparators(f.app.file(QStringLiteral("Iadm380Al.dat")));
    CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
    // Loading reloads the table several times; the user hears of it once.
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
    QVERIFY(f.prompter.messages.first().text.contains(path));
    QCOMPARE(d.sectionList->count(), 0);
    QCOMPARE(d.permissibleCurrentEdit->text(), QString());

    // Neither a proposal nor a line is made from it, and the reason is repeated.
    enterLine(d, QStringLiteral("10"), QStringLiteral("20"));
    d.proposeButton->click();
    d.confirmButton->click();
    QCOMPARE(f.prompter.messages.size(), 3);
    QVERIFY(f.prompter.messages.at(1).text.contains(path));
    QVERIFY(f.prompter.messages.at(2).text.contains(path));
    QCOMPARE(f.lines().rowCount(), 0);

    // Copper is sound and works as usual.
    d.materialList->setCurrentText(QStringLiteral("Медь"));
    QCOMPARE(d.sectionList->count(), 14);
    d.proposeButton->click();
    QCOMPARE(d.sectionEdit->text(), QStringLiteral("2,5")); // 20 A: 19 A at 1,5 mm² is too little
    d.confirmButton->click();
    QCOMPARE(f.lines().rowCount(), 1);
    QCOMPARE(f.prompter.messages.size(), 3);
}

void TstCableLineDialog::storedDeviceMissingFromTable_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("rating");
    // A project from a machine with another device table: a rating this one
    // lacks (it used to show C6 and save 6), a characteristic it lacks (it used to be dropped).
    QTest::newRow("C65") << QStringLiteral("C") << QStringLiteral("65");
    QTest::newRow("Z100") << QStringLiteral("Z") << QStringLiteral("100");
}

void TstCableLineDialog::storedDeviceMissingFromTable()
{
    QFETCH(QString, device);
    QFETCH(QString, rating);
    Fixture f;
    f.app.writeFile(QStringLiteral("Breakers.dat"), cp1251(QStringLiteral("\"Автомат\",\"C\",6,10,6\n\"Автомат\",\"C\",63,10,6\n")));
    CableLine line = computedLine(QStringLiteral("Ввод"), QStringLiteral("4x16"), QStringLiteral("Медь"), QStringLiteral("380"));
    line.inputs = storedInputs({{"Construction", QStringLiteral("3")},
                                {"Material", QStringLiteral("Медь")},
                                {"LoadCurrent", QStringLiteral("40")},
                                {"Device", device},
                                {"DeviceRating", rating}});
    f.lines().appendLine(line);
    f.window->selectRow(0);
    bool seen = false;
    whenOpen([&](CableLineDialog &d) {
        seen = true;
        QCOMPARE(d.deviceCharacteristicList->currentData().toString(), device);
        QCOMPARE(d.deviceRatingList->currentText(), rating);
        QVERIFY2(d.deviceLabel->text().contains(QStringLiteral("нет в файле защитных аппаратов")), qPrintable(d.deviceLabel->text()));
        d.confirmButton->click();
    });
    f.window->changeLine();
    QVERIFY(seen);
    // Saved unchanged.
    QCOMPARE(f.lines().line(0).inputs->device.text, device);
    QCOMPARE(f.lines().line(0).inputs->deviceRating.text, rating);
}

void TstCableLineDialog::binaryMarkListIsDamaged()
{
    Fixture f;
    static const char bytes[] = "\x7f" "ELF\x02\x01\x01\0\0\0ВВГ\n\x03\x04";
    const QByteArray binary(bytes, sizeof bytes - 1);
    f.app.writeFile(QStringLiteral("MarksCu.dat"), binary);
    {
        CableLineDialog d(f.lines(), f.window->project(), f.context, f.prompter, false);
        // Told as damaged, naming the file; no mark of control characters is shown.
        QCOMPARE(f.prompter.messages.size(), 1);
        QVERIFY(f.prompter.lastText().contains(QStringLiteral("поврежден")));
        QVERIFY(f.prompter.lastText().contains(QDir::toNativeSeparators(f.app.file(QStringLiteral("MarksCu.dat")))));
        QCOMPARE(d.copperMarkList->count(), 0);
        d.unload();
    }
    // Never written over unless the list is changed.
    QCOMPARE(f.app.readFile(QStringLiteral("MarksCu.dat")), binary);
}

QTEST_MAIN(TstCableLineDialog)
#include "tst_cablelinedialog.moc"
