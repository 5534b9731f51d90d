#include "ui/lines/LineNetworkTab.h"

#include "base/Project.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkTexts.h"
#include "calc/network/NetworkTree.h"

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
    if (line >= 0 && line < project.lines.size()) {
        const CableLine &l = project.lines.at(line);
        board = l.place.board;
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
    for (const Shield &shield : project.shields)
        if (!shield.name.trimmed().isEmpty())
            names << shield.name.trimmed();
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
    return place;
}
