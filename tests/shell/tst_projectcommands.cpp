// The project commands of the main window driven offscreen: save, save as,
// new, open, the save question, the recent-file ring, failures.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/ProjectFile.h"
#include "base/TextFile.h"
#include "docs/writers/RtfDocument.h"
#include "ui/lines/LineListModel.h"
#include "ui/project/ProjectPropertiesDialog.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

namespace {

const QString kNoPower = QStringLiteral("Укажите мощность трансформатора и данные питающей линии!");
const char *const kLineCommands[] = {"actionChangeLine", "actionDeleteLine", "actionCopyList", "actionCheckAll"};

CableLine makeLine(const QString &name, bool checked = false)
{
    CableLine l;
    l.name = name;
    l.cells = QStringList{QStringLiteral("ВВГ"), QStringLiteral("3x2,5"), QStringLiteral("Медь"), QStringLiteral("100"),
                          QStringLiteral("712"), QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("6,47"),
                          QStringLiteral("220")};
    l.checked = checked;
    return l;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString readText(const QString &path)
{
    return TextFile::decode(readBytes(path));
}

void writeProject(const QString &path, const QString &stp, const QVector<CableLine> &lines,
                  const QVector<Shield> &shields = Project::initialShields())
{
    Project p;
    p.transformerPower = stp;
    p.lines = lines;
    p.shields = shields;
    QVERIFY(ProjectFile::write(path, p));
}

// Closes whatever modal dialog a command opens (the transformer dialog) as
// Esc does, so that a test goes on.
class ModalCloser
{
public:
    ModalCloser()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget *w = QApplication::activeModalWidget()) {
                ++closed;
                QTest::keyClick(w, Qt::Key_Escape);
            }
        });
        m_timer.start();
    }
    int closed = 0;

private:
    QTimer m_timer;
};

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    QTemporaryDir elsewhere;

    Fixture() { window = std::make_unique<MainWindow>(context, prompter); }
    QString other(const QString &name) const { return elsewhere.filePath(name); }
    QAction *recent(int k) const { return window->findChild<QAction *>(QStringLiteral("actionRecentFile%1").arg(k)); }
    QStringList recentCaptions() const
    {
        QStringList out;
        for (int k = 0; k < 5; ++k)
            out << (recent(k)->isVisible() ? recent(k)->text() : QString());
        return out;
    }
    bool lineCommandsEnabled() const
    {
        bool all = true;
        bool any = false;
        for (const char *name : kLineCommands) {
            const bool on = window->action(QString::fromLatin1(name))->isEnabled();
            all = all && on;
            any = any || on;
        }
        for (const char *key : {"ChangeLine", "DelLine"}) {
            const bool on = window->toolButton(QString::fromLatin1(key))->isEnabled();
            all = all && on;
            any = any || on;
        }
        if (all != any)
            qWarning("line commands partly enabled");
        return all;
    }
    // The pointer and the progress bar are back after a file operation.
    void verifyIdle() const
    {
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!window->progressBar->isVisibleTo(window.get()));
    }
    bool said(const QString &text) const
    {
        for (const auto &m : prompter.messages)
            if (m.text == text)
                return true;
        return false;
    }
};

} // namespace

class TstProjectCommands : public QObject
{
    Q_OBJECT
private slots:
    void projectWithoutLinesSavesAndOpens();
    void openingRestoresLinesAndChecks();
    void plainSaveAfterOpenWritesBack();
    void saveAsAddsExtensionAndAsksBeforeReplacing();
    void firstPlainSaveAsksBeforeReplacing();
    void newProjectCancelKeepsEverything();
    void newProjectStartsEmpty();
    void answeringYesWithoutSaveStopsCommand_data();
    void answeringYesWithoutSaveStopsCommand();
    void failedSaveKeepsOldFileAndStopsTheCommand();
    void missingAndUnreadableFiles();
    void damagedFileOpensWhatItCan();
    void recentFilesRing();
    void recentFilesAcrossRuns();
    void projectPropertiesThroughTheDialog();
};

