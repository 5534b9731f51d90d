#include "base/Prompter.h"
#include "calc/calculator/Evaluator.h"
#include "common/TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>

class tst_Evaluator : public QObject
{
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void refused_data();
    void refused();
    void messageOnlyOnFailure();
    void deepNesting();
    void longInput();
    void randomTextsNeverCrash();
    void cli();
};

void tst_Evaluator::values_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");
    QTest::newRow("comma") << "2,5*2" << "5";
    QTest::newRow("point") << "2.5*2" << "5";
    QTest::newRow("functions") << "Abs(-3)+Sqr(16)" << "7";
    QTest::newRow("sin 0") << "Sin(0)" << "0";
    QTest::newRow("exp 1") << "Exp(1)" << "2,71828182845905";
    QTest::newRow("third") << "1/3" << "0,333333333333333";
    QTest::newRow("half") << "5/2" << "2,5";
    QTest::newRow("power groups left") << "2^3^2" << "64";
    QTest::newRow("minus below power") << "-2^2" << "-4";
    QTest::newRow("minus above product") << "-2*3" << "-6";
    QTest::newRow("signed factor") << "2*-3" << "-6";
    QTest::newRow("signed exponent") << "2^-1" << "0,5";
    QTest::newRow("product before sum") << "1+2*3" << "7";
    QTest::newRow("division groups left") << "8/4/2" << "1";
    QTest::newRow("difference groups left") << "10-4-3" << "3";
    QTest::newRow("power before product") << "2*3^2" << "18";
    QTest::newRow("double minus") << "--2" << "2";
    QTest::newRow("unary plus") << "+2" << "2";
    QTest::newRow("nested") << "((1+2)*(3+(4-1)))/2" << "9";
    QTest::newRow("blanks") << "  ( 1 + 2 ) * 3 " << "9";
    QTest::newRow("names any case") << "sqr(9)+ABS(-1)+lOg(1)" << "4";
    QTest::newRow("name and blank") << "Sqr (4)" << "2";
    QTest::newRow("comma inside function") << "Abs(1,5)" << "1,5";
    QTest::newRow("pasted exponent") << "1,5E+20*2" << "3E+20";
    QTest::newRow("large result") << "10^20" << "1E+20";
    QTest::newRow("small result") << "1/100000" << "1E-05";
    QTest::newRow("leading point") << ".5+1" << "1,5";
    QTest::newRow("no minus zero") << "-0*5" << "0";
    QTest::newRow("zero to zero") << "0^0" << "1";
}

void tst_Evaluator::values()
{
    QFETCH(QString, expression);
    QFETCH(QString, result);
    QCOMPARE(evaluateExpression(expression), result);
}

void tst_Evaluator::refused_data()
{
    QTest::addColumn<QString>("expression");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << "   ";
    QTest::newRow("division by zero") << "1/0";
    QTest::newRow("zero by zero") << "0/0";
    QTest::newRow("log of zero") << "Log(0)";
    QTest::newRow("log of negative") << "Log(-1)";
    QTest::newRow("root of negative") << "Sqr(-4)";
    QTest::newRow("overflow") << "Exp(1000)";
    QTest::newRow("overflow in product") << "1E300*1E300";
    QTest::newRow("literal too large") << "1E400";
    QTest::newRow("zero to negative power") << "0^-1";
    QTest::newRow("root of negative by power") << "(-8)^(1/3)";
    QTest::newRow("unknown name") << "x";
    QTest::newRow("unknown function") << "Atn(1)";
    QTest::newRow("cyrillic letter in name") << "\u0421os(0)";
    QTest::newRow("function without parentheses") << "Sqr 4";
    QTest::newRow("two arguments") << "1,2,3";
    QTest::newRow("unclosed") << "(1+2";
    QTest::newRow("extra closing") << "1+2)";
    QTest::newRow("dangling operator") << "1+";
    QTest::newRow("double operator") << "2**3";
    QTest::newRow("juxtaposed") << "2(3)";
    QTest::newRow("glued name") << "3x";
    QTest::newRow("integer division") << "7\\2";
    QTest::newRow("modulo") << "7 Mod 2";
    QTest::newRow("string") << "\"1\"";
    QTest::newRow("assignment") << "1=1";
}

void tst_Evaluator::refused()
{
    QFETCH(QString, expression);
    QVERIFY(!Evaluator::evaluate(expression));
    QCOMPARE(evaluateExpression(expression), QStringLiteral("Error"));
}

void tst_Evaluator::messageOnlyOnFailure()
{
    ScriptedPrompter prompter;
    QCOMPARE(evaluateExpression(QStringLiteral("1+1"), prompter), QStringLiteral("2"));
    QVERIFY(prompter.messages.isEmpty());

    QCOMPARE(evaluateExpression(QStringLiteral("Log(0)"), prompter), QStringLiteral("Error"));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().text, QStringLiteral("Синтаксическая ошибка!"));
    QCOMPARE(prompter.messages.first().title, QStringLiteral("Ошибка"));
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Exclamation);
}

