// "Сохранение отчета", the main window's report commands and printing, driven offscreen.
#include "ReportTestData.h"
#include "RtfReader.h"
#include "TestSupport.h"
#include "base/AppContext.h"
#include "ui/lines/LineListModel.h"
#include "ui/reports/ReportColumnsDialog.h"
#include "docs/writers/ReportPages.h"
#include "docs/writers/ReportWriter.h"
#include "shell/MainWindow.h"
#include "ui/widgets/ProgressPanel.h"
#include "ui/widgets/StatusBarProgress.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

struct MainFixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    MainFixture()
    {
        // No tip of the day over the window, no tray icon.
        app.writeFile(QStringLiteral("kabinor.ini"), cp1251(QStringLiteral("[Startup]\r\nShowTips=0\r\nShowInTray=0\r\n")));
        window = std::make_unique<MainWindow>(context, prompter);
        window->lineModel()->appendLine(reportLine(QStringLiteral("ТП - ЩР1"), true));
        window->lineModel()->appendLine(reportLine(QStringLiteral("ЩР1 - ЩО1"), false));
        window->lineModel()->appendLine(
            reportLine(QStringLiteral("ЩР1 - ЩО2"), true, QStringLiteral("2x4"), QStringLiteral("100"), QStringLiteral("220")));
        window->setLineCommandsEnabled(true);
    }
};

// Runs `body` on the modal window that `trigger` opens, once it is up.
void withModal(const std::function<void()> &trigger, const std::function<void(QWidget *)> &body)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        seen = true;
        body(modal);
    });
    trigger();
    QVERIFY(seen);
}

} // namespace

class TstReportWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ReportPages::install(); }
    void dialogOpensWithEveryColumn();
    void dialogSavesAndStaysOpen();
    void dialogColumnsFromTheList();
    void dialogClosesOnEscAndCancel();
    void statusBarGivenBack();
    void mainWindowOpensDialog();
    void mainWindowShortCircuitReport();
    void mainWindowShortCircuitNeedsTransformer();
    void printingShowsThePreview();
};

void TstReportWindows::dialogOpensWithEveryColumn()
{
    Project project;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, QDir::tempPath());
    ReportColumnsDialog dialog(project, writer, 2);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Сохранение отчета"));
    QCOMPARE(dialog.headingLabel->text(), QStringLiteral("Заголовок"));
    QCOMPARE(dialog.titleEdit->text(), QStringLiteral("Ведомость кабельных линий"));
    QCOMPARE(dialog.columnsFrame->title(), QStringLiteral("Печатать столбцы"));
    QCOMPARE(dialog.saveButton->text(), QStringLiteral("&Сохранить"));
    QCOMPARE(dialog.cancelButton->text(), QStringLiteral("&Отмена"));
    // The list's ten columns ticked; cos φ, the reactance and the device there to pick.
    QCOMPARE(dialog.columnList->count(), 13);
    const QStringList headers = LineCalc::columnHeaders();
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(dialog.columnList->item(i)->text(), headers.at(i));
        QCOMPARE(dialog.columnList->item(i)->checkState(), Qt::Checked);
    }
    QCOMPARE(dialog.columnList->item(10)->text(), QStringLiteral("cos φ"));
    QCOMPARE(dialog.columnList->item(11)->text(), QStringLiteral("Индуктивное сопротивление, мОм"));
    QCOMPARE(dialog.columnList->item(12)->text(), QStringLiteral("Защитный аппарат"));
    QCOMPARE(dialog.columnList->currentRow(), 0);
    QVector<bool> expected(13, true);
    expected[10] = expected[11] = expected[12] = false;
    QCOMPARE(dialog.selectedColumns(), expected);
}