void TstProjectCommands::projectWithoutLinesSavesAndOpens()
{
    Fixture f;
    f.window->project().transformerPower = QStringLiteral("400");
    f.window->statusPanel2->setText(QStringLiteral("прежний текст"));

    // A fresh project lives in the application folder: a plain save writes there at once.
    QVERIFY(f.window->saveProject(false));
    QVERIFY(f.prompter.prompts.isEmpty());
    const QString path = f.app.file(QStringLiteral("Проект 1.kbp"));
    // The shields window was never opened: one "ЩО1" without loads.
    QCOMPARE(readText(path), QStringLiteral("[TP]\r\nSTP=400\r\nHS=0\r\nMaterial=\r\nLength=\r\nSection=\r\nGroup=Y\r\nSk=0\r\nHV=10\r\n"
                                   "BusR=0\r\nBusX=0\r\nContactR=0,1\r\nArcR=10\r\nCableTemp=65\r\nOverhead=0\r\n"
                                            "[Lines]\r\nSubItemCount=9\r\nLineCount=0\r\nNextId=1\r\n"
                                            "[Shields]\r\nTab1=ЩО1\r\nTabsCount=1\r\nSubItemsCount=0\r\n"
                                            "[Loads1]\r\nLoadCount=0\r\n"));
    // The "saved as" text only stands while the file is written.
    QCOMPARE(f.window->statusPanel2->text(), QStringLiteral("прежний текст"));
    f.verifyIdle();

    f.window->setLineCommandsEnabled(true);
    QVERIFY(f.window->openProject(path));
    QCOMPARE(f.window->lineModel()->rowCount(), 0);
    QVERIFY(!f.lineCommandsEnabled());
    QCOMPARE(f.window->statusPanel2->text(), QDir::toNativeSeparators(path));
    QVERIFY(f.prompter.messages.isEmpty());
    f.verifyIdle();
}

