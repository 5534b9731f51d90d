#include "ui/calculator/CalculatorWindow.h"

#include "base/Prompter.h"
#include "calc/calculator/Evaluator.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFont courier()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter); // a monospace stand-in where Courier New is missing
    return f;
}

// The wait pointer for the time of one evaluation.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

CalculatorWindow::CalculatorWindow(Prompter &prompter, QWidget *parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("CalculatorWindow"));
    setWindowTitle(QStringLiteral("Строковый калькулятор"));
    setModal(false);

    expressionEdit = new QLineEdit(this);
    expressionEdit->setObjectName(QStringLiteral("expressionEdit"));
    expressionEdit->setFont(courier());
    expressionEdit->setToolTip(QStringLiteral("Нажмите Enter, чтобы вычислить выражение"));

    evaluateButton = new QPushButton(QStringLiteral("="), this);
    evaluateButton->setObjectName(QStringLiteral("evaluateButton"));
    evaluateButton->setToolTip(QStringLiteral("Вычислить"));
    evaluateButton->setFixedWidth(evaluateButton->sizeHint().height() + 8);

    resultList = new QListWidget(this);
    resultList->setObjectName(QStringLiteral("resultList"));
    resultList->setFont(courier());
    resultList->setContextMenuPolicy(Qt::CustomContextMenu);

    helpButton = new QPushButton(QStringLiteral("?"), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setFixedWidth(evaluateButton->width() + 12);
    closeButton = new QPushButton(QStringLiteral("&Закрыть"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    // Enter belongs to the evaluation wherever the focus is, so no button is a default.
    for (QPushButton *b : {evaluateButton, helpButton, closeButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    resultsMenu = new QMenu(QStringLiteral("Список"), this);
    resultsMenu->setObjectName(QStringLiteral("resultsMenu"));
    actionCopyResult = resultsMenu->addAction(QStringLiteral("Копировать"));
    actionCopyResult->setObjectName(QStringLiteral("actionCopyResult"));
    actionCopyResult->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    actionDeleteResult = resultsMenu->addAction(QStringLiteral("Удалить"));
    actionDeleteResult->setObjectName(QStringLiteral("actionDeleteResult"));
    actionDeleteResult->setShortcut(QKeySequence(Qt::Key_Delete));
    resultsMenu->addSeparator();
    actionClearResults = resultsMenu->addAction(QStringLiteral("Очистить"));
    actionClearResults->setObjectName(QStringLiteral("actionClearResults"));
    // The shortcuts work while the list has the focus; the expression field keeps its own Ctrl+C and Del.
    for (QAction *a : {actionCopyResult, actionDeleteResult, actionClearResults}) {
        a->setShortcutContext(Qt::WidgetShortcut);
        resultList->addAction(a);
    }
    setListCommandsEnabled(false);

    auto *top = new QHBoxLayout;
    top->addWidget(expressionEdit, 1);
    top->addWidget(evaluateButton);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(helpButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(resultList, 1);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(evaluateButton, &QPushButton::clicked, this, &CalculatorWindow::evaluate);
    connect(helpButton, &QPushButton::clicked, this, &CalculatorWindow::showHelp);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(resultList, &QListWidget::itemDoubleClicked, this, &CalculatorWindow::reuseResult);
    connect(resultList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { resultsMenu->popup(resultList->viewport()->mapToGlobal(pos)); });
    connect(actionCopyResult, &QAction::triggered, this, &CalculatorWindow::copyResult);
    connect(actionDeleteResult, &QAction::triggered, this, &CalculatorWindow::deleteResult);
    connect(actionClearResults, &QAction::triggered, this, &CalculatorWindow::clearResults);
}

void CalculatorWindow::setListCommandsEnabled(bool enabled)
{
    actionCopyResult->setEnabled(enabled);
    actionDeleteResult->setEnabled(enabled);
    actionClearResults->setEnabled(enabled);
}

int CalculatorWindow::targetRow() const
{
    const QList<QListWidgetItem *> selected = resultList->selectedItems();
    if (!selected.isEmpty())
        return resultList->row(selected.first());
    return resultList->count() - 1;
}

void CalculatorWindow::evaluate()
{
    WaitCursor wait;
    const QString result = evaluateExpression(expressionEdit->text(), m_prompter);
    if (result != Evaluator::errorMarker()) {
        resultList->addItem(result);
        resultList->setCurrentRow(resultList->count() - 1);
        setListCommandsEnabled(true);
    } else {
        expressionEdit->setFocus(Qt::OtherFocusReason);
        expressionEdit->selectAll();
    }
}

void CalculatorWindow::reuseResult()
{
    QListWidgetItem *item = resultList->currentItem();
    if (!item)
        return;
    const QString entry = item->text();
    const QString text = expressionEdit->text() + entry;
    expressionEdit->setText(text);
    expressionEdit->setFocus(Qt::OtherFocusReason);
    expressionEdit->setSelection(int(text.size() - entry.size()), int(entry.size()));
}

void CalculatorWindow::copyResult()
{
    // Without a selection the newest result is copied, as delete would take it.
    const int row = targetRow();
    if (row < 0)
        return;
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setText(resultList->item(row)->text());
}

void CalculatorWindow::deleteResult()
{
    const int row = targetRow();
    if (row >= 0)
        delete resultList->takeItem(row);
    resultList->clearSelection();
    if (resultList->count() == 0)
        setListCommandsEnabled(false);
}

void CalculatorWindow::clearResults()
{
    resultList->clear();
    setListCommandsEnabled(false);
}

QString CalculatorWindow::helpText()
{
    const QString crlf = QStringLiteral("\r\n");
    const QString tab = QStringLiteral("\t");
    QStringList lines;
    lines << QStringLiteral("Синтаксис команд:") << QString() << QStringLiteral("Операции:")
          << QStringLiteral("+") + tab + QStringLiteral("суммирование")
          << QStringLiteral("-") + tab + QStringLiteral("разность")
          << QStringLiteral("/") + tab + QStringLiteral("деление")
          << QStringLiteral("*") + tab + QStringLiteral("произведение")
          << QStringLiteral("^") + tab + QStringLiteral("возведение в степень") << QString()
          << QStringLiteral("Функции:")
          << QStringLiteral("Abs()") + tab + QStringLiteral("возвращает абсолютное значение выражения")
          // The first letter of "Сos()" is the Cyrillic С, as the program always showed it.
          << QStringLiteral("\u0421os()") + tab + QStringLiteral("возвращает косинус выражения")
          << QStringLiteral("Exp()") + tab + QStringLiteral("возводит экспоненту в степень")
          << QStringLiteral("Log()") + tab + QStringLiteral("возвращает натуральный логарифм выражения")
          << QStringLiteral("Sin()") + tab + QStringLiteral("возвращает синус выражения")
          << QStringLiteral("Sqr()") + tab + QStringLiteral("извлекает квадратный корень из выражения")
          << QStringLiteral("Tan()") + tab + QStringLiteral("возвращает тангенс выражения");
    return lines.join(crlf) + crlf;
}

void CalculatorWindow::showHelp()
{
    m_prompter.message(helpText(), QStringLiteral("Справка"), Prompter::Icon::Question, Prompter::Buttons::Ok);
}

void CalculatorWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        evaluate();
        event->accept();
        return;
    }
    // Esc closes (and so discards the list) through QDialog's reject.
    QDialog::keyPressEvent(event);
}
