#include "docs/schedules/SingleLineDiagram.h"

#include "base/NumberText.h"
#include "calc/network/NetworkTexts.h"
#include "docs/writers/DxfWriter.h"
#include "docs/writers/ReportPages.h"
#include "docs/writers/ReportWriter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace SingleLineDiagram {

namespace {

using Drawing::Layer;
using Drawing::Piece;

// Sizes on paper, mm. Texts are 2,5 mm high (the smallest ГОСТ 2.304 allows
// on drawings), the title 3,5 mm.
constexpr double TextHeight = 2.5;
constexpr double TitleHeight = 3.5;
constexpr double LineStep = 3.6; // baseline to baseline
constexpr double FrameLeft = 20; // the binding edge
constexpr double FrameOther = 5;
constexpr double TitleBlockWidth = 185;
constexpr double TitleBlockHeight = 15;
constexpr double HeadColumn = 50; // the table's column of row names
constexpr double TransformerZone = 30; // above the bus of a sheet
constexpr double LevelHeight = 34; // from a bus to the bus of the boards below
constexpr double BoardHeight = 10; // the board at the end of a line without lines below
constexpr double TableGap = 6;
constexpr double MinColumn = 22;
constexpr double MaxColumn = 45;
constexpr double BusPen = 0.8;
constexpr double BoardBusPen = 0.6;
constexpr double FramePen = 0.5;
constexpr double CablePen = 0.35;
// The room of the texts above a sheet's bus: the rest of the bus stays free
// for the mark of a bus that goes on.
constexpr double LabelRoom = 90;

struct Row {
    QString head; // one or two lines, split by '\n'
    bool twoLines = false;
};

const QVector<Row> &tableRows()
{
    static const QVector<Row> rows = {
        {QStringLiteral("Щит"), false},
        {QStringLiteral("Pу / Pр, кВт"), false},
        {QStringLiteral("Аппарат: тип, In, А"), false},
        {QStringLiteral("Pр, кВт"), false},
        {QStringLiteral("cos φ"), false},
        {QStringLiteral("Iр, А"), false},
        {QStringLiteral("Длина, м"), false},
        {QStringLiteral("ΔU, %"), false},
        {QStringLiteral("Кабель: марка,\nжилы x сечение, мм²"), true},
        {QStringLiteral("Iк(3) max / Iк(1) min,\nкА"), true},
        {QStringLiteral("ΔU от шин ТП, %"), false},
    };
    return rows;
}

double rowHeight(const Row &row)
{
    return row.twoLines ? 8.5 : 5;
}

double tableHeight()
{
    double h = 0;
    for (const Row &row : tableRows())
        h += rowHeight(row);
    return h;
}

// What one line shows: the label beside its cable and its table column.
struct LineTexts {
    QString position; // "QF1", empty without a device
    QString device; // "C63"
    QString designation, current, length, cable;
    QStringList cells; // one per table row; a two-line cell as "a\nb"
    QString board;
};

QString elided(const QString &text, double width, double height)
{
    if (Drawing::textWidth(text, height) <= width)
        return text;
    QString t = text;
    while (!t.isEmpty() && Drawing::textWidth(t + QChar(0x2026), height) > width)
        t.chop(1);
    return t + QChar(0x2026);
}

struct SheetTask {
    int root = Network::Bus; // the bus or the line whose board the sheet goes on from
    int firstChild = 0; // the first of the root's lines drawn on the sheet
    int fromSheet = 0; // 1-based; 0 for the first sheet
};

class Builder
{
public:
    Builder(const Project &project, const Network::Tree &tree, const Network::Result &result, int places,
            SheetFormat format)
        : m_project(project), m_tree(tree), m_result(result), m_places(places)
    {
        m_size = format == SheetFormat::A3 ? QSizeF(420, 297) : QSizeF(297, 210);
    }

    Diagram run();

private:
    const QVector<int> &kids(int node) const { return m_kids[node + 1]; }
    void collect();
    void measure();
    void layoutSheet(const SheetTask &task, int sheetNumber);
    void drawSheet(Drawing::Sheet &sheet, const SheetTask &task, const QVector<int> &top, int slotCount);
    void drawLine(Drawing::Sheet &sheet, int line);
    void drawTable(Drawing::Sheet &sheet, const QVector<int> &lineOfSlot);
    void frame(Drawing::Sheet &sheet, int number);