void TstProjectCommands::openingRestoresLinesAndChecks()
{
    Fixture f;
    const QString path = f.other(QStringLiteral("Объект.kbp"));
    writeProject(path, QStringLiteral("250"), {makeLine(QStringLiteral("Л1"), true), makeLine(QStringLiteral("Л2"))},
                 {Shield{QStringLiteral("ЩР1"), {Load()}}, Shield{QStringLiteral("ЩР2"), {}}});
    // Another program wrote "true": only the exact "True" checks a line.
    QByteArray bytes = readBytes(path);
    bytes.replace("[Line2]\r\nLineName=\xCB\x32\r\nChecked=False", "[Line2]\r\nLineName=\xCB\x32\r\nChecked=true");
    QVERIFY(bytes.contains("Checked=true"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
    out.close();

    QVERIFY(f.window->openProject(path));
    LineListModel *model = f.window->lineModel();
    QCOMPARE(model->rowCount(), 2);
    QVERIFY(model->line(0).checked);
    QVERIFY(!model->line(1).checked);
    QVERIFY(model->data(model->index(0, 3), Qt::FontRole).value<QFont>().bold());
    QVERIFY(!model->data(model->index(1, 3), Qt::FontRole).value<QFont>().bold());
    QVERIFY(f.lineCommandsEnabled());

    const Project &p = f.window->project();
    QCOMPARE(p.projectName, QStringLiteral("Объект"));
    QCOMPARE(p.projectFolder, f.elsewhere.path() + QLatin1Char('/'));
    QCOMPARE(p.transformerPower, QStringLiteral("250"));
    QCOMPARE(p.shields.size(), 2);
    QCOMPARE(p.shields.at(0).name, QStringLiteral("ЩР1"));
    QCOMPARE(p.shields.at(0).loads.size(), 1);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("[Объект] - Кабинор 3.2"));
    // The summary ran over the checked line.
    QVERIFY(f.window->statusPanel1->text() != QStringLiteral("Нажмите F1 для получения справки"));
}

void TstProjectCommands::plainSaveAfterOpenWritesBack()
{
    Fixture f;
    const QString path = f.other(QStringLiteral("Объект.kbp"));
    writeProject(path, QStringLiteral("250"), {makeLine(QStringLiteral("Л1"))});

    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.files = {path};
    f.window->chooseAndOpenProject();
    QCOMPARE(f.prompter.lastFileArgs, (QStringList{f.app.path(), QString(), QStringLiteral("Файлы проектов (*.kbp)")}));
    QCOMPARE(f.window->projectName(), QStringLiteral("Объект"));

    f.prompter.prompts.clear();
    f.window->project().transformerPower = QStringLiteral("630");
    QVERIFY(f.window->saveProject(false));
    QVERIFY(f.prompter.prompts.isEmpty());
    Project back;
    ProjectFile::read(path, back);
    QCOMPARE(back.transformerPower, QStringLiteral("630"));
    QCOMPARE(back.lines.size(), 1);
    QVERIFY(QDir(f.app.path()).entryList({QStringLiteral("*.kbp")}).isEmpty());
}

void TstProjectCommands::saveAsAddsExtensionAndAsksBeforeReplacing()
{
    Fixture f;
    f.window->project().transformerPower = QStringLiteral("400");
    f.window->lineModel()->appendLine(makeLine(QStringLiteral("Л1")));

    f.prompter.files = {f.other(QStringLiteral("Подстанция.v2"))};
    QVERIFY(f.window->saveProject(true));
    QCOMPARE(f.prompter.lastFileArgs,
             (QStringList{f.app.path(), QStringLiteral("Проект 1"), QStringLiteral("Файлы проектов (*.kbp)")}));
    const QString path = f.other(QStringLiteral("Подстанция.v2.kbp"));
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(f.window->projectName(), QStringLiteral("Подстанция.v2"));
    QCOMPARE(f.window->projectFolder(), f.elsewhere.path() + QLatin1Char('/'));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("[Подстанция.v2] - Кабинор 3.2"));
    QVERIFY(f.prompter.messages.isEmpty());
    // A project saved under a new name is offered again next time.
    QCOMPARE(f.recentCaptions().first(), QStringLiteral("1 ") + QDir::toNativeSeparators(path));

    // Declining to replace writes nothing and keeps the name.
    const QByteArray before = readBytes(path);
    f.window->project().transformerPower = QStringLiteral("630");
    f.prompter.files = {path};
    f.prompter.answers = {Prompter::Answer::No};
    QVERIFY(!f.window->saveProject(true));
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.at(0).text,
             QStringLiteral("Файл ") + QDir::toNativeSeparators(path) + QStringLiteral(" уже существует!\r\nЗаменить?"));
    QCOMPARE(f.prompter.messages.at(0).title, QStringLiteral("Сохранить как"));
    QCOMPARE(readBytes(path), before);

    // Answering Yes replaces it.
    f.prompter.files = {path};
    f.prompter.answers = {Prompter::Answer::Yes};
    QVERIFY(f.window->saveProject(true));
    QVERIFY(readText(path).contains(QLatin1String("STP=630")));
}

void TstProjectCommands::firstPlainSaveAsksBeforeReplacing()
{
    // Yesterday's file of the start-up project's name.
    Fixture f;
    const QString yesterday = f.app.file(QStringLiteral("Проект 1.kbp"));
    writeProject(yesterday, QStringLiteral("250"), {makeLine(QStringLiteral("вчерашняя"))});
    const QByteArray before = readBytes(yesterday);
    f.window->project().transformerPower = QStringLiteral("400");
    f.window->lineModel()->appendLine(makeLine(QStringLiteral("сегодняшняя")));

    // No: the file stays, and the save goes on as a save as.
    const QString elsewhere = f.other(QStringLiteral("Сегодня.kbp"));
    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.files = {elsewhere};
    QVERIFY(f.window->saveProject(false));
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.at(0).text,
             QStringLiteral("Файл ") + QDir::toNativeSeparators(yesterday) + QStringLiteral(" уже существует!\r\nЗаменить?"));
    QCOMPARE(f.prompter.prompts, QStringList{QStringLiteral("Сохранить как")});
    QCOMPARE(readBytes(yesterday), before);
    QVERIFY(readText(elsewhere).contains(QStringLiteral("сегодняшняя")));

    // A file this run has saved (or opened) is saved over without a word.
    f.prompter.clear();
    QVERIFY(f.window->saveProject(false));
    QVERIFY(f.prompter.messages.isEmpty());
    QVERIFY(f.prompter.prompts.isEmpty());

    // Yes replaces the unknown file.
    Fixture g;
    writeProject(g.app.file(QStringLiteral("Проект 1.kbp")), QStringLiteral("250"), {makeLine(QStringLiteral("вчерашняя"))});
    g.window->project().transformerPower = QStringLiteral("400");
    g.prompter.answers = {Prompter::Answer::Yes};
    QVERIFY(g.window->saveProject(false));
    QCOMPARE(g.prompter.messages.size(), 1);
    QVERIFY(g.prompter.prompts.isEmpty());
    QVERIFY(!readText(g.app.file(QStringLiteral("Проект 1.kbp"))).contains(QStringLiteral("вчерашняя")));
}

