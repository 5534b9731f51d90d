// The update check: the page scan and the version comparison, then the whole
// check against a small HTTP server on 127.0.0.1 started by the test.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/Prompter.h"
#include "shell/MainWindow.h"
#include "ui/update/UpdateCheck.h"
#include "calc/update/UpdateSite.h"
#include "ui/widgets/QtPrompter.h"

#include <QAction>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QApplication>
#include <QMessageBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

// Answers every request with one planned response, or never (hang).
class PageServer : public QObject
{
    Q_OBJECT
public:
    PageServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, &PageServer::accept);
    }
    QString site() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }

    static QByteArray page(int status, const QByteArray &body, const QByteArray &contentType = "text/html")
    {
        const QByteArray reason = status == 200 ? "OK" : "Internal Server Error";
        return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + contentType
               + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    QByteArray response;
    bool hang = false;
    QStringList requestLines;
    std::function<void()> onRequest; // runs while the check waits

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                m_buffers[socket] += socket->readAll();
                const QByteArray &req = m_buffers[socket];
                if (!req.contains("\r\n\r\n"))
                    return;
                requestLines << QString::fromLatin1(req.left(req.indexOf("\r\n")));
                if (onRequest)
                    onRequest();
                if (hang)
                    return;
                socket->write(response);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

// Stands for the system's handler of web addresses.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    UrlRecorder()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~UrlRecorder() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

QString padded(int before, const QString &text)
{
    return QString(before, QLatin1Char('x')) + text;
}

struct CheckFixture {
    ScriptedPrompter prompter;
    UpdateCheck check{prompter};
    QLabel panel{QStringLiteral("Было")};
    PageServer server;
    UrlRecorder urls;
    CheckFixture()
    {
        check.setNetworkProbe([] { return UpdateCheck::NetworkState::Connected; });
        check.setTimeoutMs(20000);
    }
};

} // namespace

class TstUpdate : public QObject
{
    Q_OBJECT
private slots:
    void findVersion_data();
    void findVersion();
    void comparison_data();
    void comparison();
    void addresses();
    void timeoutWithinBounds_data();
    void timeoutWithinBounds();
    void decodePage();

    void checkAgainstServer_data();
    void checkAgainstServer();
    void yesOpensInstaller();
    void statusTextsAndCursor();
    void networkWarnings_data();
    void networkWarnings();
    void transferErrors();
    void hangingServerTimesOut();
    void secondCheckRefusedWhileWaiting();
    void mainWindowCommand();
    void messagesArePlainText();
};

void TstUpdate::findVersion_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("version");

    QTest::newRow("plain") << QStringLiteral("<p>Текущая версия: 3.2.18</p>") << true << QStringLiteral("3.2.18");
    QTest::newRow("no blank") << QStringLiteral("версия:3.2.18") << true << QStringLiteral("3.2.18");
    QTest::newRow("cut to 7 then trimmed") << QStringLiteral("версия:  3.2.180beta") << true << QStringLiteral("3.2.1");
    // The first marker's text is no version, and the second is not looked at.
    QTest::newRow("only the first marker counts") << QStringLiteral("версия: 3.1 и версия: 3.9") << false << QString();
    QTest::newRow("case matters") << QStringLiteral("Версия: 3.2.18") << false << QString();
    QTest::newRow("no marker") << QStringLiteral("<html>nothing here</html>") << false << QString();
    QTest::newRow("empty page") << QString() << false << QString();
    QTest::newRow("split across two pieces") << padded(97, QStringLiteral("версия: 3.2.18")) << false << QString();
    // The version is taken from the marker's own piece only.
    QTest::newRow("marker ends its piece") << padded(93, QStringLiteral("версия:3.2.18")) << false << QString();
    // Only digits and dots are a version: markup, control characters and
    // words are what a moved or hostile site sends.
    QTest::newRow("markup") << QStringLiteral("версия: <b>9999") << false << QString();
    QTest::newRow("terminal codes") << QStringLiteral("версия: 9\a\x1b[2J") << false << QString();
    QTest::newRow("a word") << QStringLiteral("версия: новая") << false << QString();
    QTest::newRow("dot first") << QStringLiteral("версия: .9") << false << QString();
    QTest::newRow("version cut by the piece") << padded(90, QStringLiteral("версия: 3.2.18")) << true
                                               << QStringLiteral("3.");
    QTest::newRow("second piece") << padded(100, QStringLiteral("версия: 3.2.18")) << true << QStringLiteral("3.2.18");
    QTest::newRow("last searched piece") << padded(100 * 1000, QStringLiteral("версия: 3.2.18")) << true
                                          << QStringLiteral("3.2.18");
    QTest::newRow("beyond 1001 pieces") << padded(100 * 1001, QStringLiteral("версия: 3.2.18")) << false << QString();
}