    void add(Drawing::Sheet &sheet, Piece piece) { sheet.pieces.append(std::move(piece)); }
    static Piece line(Layer layer, QPointF a, QPointF b, double pen = 0, int owner = -1)
    {
        Piece p;
        p.kind = Drawing::Kind::Line;
        p.layer = layer;
        p.a = a;
        p.b = b;
        p.width = pen;
        p.owner = owner;
        return p;
    }
    static Piece text(Layer layer, QPointF at, const QString &t, Piece::Align align = Piece::Align::Left,
                      int owner = -1, double height = TextHeight)
    {
        Piece p;
        p.kind = Drawing::Kind::Text;
        p.layer = layer;
        p.a = at;
        p.text = t;
        p.align = align;
        p.size = height;
        p.owner = owner;
        return p;
    }

    double left() const { return FrameLeft + HeadColumn; }
    double slotX(int slot) const { return left() + (slot + 0.5) * m_column; }
    double busY() const { return FrameOther + TransformerZone; }
    double tableTop() const { return m_size.height() - FrameOther - TitleBlockHeight - tableHeight(); }
    double endY() const { return tableTop() - TableGap - BoardHeight; }

    const Project &m_project;
    const Network::Tree &m_tree;
    const Network::Result &m_result;
    int m_places;
    QSizeF m_size;
    double m_column = MinColumn;
    int m_columns = 1; // per sheet
    int m_levels = 1; // per sheet

