// "Освещение помещений" driven offscreen: a room added through its dialog
// (a refusal keeps the dialog and names the field), handed to a shield, a
// rounder number and a change reaching the loads in one step each, undo and
// redo, removal; the main window's menu and its shields window afterwards.
#include "RoomFixtures.h"
#include "TestSupport.h"
#include "base/AppContext.h"
#include "docs/writers/ReportWriter.h"
#include "shell/MainWindow.h"
#include "ui/lighting/RoomDialog.h"
#include "ui/lighting/RoomsWindow.h"
#include "ui/lighting/TransferDialog.h"
#include "ui/loads/LoadListModel.h"
#include "ui/loads/ShieldsWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    Project project;
    QUndoStack history;
    ReportWriter writer{prompter, app.path()};
    Fixture()
    {
        app.writeFile(QStringLiteral("UtilTables.dat"), cp1251(testTablesText()));
        project.shields = {Shield{QStringLiteral("ЩО1"), {}}, Shield{QStringLiteral("ЩО2"), {}}};
    }
};

void fill(RoomDialog &d, const LightingRoom &room)
{
    d.nameEdit->setText(room.name);
    d.lengthEdit->setText(room.length);
    d.widthEdit->setText(room.width);
    d.heightEdit->setText(room.height);
    d.planeEdit->setText(room.plane);
    d.hangEdit->setText(room.hang);
    d.normList->setCurrentIndex(0);
    d.illuminanceEdit->setText(room.illuminance);
    d.maintenanceEdit->setText(room.maintenance);
    d.uniformityEdit->setText(room.uniformity);
    d.curveList->setCurrentIndex(d.curveList->findText(room.curve));
    d.kindList->setCurrentIndex(0);
    d.fluxEdit->setText(room.flux);
    d.powerEdit->setText(room.power);
}

QStringList powersOf(const Shield &shield)
{
    QStringList out;
    for (const Load &load : shield.loads)
        out << load.cell(Load::InstalledPower);
    return out;
}

} // namespace

class TstRoomsWindow : public QObject
{
    Q_OBJECT
private slots:
    void roomsAndTheirLoads();
    void mainWindowMenuAndShields();
};