void TstUpdate::findVersion()
{
    QFETCH(QString, page);
    QFETCH(bool, found);
    QFETCH(QString, version);
    const auto result = UpdateSite::findVersion(page);
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(*result, version);
}

void TstUpdate::comparison_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<bool>("newer");
    QTest::newRow("3.2.18") << QStringLiteral("3.2.18") << true;
    QTest::newRow("same") << QStringLiteral("3.2.17") << false;
    QTest::newRow("textual 3.10.1") << QStringLiteral("3.10.1") << false;
    QTest::newRow("3.3") << QStringLiteral("3.3") << true;
    QTest::newRow("4.0.0") << QStringLiteral("4.0.0") << true;
    QTest::newRow("prefix 3.2.1") << QStringLiteral("3.2.1") << false;
    QTest::newRow("empty") << QString() << false;
}

void TstUpdate::comparison()
{
    QFETCH(QString, site);
    QFETCH(bool, newer);
    QCOMPARE(UpdateSite::isNewer(site, UpdateSite::runningVersionText(3, 2, 17)), newer);
}

void TstUpdate::addresses()
{
    QCOMPARE(UpdateSite::runningVersionText(3, 2, 17), QStringLiteral("3.2.17"));
    QCOMPARE(UpdateSite::runningVersionText(3, 2, 5), QStringLiteral("3.2.05"));
    QCOMPARE(UpdateSite::rootAddress(QStringLiteral("http://example.test:8080")), QStringLiteral("http://example.test:8080/"));
    QCOMPARE(UpdateSite::installerAddress(QStringLiteral("http://example.test/index.html?a=1")),
             QStringLiteral("http://example.test/KB_setup.exe"));
    QCOMPARE(UpdateSite::hostName(QStringLiteral("example.test")), QStringLiteral("example.test"));
    QCOMPARE(UpdateSite::rootAddress(QStringLiteral("example.test")), QStringLiteral("http://example.test/"));

    const IniDocument none;
    QCOMPARE(UpdateSite::siteAddress(none), UpdateSite::defaultSiteAddress());
    QCOMPARE(UpdateSite::timeoutSeconds(none), UpdateSite::DefaultTimeoutSeconds);
    const IniDocument set = IniDocument::fromText(QStringLiteral("[Update]\r\nSite=http://127.0.0.1:9\r\nTimeout=5\r\n"));
    QCOMPARE(UpdateSite::siteAddress(set), QStringLiteral("http://127.0.0.1:9"));
    QCOMPARE(UpdateSite::timeoutSeconds(set), 5);
}

void TstUpdate::timeoutWithinBounds_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("seconds");
    QTest::newRow("seconds") << "7" << 7;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("zero takes the default") << "0" << 30;
    QTest::newRow("negative takes the default") << "-5" << 30;
    QTest::newRow("text takes the default") << "много" << 30;
    QTest::newRow("above ten minutes") << "601" << 600;
    // Times 1000 these no longer fit an int: the time-out was lost.
    QTest::newRow("beyond an int in ms") << "2147484" << 600;
    QTest::newRow("beyond any integer") << "99999999999999999999" << 600;
}

