#include "ui/lighting/RoomsWindow.h"

#include "base/AppContext.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "docs/schedules/LightingReport.h"
#include "ui/lighting/RoomDialog.h"
#include "ui/lighting/TransferDialog.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/RecordedEdit.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

enum Column { Name = 0, Area, Norm, Curve, Count, Grid, Illuminance, Power, Density, Shields, ColumnCount };

QStringList headings()
{
    return {QStringLiteral("Помещение"), QStringLiteral("S, м²"), QStringLiteral("Eн, лк"), QStringLiteral("Тип"),
            QStringLiteral("N"), QStringLiteral("Расположение"), QStringLiteral("Eср, лк"), QStringLiteral("P, Вт"),
            QStringLiteral("Вт/м²"), QStringLiteral("Щит")};
}

// The rooms and the shields: what a change of the lighting may touch.
struct Snapshot {
    QVector<LightingRoom> rooms;
    QVector<Shield> shields;
};

} // namespace

RoomsWindow::RoomsWindow(Project &project, AppContext &context, Prompter &prompter, ReportWriter &writer,
                         QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter), m_writer(writer),
      m_tables(Lighting::UtilisationTables::load(context.appDir())), m_runDialog([](QDialog &d) { return d.exec(); })
{
    setObjectName(QStringLiteral("RoomsWindow"));
    setWindowTitle(QStringLiteral("Освещение помещений"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    buildLayout();
    connect(addButton, &QPushButton::clicked, this, &RoomsWindow::addRoom);
    connect(changeButton, &QPushButton::clicked, this, &RoomsWindow::changeRoom);
    connect(removeButton, &QPushButton::clicked, this, &RoomsWindow::removeRoom);
    connect(rounderButton, &QPushButton::clicked, this, &RoomsWindow::toggleRounder);
    connect(transferButton, &QPushButton::clicked, this, &RoomsWindow::transferToShield);
    connect(reportButton, &QPushButton::clicked, this, &RoomsWindow::saveReport);
    if (printButton)
        connect(printButton, &QPushButton::clicked, this, &RoomsWindow::printReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(roomTable, &QTableWidget::itemSelectionChanged, this, &RoomsWindow::showDetails);
    connect(roomTable, &QTableWidget::cellDoubleClicked, this, &RoomsWindow::changeRoom);
    showRooms();
    selectRoom(0);
    // The file of the tables is told once, as the window opens.
    if (m_tables.status() != Lighting::UtilisationTables::Status::Ok)
        m_prompter.message(m_tables.problem(), QString(), Prompter::Icon::Exclamation);
}

void RoomsWindow::buildLayout()
{
    roomTable = resultTable(headings(), QStringLiteral("roomTable"), this);
    roomTable->setSelectionMode(QAbstractItemView::SingleSelection);
    roomTable->horizontalHeader()->setStretchLastSection(true);
    roomTable->setMinimumSize(760, 220);
    detailsLabel = new QLabel(this);
    detailsLabel->setObjectName(QStringLiteral("detailsLabel"));
    detailsLabel->setWordWrap(true);
    detailsLabel->setTextFormat(Qt::RichText);
    detailsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detailsLabel->setMinimumHeight(detailsLabel->fontMetrics().lineSpacing() * 7);
    detailsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    addButton = namedButton(QStringLiteral("&Добавить..."), QStringLiteral("addButton"), this);
    changeButton = namedButton(QStringLiteral("&Изменить..."), QStringLiteral("changeButton"), this);
    removeButton = namedButton(QStringLiteral("&Удалить"), QStringLiteral("removeButton"), this);
    rounderButton = namedButton(QStringLiteral("Принять N"), QStringLiteral("rounderButton"), this);
    transferButton = namedButton(QStringLiteral("Передать в &щит..."), QStringLiteral("transferButton"), this);
    reportButton = namedButton(QStringLiteral("Сохранить &ведомость..."), QStringLiteral("reportButton"), this);
    if (m_writer.canPrint())
        printButton = namedButton(QStringLiteral("&Печать..."), QStringLiteral("printButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);
    undoButton = new QToolButton(this);
    undoButton->setObjectName(QStringLiteral("undoButton"));
    redoButton = new QToolButton(this);
    redoButton->setObjectName(QStringLiteral("redoButton"));
    undoButton->hide();
    redoButton->hide();

    auto *commands = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{addButton, changeButton, removeButton, rounderButton,
                                                       transferButton, undoButton, redoButton})
        commands->addWidget(w);
    commands->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(commands);
    layout->addWidget(roomTable, 1);
    layout->addWidget(detailsLabel);
    layout->addLayout(buttonRow({reportButton, printButton, closeButton}));
}

void RoomsWindow::setHistory(QUndoStack *history)
{
    if (m_history || !history)
        return;
    m_history = history;
    QAction *undo = m_history->createUndoAction(this, QStringLiteral("Отменить"));
    undo->setIcon(Icons::command(QStringLiteral("Undo")));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction *redo = m_history->createRedoAction(this, QStringLiteral("Повторить"));
    redo->setIcon(Icons::command(QStringLiteral("Redo")));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction *a : {undo, redo})
        a->setShortcutContext(Qt::WindowShortcut);
    undoButton->setDefaultAction(undo);
    redoButton->setDefaultAction(redo);
    undoButton->show();
    redoButton->show();
    // Undo and redo put the project back; the list follows.
    connect(m_history, &QUndoStack::indexChanged, this, [this] {
        const int row = selectedRoom();
        showRooms();
        selectRoom(row);
    });
}

int RoomsWindow::selectedRoom() const
{
    const QList<QTableWidgetItem *> items = roomTable->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

void RoomsWindow::selectRoom(int row)
{
    if (m_project.rooms.isEmpty()) {
        roomTable->clearSelection();
        showDetails();
        return;
    }
    roomTable->selectRow(qBound(0, row, int(m_project.rooms.size()) - 1));
    showDetails();
}

void RoomsWindow::showRooms()
{
    const int places = m_context.calc.places();
    m_results.clear();
    m_results.reserve(m_project.rooms.size());
    roomTable->setRowCount(int(m_project.rooms.size()));
    const QHash<int, QStringList> linked = RoomLoads::linkedShieldsByRoom(m_project);
    for (int row = 0; row < m_project.rooms.size(); ++row) {
        const LightingRoom &room = m_project.rooms.at(row);
        const RoomLighting::Result r = RoomLighting::compute(room, m_tables);
        m_results << r;
        QStringList texts(ColumnCount);
        texts[Name] = room.name;
        texts[Norm] = room.illuminance;
        texts[Curve] = room.curve;
        texts[Shields] = linked.value(room.id).join(QStringLiteral(", "));
        if (r.ok()) {
            texts[Area] = NumberText::formatRounded(r.area, places);
            texts[Count] = QString::number(r.chosen.count);
            texts[Grid] = RoomLighting::gridText(r.chosen.grid);
            texts[Illuminance] = NumberText::formatRounded(r.chosen.illuminance, places);
            texts[Power] = NumberText::formatRounded(r.chosen.installedPower, places);
            texts[Density] = NumberText::formatRounded(r.chosen.powerDensity, places);
        } else {
            for (const Column c : {Area, Count, Grid, Illuminance, Power, Density})
                texts[c] = QStringLiteral("-");
        }
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            const bool text = c == Name || c == Curve || c == Shields || c == Grid;
            item->setTextAlignment((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (!r.ok() || (c == Grid && r.spacingExceeded))
                item->setForeground(Qt::red);
            roomTable->setItem(row, c, item);
        }
    }
    showDetails();
}

void RoomsWindow::showDetails()
{
    const int row = selectedRoom();
    const bool any = row >= 0 && row < m_results.size();
    for (QPushButton *b : {changeButton, removeButton, transferButton})
        b->setEnabled(any);
    rounderButton->setEnabled(false);
    rounderButton->setText(QStringLiteral("Принять N"));
    if (!any) {
        detailsLabel->setText(m_project.rooms.isEmpty() ? QStringLiteral("Добавьте помещение.") : QString());
        return;
    }
    const LightingRoom &room = m_project.rooms.at(row);
    const RoomLighting::Result &r = m_results.at(row);
    if (!r.ok()) {
        detailsLabel->setText(QStringLiteral("<b>") + room.name.toHtmlEscaped() + QStringLiteral("</b><br><font color=red>")
                              + r.refusal->text.toHtmlEscaped() + QStringLiteral("</font>"));
        transferButton->setEnabled(false);
        return;
    }
    const int places = m_context.calc.places();
    auto n = [places](double value) { return NumberText::formatRounded(value, places); };
    const RoomLighting::Layout &l = r.chosen;
    QStringList lines;
    lines << QStringLiteral("<b>") + room.name.toHtmlEscaped() + QStringLiteral("</b>: S = ") + n(r.area)
                 + QStringLiteral(" м², h = ") + n(r.height) + QStringLiteral(" м, i = ") + n(r.roomIndex)
                 + QStringLiteral(", η = ") + n(r.utilisation.eta) + QStringLiteral(", Φ = ") + n(r.luminaireFlux)
                 + QStringLiteral(" лм, P = ") + n(r.luminairePower) + QStringLiteral(" Вт");
    lines << QStringLiteral("По расчету N = ") + n(r.required) + QStringLiteral(" → ") + QString::number(r.computed)
                 + (l.count != r.computed ? QStringLiteral("; принято N = ") + QString::number(l.count) : QString())
                 + QStringLiteral(" (") + RoomLighting::gridText(l.grid) + QStringLiteral("): Eср = ") + n(l.illuminance)
                 + QStringLiteral(" лк, Pуст = ") + n(l.installedPower) + QStringLiteral(" Вт, ") + n(l.powerDensity)
                 + QStringLiteral(" Вт/м²");
    lines << QStringLiteral("Расстояние между светильниками: ") + n(l.spacingLength) + QStringLiteral(" м по длине, ")
                 + n(l.spacingWidth) + QStringLiteral(" м по ширине; до стен ") + n(l.wallLength) + QStringLiteral(" и ")
                 + n(l.wallWidth) + QStringLiteral(" м; L/h = ") + n(l.spacingRatio)
                 + (r.spacingLimit > 0 ? QStringLiteral(" (λ = ") + n(r.spacingLimit) + QLatin1Char(')')
                                       : QStringLiteral(" (λ для типа не задано)"));
    if (r.rounder)
        lines << QStringLiteral("Сетка ближе к квадратной: N = ") + QString::number(r.rounder->count) + QStringLiteral(" (")
                     + RoomLighting::gridText(r.rounder->grid) + QStringLiteral("), Eср = ") + n(r.rounder->illuminance)
                     + QStringLiteral(" лк, Pуст = ") + n(r.rounder->installedPower) + QStringLiteral(" Вт");
    for (const QString &note : RoomLighting::notes(r))
        lines << QStringLiteral("<font color=red>") + note.toHtmlEscaped() + QStringLiteral("</font>");
    const QStringList shields = RoomLoads::linkedShields(m_project, room.id);
    lines << (shields.isEmpty() ? QStringLiteral("В щит не передано.")
                                : QStringLiteral("Нагрузки в щите ") + shields.join(QStringLiteral(", ")) + QLatin1Char('.'));
    detailsLabel->setText(lines.join(QStringLiteral("<br>")));

    if (!room.count.trimmed().isEmpty()) {
        rounderButton->setText(QStringLiteral("Вернуть N = ") + QString::number(r.computed));
        rounderButton->setEnabled(true);
    } else if (r.rounder) {
        rounderButton->setText(QStringLiteral("Принять N = ") + QString::number(r.rounder->count) + QStringLiteral(" (")
                               + RoomLighting::gridText(r.rounder->grid) + QLatin1Char(')'));
        rounderButton->setEnabled(true);
    }
}

void RoomsWindow::edit(const QString &text, const std::function<void()> &change)
{
    const Snapshot before{m_project.rooms, m_project.shields};
    change();
    const Snapshot after{m_project.rooms, m_project.shields};
    Project *project = &m_project;
    const QPointer<RoomsWindow> window(this);
    const auto put = [project, window](const Snapshot &s) {
        project->rooms = s.rooms;
        project->shields = s.shields;
        project->currentShield = qBound(0, project->currentShield, int(project->shields.size()) - 1);
        if (window)
            window->showRooms();
    };
    if (m_history)
        RecordedEdit::record(m_history, text, [put, before] { put(before); }, [put, after] { put(after); });
    else
        showRooms();
}

void RoomsWindow::putRoom(int row, const LightingRoom &room, const RoomLighting::Result &result)
{
    m_project.rooms[row] = room;
    if (result.ok())
        RoomLoads::update(m_project, room, result.chosen.count, result.luminairePower, m_context.calc.places());
}

void RoomsWindow::addRoom()
{
    LightingRoom room;
    room.name = QStringLiteral("Помещение ") + QString::number(m_project.rooms.size() + 1);
    if (!m_tables.tables().isEmpty())
        room.curve = m_tables.tables().first().name;
    // A new room starts from the luminaire of the last one.
    if (!m_project.rooms.isEmpty()) {
        const LightingRoom &last = m_project.rooms.last();
        room.curve = last.curve;
        room.led = last.led;
        room.flux = last.flux;
        room.power = last.power;
        room.lamps = last.lamps;
        room.efficiency = last.efficiency;
        room.maintenance = last.maintenance;
        room.uniformity = last.uniformity;
    }
    RoomDialog dialog(room, m_tables, m_context, m_prompter, this);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    LightingRoom added = dialog.room();
    added.id = RoomLoads::newRoomId(m_project);
    edit(QStringLiteral("добавление помещения"), [this, &added] { m_project.rooms << added; });
    selectRoom(int(m_project.rooms.size()) - 1);
}

void RoomsWindow::changeRoom()
{
    const int row = selectedRoom();
    if (row < 0)
        return;
    RoomDialog dialog(m_project.rooms.at(row), m_tables, m_context, m_prompter, this);
    if (m_runDialog(dialog) != QDialog::Accepted || dialog.room() == m_project.rooms.at(row))
        return;
    const LightingRoom changed = dialog.room();
    const RoomLighting::Result result = dialog.roomResult();
    edit(QStringLiteral("изменение помещения"), [&] { putRoom(row, changed, result); });
    selectRoom(row);
}

void RoomsWindow::removeRoom()
{
    const int row = selectedRoom();
    if (row < 0)
        return;
    const LightingRoom room = m_project.rooms.at(row);
    if (m_prompter.message(QStringLiteral("Удалить помещение «") + room.name + QStringLiteral("»?"), QString(),
                           Prompter::Icon::Question, Prompter::Buttons::YesNo)
        != Prompter::Answer::Yes)
        return;
    // Its loads stay in their shields as loads of their own.
    edit(QStringLiteral("удаление помещения"), [&] {
        RoomLoads::unlink(m_project, room.id);
        m_project.rooms.removeAt(row);
    });
    selectRoom(row);
}

void RoomsWindow::toggleRounder()
{
    const int row = selectedRoom();
    if (row < 0 || !m_results.at(row).ok())
        return;
    const RoomLighting::Result &r = m_results.at(row);
    LightingRoom room = m_project.rooms.at(row);
    if (!room.count.trimmed().isEmpty())
        room.count.clear();
    else if (r.rounder)
        room.count = QString::number(r.rounder->count);
    else
        return;
    const RoomLighting::Result result = RoomLighting::compute(room, m_tables);
    edit(QStringLiteral("изменение числа светильников"), [&] { putRoom(row, room, result); });
    selectRoom(row);
}

void RoomsWindow::transferToShield()
{
    const int row = selectedRoom();
    if (row < 0)
        return;
    const RoomLighting::Result r = m_results.at(row);
    if (!r.ok()) {
        m_prompter.message(r.refusal->text, QString(), Prompter::Icon::Exclamation);
        return;
    }
    const LightingRoom room = m_project.rooms.at(row);
    TransferDialog dialog(m_project, room, r.chosen.count, r.luminairePower, m_context, m_prompter, this);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    const RoomLoads::Transfer transfer = dialog.transfer();
    edit(QStringLiteral("передача освещения в щит"), [&] {
        RoomLoads::transfer(m_project, room, r.chosen.count, r.luminairePower, transfer, m_context.calc.places());
    });
    selectRoom(row);
}

void RoomsWindow::saveReport()
{
    LightingReport::run(m_writer, m_project, m_tables, m_context.calc.places());
}

void RoomsWindow::printReport()
{
    LightingReport::print(m_writer, m_project, m_tables, m_context.calc.places());
}