    std::vector<QVector<int>> m_kids; // drawn lines starting at node k - 1
    std::vector<LineTexts> m_texts;
    std::vector<int> m_width; // columns of a subtree on its sheet
    std::vector<char> m_cut; // goes on on another sheet
    std::vector<int> m_slot;
    std::vector<int> m_depth; // level on its sheet, 1 under the sheet's bus
    std::vector<int> m_continuesOn; // the sheet a cut line goes on at, 1-based
    QVector<SheetTask> m_tasks;
    int m_breakers = 0;
    Diagram m_diagram;
};

void Builder::collect()
{
    const int n = m_tree.lineCount();
    m_kids.assign(size_t(n) + 1, {});
    m_texts.assign(size_t(n), {});
    std::vector<char> drawn(size_t(n), 0);
    // The order has a line after the line it starts at: one pass decides
    // which are drawn (a start, and the line above drawn as well).
    for (const int line : m_tree.order()) {
        const int up = m_tree.parent(line);
        if (!m_tree.hasStart(line) || (up != Network::Bus && !drawn[size_t(up)])) {
            ++m_diagram.leftOut;
            continue;
        }
        drawn[size_t(line)] = 1;
        ++m_diagram.drawnLines;
        m_kids[size_t(up + 1)].append(line);
        const Network::RowTexts row = Network::lineRow(m_project, m_tree, m_result, line, m_places, 0);
        const CableLine &l = m_project.lines.at(line);
        LineTexts &t = m_texts[size_t(line)];
        if (row.device != QLatin1String("-"))
            t.device = row.device;
        t.designation = l.name;
        t.current = row.loadCurrent + QStringLiteral(" А");
        t.length = row.length + QStringLiteral(" м");
        t.cable = row.cable;
        // A line feeding a shield shows the shield's name as its board.
        t.board = row.board;
        // Pу and Pр below the line's end, from the loads carried up the network.
        t.cells = {row.board,
                   row.installedPower + QStringLiteral(" / ") + row.designPower,
                   t.device.isEmpty() ? QStringLiteral("-") : t.device,
                   row.designPower,
                   row.powerFactor,
                   row.loadCurrent,
                   row.length,
                   row.lineDrop,
                   l.cell(CableLine::Mark) + QLatin1Char('\n') + l.cell(CableLine::Cores),
                   row.threePhaseMax + QLatin1Char('\n') + row.singlePhaseMin,
                   row.dropFromBus};
    }
}

void Builder::measure()
{
    // The column is as wide as the widest text of a line needs, within bounds.
    double widest = 0;
    const auto fit = [&](const QString &t) { widest = std::max(widest, Drawing::textWidth(t, TextHeight)); };
    for (const LineTexts &t : m_texts) {
        for (const QString *s : {&t.position, &t.device, &t.designation, &t.current, &t.length, &t.cable})
            fit(*s);
        for (const QString &cell : t.cells)
            for (const QString &part : cell.split(QLatin1Char('\n')))
                fit(part);
    }
    m_column = std::clamp(widest + 5, MinColumn, MaxColumn);
    const double width = m_size.width() - FrameLeft - FrameOther - HeadColumn - 2;
    m_columns = std::max(1, int(width / m_column));
    m_levels = std::max(1, int((endY() - busY()) / LevelHeight));
}

// Places the lines of one sheet: the widths of the subtrees (a subtree
// deeper or wider than the sheet goes on on a sheet of its own), the lines
// of the root that fit, then each line's column, a line between the first
// half of its subtrees and the second.
void Builder::layoutSheet(const SheetTask &task, int sheetNumber)
{
    const QVector<int> &rootKids = kids(task.root);
    // Widths bottom up, without recursion: a line's subtrees are done
    // before the line itself.
    struct Frame {
        int line;
        int depth;
        int next;
    };
    const auto widthOf = [&](int first) {
        std::vector<Frame> stack{{first, 1, 0}};
        while (!stack.empty()) {
            Frame &f = stack.back();
            const QVector<int> &k = kids(f.line);
            if (f.depth < m_levels && f.next < k.size()) {
                const int child = k.at(f.next++);
                stack.push_back({child, f.depth + 1, 0});
                continue;
            }
            const size_t at = size_t(f.line);
            m_cut[at] = 0;
            if (k.isEmpty()) {
                m_width[at] = 1;
            } else if (f.depth >= m_levels) {
                m_cut[at] = 1;
                m_width[at] = 1;
            } else {
                int w = 1;
                for (const int child : k)
                    w += m_width[size_t(child)];
                // Too wide: the widest lines below go on on sheets of their
                // own, until it fits or only the line itself can go.
                if (w > m_columns) {
                    QVector<int> widest = k;
                    std::stable_sort(widest.begin(), widest.end(), [&](int a, int b) {
                        return m_width[size_t(a)] > m_width[size_t(b)];
                    });
                    for (const int child : widest) {
                        if (w <= m_columns || m_width[size_t(child)] == 1)
                            break;
                        w -= m_width[size_t(child)] - 1;
                        m_width[size_t(child)] = 1;
                        m_cut[size_t(child)] = 1;
                    }
                }
                m_cut[at] = w > m_columns;
                m_width[at] = m_cut[at] ? 1 : w;
            }
            stack.pop_back();
        }
        return m_width[size_t(first)];
    };

    QVector<int> top;
    int used = 0;
    int k = task.firstChild;
    for (; k < rootKids.size(); ++k) {
        const int w = widthOf(rootKids.at(k));
        if (!top.isEmpty() && used + w > m_columns)
            break;
        top.append(rootKids.at(k));
        used += w;
    }
    int busContinues = 0;
    if (k < rootKids.size()) {
        m_tasks.append({task.root, k, sheetNumber});
        busContinues = int(m_tasks.size());
    }

    // Columns, and the sheets the cut lines go on at.
    int slot = 0;
    struct Place {
        int line;
        int depth;
        int next;
        bool placed;
    };
    for (const int first : top) {
        std::vector<Place> stack{{first, 1, 0, false}};
        while (!stack.empty()) {
            Place &p = stack.back();
            const size_t at = size_t(p.line);
            const int count = m_cut[at] ? 0 : int(kids(p.line).size());
            if (!p.placed && p.next == count / 2) {
                m_slot[at] = slot++;
                m_depth[at] = p.depth;
                p.placed = true;
                if (m_cut[at]) {
                    m_tasks.append({p.line, 0, sheetNumber});
                    m_continuesOn[at] = int(m_tasks.size());
                }
                continue;
            }
            if (p.next < count) {
                const int child = kids(p.line).at(p.next++);
                const int depth = p.depth + 1;
                stack.push_back({child, depth, 0, false});
                continue;
            }
            stack.pop_back();
        }
    }

    Drawing::Sheet sheet;
    sheet.size = m_size;
    if (busContinues > 0) {
        const double x = slotX(slot - 1) + m_column / 2;
        add(sheet, text(Layer::Texts, QPointF(x, busY() - 1.5),
                        QStringLiteral("см. лист ") + QString::number(busContinues), Piece::Align::Right));
    }
    drawSheet(sheet, task, top, slot);
    m_diagram.document.sheets.append(std::move(sheet));
}


void Builder::drawLine(Drawing::Sheet &sheet, int line)
{
    const size_t at = size_t(line);
    const LineTexts &t = m_texts[at];
    const double x = slotX(m_slot[at]);
    const double y = busY() + (m_depth[at] - 1) * LevelHeight;
    const double room = m_column - 3;
    const bool board = !m_cut[at] && !kids(line).isEmpty();
    const auto label = [&](double dy, const QString &s, Layer layer = Layer::Texts) {
        if (!s.isEmpty())
            add(sheet, text(layer, QPointF(x + 1.5, y + dy), elided(s, room, TextHeight), Piece::Align::Left, line));
    };
    if (!t.device.isEmpty()) {
        Piece breaker;
        breaker.kind = Drawing::Kind::SymbolAt;
        breaker.layer = Layer::Symbols;
        breaker.symbol = Drawing::Symbol::Breaker;
        breaker.a = QPointF(x, y + 2);
        breaker.owner = line;
        add(sheet, this->line(Layer::Cables, QPointF(x, y), QPointF(x, y + 2), 0, line));
        add(sheet, breaker);
        label(5.5, t.position);
        label(9.1, t.device);
    } else {
        add(sheet, this->line(Layer::Cables, QPointF(x, y), QPointF(x, y + 10), CablePen, line));
    }
    const double bottom = board ? y + LevelHeight : endY();
    add(sheet, this->line(Layer::Cables, QPointF(x, y + 10), QPointF(x, bottom), CablePen, line));
    // The label after the cable: its designation, current, length, cable.
    label(14.5, t.designation);
    label(14.5 + LineStep, t.current);
    label(14.5 + 2 * LineStep, t.length);
    label(14.5 + 3 * LineStep, t.cable);
    if (board) {
        const QVector<int> &k = kids(line);
        const double from = std::min(x, slotX(m_slot[size_t(k.first())])) - 2;
        const double to = std::max(x, slotX(m_slot[size_t(k.last())])) + 2;
        add(sheet, this->line(Layer::Bus, QPointF(from, bottom), QPointF(to, bottom), BoardBusPen, line));
        label(LevelHeight - 1.2, t.board);
        return;
    }
    Piece box;
    box.kind = Drawing::Kind::Rect;
    box.layer = Layer::Symbols;
    box.a = QPointF(x - m_column / 2 + 1.5, bottom);
    box.b = QPointF(x + m_column / 2 - 1.5, bottom + BoardHeight);
    box.owner = line;
    add(sheet, box);
    const double inside = m_column - 4;
    if (!t.board.isEmpty())
        add(sheet, text(Layer::Texts, QPointF(x, bottom + 4.2), elided(t.board, inside, TextHeight),
                        Piece::Align::Center, line));
    if (m_cut[at])
        add(sheet, text(Layer::Texts, QPointF(x, bottom + 8.4),
                        QStringLiteral("см. лист ") + QString::number(m_continuesOn[at]), Piece::Align::Center,
                        line));
}

void Builder::drawSheet(Drawing::Sheet &sheet, const SheetTask &task, const QVector<int> &top, int slotCount)
{
    const double busFrom = left() + 1;
    const double busTo = std::max(slotX(slotCount - 1) + m_column / 2 - 1, left() + 130);
    add(sheet, line(Layer::Bus, QPointF(busFrom, busY()), QPointF(busTo, busY()), BusPen));
    if (task.root == Network::Bus && task.fromSheet == 0) {
        // The transformer: two circles, the supply above, its 0,4 kV winding on the bus.
        const double tx = left() + 6;
        Piece circle;
        circle.kind = Drawing::Kind::Circle;
        circle.layer = Layer::Symbols;
        circle.size = 5;
        circle.a = QPointF(tx, busY() - 17);
        add(sheet, circle);
        circle.a = QPointF(tx, busY() - 10);
        add(sheet, circle);
        add(sheet, line(Layer::Cables, QPointF(tx, busY() - 5), QPointF(tx, busY())));
        add(sheet, line(Layer::Cables, QPointF(tx, busY() - 27), QPointF(tx, busY() - 22)));
        const bool delta = m_project.transformerGroup.trimmed().toUpper() == QLatin1String("D");
        add(sheet, text(Layer::Texts, QPointF(tx + 8, busY() - 17),
                        elided(QStringLiteral("Т1 ") + m_project.transformerPower.trimmed() + QStringLiteral(" кВА"),
                               LabelRoom, TextHeight)));
        add(sheet, text(Layer::Texts, QPointF(tx + 8, busY() - 13.4),
                        delta ? QStringLiteral("Д/Yн-11") : QStringLiteral("Y/Yн-0")));
        add(sheet, text(Layer::Texts, QPointF(tx + 8, busY() - 2), QStringLiteral("0,4 кВ")));
        if (m_diagram.leftOut > 0)
            add(sheet, text(Layer::Texts, QPointF(m_size.width() - FrameOther - 3, FrameOther + 6),
                            leftOutText(m_diagram.leftOut), Piece::Align::Right));
    } else {
        const QString what = task.root == Network::Bus
                                 ? QStringLiteral("Шины 0,4 кВ ТП")
                                 : (m_texts[size_t(task.root)].board.isEmpty() ? m_texts[size_t(task.root)].designation
                                                                               : m_texts[size_t(task.root)].board);
        add(sheet, line(Layer::Cables, QPointF(busFrom + 4, busY() - 8), QPointF(busFrom + 4, busY())));
        add(sheet, text(Layer::Texts, QPointF(busFrom + 6, busY() - 2),
                        elided(what, LabelRoom, TextHeight) + QStringLiteral(", с листа ")
                            + QString::number(task.fromSheet)));
    }
    // Every line of the sheet, down to the cut ones; the breakers are
    // numbered on from the sheets before, level by level, left to right.
    QVector<int> lineOfSlot(slotCount, -1);
    std::vector<int> stack(top.rbegin(), top.rend());
    while (!stack.empty()) {
        const int l = stack.back();
        stack.pop_back();
        lineOfSlot[m_slot[size_t(l)]] = l;
        if (!m_cut[size_t(l)])
            for (const int child : kids(l))
                stack.push_back(child);
    }
    QVector<int> byLevel = lineOfSlot;
    std::stable_sort(byLevel.begin(), byLevel.end(),
                     [&](int a, int b) { return m_depth[size_t(a)] < m_depth[size_t(b)]; });
    for (const int l : byLevel) {
        LineTexts &t = m_texts[size_t(l)];
        if (!t.device.isEmpty())
            t.position = QStringLiteral("QF") + QString::number(++m_breakers);
        drawLine(sheet, l);
    }
    drawTable(sheet, lineOfSlot);
}

void Builder::drawTable(Drawing::Sheet &sheet, const QVector<int> &lineOfSlot)
{
    const double x0 = FrameLeft;
    const double x1 = left() + lineOfSlot.size() * m_column;
    const double y0 = tableTop();
    const double y1 = y0 + tableHeight();
    add(sheet, line(Layer::Table, QPointF(x0, y0), QPointF(x1, y0), FramePen));
    add(sheet, line(Layer::Table, QPointF(left(), y0), QPointF(left(), y1), FramePen));
    for (int s = 0; s <= lineOfSlot.size(); ++s)
        add(sheet, line(Layer::Table, QPointF(left() + s * m_column, y0), QPointF(left() + s * m_column, y1)));
    double y = y0;
    const QVector<Row> &rows = tableRows();
    for (int r = 0; r < rows.size(); ++r) {
        const Row &row = rows.at(r);
        const double h = rowHeight(row);
        const auto put = [&](double x, const QString &cell, Piece::Align align, int owner, double width) {
            const QStringList parts = cell.split(QLatin1Char('\n'));
            for (int i = 0; i < parts.size() && i < 2; ++i) {
                const double base = row.twoLines ? y + 3.6 + i * 3.8 : y + 3.75;
                if (!parts.at(i).isEmpty())
                    add(sheet, text(Layer::Table, QPointF(x, base), elided(parts.at(i), width, TextHeight), align,
                                    owner));
            }
        };
        put(x0 + 1.5, row.head, Piece::Align::Left, -1, HeadColumn - 3);
        for (int s = 0; s < lineOfSlot.size(); ++s)
            if (lineOfSlot.at(s) >= 0)
                put(slotX(s), m_texts[size_t(lineOfSlot.at(s))].cells.at(r), Piece::Align::Center, lineOfSlot.at(s),
                    m_column - 2);
        y += h;
        add(sheet, line(Layer::Table, QPointF(x0, y), QPointF(x1, y), r + 1 == rows.size() ? FramePen : 0));
    }
}

void Builder::frame(Drawing::Sheet &sheet, int number)
{
    const double w = m_size.width();
    const double h = m_size.height();
    Piece border;
    border.kind = Drawing::Kind::Rect;
    border.layer = Layer::Frame;
    border.width = FramePen;
    border.a = QPointF(FrameLeft, FrameOther);
    border.b = QPointF(w - FrameOther, h - FrameOther);
    add(sheet, border);
    const QPointF corner(w - FrameOther - TitleBlockWidth, h - FrameOther - TitleBlockHeight);
    border.a = corner;
    border.b = QPointF(w - FrameOther, h - FrameOther);
    add(sheet, border);
    for (const double dx : {70.0, 150.0})
        add(sheet, line(Layer::Frame, corner + QPointF(dx, 0), corner + QPointF(dx, TitleBlockHeight), FramePen));
    const double base = corner.y() + 9.25;
    add(sheet, text(Layer::Frame, QPointF(corner.x() + 2, base), elided(m_project.projectName, 66, TitleHeight),
                    Piece::Align::Left, -1, TitleHeight));
    add(sheet, text(Layer::Frame, QPointF(corner.x() + 72, base), title(), Piece::Align::Left, -1, TitleHeight));
    add(sheet, text(Layer::Frame, QPointF(corner.x() + 152, base),
                    ReportPages::pageNumberText(number, int(m_diagram.document.sheets.size()))));
}

Diagram Builder::run()
{
    m_diagram.document.title = title();
    collect();
    measure();
    const size_t n = size_t(m_tree.lineCount());
    m_width.assign(n, 1);
    m_cut.assign(n, 0);
    m_slot.assign(n, 0);
    m_depth.assign(n, 1);
    m_continuesOn.assign(n, 0);
    m_tasks = {SheetTask{}};
    for (int i = 0; i < m_tasks.size(); ++i) {
        const SheetTask task = m_tasks.at(i);
        layoutSheet(task, i + 1);
    }
    for (int s = 0; s < m_diagram.document.sheets.size(); ++s)
        frame(m_diagram.document.sheets[s], s + 1);
    return std::move(m_diagram);
}

} // namespace

