#include "ui/network/DiagramWindow.h"

#include "base/AppContext.h"
#include "base/InputCheck.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "base/TextFile.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <map>

namespace {

// The pieces of one line on its sheet (or the rest of a sheet) as one item:
// painted by the routine that paints the PDF and SVG, selected as a whole.
class PiecesItem : public QGraphicsItem
{
public:
    PiecesItem(QVector<Drawing::Piece> pieces, int line) : m_pieces(std::move(pieces)), m_line(line)
    {
        for (const Drawing::Piece &p : m_pieces)
            m_bounds |= Drawing::box(p);
        m_bounds.adjust(-1, -1, 1, 1);
        setFlag(ItemIsSelectable, line >= 0);
        setData(0, line);
    }
    QRectF boundingRect() const override { return m_bounds; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        if (isSelected()) {
            painter->fillRect(m_bounds, QColor(0xcc, 0xe4, 0xff));
        }
        Drawing::paint(*painter, m_pieces);
    }

private:
    QVector<Drawing::Piece> m_pieces;
    int m_line;
    QRectF m_bounds;
};

// A sheet is refreshed after the changes of a burst (typing, undoing many
// steps) have paused this long, ms.
constexpr int RefreshDelay = 150;

} // namespace

DiagramWindow::DiagramWindow(const Project &project, AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("DiagramWindow"));
    setWindowTitle(SingleLineDiagram::title());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setModal(false);

    m_scene = new QGraphicsScene(this);
    m_scene->setBackgroundBrush(QColor(0x90, 0x90, 0x90));
    view = new QGraphicsView(m_scene, this);
    view->setObjectName(QStringLiteral("diagramView"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setRenderHint(QPainter::TextAntialiasing);
    view->setDragMode(QGraphicsView::ScrollHandDrag);
    view->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view->setMinimumSize(800, 500);
    view->viewport()->installEventFilter(this);

    sheetList = new QComboBox(this);
    sheetList->setObjectName(QStringLiteral("sheetList"));
    sheetList->addItems({QStringLiteral("A3"), QStringLiteral("A4")});
    zoomInButton = namedButton(QStringLiteral("+"), QStringLiteral("zoomInButton"), this);
    zoomOutButton = namedButton(QStringLiteral("−"), QStringLiteral("zoomOutButton"), this);
    fitButton = namedButton(QStringLiteral("&По размеру окна"), QStringLiteral("fitButton"), this);
    saveButton = namedButton(QStringLiteral("&Сохранить..."), QStringLiteral("saveButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);
    zoomInButton->setShortcut(QKeySequence(Qt::Key_Plus));
    zoomOutButton->setShortcut(QKeySequence(Qt::Key_Minus));
    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("noteLabel"));

    auto *tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("Формат листа:"), this));
    tools->addWidget(sheetList);
    tools->addSpacing(12);
    tools->addWidget(zoomInButton);
    tools->addWidget(zoomOutButton);
    tools->addWidget(fitButton);
    tools->addStretch(1);
    tools->addWidget(noteLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(view, 1);
    layout->addLayout(buttonRow({saveButton, closeButton}));

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(RefreshDelay);
    connect(m_refreshTimer, &QTimer::timeout, this, &DiagramWindow::refreshNow);
    connect(sheetList, &QComboBox::currentIndexChanged, this, [this] {
        refreshNow();
        fitToWindow();
    });
    connect(zoomInButton, &QPushButton::clicked, this, [this] { zoomBy(1.25); });
    connect(zoomOutButton, &QPushButton::clicked, this, [this] { zoomBy(0.8); });
    connect(fitButton, &QPushButton::clicked, this, &DiagramWindow::fitToWindow);
    connect(saveButton, &QPushButton::clicked, this, &DiagramWindow::save);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_scene, &QGraphicsScene::selectionChanged, this, [this] {
        if (m_selecting)
            return;
        const int line = selectedLine();
        if (line >= 0)
            emit lineSelected(line);
    });
    resize(1100, 750);
    refreshNow();
}

void DiagramWindow::refresh()
{
    m_refreshTimer->start();
}

