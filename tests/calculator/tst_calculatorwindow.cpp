// The line calculator driven offscreen through its controls.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/Prompter.h"
#include "ui/calculator/CalculatorWindow.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

void evaluate(CalculatorWindow &w, const QString &text)
{
    w.expressionEdit->setText(text);
    QTest::mouseClick(w.evaluateButton, Qt::LeftButton);
}

QStringList results(const CalculatorWindow &w)
{
    QStringList out;
    for (int i = 0; i < w.resultList->count(); ++i)
        out << w.resultList->item(i)->text();
    return out;
}

bool listCommandsEnabled(const CalculatorWindow &w, bool enabled)
{
    return w.actionCopyResult->isEnabled() == enabled && w.actionDeleteResult->isEnabled() == enabled
           && w.actionClearResults->isEnabled() == enabled;
}

} // namespace

class tst_CalculatorWindow : public QObject
{
    Q_OBJECT
private slots:
    void freshWindow();
    void evaluationsFillTheList();
    void enterEvaluatesAnywhere();
    void failureLeavesListAndSelectsExpression();
    void doubleClickAppendsAndSelects();
    void deleteWithoutSelectionTakesLast();
    void deleteOnlyEntryDisablesCommands();
    void clearAndCopy();
    void helpText();
    void mainWindowKeepsOneAndCloseDiscards();
};

void tst_CalculatorWindow::freshWindow()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    QCOMPARE(w.windowTitle(), QStringLiteral("Строковый калькулятор"));
    QVERIFY(!w.isModal());
    QCOMPARE(w.expressionEdit->toolTip(), QStringLiteral("Нажмите Enter, чтобы вычислить выражение"));
    QCOMPARE(w.evaluateButton->toolTip(), QStringLiteral("Вычислить"));
    QCOMPARE(w.closeButton->text(), QStringLiteral("&Закрыть"));
    QCOMPARE(w.resultsMenu->title(), QStringLiteral("Список"));
    QCOMPARE(w.actionCopyResult->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(w.actionDeleteResult->shortcut(), QKeySequence(Qt::Key_Delete));
    QVERIFY(listCommandsEnabled(w, false));
}

void tst_CalculatorWindow::evaluationsFillTheList()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    evaluate(w, QStringLiteral("5/2"));
    evaluate(w, QStringLiteral("1/3"));
    evaluate(w, QStringLiteral("2,5*2"));
    QCOMPARE(results(w), QStringList({QStringLiteral("2,5"), QStringLiteral("0,333333333333333"), QStringLiteral("5")}));
    QCOMPARE(w.resultList->currentRow(), 2);
    QVERIFY(w.resultList->item(2)->isSelected());
    QCOMPARE(w.expressionEdit->text(), QStringLiteral("2,5*2")); // the expression stays
    QVERIFY(listCommandsEnabled(w, true));
    QVERIFY(prompter.messages.isEmpty());
}

void tst_CalculatorWindow::enterEvaluatesAnywhere()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.expressionEdit->setText(QStringLiteral("2+2"));
    w.expressionEdit->setFocus();
    QTest::keyClick(w.expressionEdit, Qt::Key_Return);
    w.helpButton->setFocus();
    QTest::keyClick(w.helpButton, Qt::Key_Enter);
    w.resultList->setFocus();
    QTest::keyClick(w.resultList, Qt::Key_Return);
    QCOMPARE(results(w), QStringList({QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("4")}));
    QVERIFY(prompter.messages.isEmpty()); // Enter on "?" did not open the help
}

void tst_CalculatorWindow::failureLeavesListAndSelectsExpression()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    evaluate(w, QStringLiteral("7"));
    evaluate(w, QStringLiteral("Sqr(-4)"));
    QCOMPARE(results(w), QStringList({QStringLiteral("7")}));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.lastText(), QStringLiteral("Синтаксическая ошибка!"));
    QCOMPARE(prompter.messages.last().title, QStringLiteral("Ошибка"));
    QCOMPARE(w.expressionEdit->selectedText(), QStringLiteral("Sqr(-4)"));
    QVERIFY(w.expressionEdit->hasFocus());
}