void TstUpdate::timeoutWithinBounds()
{
    QFETCH(QString, stored);
    QFETCH(int, seconds);
    QCOMPARE(UpdateSite::timeoutSeconds(IniDocument::fromText(QStringLiteral("[Update]\r\nTimeout=") + stored)), seconds);
}

void TstUpdate::decodePage()
{
    const QString text = QStringLiteral("Новая версия: 3.2.18");
    QCOMPARE(UpdateSite::decodePage(cp1251(text), "text/html; charset=windows-1251"), text);
    QCOMPARE(UpdateSite::decodePage(text.toUtf8(), "text/html; charset=\"utf-8\""), text);
    // Without a charset: UTF-8 when the bytes are UTF-8, else Windows-1251.
    QCOMPARE(UpdateSite::decodePage(text.toUtf8(), "text/html"), text);
    QCOMPARE(UpdateSite::decodePage(cp1251(text), QByteArray()), text);
}

void TstUpdate::checkAgainstServer_data()
{
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("after");

    const QString noUpdateTitle = QStringLiteral("Кабинор");
    const int info = int(Prompter::Icon::Information);
    const int question = int(Prompter::Icon::Question);
    const int critical = int(Prompter::Icon::Critical);
    auto body = [](const QString &html) { return PageServer::page(200, html.toUtf8(), "text/html; charset=utf-8"); };

    QTest::newRow("newer 3.2.18")
        << body(QStringLiteral("<html><body>Последняя версия: 3.2.18</body></html>")) << QString()
        << QStringLiteral("Доступна новая версия: 3.2.18!\r\n\r\nВаша версия: 3.2.17\r\n\r\nЗагрузить новую версию программы?")
        << QStringLiteral("Обновление") << question << QStringLiteral("3.2.18");
    QTest::newRow("same 3.2.17") << body(QStringLiteral("версия: 3.2.17")) << QString()
                                 << QStringLiteral("Версия на сайте: 3.2.17. Обновление не обнаружено.") << noUpdateTitle
                                 << info << QStringLiteral("3.2.17");
    QTest::newRow("textual 3.10.1") << body(QStringLiteral("версия: 3.10.1")) << QString()
                                    << QStringLiteral("Версия на сайте: 3.10.1. Обновление не обнаружено.")
                                    << noUpdateTitle << info << QStringLiteral("3.10.1");
    QTest::newRow("longer than 7") << body(QStringLiteral("версия:  3.2.180-beta")) << QString()
                                   << QStringLiteral("Версия на сайте: 3.2.1. Обновление не обнаружено.")
                                   << noUpdateTitle << info << QStringLiteral("3.2.1");
    QTest::newRow("Windows-1251 page")
        << PageServer::page(200, cp1251(QStringLiteral("<p>версия: 3.2.18</p>")), "text/html; charset=windows-1251")
        << QString() << QStringLiteral("Доступна новая версия: 3.2.18!\r\n\r\nВаша версия: 3.2.17\r\n\r\nЗагрузить новую версию программы?")
        << QStringLiteral("Обновление") << question << QStringLiteral("3.2.18");
    // A failed scan reports and offers nothing; the earlier version stays.
    const QString moved = QStringLiteral("Ошибка при обновлении! Возможно, сайт был перемещен. Обратитесь к автору!");
    QTest::newRow("split marker") << body(padded(97, QStringLiteral("версия: 3.2.18"))) << QStringLiteral("3.2.16")
                                  << moved << QStringLiteral("Ошибка") << critical << QStringLiteral("3.2.16");
    QTest::newRow("no marker") << body(QStringLiteral("<html>Сайт на реконструкции</html>")) << QStringLiteral("3.2.16")
                               << moved << QStringLiteral("Ошибка") << critical << QStringLiteral("3.2.16");
}