void TstProjectCommands::newProjectCancelKeepsEverything()
{
    Fixture f;
    const QString path = f.other(QStringLiteral("Объект.kbp"));
    writeProject(path, QStringLiteral("250"), {makeLine(QStringLiteral("Л1"))},
                 {Shield{QStringLiteral("ЩР1"), {Load()}}, Shield{QStringLiteral("ЩР2"), {}}});
    QVERIFY(f.window->openProject(path));

    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.inputs = {QString()};
    f.window->newProject();
    QCOMPARE(f.prompter.prompts,
             QStringList{QStringLiteral("Введите имя нового проекта:|Создание нового проекта|Проект 2")});
    const Project &p = f.window->project();
    QCOMPARE(p.projectName, QStringLiteral("Объект"));
    QCOMPARE(p.projectFolder, f.elsewhere.path() + QLatin1Char('/'));
    QCOMPARE(p.projectNumber, 1);
    QCOMPARE(p.transformerPower, QStringLiteral("250"));
    QCOMPARE(f.window->lineModel()->rowCount(), 1);
    QCOMPARE(p.shields.size(), 2);
    QVERIFY(f.lineCommandsEnabled());

    // Cancel at the save question stops before the name is asked.
    f.prompter.prompts.clear();
    f.prompter.answers = {Prompter::Answer::Cancel};
    f.window->newProject();
    QVERIFY(f.prompter.prompts.isEmpty());
    QCOMPARE(p.projectName, QStringLiteral("Объект"));
}

void TstProjectCommands::newProjectStartsEmpty()
{
    Fixture f;
    const QString path = f.other(QStringLiteral("Объект.kbp"));
    writeProject(path, QStringLiteral("250"), {makeLine(QStringLiteral("Л1"), true)},
                 {Shield{QStringLiteral("ЩР1"), {Load()}}, Shield{QStringLiteral("ЩР2"), {}}});
    QVERIFY(f.window->openProject(path));

    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.inputs = {QStringLiteral("Подстанция")};
    f.window->newProject();
    const Project &p = f.window->project();
    QCOMPARE(p.projectName, QStringLiteral("Подстанция"));
    QCOMPARE(p.projectNumber, 2);
    QVERIFY(p.projectFolder.isEmpty());
    QCOMPARE(p.transformerPower, QStringLiteral("0"));
    QCOMPARE(f.window->lineModel()->rowCount(), 0);
    QCOMPARE(p.shields, Project::initialShields());
    QVERIFY(!f.lineCommandsEnabled());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("[Подстанция] - Кабинор 3.2"));
    QCOMPARE(f.window->statusPanel1->text(), QStringLiteral("Нажмите F1 для получения справки"));
    QCOMPARE(f.window->statusPanel2->text(), QString());

    // Never saved: even a plain save asks for a file, proposing the name.
    f.window->project().transformerPower = QStringLiteral("400");
    f.prompter.prompts.clear();
    QVERIFY(!f.window->saveProject(false));
    QCOMPARE(f.prompter.prompts, QStringList{QStringLiteral("Сохранить как")});
    QCOMPARE(f.prompter.lastFileArgs.at(1), QStringLiteral("Подстанция"));

    // The next new project proposes the next number.
    f.prompter.prompts.clear();
    f.prompter.answers = {Prompter::Answer::No};
    f.window->newProject();
    QCOMPARE(f.prompter.prompts.value(0).section(QLatin1Char('|'), 2), QStringLiteral("Проект 3"));
}