void TstReportWindows::dialogSavesAndStaysOpen()
{
    QTemporaryDir dir;
    Project project;
    project.projectName = QStringLiteral("Дом");
    project.lines = {reportLine(QStringLiteral("Л1"), true), reportLine(QStringLiteral("Л2"), false)};
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    ReportColumnsDialog dialog(project, writer, 2);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // A title typed in lower case: capitals in the document, as typed in the file name.
    dialog.titleEdit->setText(QStringLiteral("ведомость линий освещения"));
    prompter.files = {dir.filePath(QStringLiteral("Дом - ведомость линий освещения"))};
    QTest::mouseClick(dialog.saveButton, Qt::LeftButton);
    QCOMPARE(prompter.lastFileArgs.at(0), dir.path());
    QCOMPARE(prompter.lastFileArgs.at(1), QStringLiteral("Дом - ведомость линий освещения"));
    const QString path = dir.filePath(QStringLiteral("Дом - ведомость линий освещения.doc"));
    QCOMPARE(prompter.lastText(), QStringLiteral("Файл '") + QDir::toNativeSeparators(path) + QStringLiteral("' успешно сохранен."));
    const RtfDocumentView v = readRtfFile(path);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.paragraphs.at(0).text, QStringLiteral("Дом"));
    QCOMPARE(v.paragraphs.at(1).text, QStringLiteral("ВЕДОМОСТЬ ЛИНИЙ ОСВЕЩЕНИЯ"));
    QCOMPARE(v.tables.first().rows.size(), 3);
    QVERIFY(dialog.isVisible());

    // PDF chosen in the file dialog: the same name with its extension, a PDF file.
    prompter.files = {dir.filePath(QStringLiteral("Дом - ведомость линий освещения"))};
    prompter.chosenFilters = {QStringLiteral("PDF (*.pdf)")};
    QTest::mouseClick(dialog.saveButton, Qt::LeftButton);
    QFile pdf(dir.filePath(QStringLiteral("Дом - ведомость линий освещения.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF-"));

    // A cancelled file choice says nothing and writes nothing.
    prompter.clear();
    QTest::mouseClick(dialog.saveButton, Qt::LeftButton);
    QVERIFY(prompter.messages.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    QVERIFY(dialog.isVisible());
}

void TstReportWindows::dialogColumnsFromTheList()
{
    QTemporaryDir dir;
    Project project;
    project.projectName = QStringLiteral("П");
    project.lines = {reportLine(QStringLiteral("Л1"), true, QStringLiteral("3x50 + 1x25"), QStringLiteral("12,3"))};
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, dir.path());
    ReportColumnsDialog dialog(project, writer, 2);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // Untick the first entry by clicking its check box.
    QListWidget *list = dialog.columnList;
    const QRect rect = list->visualItemRect(list->item(0));
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = rect;
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    list->item(2)->setCheckState(Qt::Unchecked);

    const QString path = dir.filePath(QStringLiteral("r.doc"));
    prompter.files = {path};
    QVERIFY(dialog.saveReport());
    const RtfTable t = readRtfFile(path).tables.value(0);
    QCOMPARE(t.rows.size(), 3);
    QCOMPARE(rowTexts(t, 0).mid(0, 3), QStringList({QStringLiteral("Марка"), QStringLiteral("Материал"), QStringLiteral("Длина, м")}));
    QCOMPARE(rowTexts(t, 1).mid(0, 3), QStringList({QStringLiteral("ВВГ"), QStringLiteral("Медь"), QStringLiteral("0")}));
    QCOMPARE(t.rows.at(1).size(), 8);
}

void TstReportWindows::dialogClosesOnEscAndCancel()
{
    Project project;
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, QDir::tempPath());
    {
        ReportColumnsDialog dialog(project, writer, 2);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        ReportColumnsDialog dialog(project, writer, 2);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.cancelButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
    QVERIFY(prompter.messages.isEmpty());
    QVERIFY(prompter.prompts.isEmpty());
}

