// The line calculator driven offscreen through its controls.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/Prompter.h"
#include "app/frmMain.h"
#include "calculator/frmCalculator.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

void evaluate(frmCalculator &w, const QString &text)
{
    w.txtVariable->setText(text);
    QTest::mouseClick(w.cmdEval, Qt::LeftButton);
}

QStringList results(const frmCalculator &w)
{
    QStringList out;
    for (int i = 0; i < w.lstResults->count(); ++i)
        out << w.lstResults->item(i)->text();
    return out;
}

bool listCommandsEnabled(const frmCalculator &w, bool enabled)
{
    return w.mnuCopyListItem->isEnabled() == enabled && w.mnuDelListItem->isEnabled() == enabled
           && w.mnuClearList->isEnabled() == enabled;
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
    frmCalculator w(prompter);
    QCOMPARE(w.windowTitle(), QStringLiteral("Строковый калькулятор"));
    QVERIFY(!w.isModal());
    QCOMPARE(w.txtVariable->toolTip(), QStringLiteral("Нажмите Enter, чтобы вычислить выражение"));
    QCOMPARE(w.cmdEval->toolTip(), QStringLiteral("Вычислить"));
    QCOMPARE(w.cmdClose->text(), QStringLiteral("&Закрыть"));
    QCOMPARE(w.mnuList->title(), QStringLiteral("Список"));
    QCOMPARE(w.mnuCopyListItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(w.mnuDelListItem->shortcut(), QKeySequence(Qt::Key_Delete));
    QVERIFY(listCommandsEnabled(w, false));
}

void tst_CalculatorWindow::evaluationsFillTheList()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    evaluate(w, QStringLiteral("5/2"));
    evaluate(w, QStringLiteral("1/3"));
    evaluate(w, QStringLiteral("2,5*2"));
    QCOMPARE(results(w), QStringList({QStringLiteral("2,5"), QStringLiteral("0,333333333333333"), QStringLiteral("5")}));
    QCOMPARE(w.lstResults->currentRow(), 2);
    QVERIFY(w.lstResults->item(2)->isSelected());
    QCOMPARE(w.txtVariable->text(), QStringLiteral("2,5*2")); // the expression stays
    QVERIFY(listCommandsEnabled(w, true));
    QVERIFY(prompter.messages.isEmpty());
}

void tst_CalculatorWindow::enterEvaluatesAnywhere()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.txtVariable->setText(QStringLiteral("2+2"));
    w.txtVariable->setFocus();
    QTest::keyClick(w.txtVariable, Qt::Key_Return);
    w.cmdHelp->setFocus();
    QTest::keyClick(w.cmdHelp, Qt::Key_Enter);
    w.lstResults->setFocus();
    QTest::keyClick(w.lstResults, Qt::Key_Return);
    QCOMPARE(results(w), QStringList({QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("4")}));
    QVERIFY(prompter.messages.isEmpty()); // Enter on "?" did not open the help
}

void tst_CalculatorWindow::failureLeavesListAndSelectsExpression()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    evaluate(w, QStringLiteral("7"));
    evaluate(w, QStringLiteral("Sqr(-4)"));
    QCOMPARE(results(w), QStringList({QStringLiteral("7")}));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.lastText(), QStringLiteral("Синтаксическая ошибка!"));
    QCOMPARE(prompter.messages.last().title, QStringLiteral("Ошибка"));
    QCOMPARE(w.txtVariable->selectedText(), QStringLiteral("Sqr(-4)"));
    QVERIFY(w.txtVariable->hasFocus());
}

void tst_CalculatorWindow::doubleClickAppendsAndSelects()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    evaluate(w, QStringLiteral("1/4"));
    evaluate(w, QStringLiteral("2"));
    evaluate(w, QStringLiteral("3"));
    w.txtVariable->setText(QStringLiteral("10*"));

    QListWidgetItem *first = w.lstResults->item(0);
    const QPoint at = w.lstResults->visualItemRect(first).center();
    QTest::mouseClick(w.lstResults->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w.lstResults->viewport(), Qt::LeftButton, {}, at);

    QCOMPARE(w.txtVariable->text(), QStringLiteral("10*0,25"));
    QCOMPARE(w.txtVariable->selectionStart(), 3);
    QCOMPARE(w.txtVariable->selectedText(), QStringLiteral("0,25"));
    QVERIFY(w.txtVariable->hasFocus());

    // The reused text evaluates, comma and all.
    QTest::mouseClick(w.cmdEval, Qt::LeftButton);
    QCOMPARE(w.lstResults->item(3)->text(), QStringLiteral("2,5"));
}

void tst_CalculatorWindow::deleteWithoutSelectionTakesLast()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    evaluate(w, QStringLiteral("1"));
    evaluate(w, QStringLiteral("2"));
    evaluate(w, QStringLiteral("3"));

    w.lstResults->setCurrentRow(0);
    w.mnuDelListItem->trigger();
    QCOMPARE(results(w), QStringList({QStringLiteral("2"), QStringLiteral("3")}));

    w.lstResults->clearSelection();
    w.mnuDelListItem->trigger();
    QCOMPARE(results(w), QStringList({QStringLiteral("2")}));
    QVERIFY(listCommandsEnabled(w, true));
}

void tst_CalculatorWindow::deleteOnlyEntryDisablesCommands()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    evaluate(w, QStringLiteral("42"));
    w.mnuDelListItem->trigger();
    QCOMPARE(w.lstResults->count(), 0);
    QVERIFY(listCommandsEnabled(w, false));

    // A later evaluation enables them again.
    evaluate(w, QStringLiteral("1"));
    QVERIFY(listCommandsEnabled(w, true));
}

void tst_CalculatorWindow::clearAndCopy()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    evaluate(w, QStringLiteral("1/8"));
    evaluate(w, QStringLiteral("9"));
    w.lstResults->setCurrentRow(0);
    w.mnuCopyListItem->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0,125"));

    w.mnuClearList->trigger();
    QCOMPARE(w.lstResults->count(), 0);
    QVERIFY(listCommandsEnabled(w, false));
}

void tst_CalculatorWindow::helpText()
{
    ScriptedPrompter prompter;
    frmCalculator w(prompter);
    QTest::mouseClick(w.cmdHelp, Qt::LeftButton);
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
    frmMain main(context, prompter);
    main.show();
    main.cmdCalculator();
    auto *w = qobject_cast<frmCalculator *>(main.m_calculatorWindow.data());
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    evaluate(*w, QStringLiteral("1+1"));

    main.cmdCalculator(); // F4 again: the same window, list intact
    QCOMPARE(main.m_calculatorWindow.data(), w);
    QCOMPARE(w->lstResults->count(), 1);

    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    QTRY_VERIFY(main.m_calculatorWindow.isNull());

    main.cmdCalculator();
    w = qobject_cast<frmCalculator *>(main.m_calculatorWindow.data());
    QVERIFY(w);
    QCOMPARE(w->lstResults->count(), 0);
    QCOMPARE(w->txtVariable->text(), QString());

    // Esc closes as well.
    QTest::keyClick(w, Qt::Key_Escape);
    QTRY_VERIFY(main.m_calculatorWindow.isNull());
    QVERIFY(main.action(QStringLiteral("mnuCalculator"))->shortcut() == QKeySequence(Qt::Key_F4));
}

QTEST_MAIN(tst_CalculatorWindow)
#include "tst_calculatorwindow.moc"