void TstProjectCommands::answeringYesWithoutSaveStopsCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("stp");
    QTest::newRow("new, no transformer") << QStringLiteral("new") << QStringLiteral("0");
    QTest::newRow("open, no transformer") << QStringLiteral("open") << QStringLiteral("0");
    QTest::newRow("recent, no transformer") << QStringLiteral("recent") << QStringLiteral("0");
    QTest::newRow("exit, no transformer") << QStringLiteral("exit") << QStringLiteral("0");
    QTest::newRow("new, save as cancelled") << QStringLiteral("new") << QStringLiteral("400");
}

void TstProjectCommands::answeringYesWithoutSaveStopsCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, stp);
    Fixture f;
    const QString path = f.other(QStringLiteral("Объект.kbp"));
    writeProject(path, QStringLiteral("250"), {makeLine(QStringLiteral("Л1"))});
    QVERIFY(f.window->openProject(path));
    f.window->addRecentFile(path);
    // An unsaved new project with lines of its own.
    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.inputs = {QStringLiteral("Черновик")};
    f.window->newProject();
    f.window->lineModel()->appendLine(makeLine(QStringLiteral("несохраненная")));
    f.window->project().transformerPower = stp;
    f.prompter.clear();

    ModalCloser closer;
    f.prompter.answers = {Prompter::Answer::Yes};
    if (command == QLatin1String("new")) {
        f.prompter.inputs = {QStringLiteral("Следующий")};
        f.window->newProject();
    } else if (command == QLatin1String("open")) {
        f.prompter.files = {path};
        f.window->chooseAndOpenProject();
    } else if (command == QLatin1String("recent")) {
        f.window->findChild<QAction *>(QStringLiteral("actionRecentFile0"))->trigger();
    } else {
        QVERIFY(!f.window->close());
    }
    // The unsaved project is still there: the command stopped after the save that did not happen.
    QCOMPARE(f.window->projectName(), QStringLiteral("Черновик"));
    QCOMPARE(f.window->project().lines.size(), 1);
    // Nor did it ask for what comes after the save: a new name or a file to open.
    QVERIFY(!f.prompter.prompts.contains(QStringLiteral("Открыть")));
    for (const QString &prompt : std::as_const(f.prompter.prompts))
        QVERIFY(!prompt.startsWith(QStringLiteral("Введите имя нового проекта:")));
    QCOMPARE(f.prompter.messages.size(), stp == QLatin1String("0") ? 2 : 1);
    QCOMPARE(f.prompter.messages.at(0).text, QStringLiteral("Сохранить проект 'Черновик'?"));
    if (stp == QLatin1String("0")) {
        // The transformer dialog was opened (and closed with Esc).
        QCOMPARE(closer.closed, 1);
        QCOMPARE(f.prompter.messages.at(1).text, kNoPower);
        QCOMPARE(f.prompter.messages.at(1).icon, Prompter::Icon::Exclamation);
        QCOMPARE(f.prompter.messages.at(1).title, QStringLiteral("Кабинор"));
        // The save dialog is never reached.
        QVERIFY(!f.prompter.prompts.contains(QStringLiteral("Сохранить как")));
    } else {
        QCOMPARE(f.prompter.prompts.value(0), QStringLiteral("Сохранить как"));
    }
    // Nothing was written anywhere.
    QVERIFY(QDir(f.app.path()).entryList({QStringLiteral("*.kbp")}).isEmpty());
    QCOMPARE(QDir(f.elsewhere.path()).entryList({QStringLiteral("*.kbp")}), QStringList{QStringLiteral("Объект.kbp")});
}