void DiagramWindow::refreshNow()
{
    m_refreshTimer->stop();
    const int selected = selectedLine();
    const QPointF centre = view->mapToScene(view->viewport()->rect().center());
    m_diagram = SingleLineDiagram::buildFor(m_project, m_context,
                                            sheetList->currentIndex() == 1 ? SingleLineDiagram::SheetFormat::A4
                                                                           : SingleLineDiagram::SheetFormat::A3);
    {
        const QSignalBlocker quiet(m_scene);
        m_scene->clear();
        const Drawing::Document &document = m_diagram.document;
        for (int s = 0; s < document.sheets.size(); ++s) {
            const Drawing::Sheet &sheet = document.sheets.at(s);
            const double x = Drawing::sheetOffset(document, s);
            m_scene->addRect(QRectF(QPointF(x, 0), sheet.size), Qt::NoPen, Qt::white)->setZValue(-1);
            // One item per line, one for the rest of the sheet.
            std::map<int, QVector<Drawing::Piece>> byLine;
            for (const Drawing::Piece &p : sheet.pieces)
                byLine[p.owner].append(p);
            for (auto &[line, pieces] : byLine) {
                auto *item = new PiecesItem(std::move(pieces), line);
                item->setPos(x, 0);
                m_scene->addItem(item);
            }
        }
        m_scene->setSceneRect(m_scene->itemsBoundingRect().adjusted(-10, -10, 10, 10));
    }
    noteLabel->setText(m_diagram.leftOut > 0 ? SingleLineDiagram::leftOutText(m_diagram.leftOut) : QString());
    selectLine(selected);
    if (!m_drawnOnce) {
        m_drawnOnce = true;
        QTimer::singleShot(0, this, &DiagramWindow::fitToWindow);
    } else {
        view->centerOn(centre);
    }
}

void DiagramWindow::selectLine(int line)
{
    const QScopedValueRollback selecting(m_selecting, true);
    QGraphicsItem *shown = nullptr;
    for (QGraphicsItem *item : m_scene->items()) {
        if (!(item->flags() & QGraphicsItem::ItemIsSelectable))
            continue;
        const bool mine = item->data(0).toInt() == line && line >= 0;
        item->setSelected(mine);
        if (mine)
            shown = item;
    }
    if (shown)
        view->ensureVisible(shown, 20, 20);
}

int DiagramWindow::selectedLine() const
{
    const QList<QGraphicsItem *> items = m_scene->selectedItems();
    return items.isEmpty() ? -1 : items.first()->data(0).toInt();
}

int DiagramWindow::lineAt(const QPoint &viewPosition) const
{
    for (QGraphicsItem *item : view->items(viewPosition))
        if (item->flags() & QGraphicsItem::ItemIsSelectable)
            return item->data(0).toInt();
    return -1;
}

void DiagramWindow::zoomBy(double factor)
{
    // Within the sizes where a sheet is still worth looking at.
    const double scale = view->transform().m11() * factor;
    if (scale < 0.05 || scale > 60)
        return;
    view->scale(factor, factor);
}

void DiagramWindow::fitToWindow()
{
    const Drawing::Document &document = m_diagram.document;
    if (document.sheets.isEmpty())
        return;
    // The first sheet whole: a network of many sheets is looked at sheet by sheet.
    view->fitInView(QRectF(QPointF(0, 0), document.sheets.first().size).adjusted(-5, -5, 5, 5), Qt::KeepAspectRatio);
}

bool DiagramWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view->viewport()) {
        if (event->type() == QEvent::Wheel) {
            const auto *wheel = static_cast<QWheelEvent *>(event);
            zoomBy(std::pow(1.0015, wheel->angleDelta().y()));
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            const int line = lineAt(static_cast<QMouseEvent *>(event)->position().toPoint());
            if (line >= 0) {
                emit changeRequested(line);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DiagramWindow::save()
{
    const QString pdf = QStringLiteral("PDF (*.pdf)");
    const QString svg = QStringLiteral("SVG (*.svg)");
    const QString dxf = QStringLiteral("DXF (*.dxf)");
    QString chosen;
    QString path = m_prompter.saveFile(QStringLiteral("Сохранить однолинейную схему"), m_context.documentsFolder(),
                                       m_project.projectName + QStringLiteral(" - Однолинейная схема.pdf"),
                                       pdf + QStringLiteral(";;") + svg + QStringLiteral(";;") + dxf, &chosen);
    if (path.isEmpty())
        return;
    // A name without a known extension takes the one of the chosen type.
    if (!SingleLineDiagram::knownExtension(path))
        path += chosen == svg ? QStringLiteral(".svg") : chosen == dxf ? QStringLiteral(".dxf") : QStringLiteral(".pdf");
    if (confirmOverwrite(path, m_prompter))
        return;
    refreshNow();
    const QByteArray bytes = SingleLineDiagram::fileBytes(m_diagram, path);
    if (bytes.isEmpty() || !TextFile::writeBytes(path, bytes)) {
        m_prompter.message(SingleLineDiagram::failureMessage(path), QString(), Prompter::Icon::Critical);
        return;
    }
    m_prompter.message(SingleLineDiagram::successMessage(path), QString(), Prompter::Icon::Information);
}