void TstUpdate::checkAgainstServer()
{
    QFETCH(QByteArray, response);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QString, after);

    CheckFixture f;
    f.server.response = response;
    f.prompter.answers = {Prompter::Answer::No};
    QString m_siteVersion = before;
    QVERIFY(f.check.run(f.server.site(), &f.panel, m_siteVersion));

    QCOMPARE(f.server.requestLines, QStringList{QStringLiteral("GET / HTTP/1.1")});
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().text, text);
    QCOMPARE(f.prompter.messages.first().title, title);
    QCOMPARE(int(f.prompter.messages.first().icon), icon);
    QCOMPARE(m_siteVersion, after);
    QVERIFY(f.urls.opened.isEmpty());
    QCOMPARE(f.panel.text(), QStringLiteral("Было"));
    QVERIFY(!f.check.isRunning());
}

void TstUpdate::yesOpensInstaller()
{
    CheckFixture f;
    f.server.response = PageServer::page(200, QStringLiteral("версия: 3.2.18").toUtf8());
    f.prompter.answers = {Prompter::Answer::Yes};
    QString m_siteVersion;
    f.check.run(f.server.site(), &f.panel, m_siteVersion);
    QCOMPARE(f.prompter.messages.first().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(f.urls.opened, QList<QUrl>{QUrl(f.server.site() + QStringLiteral("/KB_setup.exe"))});
}

void TstUpdate::statusTextsAndCursor()
{
    CheckFixture f;
    QString atProbe;
    QString atRequest;
    bool waitCursor = false;
    f.check.setNetworkProbe([&] {
        atProbe = f.panel.text();
        waitCursor = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        return UpdateCheck::NetworkState::Connected;
    });
    f.server.onRequest = [&] { atRequest = f.panel.text(); };
    f.server.response = PageServer::page(200, "versiya unknown");
    QString m_siteVersion;
    f.check.run(f.server.site(), &f.panel, m_siteVersion);
    QCOMPARE(atProbe, QStringLiteral("Проверка соединения... Пожалуйста, ждите..."));
    QCOMPARE(atRequest, QStringLiteral("Обнаружено подключение к сети. Идет проверка обновления... Пожалуйста, ждите..."));
    QVERIFY(waitCursor);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(f.panel.text(), QStringLiteral("Было"));
}

void TstUpdate::networkWarnings_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::newRow("no network") << int(UpdateCheck::NetworkState::None)
                                << QStringLiteral("Попытка соединения с 127.0.0.1 не удалась, так как Вы не подключены к сети!");
    QTest::newRow("LAN only")
        << int(UpdateCheck::NetworkState::LanOnly)
        << QStringLiteral("Попытка соединения с 127.0.0.1 не удалась, так как Вы подключены только к локальной сети (LAN)!");
}

void TstUpdate::networkWarnings()
{
    QFETCH(int, state);
    QFETCH(QString, text);
    CheckFixture f;
    f.check.setNetworkProbe([state] { return UpdateCheck::NetworkState(state); });
    f.server.response = PageServer::page(200, "версия: 3.2.18");
    QString m_siteVersion;
    f.check.run(f.server.site(), &f.panel, m_siteVersion);
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), text);
    QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Ошибка подключения"));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Exclamation);
    QVERIFY(f.server.requestLines.isEmpty());
    QCOMPARE(f.panel.text(), QStringLiteral("Было"));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstUpdate::transferErrors()
{
    // The server answers with an error: the program says so in its own words, and only that.
    {
        CheckFixture f;
        f.server.response = PageServer::page(500, "версия: 3.2.18");
        QString m_siteVersion = QStringLiteral("3.2.16");
        f.check.run(f.server.site(), &f.panel, m_siteVersion);
        QCOMPARE(f.prompter.messages.size(), 1);
        QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
        QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Кабинор"));
        QCOMPARE(f.prompter.lastText(), QStringLiteral("Сайт 127.0.0.1 ответил ошибкой 500. Попробуйте позже."));
        QCOMPARE(m_siteVersion, QStringLiteral("3.2.16"));
    }
    // Nobody listens at the address.
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const QString site = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        ScriptedPrompter prompter;
        UpdateCheck check(prompter);
        check.setNetworkProbe([] { return UpdateCheck::NetworkState::Connected; });
        QString m_siteVersion;
        check.run(site, nullptr, m_siteVersion);
        QCOMPARE(prompter.messages.size(), 1);
        QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Critical);
        QCOMPARE(prompter.lastText(), QStringLiteral("Сайт 127.0.0.1 отказал в соединении. Попробуйте позже."));
    }
}

