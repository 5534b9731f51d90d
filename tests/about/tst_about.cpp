// The tip of the day and the About window, driven offscreen.
#include "TestSupport.h"
#include "ui/about/AboutDialog.h"
#include "ui/about/TipDialog.h"
#include "calc/about/Tips.h"
#include "base/AppContext.h"
#include "base/Prompter.h"
#include "base/IniStore.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

// Plays back planned numbers in [0, 1).
std::function<double()> sequence(QList<double> values)
{
    auto shared = std::make_shared<QList<double>>(std::move(values));
    return [shared] { return shared->isEmpty() ? 0.0 : shared->takeFirst(); };
}

} // namespace

class TstAbout : public QObject
{
    Q_OBJECT
private slots:
    void splitLines_data();
    void splitLines();

    void oneTipEveryTime();
    void emptyThirdTip();
    void missingAndEmptyFile();
    void checkBoxWritesAtOnce();
    void closesWithOkAndEsc();

    void aboutWindow();
    void webSiteLink();
};

void TstAbout::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("no break at the end") << QStringLiteral("a\r\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("empty line kept") << QStringLiteral("a\r\n\r\nc\r\n")
                                     << QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")};
    QTest::newRow("LF and CR alone") << QStringLiteral("a\nb\rc") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("one empty line") << QStringLiteral("\r\n") << QStringList{QString()};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TstAbout::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(Tips::splitLines(text), lines);
}

void TstAbout::oneTipEveryTime()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("tipofday.dat"), cp1251(QStringLiteral("Единственный совет\r\n")));
    AppContext context(app.path());
    ScriptedPrompter prompter;
    TipDialog tip(context, prompter);
    QCOMPARE(tip.windowTitle(), QStringLiteral("Совет дня"));
    QCOMPARE(tip.tipLabel->text(), QStringLiteral("Единственный совет"));
    for (int i = 0; i < 5; ++i) {
        tip.nextTipButton->click();
        QCOMPARE(tip.tipLabel->text(), QStringLiteral("Единственный совет"));
    }
}

void TstAbout::emptyThirdTip()
{
    TestAppDir app;
    app.writeFile(QStringLiteral("tipofday.dat"), cp1251(QStringLiteral("Первый\r\nВторой\r\n\r\nЧетвертый\r\n")));
    // 0.5 of four tips is the third, 0.0 the first, 0.99 the fourth.
    AppContext context(app.path());
    ScriptedPrompter prompter;
    TipDialog tip(context, prompter, nullptr, sequence({0.5, 0.0, 0.99}));
    QCOMPARE(tip.tips().size(), 4);
    QCOMPARE(tip.currentTip(), 3);
    QCOMPARE(tip.tipLabel->text(), QString());
    tip.nextTipButton->click();
    QCOMPARE(tip.tipLabel->text(), QStringLiteral("Первый"));
    tip.nextTipButton->click();
    QCOMPARE(tip.tipLabel->text(), QStringLiteral("Четвертый"));
}

void TstAbout::missingAndEmptyFile()
{
    TestAppDir app;
    QFile::remove(app.file(QStringLiteral("tipofday.dat")));
    AppContext context(app.path());
    ScriptedPrompter prompter;
    {
        TipDialog tip(context, prompter);
        QCOMPARE(tip.tipLabel->text(), QStringLiteral("...файл tipofday.dat не найден!"));
        tip.nextTipButton->click();
        QCOMPARE(tip.tipLabel->text(), QStringLiteral("...файл tipofday.dat не найден!"));
        QVERIFY(!tip.loadTips(QString()));
    }
    app.writeFile(QStringLiteral("tipofday.dat"), QByteArray());
    TipDialog tip(context, prompter);
    QVERIFY(tip.tips().isEmpty());
    QCOMPARE(tip.tipLabel->text(), QString());
    tip.nextTipButton->click();
    QCOMPARE(tip.tipLabel->text(), QString());
}

void TstAbout::checkBoxWritesAtOnce()
{
    TestAppDir app;
    auto showTips = [&] {
        IniDocument ini;
        ini.load(app.settingsPath());
        return ini.value(QStringLiteral("Startup"), QStringLiteral("ShowTips"), QStringLiteral("<none>"));
    };
    QCOMPARE(showTips(), QStringLiteral("<none>"));
    AppContext context(app.path());
    ScriptedPrompter prompter;
    TipDialog tip(context, prompter);
    tip.show();
    // A missing key reads as "1".
    QVERIFY(tip.showAtStartupCheck->isChecked());
    tip.showAtStartupCheck->click();
    QCOMPARE(showTips(), QStringLiteral("0"));
    QVERIFY(tip.isVisible());
    tip.showAtStartupCheck->click();
    QCOMPARE(showTips(), QStringLiteral("1"));

    setIniValue(app.settingsPath(), QStringLiteral("Startup"), QStringLiteral("ShowTips"), QStringLiteral("0"));
    TipDialog second(context, prompter);
    QVERIFY(!second.showAtStartupCheck->isChecked());
}

void TstAbout::closesWithOkAndEsc()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    TipDialog tip(context, prompter);
    tip.show();
    QTest::keyClick(&tip, Qt::Key_Escape);
    QVERIFY(!tip.isVisible());
    tip.show();
    tip.okButton->click();
    QVERIFY(!tip.isVisible());
    QCOMPARE(tip.result(), int(QDialog::Accepted));

    AboutDialog about(QStringLiteral("http://example.test"));
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
    about.show();
    about.okButton->click();
    QVERIFY(!about.isVisible());
}

void TstAbout::aboutWindow()
{
    AboutDialog about(QStringLiteral("http://example.test"));
    QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(about.versionLabel->text(), QStringLiteral("Версия 3.2.17"));
    const QStringList lines = about.messageEdit->toPlainText().split(QLatin1Char('\n'));
    QVERIFY(lines.size() >= 8);
    QCOMPARE(lines.mid(0, 6),
             (QStringList{QStringLiteral("Если Вам понравилось данное приложение или есть критические замечания, "
                                         "пожалуйста, сообщите о них автору! "),
                          QString(), QStringLiteral("Помогите сделать программу лучше!"),
                          QStringLiteral("Если в результате работы программы Вы обнаружите ошибку, также сообщите об  "),
                          QStringLiteral("этом автору!"), QString()}));
    QVERIFY(about.messageEdit->isReadOnly());
}

void TstAbout::webSiteLink()
{
    UrlRecorder urls;
    AboutDialog about(QStringLiteral("http://example.test"));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.webSiteLabel->text(), QStringLiteral("http://example.test"));
    QVERIFY(!about.webSiteLabel->font().underline());

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(about.webSiteLabel, &enter);
    QVERIFY(about.webSiteLabel->font().underline());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(about.webSiteLabel, &leave);
    QVERIFY(!about.webSiteLabel->font().underline());

    QTest::mouseClick(about.webSiteLabel, Qt::LeftButton);
    QCOMPARE(urls.opened, QList<QUrl>{QUrl(QStringLiteral("http://example.test"))});
    // A click beside the label opens nothing.
    QTest::mouseClick(about.versionLabel, Qt::LeftButton);
    QCOMPARE(urls.opened.size(), 1);
}

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