void TstReportWindows::statusBarGivenBack()
{
    QWidget bar;
    auto *layout = new QHBoxLayout(&bar);
    auto *panel1 = new ProgressPanel(&bar);
    auto *panel2 = new QLabel(&bar);
    layout->addWidget(panel1);
    layout->addWidget(panel2);
    bar.show();
    panel2->setText(QStringLiteral("до отчёта"));
    {
        StatusBarProgress progress(*panel1, *panel2);
        progress.begin(QStringLiteral("Идет сохранение отчёта r.doc... Пожалуйста, ждите..."), 0);
        QCOMPARE(panel2->text(), QStringLiteral("Идет сохранение отчёта r.doc... Пожалуйста, ждите..."));
        QVERIFY(panel1->bar()->isVisible());
        QCOMPARE(panel1->bar()->value(), 0);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        progress.step(60);
        QCOMPARE(panel1->bar()->value(), 60);
        progress.end();
        QCOMPARE(panel2->text(), QStringLiteral("до отчёта"));
        QVERIFY(!panel1->bar()->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        // A report that ends early still gives the pointer back.
        progress.begin(QStringLiteral("x"), 0);
    }
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(panel2->text(), QStringLiteral("до отчёта"));
}

void TstReportWindows::mainWindowOpensDialog()
{
    MainFixture f;
    const QString path = f.app.file(QStringLiteral("kl.doc"));
    f.prompter.files = {path};
    QAction *menu = f.window->action(QStringLiteral("actionCableLineReport"));
    QCOMPARE(menu->shortcut(), QKeySequence(Qt::Key_F2));
    withModal([&] { menu->trigger(); },
              [&](QWidget *modal) {
                  auto *dialog = qobject_cast<ReportColumnsDialog *>(modal);
                  QVERIFY(dialog);
                  dialog->saveReport();
                  QVERIFY(dialog->isVisible());
                  dialog->reject();
              });
    const RtfDocumentView v = readRtfFile(path);
    QVERIFY2(v.wellFormed, qPrintable(v.problem));
    QCOMPARE(v.paragraphs.at(0).text, f.window->projectName());
    // The two checked lines of three and their total.
    QCOMPARE(v.tables.first().rows.size(), 4);
    QCOMPARE(f.prompter.lastFileArgs.at(0), f.app.path());
    QCOMPARE(f.prompter.lastFileArgs.at(1), f.window->projectName() + QStringLiteral(" - Ведомость кабельных линий"));
    QVERIFY(!f.window->progressBar->isVisible());

    // The toolbar button opens the same dialog.
    withModal([&] { f.window->runToolbarKey(QStringLiteral("ReportKL")); },
              [](QWidget *modal) {
                  QVERIFY(qobject_cast<ReportColumnsDialog *>(modal));
                  QTest::keyClick(modal, Qt::Key_Escape);
              });
}

void TstReportWindows::mainWindowShortCircuitReport()
{
    MainFixture f;
    f.window->show();
    Project &p = f.window->project();
    p.transformerPower = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    f.window->statusPanel2->setText(QStringLiteral("сводка"));
    const QString path = f.app.file(QStringLiteral("kz.doc"));
    f.prompter.files = {path};
    QAction *menu = f.window->action(QStringLiteral("actionShortCircuitReport"));
    QCOMPARE(menu->shortcut(), QKeySequence(Qt::Key_F3));
    menu->trigger();

    QCOMPARE(f.prompter.lastFileArgs.at(1), f.window->projectName() + QStringLiteral(" - Ведомость токов КЗ"));
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Файл '") + QDir::toNativeSeparators(path) + QStringLiteral("' успешно сохранен."));
    QCOMPARE(f.window->statusPanel2->text(), QStringLiteral("сводка"));
    QVERIFY(!f.window->progressBar->isVisible());
    QVERIFY(!QApplication::overrideCursor());

    const RtfTable t = readRtfFile(path).tables.value(0);
    QCOMPARE(t.rows.size(), 3);
    QCOMPARE(rowTexts(t, 1), QStringList({QStringLiteral("ТП - ЩР1"), QStringLiteral("4,85"), QStringLiteral("3,43"),
                                          QStringLiteral("2,97"), QStringLiteral("1,63")}));
    QCOMPARE(rowTexts(t, 2).mid(0, 4), QStringList({QStringLiteral("ЩР1 - ЩО2"), QStringLiteral("-"), QStringLiteral("-"),
                                                    QStringLiteral("-")}));

    // The toolbar button runs the same command.
    f.prompter.clear();
    f.window->runToolbarKey(QStringLiteral("ReportKZ"));
    QCOMPARE(f.prompter.prompts.size(), 1);
}

void TstReportWindows::mainWindowShortCircuitNeedsTransformer()
{
    MainFixture f;
    QCOMPARE(f.window->project().transformerPower, QStringLiteral("0"));
    f.prompter.files = {f.app.file(QStringLiteral("kz.doc"))};
    withModal([&] { f.window->action(QStringLiteral("actionShortCircuitReport"))->trigger(); },
              [&](QWidget *modal) {
                  // The warning came first, then the transformer dialog.
                  QCOMPARE(f.prompter.messages.size(), 1);
                  QCOMPARE(modal->windowTitle(), QStringLiteral("Выбор ТП"));
                  QTest::keyClick(modal, Qt::Key_Escape);
              });
    QCOMPARE(f.prompter.messages.at(0).text, QStringLiteral("Укажите мощность трансформатора и данные питающей линии!"));
    QCOMPARE(f.prompter.messages.at(0).icon, Prompter::Icon::Exclamation);
    QCOMPARE(f.prompter.messages.at(0).title, QStringLiteral("Кабинор"));
    // No report: no file dialog, no file.
    QVERIFY(f.prompter.prompts.isEmpty());
    QVERIFY(!QFile::exists(f.app.file(QStringLiteral("kz.doc"))));
}

// Every schedule goes to paper the same way: a preview of its landscape
// pages, the system's print dialog behind the preview's print button.
void TstReportWindows::printingShowsThePreview()
{
    MainFixture f;
    Project &p = f.window->project();
    p.transformerPower = QStringLiteral("400");
    const auto checkPreview = [](QWidget *modal, const QString &title) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Предварительный просмотр - ") + title);
        QCOMPARE(preview->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(preview->printer()->pageLayout().pageSize().id(), QPageSize::A4);
        auto *pages = preview->findChild<QPrintPreviewWidget *>();
        QVERIFY(pages);
        QCOMPARE(pages->pageCount(), 1);
        preview->reject();
    };
    withModal([&] { f.window->action(QStringLiteral("actionPrintLoadReport"))->trigger(); },
              [&](QWidget *modal) { checkPreview(modal, QStringLiteral("Расчетная нагрузка щитов")); });
    withModal([&] { f.window->action(QStringLiteral("actionPrintShortCircuitReport"))->trigger(); },
              [&](QWidget *modal) { checkPreview(modal, QStringLiteral("Сводная ведомость токов КЗ (упрощенный метод)")); });
    // The cable lines through their dialog, its title and columns, printing first.
    withModal([&] { f.window->action(QStringLiteral("actionPrintCableLineReport"))->trigger(); },
              [&](QWidget *modal) {
                  auto *dialog = qobject_cast<ReportColumnsDialog *>(modal);
                  QVERIFY(dialog && dialog->printButton);
                  QCOMPARE(dialog->printButton->text(), QStringLiteral("&Печать..."));
                  QVERIFY(dialog->printButton->isDefault());
                  dialog->titleEdit->setText(QStringLiteral("Линии"));
                  withModal([&] { dialog->printButton->click(); },
                            [&](QWidget *preview) { checkPreview(preview, QStringLiteral("Линии")); });
                  QVERIFY(dialog->isVisible());
                  dialog->reject();
              });
    // Nothing said, nothing asked: printing is not saving.
    QVERIFY(f.prompter.messages.isEmpty());
    QVERIFY(f.prompter.prompts.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TstReportWindows)
#include "tst_reportwindows.moc"
