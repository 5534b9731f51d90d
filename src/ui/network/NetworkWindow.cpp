#include "ui/network/NetworkWindow.h"

#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "ui/network/NetworkModel.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("NetworkWindow");

// Column widths in twips until the user sets others.
constexpr int kDefaultWidths[NetworkModel::ColumnCount] = {2600, 1300, 2000, 800, 1000, 1000,
                                                           900,  1000, 1000, 1000, 900,  2200};

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
    auto *note = new QLabel(QStringLiteral("Курсивом — линии, начало которых не задано: они считаются от шин ТП. "
                                           "Красным — падение напряжения от шин ТП выше допустимого, ток нагрузки "
                                           "выше допустимого и невыполненные проверки (причина — в подсказке)."),
                            this);
    note->setWordWrap(true);

    changeButton = namedButton(QStringLiteral("&Изменить..."), QStringLiteral("changeButton"), this);
    markPathButton = namedButton(QStringLiteral("&Отметить путь до линии"), QStringLiteral("markPathButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(networkView, 1);
    layout->addWidget(problemLabel);
    layout->addLayout(buttonRow({changeButton, markPathButton, closeButton}));

    restoreColumnWidths();
    networkView->expandAll();
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
    connect(networkView, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        if (m_restoring)
            return;
        if (const int line = m_model->lineOf(index); line >= 0)
            m_collapsed.insert(m_project.lines.at(line).place.id);
        else
            m_busCollapsed = true;
    });
    connect(networkView, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        if (m_restoring)
            return;
        if (const int line = m_model->lineOf(index); line >= 0)
            m_collapsed.remove(m_project.lines.at(line).place.id);
        else
            m_busCollapsed = false;
    });
    connect(changeButton, &QPushButton::clicked, this, [this] {
        if (const int line = selectedLine(); line >= 0)
            emit changeRequested(line);
    });
    connect(markPathButton, &QPushButton::clicked, this, [this] {
        if (const int line = selectedLine(); line >= 0)
            emit markPathRequested(line);
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { expandAsBefore(); });
}

int NetworkWindow::selectedLine() const
{
    return m_model->lineOf(networkView->currentIndex());
}

void NetworkWindow::selectLine(int line)
{
    const QScopedValueRollback selecting(m_selecting, true);
    const QModelIndex index = m_model->indexOfLine(line);
    if (!index.isValid()) {
        networkView->selectionModel()->clearSelection();
        return;
    }
    networkView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
    networkView->scrollTo(index);
}

void NetworkWindow::refresh()
{
    // The selected line is found again by its id: a change may move it in the list.
    const int selected = selectedLine();
    const int selectedId = selected >= 0 && selected < m_project.lines.size() ? m_project.lines.at(selected).place.id : 0;
    {
        const QScopedValueRollback selecting(m_selecting, true);
        m_model->refresh();
    }
    networkView->viewport()->update();
    if (selectedId > 0 && selectedLine() < 0)
        selectLine(m_model->tree().lineOfId(selectedId));
    showProblems();
    updateButtons();
}

void NetworkWindow::expandAsBefore()
{
    const QScopedValueRollback restoring(m_restoring, true);
    networkView->expandAll();
    if (m_busCollapsed)
        networkView->collapse(m_model->busIndex());
    if (m_collapsed.isEmpty())
        return;
    for (int line = 0; line < m_project.lines.size(); ++line)
        if (m_collapsed.contains(m_project.lines.at(line).place.id))
            networkView->collapse(m_model->indexOfLine(line));
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
}

void NetworkWindow::restoreColumnWidths()
{
    const IniDocument ini = m_context.settings().read();
    for (int c = 0; c < NetworkModel::ColumnCount; ++c) {
        const auto twips = NumberText::parse(ini.value(kSection, QStringLiteral("ColumnWidth") + QString::number(c + 1)));
        const double value = twips && *twips >= 0 && *twips <= 1e6 ? *twips : kDefaultWidths[c];
        networkView->setColumnWidth(c, twipsToPixelsX(value, this));
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