void tst_CalculatorWindow::doubleClickAppendsAndSelects()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    evaluate(w, QStringLiteral("1/4"));
    evaluate(w, QStringLiteral("2"));
    evaluate(w, QStringLiteral("3"));
    w.expressionEdit->setText(QStringLiteral("10*"));

    QListWidgetItem *first = w.resultList->item(0);
    const QPoint at = w.resultList->visualItemRect(first).center();
    QTest::mouseClick(w.resultList->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w.resultList->viewport(), Qt::LeftButton, {}, at);

    QCOMPARE(w.expressionEdit->text(), QStringLiteral("10*0,25"));
    QCOMPARE(w.expressionEdit->selectionStart(), 3);
    QCOMPARE(w.expressionEdit->selectedText(), QStringLiteral("0,25"));
    QVERIFY(w.expressionEdit->hasFocus());

    // The reused text evaluates, comma and all.
    QTest::mouseClick(w.evaluateButton, Qt::LeftButton);
    QCOMPARE(w.resultList->item(3)->text(), QStringLiteral("2,5"));
}

void tst_CalculatorWindow::deleteWithoutSelectionTakesLast()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    evaluate(w, QStringLiteral("1"));
    evaluate(w, QStringLiteral("2"));
    evaluate(w, QStringLiteral("3"));

    w.resultList->setCurrentRow(0);
    w.actionDeleteResult->trigger();
    QCOMPARE(results(w), QStringList({QStringLiteral("2"), QStringLiteral("3")}));

    w.resultList->clearSelection();
    w.actionDeleteResult->trigger();
    QCOMPARE(results(w), QStringList({QStringLiteral("2")}));
    QVERIFY(listCommandsEnabled(w, true));
}

void tst_CalculatorWindow::deleteOnlyEntryDisablesCommands()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    evaluate(w, QStringLiteral("42"));
    w.actionDeleteResult->trigger();
    QCOMPARE(w.resultList->count(), 0);
    QVERIFY(listCommandsEnabled(w, false));

    // A later evaluation enables them again.
    evaluate(w, QStringLiteral("1"));
    QVERIFY(listCommandsEnabled(w, true));
}

void tst_CalculatorWindow::clearAndCopy()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    evaluate(w, QStringLiteral("1/8"));
    evaluate(w, QStringLiteral("9"));
    w.resultList->setCurrentRow(0);
    w.actionCopyResult->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0,125"));

    w.actionClearResults->trigger();
    QCOMPARE(w.resultList->count(), 0);
    QVERIFY(listCommandsEnabled(w, false));
}

void tst_CalculatorWindow::helpText()
{
    ScriptedPrompter prompter;
    CalculatorWindow w(prompter);
    QTest::mouseClick(w.helpButton, Qt::LeftButton);
    QCOMPARE(prompter.messages.size(), 1);
    const auto &m = prompter.messages.first();
    QCOMPARE(m.title, QStringLiteral("Справка"));
    QCOMPARE(m.icon, Prompter::Icon::Question);
    QCOMPARE(m.buttons, Prompter::Buttons::Ok);
    const QStringList lines = m.text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 18); // 17 lines and the CR LF after the last
    QCOMPARE(lines.last(), QString());
    QCOMPARE(lines.at(0), QStringLiteral("Синтаксис команд:"));
    QCOMPARE(lines.at(1), QString());
    QCOMPARE(lines.at(7), QStringLiteral("^\tвозведение в степень"));
    QCOMPARE(lines.at(11), QStringLiteral("\u0421os()\tвозвращает косинус выражения"));
    QCOMPARE(lines.at(16), QStringLiteral("Tan()\tвозвращает тангенс выражения"));
}

void tst_CalculatorWindow::mainWindowKeepsOneAndCloseDiscards()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    MainWindow main(context, prompter);
    main.show();
    main.showCalculator();
    auto *w = qobject_cast<CalculatorWindow *>(main.m_calculatorWindow.data());
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    evaluate(*w, QStringLiteral("1+1"));

    main.showCalculator(); // F4 again: the same window, list intact
    QCOMPARE(main.m_calculatorWindow.data(), w);
    QCOMPARE(w->resultList->count(), 1);

    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QTRY_VERIFY(main.m_calculatorWindow.isNull());

    main.showCalculator();
    w = qobject_cast<CalculatorWindow *>(main.m_calculatorWindow.data());
    QVERIFY(w);
    QCOMPARE(w->resultList->count(), 0);
    QCOMPARE(w->expressionEdit->text(), QString());

    // Esc closes as well.
    QTest::keyClick(w, Qt::Key_Escape);
    QTRY_VERIFY(main.m_calculatorWindow.isNull());
    QVERIFY(main.action(QStringLiteral("actionCalculator"))->shortcut() == QKeySequence(Qt::Key_F4));
}

QTEST_MAIN(tst_CalculatorWindow)
#include "tst_calculatorwindow.moc"