QString title()
{
    return QStringLiteral("Однолинейная схема");
}

QString leftOutText(int count)
{
    return QStringLiteral("Не показаны линии без начала: ") + QString::number(count);
}

Diagram build(const Project &project, const Network::Tree &tree, const Network::Result &result, int places,
              SheetFormat format)
{
    return Builder(project, tree, result, places, format).run();
}

Diagram buildFor(const Project &project, const AppContext &context, SheetFormat format)
{
    const Network::Tree tree = Network::Tree::build(project.lines);
    const Network::Result result =
        Network::compute(project, tree, context.calc, Network::Sources::load(project, context));
    return build(project, tree, result, context.calc.places(), format);
}

bool knownExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("pdf") || suffix == QLatin1String("svg") || suffix == QLatin1String("dxf");
}

QString successMessage(const QString &path)
{
    return ReportWriter::successMessage(path);
}

QString failureMessage(const QString &path)
{
    return QStringLiteral("Не удалось сохранить схему в файл '") + QDir::toNativeSeparators(path)
           + QStringLiteral("'.\r\nПроверьте, доступна ли папка для записи.");
}

QByteArray fileBytes(const Diagram &diagram, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Drawing::pdf(diagram.document);
    if (suffix == QLatin1String("svg"))
        return Drawing::svg(diagram.document);
    if (suffix == QLatin1String("dxf"))
        return Dxf::write(diagram.document);
    return QByteArray();
}

} // namespace SingleLineDiagram
