// The window "Однолинейная схема" beside the main window: opened from the
// menu, selection both ways with the list and the network window, following
// the project's changes, double-click to change a line, saving by extension.
#include "TestSupport.h"
#include "Workshop.h"
#include "base/AppContext.h"
#include "base/ProjectFile.h"
#include "shell/MainWindow.h"
#include "ui/lines/LineListModel.h"
#include "ui/network/DiagramWindow.h"
#include "ui/network/NetworkWindow.h"

#include <QAction>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QMenuBar>
#include <QtTest>

namespace {

QGraphicsItem *itemOfLine(DiagramWindow &w, int line)
{
    for (QGraphicsItem *item : w.view->scene()->items())
        if ((item->flags() & QGraphicsItem::ItemIsSelectable) && item->data(0).toInt() == line)
            return item;
    return nullptr;
}

} // namespace

class TstDiagramWindow : public QObject
{
    Q_OBJECT
private slots:
    void windowFollowsTheProject();
};

void TstDiagramWindow::windowFollowsTheProject()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    MainWindow window(context, prompter);
    const QString path = app.file(QStringLiteral("Цех.kbp"));
    QVERIFY(ProjectFile::write(path, Workshop::project()));
    window.openProject(path);
    window.show();

    QAction *open = window.findChild<QAction *>(QStringLiteral("actionDiagram"));
    QVERIFY(open);
    QVERIFY(window.findChild<QMenu *>(QStringLiteral("calculationMenu"))->actions().contains(open));
    QCOMPARE(open->text(), QStringLiteral("&Однолинейная схема..."));
    open->trigger();
    DiagramWindow *w = window.diagramWindow();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Однолинейная схема"));
    for (int line = 0; line < 4; ++line)
        QVERIFY(itemOfLine(*w, line));

    // Picking a line's pieces selects it in the list and the network window; and back.
    window.showNetworkWindow();
    itemOfLine(*w, 2)->setSelected(true);
    QCOMPARE(window.selectedRow(), 2);
    QCOMPARE(window.networkWindow()->selectedLine(), 2);
    window.selectRow(3);
    QCOMPARE(w->selectedLine(), 3);

    // A change of the project shows once the changes pause.
    CableLine renamed = window.project().lines.at(3);
    renamed.name = QStringLiteral("Вентиляция");
    window.lineModel()->replaceLine(3, renamed);
    window.lineModel()->removeLine(2, {});
    QTRY_VERIFY(itemOfLine(*w, 3) == nullptr);
    QStringList texts;
    for (const Drawing::Sheet &sheet : w->diagram().document.sheets)
        for (const Drawing::Piece &p : sheet.pieces)
            if (p.kind == Drawing::Kind::Text)
                texts << p.text;
    QVERIFY(texts.contains(QStringLiteral("Вентиляция")));
    QVERIFY(!texts.contains(QStringLiteral("ЩО-1")));

    // A double-click on a line asks to change it.
    w->fitToWindow();
    disconnect(w, &DiagramWindow::changeRequested, nullptr, nullptr);
    QSignalSpy change(w, &DiagramWindow::changeRequested);
    QGraphicsItem *feeder = itemOfLine(*w, 0);
    const QPoint at = w->view->mapFromScene(feeder->sceneBoundingRect().center());
    QTest::mouseDClick(w->view->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(change.size(), 1);
    QCOMPARE(change.first().first().toInt(), 0);

    // Saved in the format of the chosen type when the name has no extension.
    const QString out = app.file(QStringLiteral("схема"));
    prompter.files = {out};
    prompter.chosenFilters = {QStringLiteral("DXF (*.dxf)")};
    w->save();
    QFile dxf(out + QStringLiteral(".dxf"));
    QVERIFY(dxf.open(QIODevice::ReadOnly));
    QVERIFY(dxf.readAll().contains("AC1009"));
    if (!qEnvironmentVariableIsEmpty("KABINOR_DIAGRAM_SHOT"))
        w->grab().save(qEnvironmentVariable("KABINOR_DIAGRAM_SHOT"));
}

QTEST_MAIN(TstDiagramWindow)
#include "tst_diagramwindow.moc"
