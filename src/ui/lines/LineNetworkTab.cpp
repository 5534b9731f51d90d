#include "ui/lines/LineNetworkTab.h"

#include "base/Project.h"
#include "base/NumberText.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkLoads.h"
#include "calc/network/NetworkTexts.h"
#include "calc/network/NetworkTree.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

LineNetworkTab::LineNetworkTab(QWidget *parent) : QWidget(parent)
{
    auto *pageLayout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("Место линии в сети"), this);
    frame->setObjectName(QStringLiteral("placeFrame"));
    startList = new QComboBox(frame);
    startList->setObjectName(QStringLiteral("startList"));
    startList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    startList->setMinimumContentsLength(24);
    startNote = new QLabel(frame);
    startNote->setObjectName(QStringLiteral("startNote"));
    startNote->setWordWrap(true);
    boardList = new QComboBox(frame);
    boardList->setObjectName(QStringLiteral("boardList"));
    boardList->setEditable(true);
    boardList->setInsertPolicy(QComboBox::NoInsert);
    boardList->lineEdit()->setMaxLength(60);
    auto *grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Начало линии"), frame), 0, 0);
    grid->addWidget(startList, 0, 1);
    grid->addWidget(startNote, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Щит в конце линии"), frame), 2, 0);
    grid->addWidget(boardList, 2, 1);
    coincidenceEdit = new QLineEdit(QStringLiteral("1"), frame);
    coincidenceEdit->setObjectName(QStringLiteral("coincidenceEdit"));
    coincidenceEdit->setToolTip(QStringLiteral("Коэффициент совмещения максимумов нагрузок в конце линии, 0 < Ко ≤ 1"));
    grid->addWidget(new QLabel(QStringLiteral("Ко в конце линии"), frame), 3, 0);
    grid->addWidget(coincidenceEdit, 3, 1);
    phaseList = new QComboBox(frame);
    phaseList->setObjectName(QStringLiteral("phaseList"));
    phaseList->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    grid->addWidget(new QLabel(QStringLiteral("Фаза однофазной линии"), frame), 4, 0);
    grid->addWidget(phaseList, 4, 1);
    networkLoadCheck = new QCheckBox(QStringLiteral("Ток нагрузки: по сети"), frame);
    networkLoadCheck->setObjectName(QStringLiteral("networkLoadCheck"));
    networkLoadCheck->setChecked(true);
    grid->addWidget(networkLoadCheck, 5, 0);
    networkLoadNote = new QLabel(frame);
    networkLoadNote->setObjectName(QStringLiteral("networkLoadNote"));
    grid->addWidget(networkLoadNote, 5, 1);
    grid->setColumnStretch(1, 1);
    pageLayout->addWidget(frame);
    pageLayout->addStretch(1);

    // Picking an entry, even the one shown, sets the start.
    connect(startList, &QComboBox::activated, this, [this] {
        m_startChosen = true;
        startNote->clear();
    });
}