void TstProjectCommands::failedSaveKeepsOldFileAndStopsTheCommand()
{
    Fixture f;
    f.window->project().transformerPower = QStringLiteral("400");
    f.window->lineModel()->appendLine(makeLine(QStringLiteral("Л1")));
    f.window->statusPanel2->setText(QStringLiteral("прежний текст"));

    // A folder that cannot exist: its parent is a file.
    QFile blocker(f.other(QStringLiteral("файл")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.prompter.files = {f.other(QStringLiteral("файл/Проект.kbp"))};
    QVERIFY(!f.window->saveProject(true));
    QCOMPARE(f.prompter.messages.size(), 1);
    const auto failure = f.prompter.messages.at(0);
    QVERIFY2(failure.text.startsWith(QStringLiteral("Не удалось сохранить проект в файл '")
                                     + QDir::toNativeSeparators(f.other(QStringLiteral("файл/Проект.kbp"))) + QStringLiteral("'.")),
             qPrintable(failure.text));
    QVERIFY(!failure.text.contains(QStringLiteral("Прежний файл")));
    QCOMPARE(failure.title, QStringLiteral("Ошибка"));
    QCOMPARE(failure.icon, Prompter::Icon::Critical);
    // Never reported as saved; the project keeps its name and folder.
    QCOMPARE(f.window->statusPanel2->text(), QStringLiteral("прежний текст"));
    QCOMPARE(f.window->projectName(), QStringLiteral("Проект 1"));
    QCOMPARE(f.window->projectFolder(), f.app.path() + QLatin1Char('/'));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("[Проект 1] - Кабинор 3.2"));
    f.verifyIdle();

    // A folder stands where the project file should be: it stays as it was.
    const QString target = f.app.file(QStringLiteral("Проект 1.kbp"));
    QVERIFY(QDir().mkpath(target));
    QFile inside(target + QStringLiteral("/внутри.txt"));
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.write("данные");
    inside.close();
    f.prompter.clear();
    QVERIFY(!f.window->saveProject(false));
    // This run never opened or saved that name: the overwrite question comes first.
    QCOMPARE(f.prompter.messages.size(), 2);
    QCOMPARE(f.prompter.messages.at(0).title, QStringLiteral("Сохранить как"));
    QVERIFY(f.prompter.messages.at(1).text.contains(QStringLiteral("Прежний файл остался без изменений.")));
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(readBytes(target + QStringLiteral("/внутри.txt")), QByteArray("данные"));
    f.verifyIdle();

    // Yes to the save question with a failing save stops the command: the
    // unsaved project is not thrown away.
    f.prompter.clear();
    f.prompter.answers = {Prompter::Answer::Yes};
    f.prompter.inputs = {QStringLiteral("Новый")};
    f.window->newProject();
    QVERIFY(f.prompter.prompts.isEmpty());
    QCOMPARE(f.window->projectName(), QStringLiteral("Проект 1"));
    QCOMPARE(f.window->lineModel()->rowCount(), 1);
}

void TstProjectCommands::missingAndUnreadableFiles()
{
    Fixture f;
    const QString mine = f.other(QStringLiteral("Мой.kbp"));
    writeProject(mine, QStringLiteral("250"), {makeLine(QStringLiteral("Л1"))});
    QVERIFY(f.window->openProject(mine));
    f.prompter.clear();

    const QString missing = f.other(QStringLiteral("Нет.kbp"));
    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.files = {missing};
    f.window->chooseAndOpenProject();
    QCOMPARE(f.prompter.messages.size(), 2);
    QCOMPARE(f.prompter.messages.at(1).text,
             QStringLiteral("Файл '") + QDir::toNativeSeparators(missing) + QStringLiteral("' не найден!"));
    QCOMPARE(f.prompter.messages.at(1).title, QStringLiteral("Ошибка"));
    QCOMPARE(f.prompter.messages.at(1).icon, Prompter::Icon::Critical);
    // The current project stays, and the missing file is not remembered.
    QCOMPARE(f.window->projectName(), QStringLiteral("Мой"));
    QCOMPARE(f.window->lineModel()->rowCount(), 1);
    QVERIFY(!f.recent(0)->isVisible());
    f.verifyIdle();
}

void TstProjectCommands::damagedFileOpensWhatItCan()
{
    Fixture f;
    const QString path = f.other(QStringLiteral("Битый.kbp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(cp1251(QStringLiteral("[TP]\r\nSTP=400\r\n[Lines]\r\nSubItemCount=9\r\nLineCount=100000\r\n"
                                      "[Line1]\r\nLineName=Уцелевшая\r\nChecked=True\r\n")));
    file.write(QByteArray("\x00\xFF\x13[\x81\x82=\x00", 9));
    file.close();

    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.files = {path};
    f.window->chooseAndOpenProject();
    QCOMPARE(f.prompter.messages.size(), 2);
    const auto warning = f.prompter.messages.at(1);
    QVERIFY2(warning.text.startsWith(QStringLiteral("Файл '") + QDir::toNativeSeparators(path)
                                     + QStringLiteral("' поврежден. Открыто всё, что удалось прочитать.")),
             qPrintable(warning.text));
    QVERIFY(warning.text.contains(QStringLiteral("«100000»")));
    QVERIFY(warning.text.contains(QStringLiteral("нет списка щитов")));
    QCOMPARE(warning.icon, Prompter::Icon::Exclamation);
    f.verifyIdle();

    QCOMPARE(f.window->lineModel()->rowCount(), 1);
    QCOMPARE(f.window->lineModel()->line(0).name, QStringLiteral("Уцелевшая"));
    QVERIFY(f.window->lineModel()->line(0).checked);
    QCOMPARE(f.window->project().shields, Project::initialShields());
    QCOMPARE(f.window->projectName(), QStringLiteral("Битый"));
    QVERIFY(f.recent(0)->isVisible());
}