void tst_Evaluator::deepNesting()
{
    const int allowed = Evaluator::MaxDepth;
    const QString ok = QString(allowed, QLatin1Char('(')) + QStringLiteral("1") + QString(allowed, QLatin1Char(')'));
    QCOMPARE(evaluateExpression(ok), QStringLiteral("1"));

    // Far beyond any sensible nesting: refused, not a stack overflow.
    for (const QString &open : {QStringLiteral("("), QStringLiteral("Abs("), QStringLiteral("-(")}) {
        QString deep;
        for (int i = 0; i < 100000; ++i)
            deep += open;
        deep += QStringLiteral("1") + QString(100000, QLatin1Char(')'));
        QCOMPARE(evaluateExpression(deep), QStringLiteral("Error"));
    }
    // Unclosed nesting of the same depth fails the same way.
    QCOMPARE(evaluateExpression(QString(1000000, QLatin1Char('('))), QStringLiteral("Error"));
}

void tst_Evaluator::longInput()
{
    // A long flat chain needs no recursion at all.
    QString sum = QStringLiteral("0");
    for (int i = 0; i < 200000; ++i)
        sum += QStringLiteral("+1");
    QCOMPARE(evaluateExpression(sum), QStringLiteral("200000"));

    QString signs(1000000, QLatin1Char('-'));
    QCOMPARE(evaluateExpression(signs + QStringLiteral("3")), QStringLiteral("3"));
    QCOMPARE(evaluateExpression(QStringLiteral("-") + signs + QStringLiteral("3")), QStringLiteral("-3"));

    QString powers = QStringLiteral("1");
    for (int i = 0; i < 100000; ++i)
        powers += QStringLiteral("^-2");
    QCOMPARE(evaluateExpression(powers), QStringLiteral("1"));

    QCOMPARE(evaluateExpression(QString(500000, QLatin1Char('9'))), QStringLiteral("Error"));
}

void tst_Evaluator::randomTextsNeverCrash()
{
    // Texts built from the characters the grammar cares about, plus some it
    // refuses; every one must end in a value or the marker, never a crash.
    static const QStringList pieces = {
        QStringLiteral("("), QStringLiteral(")"), QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"),
        QStringLiteral("/"), QStringLiteral("^"), QStringLiteral(","), QStringLiteral("."), QStringLiteral("0"),
        QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("E"), QStringLiteral(" "), QStringLiteral("Abs("),
        QStringLiteral("Cos("), QStringLiteral("Exp("), QStringLiteral("Log("), QStringLiteral("Sin("),
        QStringLiteral("Sqr("), QStringLiteral("Tan("), QStringLiteral("x"), QStringLiteral("\u0421"),
        QStringLiteral("1E308"), QStringLiteral("\""), QStringLiteral("\\")};
    QRandomGenerator rng(20240611);
    int values = 0;
    for (int i = 0; i < 20000; ++i) {
        QString text;
        const int length = int(rng.bounded(1, 40));
        for (int k = 0; k < length; ++k)
            text += pieces.at(int(rng.bounded(pieces.size())));
        const QString result = evaluateExpression(text);
        QVERIFY2(!result.isEmpty(), qPrintable(text));
        if (result != QLatin1String("Error")) {
            ++values;
            QVERIFY2(Evaluator::evaluate(text).has_value(), qPrintable(text));
        }
    }
    QVERIFY(values > 0); // the generator does reach valid expressions
}

void tst_Evaluator::cli()
{
    TestAppDir app;
    const QStringList dir{QStringLiteral("--app-dir"), app.path()};
    QString out, err;
    QCOMPARE(runCli(QStringList{QStringLiteral("eval"), QStringLiteral("2,5*2")} + dir, &out, &err), 0);
    QCOMPARE(out, QStringLiteral("5\n"));
    QVERIFY(err.isEmpty());

    QCOMPARE(runCli(QStringList{QStringLiteral("eval"), QStringLiteral("-2^2")} + dir, &out, &err), 0);
    QCOMPARE(out, QStringLiteral("-4\n"));

    QCOMPARE(runCli(QStringList{QStringLiteral("eval"), QStringLiteral("1/0")} + dir, &out, &err), 1);
    QCOMPARE(out, QStringLiteral("Error\n"));
    QCOMPARE(err.trimmed(), QStringLiteral("Синтаксическая ошибка!"));

    QCOMPARE(runCli(QStringList{QStringLiteral("eval")} + dir, &out, &err), 2);
    // After "--" an expression may start like an option.
    QCOMPARE(runCli(QStringList{QStringLiteral("eval")} + dir + QStringList{QStringLiteral("--"), QStringLiteral("--2")}, &out,
                    &err),
             0);
    QCOMPARE(out, QStringLiteral("2\n"));
}

QTEST_GUILESS_MAIN(tst_Evaluator)
#include "tst_evaluator.moc"
