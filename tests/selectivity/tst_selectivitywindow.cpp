// The window "Селективность": the pairs with failing verdicts highlighted, the
// pair of a line chosen, the chart saved as PNG and PDF, and the schedule.
#include "TestSupport.h"
#include "../network/Workshop.h"
#include "base/AppContext.h"
#include "docs/schedules/SelectivityReport.h"
#include "docs/writers/ReportWriter.h"
#include "ui/selectivity/SelectivityWindow.h"
#include "ui/widgets/ResultTable.h"

#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

class TstSelectivityWindow : public QObject
{
    Q_OBJECT

private slots:
    void pairsChartAndSchedule();
};

void TstSelectivityWindow::pairsChartAndSchedule()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    ReportWriter writer(prompter, app.path());
    // ЩС-1 gets the feeder's own device: at 1,3·200 = 260 A it is sure to
    // trip in 2 h while the feeder's may already trip ("нет").
    Project project = Workshop::project();
    project.lines[1].inputs->device.text = QStringLiteral("10In");
    project.lines[1].inputs->deviceRating.text = QStringLiteral("200");
    project.lines[1].inputs->readValues();
    project.projectFolder = app.path() + QLatin1Char('/');

    SelectivityWindow w(project, context, prompter, writer);
    QCOMPARE(w.pairTable->rowCount(), 3);
    const QAbstractItemModel *model = w.pairTable->model();
    const QModelIndex verdict = model->index(0, 6);
    QCOMPARE(verdict.data().toString(), QStringLiteral("нет"));
    QCOMPARE(verdict.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xc6, 0x28, 0x28));
    QVERIFY(verdict.data(Qt::ToolTipRole).toString().contains(QStringLiteral("зона перегрузки: при 260 А")));
    QCOMPARE(model->index(1, 6).data().toString(), QStringLiteral("до Is = 1,6 кА"));
    QVERIFY(model->index(1, 6).data(Qt::BackgroundRole).value<QBrush>().color() != QColor(0xc6, 0x28, 0x28));
    // The pair of ЩВ-1 (the fourth line of the list); the feeder itself is the
    // upstream line of the first pair; the bus starts no pair.
    QVERIFY(w.selectLine(3));
    QCOMPARE(w.pairTable->currentIndex().row(), 2);
    QVERIFY(w.selectLine(0));
    QCOMPARE(w.pairTable->currentIndex().row(), 0);
    QVERIFY(!w.selectLine(-1));

    // The chart as a picture and as a PDF page, drawn as the screen draws it.
    w.resize(1100, 820);
    const QImage screen = w.chart->grab().toImage();
    QVERIFY(screen.width() >= 640);
    const QString png = app.file(QStringLiteral("pair.png"));
    const QString pdf = app.file(QStringLiteral("pair.pdf"));
    prompter.files = {png, pdf};
    w.saveChart();
    w.saveChart();
    const QImage picture(png);
    QCOMPARE(picture.size(), QSize(1600, 1100));
    QVERIFY(QFileInfo(pdf).size() > 1000);
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(tool.waitForFinished(60000));
        const QString text = QString::fromUtf8(tool.readAllStandardOutput());
        for (const char *expected : {"Время, с", "Ток, А", "Is = 0,26 кА", "по характеристикам стандарта", "Iк(3) max",
                                     "Iк(1) min", "Ib", "Iz", "10000", "0,01"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }

    // The schedule: the pairs, then where the curves meet and what helps for
    // the three that are not selective in full.
    const QVector<ReportSection> sections = SelectivityReport::build(project, w.result(), 2);
    QCOMPARE(sections.size(), 2);
    QCOMPARE(sections.at(0).table.rows.at(0),
             (QStringList{"Ввод ВРУ", "ЩС-1", "200 А, 10·Iн", "200 А, 10·Iн", sections.at(0).table.rows.at(0).at(4), "0,26",
                          "нет"}));
    QVERIFY(sections.at(0).caption.contains(QStringLiteral("по характеристикам стандарта")));
    QCOMPARE(sections.at(1).table.rows.size(), 3);
}

QTEST_MAIN(TstSelectivityWindow)
#include "tst_selectivitywindow.moc"