void LineNetworkTab::fill(const Project &project, int line)
{
    m_startChosen = false;
    const Network::Tree tree = Network::Tree::build(project.lines);
    std::optional<int> shownFrom = 0;
    QString note = Network::noStartText() + QStringLiteral(": линия считается от шин ТП.");
    QString board;
    LinePlace shownPlace;
    networkLoadNote->clear();
    if (line >= 0 && line < project.lines.size()) {
        const CableLine &l = project.lines.at(line);
        board = l.place.board;
        shownPlace = l.place;
        if (const int s = project.shieldOfId(l.place.shield); s >= 0)
            board = project.shields.at(s).name;
        // What the network gives the line, whether or not it takes it.
        const Network::LineLoad load = Network::computeLoads(project, tree).lines.at(line);
        if (load.fed)
            networkLoadNote->setText(NumberText::formatRounded(load.current, 2) + QStringLiteral(" А, cos φ ")
                                     + NumberText::formatRounded(load.powerFactor, 2));
        else
            networkLoadNote->setText(QStringLiteral("в конце линии нет щита и линий: ток задается"));
        shownFrom = Network::fromOf(project.lines, tree.parent(line));
        switch (tree.start(line)) {
        case Network::Start::Set:
            note.clear();
            break;
        case Network::Start::CheckedOrder:
            note = Network::noStartText()
                   + QStringLiteral(": отмеченная линия продолжает отмеченные линии в порядке списка.");
            break;
        case Network::Start::Broken:
            note = Network::noStartText()
                   + QStringLiteral(": указанное в проекте начало — линия, которой нет, или круг; линия считается от "
                                    "шин ТП.");
            break;
        case Network::Start::NotSet:
            break;
        }
    }
    startNote->setText(note);
    fillStarts(project, tree, line, shownFrom);
    fillBoards(project, board);
    coincidenceEdit->setText(NumberText::format(shownPlace.coincidence));
    phaseList->setCurrentText(shownPlace.phase);
    networkLoadCheck->setChecked(shownPlace.networkLoad);
}

void LineNetworkTab::refill(const Project &project)
{
    const bool chosen = m_startChosen;
    const QVariant from = startList->currentData();
    const QString board = boardList->currentText();
    const QString note = startNote->text();
    fillStarts(project, Network::Tree::build(project.lines), -1,
               from.isValid() ? std::optional<int>(from.toInt()) : std::optional<int>(0));
    fillBoards(project, board);
    m_startChosen = chosen;
    startNote->setText(note);
}

void LineNetworkTab::fillStarts(const Project &project, const Network::Tree &tree, int line,
                                std::optional<int> shownFrom)
{
    const QSignalBlocker block(startList);
    startList->clear();
    startList->addItem(QStringLiteral("Шины 0,4 кВ ТП"), 0);
    for (int i = 0; i < project.lines.size(); ++i) {
        const CableLine &l = project.lines.at(i);
        // A line cannot start at its own end or below it: that would close a circle.
        if (l.place.id <= 0 || (line >= 0 && tree.isDownstream(i, line)))
            continue;
        startList->addItem(l.name, l.place.id);
    }
    const int shown = shownFrom ? startList->findData(*shownFrom) : 0;
    startList->setCurrentIndex(shown >= 0 ? shown : 0);
}

void LineNetworkTab::fillBoards(const Project &project, const QString &board)
{
    QStringList names;
    for (const CableLine &l : project.lines)
        if (!l.place.board.trimmed().isEmpty())
            names << l.place.board.trimmed();
    m_shields.clear();
    for (const Shield &shield : project.shields) {
        if (!shield.name.trimmed().isEmpty())
            names << shield.name.trimmed();
        m_shields.append({shield.name.trimmed(), shield.id});
    }
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    const QSignalBlocker block(boardList);
    boardList->clear();
    boardList->addItems(names);
    boardList->setCurrentIndex(-1);
    boardList->setEditText(board);
}

LinePlace LineNetworkTab::placeFor(const LinePlace &before) const
{
    LinePlace place = before;
    if (m_startChosen)
        place.from = startList->currentData().toInt();
    place.board = boardList->currentText().trimmed();
    // A shield's name links the shield; any other name unlinks it.
    place.shield = 0;
    for (const auto &[name, id] : m_shields) {
        if (id > 0 && name == place.board) {
            place.shield = id;
            break;
        }
    }
    // The dialog refuses a Ко outside (0; 1] before it asks (coincidence()).
    if (const auto k = coincidence())
        place.coincidence = *k;
    place.phase = phaseList->currentText();
    place.networkLoad = networkLoadCheck->isChecked();
    return place;
}

std::optional<double> LineNetworkTab::coincidence() const
{
    const auto k = NumberText::parse(coincidenceEdit->text());
    if (k && LinePlace::coincidenceAccepted(*k))
        return k;
    return std::nullopt;
}
