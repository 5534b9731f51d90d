#include "calculator/frmCalculator.h"

#include "app/Prompter.h"
#include "calculator/Evaluator.h"

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

frmCalculator::frmCalculator(Prompter &prompter, QWidget *parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmCalculator"));
    setWindowTitle(QStringLiteral("Строковый калькулятор"));
    setModal(false);

    txtVariable = new QLineEdit(this);
    txtVariable->setObjectName(QStringLiteral("txtVariable"));
    txtVariable->setFont(courier());
    txtVariable->setToolTip(QStringLiteral("Нажмите Enter, чтобы вычислить выражение"));

    cmdEval = new QPushButton(QStringLiteral("="), this);
    cmdEval->setObjectName(QStringLiteral("cmdEval"));
    cmdEval->setToolTip(QStringLiteral("Вычислить"));
    cmdEval->setFixedWidth(cmdEval->sizeHint().height() + 8);

    lstResults = new QListWidget(this);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setFont(courier());
    lstResults->setContextMenuPolicy(Qt::CustomContextMenu);

    cmdHelp = new QPushButton(QStringLiteral("?"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setFixedWidth(cmdEval->width() + 12);
    cmdClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    // Enter belongs to the evaluation wherever the focus is, so no button is a default.
    for (QPushButton *b : {cmdEval, cmdHelp, cmdClose}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    mnuList = new QMenu(QStringLiteral("Список"), this);
    mnuList->setObjectName(QStringLiteral("mnuList"));
    mnuCopyListItem = mnuList->addAction(QStringLiteral("Копировать"));
    mnuCopyListItem->setObjectName(QStringLiteral("mnuCopyListItem"));
    mnuCopyListItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuDelListItem = mnuList->addAction(QStringLiteral("Удалить"));
    mnuDelListItem->setObjectName(QStringLiteral("mnuDelListItem"));
    mnuDelListItem->setShortcut(QKeySequence(Qt::Key_Delete));
    mnuList->addSeparator();
    mnuClearList = mnuList->addAction(QStringLiteral("Очистить"));
    mnuClearList->setObjectName(QStringLiteral("mnuClearList"));
    // The shortcuts work while the list has the focus; the expression field keeps its own Ctrl+C and Del.
    for (QAction *a : {mnuCopyListItem, mnuDelListItem, mnuClearList}) {
        a->setShortcutContext(Qt::WidgetShortcut);
        lstResults->addAction(a);
    }
    setListCommandsEnabled(false);

    auto *top = new QHBoxLayout;
    top->addWidget(txtVariable, 1);
    top->addWidget(cmdEval);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lstResults, 1);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(cmdEval, &QPushButton::clicked, this, &frmCalculator::evaluate);
    connect(cmdHelp, &QPushButton::clicked, this, &frmCalculator::showHelp);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(lstResults, &QListWidget::itemDoubleClicked, this, &frmCalculator::reuseResult);
    connect(lstResults, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { mnuList->popup(lstResults->viewport()->mapToGlobal(pos)); });
    connect(mnuCopyListItem, &QAction::triggered, this, &frmCalculator::copyResult);
    connect(mnuDelListItem, &QAction::triggered, this, &frmCalculator::deleteResult);
    connect(mnuClearList, &QAction::triggered, this, &frmCalculator::clearResults);
}

void frmCalculator::setListCommandsEnabled(bool enabled)
{
    mnuCopyListItem->setEnabled(enabled);
    mnuDelListItem->setEnabled(enabled);
    mnuClearList->setEnabled(enabled);
}

int frmCalculator::targetRow() const
{
    const QList<QListWidgetItem *> selected = lstResults->selectedItems();
    if (!selected.isEmpty())
        return lstResults->row(selected.first());
    return lstResults->count() - 1;
}

void frmCalculator::evaluate()
{
    WaitCursor wait;
    const QString result = EvalExpression(txtVariable->text(), m_prompter);
    if (result != Evaluator::errorMarker()) {
        lstResults->addItem(result);
        lstResults->setCurrentRow(lstResults->count() - 1);
        setListCommandsEnabled(true);
    } else {
        txtVariable->setFocus(Qt::OtherFocusReason);
        txtVariable->selectAll();
    }
}

void frmCalculator::reuseResult()
{
    QListWidgetItem *item = lstResults->currentItem();
    if (!item)
        return;
    const QString entry = item->text();
    const QString text = txtVariable->text() + entry;
    txtVariable->setText(text);
    txtVariable->setFocus(Qt::OtherFocusReason);
    txtVariable->setSelection(int(text.size() - entry.size()), int(entry.size()));
}

void frmCalculator::copyResult()
{
    // Without a selection the newest result is copied, as delete would take it.
    const int row = targetRow();
    if (row < 0)
        return;
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setText(lstResults->item(row)->text());
}

void frmCalculator::deleteResult()
{
    const int row = targetRow();
    if (row >= 0)
        delete lstResults->takeItem(row);
    lstResults->clearSelection();
    if (lstResults->count() == 0)
        setListCommandsEnabled(false);
}

void frmCalculator::clearResults()
{
    lstResults->clear();
    setListCommandsEnabled(false);
}

QString frmCalculator::helpText()
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

void frmCalculator::showHelp()
{
    m_prompter.message(helpText(), QStringLiteral("Справка"), Prompter::Icon::Question, Prompter::Buttons::Ok);
}

void frmCalculator::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        evaluate();
        event->accept();
        return;
    }
    // Esc closes (and so discards the list) through QDialog's reject.
    QDialog::keyPressEvent(event);
}