void TstUpdate::hangingServerTimesOut()
{
    CheckFixture f;
    f.server.hang = true;
    f.check.setTimeoutMs(300);
    QString m_siteVersion;
    f.check.run(f.server.site(), &f.panel, m_siteVersion);
    QCOMPARE(f.server.requestLines.size(), 1);
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Сайт 127.0.0.1 не ответил за отведенное время. Попробуйте позже."));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
    QVERIFY(!f.check.isRunning());
    QCOMPARE(f.panel.text(), QStringLiteral("Было"));
}

void TstUpdate::secondCheckRefusedWhileWaiting()
{
    CheckFixture f;
    f.server.response = PageServer::page(200, "версия: 3.2.17");
    bool secondStarted = true;
    f.server.onRequest = [&] {
        QString other;
        secondStarted = f.check.run(f.server.site(), &f.panel, other);
    };
    QString m_siteVersion;
    QVERIFY(f.check.run(f.server.site(), &f.panel, m_siteVersion));
    QVERIFY(!secondStarted);
    QCOMPARE(f.server.requestLines.size(), 1);
    QCOMPARE(f.prompter.messages.size(), 1);
}

void TstUpdate::mainWindowCommand()
{
    TestAppDir app;
    PageServer server;
    server.response = PageServer::page(200, "<b>версия: 3.2.18</b>");
    setIniValue(app.settingsPath(), QStringLiteral("Update"), QStringLiteral("Site"), server.site());
    setIniValue(app.settingsPath(), QStringLiteral("Startup"), QStringLiteral("ShowTips"), QStringLiteral("0"));
    AppContext context(app.path());
    ScriptedPrompter prompter;
    UrlRecorder urls;
    MainWindow window(context, prompter);
    window.updateCheck()->setNetworkProbe([] { return UpdateCheck::NetworkState::Connected; });

    bool disabledWhileWaiting = false;
    server.onRequest = [&] {
        disabledWhileWaiting = !window.action(QStringLiteral("actionCheckUpdate"))->isEnabled()
                               && !window.action(QStringLiteral("actionTrayCheckUpdate"))->isEnabled();
    };
    prompter.answers = {Prompter::Answer::No};
    window.action(QStringLiteral("actionCheckUpdate"))->trigger();
    QCOMPARE(window.m_siteVersion, QStringLiteral("3.2.18"));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().title, QStringLiteral("Обновление"));
    QVERIFY(disabledWhileWaiting);
    QVERIFY(window.action(QStringLiteral("actionCheckUpdate"))->isEnabled());

    // The tray menu's item runs the same check.
    server.response = PageServer::page(200, "версия: 3.2.17");
    window.action(QStringLiteral("actionTrayCheckUpdate"))->trigger();
    QCOMPARE(prompter.lastText(), QStringLiteral("Версия на сайте: 3.2.17. Обновление не обнаружено."));
    QCOMPARE(server.requestLines.size(), 2);
}

void TstUpdate::messagesArePlainText()
{
    // Texts from files and sites go into messages as they are: the box
    // must never read them as markup.
    QtPrompter prompter;
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            format = box->textFormat();
            shown = box->text();
            box->accept();
        }
    });
    poll.start(10);
    prompter.message(QStringLiteral("Версия на сайте: <b>9999</b>"), QString(), Prompter::Icon::Information,
                     Prompter::Buttons::Ok);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, QStringLiteral("Версия на сайте: <b>9999</b>"));
}

QTEST_MAIN(TstUpdate)
#include "tst_update.moc"