void TstProjectCommands::recentFilesRing()
{
    Fixture f;
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        paths << f.other(QStringLiteral("Проект%1.kbp").arg(i));
        writeProject(paths.last(), QStringLiteral("400"), {});
    }
    auto open = [&](const QString &path) {
        f.prompter.answers = {Prompter::Answer::No};
        f.prompter.files = {path};
        f.window->chooseAndOpenProject();
    };
    QAction *separator = f.window->findChild<QAction *>(QStringLiteral("recentSeparator"));
    QVERIFY(!separator->isVisible());

    for (int i = 0; i < 5; ++i)
        open(paths.at(i));
    // The same file again is not added twice.
    open(paths.at(2));
    QVERIFY(separator->isVisible());
    QStringList expected;
    for (int i = 0; i < 5; ++i)
        expected << QString::number(i + 1) + QLatin1Char(' ') + QDir::toNativeSeparators(paths.at(i));
    QCOMPARE(f.recentCaptions(), expected);

    // The sixth file takes slot 1; the others keep theirs.
    open(paths.at(5));
    expected[0] = QStringLiteral("1 ") + QDir::toNativeSeparators(paths.at(5));
    QCOMPARE(f.recentCaptions(), expected);

    // A recent item opens its file and leaves the list as it is.
    f.prompter.answers = {Prompter::Answer::No};
    f.recent(3)->trigger();
    QCOMPARE(f.window->projectName(), QStringLiteral("Проект4"));
    QCOMPARE(f.recentCaptions(), expected);

    // A seventh file goes on round the ring into slot 2.
    const QString seventh = f.other(QStringLiteral("Проект7.kbp"));
    writeProject(seventh, QStringLiteral("400"), {});
    open(seventh);
    expected[1] = QStringLiteral("2 ") + QDir::toNativeSeparators(seventh);
    QCOMPARE(f.recentCaptions(), expected);
}

void TstProjectCommands::recentFilesAcrossRuns()
{
    Fixture f;
    QStringList paths;
    for (int i = 1; i <= 3; ++i) {
        paths << f.other(QStringLiteral("Проект%1.kbp").arg(i));
        writeProject(paths.last(), QStringLiteral("400"), {});
        f.window->addRecentFile(paths.last());
    }
    f.window->writeSettings();
    IniDocument ini;
    QVERIFY(ini.load(f.context.settingsPath()));
    QCOMPARE(ini.value(QStringLiteral("Recent"), QStringLiteral("RecentFileCount")), QStringLiteral("3"));
    QCOMPARE(ini.value(QStringLiteral("Recent"), QStringLiteral("RecentFile2")), QDir::toNativeSeparators(paths.at(1)));

    // A file gone since the last run is dropped at the next start.
    QVERIFY(QFile::remove(paths.at(1)));
    MainWindow next(f.context, f.prompter);
    QCOMPARE(next.findChild<QAction *>(QStringLiteral("actionRecentFile0"))->text(),
             QStringLiteral("1 ") + QDir::toNativeSeparators(paths.at(0)));
    QCOMPARE(next.findChild<QAction *>(QStringLiteral("actionRecentFile1"))->text(),
             QStringLiteral("2 ") + QDir::toNativeSeparators(paths.at(2)));
    QVERIFY(!next.findChild<QAction *>(QStringLiteral("actionRecentFile2"))->isVisible());
}

