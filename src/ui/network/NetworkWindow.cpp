#include "ui/network/NetworkWindow.h"

#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "ui/network/NetworkModel.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("NetworkWindow");

// The view lays out open lines by recursion of its own, one level a step:
// lines are opened by the window, and shown when selected, this deep at most
// (a chain of thousands of lines stays closed below, for the user to open).
constexpr int OpenDepth = 64;

// Column widths in twips until the user sets others.
constexpr int kDefaultWidths[NetworkModel::ColumnCount] = {2600, 1100, 1900, 800, 1000, 1000,
                                                           900,  1000, 1000, 1000, 1300, 2600};

} // namespace

NetworkWindow::NetworkWindow(const Project &project, AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("NetworkWindow"));
    setWindowTitle(QStringLiteral("Сеть"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setModal(false);

    m_model = new NetworkModel(m_project, m_context, this);
    networkView = new QTreeView(this);
    networkView->setObjectName(QStringLiteral("networkView"));
    networkView->setModel(m_model);
    networkView->setUniformRowHeights(true);
    networkView->setAllColumnsShowFocus(true);
    networkView->setAlternatingRowColors(true);
    networkView->setSelectionMode(QAbstractItemView::SingleSelection);
    networkView->setSelectionBehavior(QAbstractItemView::SelectRows);
    networkView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    networkView->header()->setStretchLastSection(true);
    networkView->header()->setSectionsMovable(false);
    networkView->setMinimumSize(900, 300);

    problemLabel = new QLabel(this);
    problemLabel->setObjectName(QStringLiteral("problemLabel"));
    problemLabel->setWordWrap(true);
    {
        QPalette p = problemLabel->palette();
        p.setColor(QPalette::WindowText, QColor(0xb0, 0x30, 0x00));
        problemLabel->setPalette(p);
    }
    auto *note = new QLabel(QStringLiteral("Курсивом — линии, у которых начало не задано: они считаются от шин ТП. "
                                           "Красным — падение напряжения от шин ТП выше допустимого, ток нагрузки "
                                           "выше допустимого и невыполненные проверки (причина — в подсказке)."),
                            this);
    note->setWordWrap(true);

    changeButton = namedButton(QStringLiteral("&Изменить..."), QStringLiteral("changeButton"), this);
    markPathButton = namedButton(QStringLiteral("&Отметить путь до линии"), QStringLiteral("markPathButton"), this);
    selectivityButton = namedButton(QStringLiteral("&Селективность..."), QStringLiteral("selectivityButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(networkView, 1);
    layout->addWidget(problemLabel);
    layout->addLayout(buttonRow({changeButton, markPathButton, selectivityButton, closeButton}));

    restoreColumnWidths();
    // "*" would open a line and all below it at once, however deep.
    networkView->installEventFilter(this);
    // Wide enough for its columns, as far as the screen allows.
    int width = 0;
    for (int c = 0; c < NetworkModel::ColumnCount; ++c)
        width += networkView->columnWidth(c);
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(qMin(width + 60, screen.width() - 40), qMin(480, screen.height() - 80));
    expandAsBefore();
    showProblems();
    updateButtons();

    connect(networkView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        updateButtons();
        if (!m_selecting && !m_restoring)
            emit lineSelected(selectedLine());
    });
    // Enter and a double-click open the line for change.
    connect(networkView, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        if (const int line = m_model->lineOf(index); line >= 0)
            emit changeRequested(line);
    });
    connect(changeButton, &QPushButton::clicked, this, [this] {
        if (const int line = selectedLine(); line >= 0)
            emit changeRequested(line);
    });
    connect(markPathButton, &QPushButton::clicked, this, [this] {
        if (const int line = selectedLine(); line >= 0)
            emit markPathRequested(line);
    });
    connect(selectivityButton, &QPushButton::clicked, this, [this] {
        if (const int line = selectedLine(); line >= 0)
            emit selectivityRequested(line);
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { expandAsBefore(); });
}

int NetworkWindow::selectedLine() const
{
    return m_model->lineOf(networkView->currentIndex());
}

void NetworkWindow::selectLine(int line, bool reveal)
{
    const QScopedValueRollback selecting(m_selecting, true);
    const QModelIndex index = m_model->indexOfLine(line);
    if (!index.isValid()) {
        networkView->selectionModel()->clearSelection();
        return;
    }
    // Selecting scrolls to the line, which opens the lines above it: only
    // when asked, so that what the user closed stays closed.
    const bool autoScroll = networkView->hasAutoScroll();
    networkView->setAutoScroll(reveal && m_model->tree().depth(line) <= OpenDepth);
    networkView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
    networkView->setAutoScroll(autoScroll);
}

void NetworkWindow::refresh()
{
    // The selected line is found again by its id: a change may move it in the list.
    const int selectedId = m_model->idOf(selectedLine());
    rememberCollapsed();
    {
        const QScopedValueRollback selecting(m_selecting, true);
        m_model->refresh();
    }
    networkView->viewport()->update();
    if (selectedId > 0 && m_model->idOf(selectedLine()) != selectedId)
        selectLine(m_model->tree().lineOfId(selectedId), false);
    showProblems();
    updateButtons();
}

// The lines are known by their ids: a change may have moved them in the
// list. A line that is gone for a while (deleted, then undone) is remembered.
void NetworkWindow::rememberCollapsed()
{
    m_busCollapsed = !networkView->isExpanded(m_model->busIndex());
    const Network::Tree &tree = m_model->tree();
    for (int line = 0; line < tree.lineCount(); ++line) {
        if (tree.childCount(line) == 0)
            continue;
        if (networkView->isExpanded(m_model->indexOfLine(line)))
            m_collapsed.remove(m_model->idOf(line));
        else
            m_collapsed.insert(m_model->idOf(line));
    }
}

void NetworkWindow::expandAsBefore()
{
    const QScopedValueRollback restoring(m_restoring, true);
    if (!m_busCollapsed)
        networkView->expand(m_model->busIndex());
    const Network::Tree &tree = m_model->tree();
    for (const int line : tree.order())
        if (tree.childCount(line) > 0 && tree.depth(line) < OpenDepth && !m_collapsed.contains(m_model->idOf(line)))
            networkView->expand(m_model->indexOfLine(line));
}

bool NetworkWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == networkView && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Asterisk)
        return true;
    return QDialog::eventFilter(watched, event);
}