void TstRoomsWindow::roomsAndTheirLoads()
{
    Fixture f;
    RoomsWindow w(f.project, f.context, f.prompter, f.writer);
    w.setHistory(&f.history);
    QVERIFY(f.prompter.messages.isEmpty());
    QVERIFY(!w.changeButton->isEnabled() && !w.transferButton->isEnabled());

    // A reflectance of 95 % is refused with the field named; the dialog stays.
    int refusedAt = -1;
    w.setDialogRunner([&](QDialog &dialog) {
        auto &d = static_cast<RoomDialog &>(dialog);
        fill(d, hallRoom());
        d.ceilingEdit->setText(QStringLiteral("95"));
        d.confirm();
        refusedAt = d.result() == QDialog::Accepted ? 0 : (d.focusWidget() == d.ceilingEdit ? 1 : 2);
        d.ceilingEdit->setText(QStringLiteral("70"));
        d.confirm();
        return d.result();
    });
    w.addRoom();
    QCOMPARE(refusedAt, 1);
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Коэффициент отражения потолка должен быть от 0 до 90 %!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.project.rooms.size(), 1);
    QCOMPARE(f.project.rooms.at(0).id, 1);
    QCOMPARE(f.project.rooms.at(0).ceiling, QStringLiteral("70"));
    QCOMPARE(w.roomTable->item(0, 4)->text(), QStringLiteral("39"));
    QCOMPARE(w.roomTable->item(0, 5)->text(), QStringLiteral("13x3"));
    QCOMPARE(w.roomTable->item(0, 6)->text(), QStringLiteral("307,37"));
    QVERIFY(w.detailsLabel->text().contains(QStringLiteral("N = 40 (8x5)")));
    QCOMPARE(w.rounderButton->text(), QStringLiteral("Принять N = 40 (8x5)"));

    // Handed to ЩО2 over the three phases.
    QStringList offered;
    w.setDialogRunner([&](QDialog &dialog) {
        auto &d = static_cast<TransferDialog &>(dialog);
        offered = QStringList{d.entryList->currentText(), d.powerFactorEdit->text(), d.demandFactorEdit->text()};
        d.shieldList->setCurrentIndex(1);
        d.confirm();
        return d.result();
    });
    w.transferToShield();
    QCOMPARE(offered, QStringList({"Освещение производственных помещений", "0,95", "0,95"}));
    QCOMPARE(powersOf(f.project.shields.at(1)), QStringList({"1,3", "1,3", "1,3"}));
    QCOMPARE(w.roomTable->item(0, 9)->text(), QStringLiteral("ЩО2"));

    // The rounder number reaches the loads in the same step.
    const int steps = f.history.count();
    w.rounderButton->click();
    QCOMPARE(f.history.count(), steps + 1);
    QCOMPARE(f.project.rooms.at(0).count, QStringLiteral("40"));
    QCOMPARE(powersOf(f.project.shields.at(1)), QStringList({"1,4", "1,3", "1,3"}));
    QCOMPARE(w.roomTable->item(0, 5)->text(), QStringLiteral("8x5"));
    f.history.undo();
    QCOMPARE(f.project.rooms.at(0).count, QString());
    QCOMPARE(powersOf(f.project.shields.at(1)), QStringList({"1,3", "1,3", "1,3"}));
    QCOMPARE(w.roomTable->item(0, 5)->text(), QStringLiteral("13x3"));
    f.history.redo();
    QCOMPARE(powersOf(f.project.shields.at(1)), QStringList({"1,4", "1,3", "1,3"}));

    // A changed room: its loads follow, renamed; one step back undoes both.
    w.setDialogRunner([&](QDialog &dialog) {
        auto &d = static_cast<RoomDialog &>(dialog);
        d.nameEdit->setText(QStringLiteral("Цех"));
        d.countEdit->setText(QStringLiteral("30"));
        d.confirm();
        return d.result();
    });
    w.changeRoom();
    QCOMPARE(powersOf(f.project.shields.at(1)), QStringList({"1", "1", "1"}));
    QCOMPARE(f.project.shields.at(1).loads.at(0).name, QStringLiteral("Освещение Цех"));
    f.history.undo();
    QCOMPARE(f.project.rooms.at(0).name, QStringLiteral("Зал"));
    QCOMPARE(f.project.shields.at(1).loads.at(0).name, QStringLiteral("Освещение Зал"));
    QCOMPARE(powersOf(f.project.shields.at(1)), QStringList({"1,4", "1,3", "1,3"}));

    // Removed, its loads stay as loads of their own; undo links them again.
    f.prompter.answers = {Prompter::Answer::Yes};
    w.removeRoom();
    QVERIFY(f.project.rooms.isEmpty());
    QCOMPARE(f.project.shields.at(1).loads.size(), 3);
    QCOMPARE(f.project.shields.at(1).loads.at(0).room, 0);
    QCOMPARE(w.roomTable->rowCount(), 0);
    f.history.undo();
    QCOMPARE(f.project.rooms.size(), 1);
    QCOMPARE(f.project.shields.at(1).loads.at(0).room, 1);
    QCOMPARE(w.roomTable->rowCount(), 1);
}

// The window is reached from "Расчет"; what it did to the loads is what the
// shields window shows next, after an undo as well.
void TstRoomsWindow::mainWindowMenuAndShields()
{
    Fixture f;
    MainWindow main(f.context, f.prompter);
    QAction *rooms = main.action(QStringLiteral("actionRooms"));
    QVERIFY(main.menuBar()->findChild<QMenu *>(QStringLiteral("calculationMenu"))->actions().contains(rooms));
    QVERIFY(main.fileMenu->actions().contains(main.action(QStringLiteral("actionLightingReport"))));

    auto shieldRows = [&main] {
        int rows = -1;
        QTimer::singleShot(0, [&] {
            auto *s = qobject_cast<ShieldsWindow *>(main.m_shieldsWindow.data());
            rows = s->currentModel()->rowCount();
            s->closeAndSaveWidths();
        });
        main.showShieldsWindow();
        return rows;
    };
    QCOMPARE(shieldRows(), 0);

    main.project().rooms = {hallRoom()};
    RoomsWindow w(main.project(), f.context, f.prompter, f.writer);
    w.setHistory(main.history());
    w.setDialogRunner([](QDialog &dialog) {
        auto &d = static_cast<TransferDialog &>(dialog);
        d.spreadList->setCurrentIndex(int(RoomLoads::Spread::ThreePhase));
        d.confirm();
        return d.result();
    });
    w.transferToShield();
    QCOMPARE(shieldRows(), 1);
    main.action(QStringLiteral("actionUndo"))->trigger();
    QCOMPARE(shieldRows(), 0);
}

QTEST_MAIN(TstRoomsWindow)
#include "tst_roomswindow.moc"
