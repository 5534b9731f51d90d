#include "ui/about/GuideViewer.h"

#include "ui/widgets/Icons.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProcess>
#include <QScreen>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

namespace {

constexpr int kBlockRole = Qt::UserRole;

} // namespace

void placeOnScreen(QWidget &window, const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : window.screen();
    if (!screen)
        return;
    // Nine tenths of the free area at most, so that the frame fits as well.
    const QRect free = screen->availableGeometry();
    const QSize size = window.size().boundedTo(free.size() * 9 / 10);
    QRect place(QPoint(), size);
    place.moveCenter(over && over->isVisible() ? over->frameGeometry().center() : free.center());
    place.moveLeft(qBound(free.left(), place.left(), free.right() + 1 - size.width()));
    place.moveTop(qBound(free.top(), place.top(), free.bottom() + 1 - size.height()));
    window.resize(size);
    window.move(place.topLeft());
}

GuideWindow::GuideWindow(const QString &path, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(QStringLiteral("Справка"));
    setWindowIcon(Icons::application());
    setAttribute(Qt::WA_DeleteOnClose);

    contentsTree = new QTreeWidget(this);
    contentsTree->setObjectName(QStringLiteral("contentsTree"));
    contentsTree->setHeaderLabel(QStringLiteral("Содержание"));
    contentsTree->header()->setStretchLastSection(true);

    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("guideBrowser"));
    // Links inside the guide move within it; links to the web go to the browser.
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));

    auto *splitter = new QSplitter(this);
    splitter->addWidget(contentsTree);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({340, 660});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(1000, 700);

    fillContents();
    for (QWidget *part : {static_cast<QWidget *>(contentsTree), static_cast<QWidget *>(browser)})
        part->installEventFilter(this);
    connect(contentsTree, &QTreeWidget::itemActivated, this, &GuideWindow::showHeading);
    connect(contentsTree, &QTreeWidget::itemClicked, this, &GuideWindow::showHeading);
}

// Sections (h2 that links can reach) with their subsections (h3). The
// guide's own list of contents, a heading without an anchor, is this tree.
void GuideWindow::fillContents()
{
    QTreeWidgetItem *section = nullptr;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const QString text = block.text().simplified();
        if (text.isEmpty() || (level != 2 && level != 3))
            continue;
        if (level == 2 && block.begin().fragment().charFormat().anchorNames().isEmpty()) {
            section = nullptr;
            continue;
        }
        if (level == 3 && !section)
            continue;
        auto *item = level == 2 ? new QTreeWidgetItem(contentsTree) : new QTreeWidgetItem(section);
        item->setText(0, text);
        item->setData(0, kBlockRole, block.position());
        if (level == 2)
            section = item;
    }
}

bool GuideWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Esc closes the guide as it closes every dialog, whichever part has the focus.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void GuideWindow::showHeading(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QTextBlock block = browser->document()->findBlock(item->data(0, kBlockRole).toInt());
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    browser->setTextCursor(cursor);
    const qreal top = browser->document()->documentLayout()->blockBoundingRect(block).top();
    browser->verticalScrollBar()->setValue(int(top));
}

GuideViewer::GuideViewer(QWidget *parentWindow) : QObject(parentWindow), m_parentWindow(parentWindow) {}

GuideViewer::~GuideViewer()
{
    // A viewer still starting is left to itself: only xdg-open ends, not what it started.
    for (QProcess *process : findChildren<QProcess *>()) {
        process->disconnect(this);
        process->kill();
        process->waitForFinished(1000);
    }
}

void GuideViewer::open(const QString &path)
{
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            showWindow(path);
        return;
    }
    auto *process = new QProcess(this);
    // No pipes: a viewer that outlives the program must not write into a closed one.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [this, process, path](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || exitCode != 0)
            showWindow(path);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process, path](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        showWindow(path);
    });
    process->start(launcher, {url.toLocalFile()});
}

void GuideViewer::showWindow(const QString &path)
{
    if (!m_window) {
        m_window = new GuideWindow(path, m_parentWindow);
        placeOnScreen(*m_window, m_parentWindow);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