void NetworkWindow::showProblems()
{
    const QStringList problems = m_model->problems();
    problemLabel->setText(problems.join(QStringLiteral("\n")));
    problemLabel->setVisible(!problems.isEmpty());
}

void NetworkWindow::updateButtons()
{
    const bool line = selectedLine() >= 0;
    changeButton->setEnabled(line);
    markPathButton->setEnabled(line);
    selectivityButton->setEnabled(line);
}

void NetworkWindow::restoreColumnWidths()
{
    const IniDocument ini = m_context.settings().read();
    for (int c = 0; c < NetworkModel::ColumnCount; ++c) {
        const auto twips = NumberText::parse(ini.value(kSection, QStringLiteral("ColumnWidth") + QString::number(c + 1)));
        if (twips && *twips >= 0 && *twips <= 1e6) {
            networkView->setColumnWidth(c, twipsToPixelsX(*twips, this));
            continue;
        }
        // Until the user sizes it, a column shows its heading whole.
        networkView->setColumnWidth(c, qMax(twipsToPixelsX(kDefaultWidths[c], this),
                                            networkView->header()->sectionSizeHint(c)));
    }
}

void NetworkWindow::storeColumnWidths()
{
    m_context.settings().update(m_prompter, [this](IniDocument &ini) {
        for (int c = 0; c < NetworkModel::ColumnCount; ++c)
            ini.setValue(kSection, QStringLiteral("ColumnWidth") + QString::number(c + 1),
                         QString::number(qRound(pixelsToTwipsX(networkView->columnWidth(c), this))));
    });
}

void NetworkWindow::hideEvent(QHideEvent *event)
{
    storeColumnWidths();
    QDialog::hideEvent(event);
}