// "Свойства проекта" (menu Файл): OK takes the fields as one undoable edit,
// Esc nothing; the project file keeps them, a new project has none, and the
// schedules' title blocks show them.
void TstProjectCommands::projectPropertiesThroughTheDialog()
{
    Fixture f;
    QAction *properties = f.window->action(QStringLiteral("actionProjectProperties"));
    const QList<QAction *> fileItems = f.window->fileMenu->actions();
    QCOMPARE(fileItems.indexOf(properties), fileItems.indexOf(f.window->action(QStringLiteral("actionSaveProjectAs"))) + 1);

    // Fills the dialog when it shows, then presses `button`.
    const auto answer = [](const QString &developer, const QString &code, const char *button) {
        QTimer::singleShot(0, [=] {
            auto *dialog = qobject_cast<ProjectPropertiesDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Свойства проекта"));
            dialog->developerEdit->setText(developer);
            dialog->documentCodeEdit->setText(code);
            dialog->dateEdit->setText(QStringLiteral("05.2024"));
            if (QByteArray(button) == "Esc")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton *>(QString::fromLatin1(button))->click();
        });
    };
    answer(QStringLiteral("Иванов"), QStringLiteral("15-ЭМ"), "okButton");
    properties->trigger();
    const Project &p = f.window->project();
    QCOMPARE(p.properties.developer, QStringLiteral("Иванов"));
    QCOMPARE(p.properties.documentCode, QStringLiteral("15-ЭМ"));
    QCOMPARE(p.properties.date, QStringLiteral("05.2024"));
    QCOMPARE(f.window->history()->count(), 1);
    f.window->history()->undo();
    QVERIFY(p.properties.isEmpty());
    f.window->history()->redo();
    QCOMPARE(p.properties.developer, QStringLiteral("Иванов"));
    // Esc and Cancel change nothing.
    answer(QStringLiteral("Петров"), QString(), "Esc");
    properties->trigger();
    answer(QStringLiteral("Петров"), QString(), "cancelButton");
    properties->trigger();
    QCOMPARE(p.properties.developer, QStringLiteral("Иванов"));
    QCOMPARE(f.window->history()->count(), 1);

    // The title block of a schedule written from the main window.
    const QString doc = f.other(QStringLiteral("нагрузки.doc"));
    f.prompter.files = {doc};
    f.window->saveLoadReport();
    QVERIFY(readBytes(doc).contains(RtfDocument::escape(QStringLiteral("Иванов"))));
    QVERIFY(readBytes(doc).contains(RtfDocument::escape(QStringLiteral("15-ЭМ"))));

    // Saved and opened again; a new project starts without.
    f.window->project().transformerPower = QStringLiteral("400");
    const QString path = f.other(QStringLiteral("Свойства.kbp"));
    f.prompter.files = {path};
    QVERIFY(f.window->saveProject(true));
    QVERIFY(readText(path).endsWith(QStringLiteral("[Project]\r\nOrganization=\r\nObject=\r\nCode=15-ЭМ\r\nStage=\r\n"
                                                   "Developer=Иванов\r\nChecker=\r\nNormControl=\r\nApprover=\r\n"
                                                   "Date=05.2024\r\n")));
    f.prompter.answers = {Prompter::Answer::No};
    f.prompter.inputs = {QStringLiteral("Новый")};
    f.window->newProject();
    QCOMPARE(f.window->project().projectName, QStringLiteral("Новый"));
    QVERIFY(f.window->project().properties.isEmpty());
    QVERIFY(f.window->openProject(path));
    QCOMPARE(f.window->project().properties.documentCode, QStringLiteral("15-ЭМ"));
}

QTEST_MAIN(TstProjectCommands)
#include "tst_projectcommands.moc"
