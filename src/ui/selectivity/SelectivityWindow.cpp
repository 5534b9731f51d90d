#include "ui/selectivity/SelectivityWindow.h"

#include "base/AppContext.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "docs/schedules/SelectivityChart.h"
#include "docs/schedules/SelectivityReport.h"
#include "ui/widgets/ResultTable.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
constexpr int VerdictColumn = 6; // the reason and the hint of the selected pair stand under the table
}

SelectivityChartView::SelectivityChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chart"));
    setMinimumSize(640, 420);
}

void SelectivityChartView::show(const Selectivity::Pair *pair, const QString &upstreamName,
                                const QString &downstreamName, int places)
{
    m_pair = pair ? std::optional<Selectivity::Pair>(*pair) : std::nullopt;
    m_upstreamName = upstreamName;
    m_downstreamName = downstreamName;
    m_places = places;
    update();
}

void SelectivityChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_pair) {
        painter.fillRect(rect(), palette().base());
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Выберите пару аппаратов"));
        return;
    }
    SelectivityChart::draw(painter, QRectF(rect()), {*m_pair, m_upstreamName, m_downstreamName, m_places});
}

SelectivityWindow::SelectivityWindow(const Project &project, const AppContext &context, Prompter &prompter,
                                     ReportWriter &writer, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter), m_writer(writer)
{
    setObjectName(QStringLiteral("SelectivityWindow"));
    setWindowTitle(QStringLiteral("Селективность"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setModal(true);

    auto *note = new QLabel(QStringLiteral("Вердикты — ") + Selectivity::basisText()
                                + QStringLiteral(" (ГОСТ IEC 60898-1, ГОСТ Р 50030.2): Is — наименьший ток, при котором "
                                                 "аппарат выше по цепи может сработать раньше, чем отключит аппарат линии; "
                                                 "ищется до Iк(3) max в узле."),
                            this);
    note->setWordWrap(true);
    problemLabel = new QLabel(this);
    problemLabel->setObjectName(QStringLiteral("problemLabel"));
    problemLabel->setWordWrap(true);
    problemLabel->setStyleSheet(QStringLiteral("color: #c62828"));
    problemLabel->hide();
    pairTable = new ResultTable(Selectivity::headings().mid(0, VerdictColumn + 1), QStringLiteral("pairTable"), this);
    pairTable->setColumnAlignments({Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight,
                                    Qt::AlignRight, Qt::AlignLeft});
    pairTable->setMinimumHeight(160);
    reasonLabel = new QLabel(this);
    reasonLabel->setObjectName(QStringLiteral("reasonLabel"));
    reasonLabel->setWordWrap(true);
    chart = new SelectivityChartView(this);
    auto *below = new QWidget(this);
    auto *belowLayout = new QVBoxLayout(below);
    belowLayout->setContentsMargins(0, 0, 0, 0);
    belowLayout->addWidget(reasonLabel);
    belowLayout->addWidget(chart, 1);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(pairTable);
    splitter->addWidget(below);
    splitter->setStretchFactor(1, 2);

    chartButton = namedButton(QStringLiteral("Сохранить &график..."), QStringLiteral("chartButton"), this);
    reportButton = namedButton(QStringLiteral("Сохранить &ведомость..."), QStringLiteral("reportButton"), this);
    if (m_writer.canPrint())
        printButton = namedButton(QStringLiteral("&Печать..."), QStringLiteral("printButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);
    closeButton->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(problemLabel);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttonRow({chartButton, reportButton, printButton, closeButton}));
    resize(1100, 820);

    connect(pairTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showChart(); });
    connect(chartButton, &QPushButton::clicked, this, &SelectivityWindow::saveChart);
    connect(reportButton, &QPushButton::clicked, this, &SelectivityWindow::saveReport);
    if (printButton)
        connect(printButton, &QPushButton::clicked, this, &SelectivityWindow::printReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    calculate();
}

void SelectivityWindow::calculate()
{
    m_result = Selectivity::of(m_project, m_context);
    problemLabel->setText(m_result.problems.join(QLatin1Char('\n')));
    problemLabel->setVisible(!m_result.problems.isEmpty());
    showResult();
}

void SelectivityWindow::showResult()
{
    const int places = m_context.calc.places();
    QVector<ResultRow> rows;
    rows.reserve(m_result.pairs.size());
    for (const Selectivity::Pair &pair : std::as_const(m_result.pairs)) {
        ResultRow row{Selectivity::pairTexts(m_project, pair, places).mid(0, VerdictColumn + 1), 0, {}};
        const QString why = pair.reason + (pair.hint.isEmpty() ? QString() : QStringLiteral("; поможет: ") + pair.hint);
        // "нет" stands out as a failed check, a partial one in red letters.
        if (pair.check.verdict == Selectivity::Verdict::None)
            row.marks.append(ResultMark{VerdictColumn, why});
        else if (pair.check.verdict == Selectivity::Verdict::Partial)
            row.marks.append(ResultMark{VerdictColumn, why, ResultMark::Look::Warning});
        rows.append(std::move(row));
    }
    {
        const QSignalBlocker blocker(pairTable->selectionModel());
        pairTable->setRows(std::move(rows));
        if (!m_result.pairs.isEmpty())
            pairTable->setCurrentIndex(pairTable->model()->index(0, 0));
    }
    showChart();
}

void SelectivityWindow::showChart()
{
    const int row = pairTable->currentIndex().row();
    if (row < 0 || row >= m_result.pairs.size()) {
        chart->show(nullptr, QString(), QString(), m_context.calc.places());
        reasonLabel->clear();
        chartButton->setEnabled(false);
        return;
    }
    const Selectivity::Pair &pair = m_result.pairs.at(row);
    chart->show(&pair, m_project.lines.at(pair.upstreamLine).name, m_project.lines.at(pair.downstreamLine).name,
                m_context.calc.places());
    QString reason = QStringLiteral("Причина: ") + pair.reason;
    if (!pair.hint.isEmpty())
        reason += QStringLiteral(". Что поможет: ") + pair.hint + QLatin1Char('.');
    reasonLabel->setText(reason);
    chartButton->setEnabled(true);
}

bool SelectivityWindow::selectLine(int line)
{
    int row = -1;
    if (line >= 0 && line < m_result.pairOfLine.size())
        row = m_result.pairOfLine.at(line);
    for (int r = 0; row < 0 && r < m_result.pairs.size(); ++r)
        if (m_result.pairs.at(r).upstreamLine == line)
            row = r;
    if (row < 0)
        return false;
    const QModelIndex index = pairTable->model()->index(row, 0);
    pairTable->setCurrentIndex(index);
    pairTable->scrollTo(index);
    return true;
}

void SelectivityWindow::saveChart()
{
    const int row = pairTable->currentIndex().row();
    if (row < 0 || row >= m_result.pairs.size())
        return;
    const Selectivity::Pair &pair = m_result.pairs.at(row);
    const QString upstream = m_project.lines.at(pair.upstreamLine).name;
    const QString downstream = m_project.lines.at(pair.downstreamLine).name;
    QString chosen;
    QString path = m_prompter.saveFile(QStringLiteral("Сохранить график"), m_project.projectFolder,
                                       QStringLiteral("Селективность ") + downstream + QStringLiteral(".png"),
                                       QStringLiteral("Рисунок PNG (*.png);;Документ PDF (*.pdf)"), &chosen);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += chosen.contains(QStringLiteral("*.pdf")) ? QStringLiteral(".pdf") : QStringLiteral(".png");
    if (!SelectivityChart::save(path, {pair, upstream, downstream, m_context.calc.places()}))
        m_prompter.message(QStringLiteral("Не удалось записать файл ") + QDir::toNativeSeparators(path)
                               + QStringLiteral("."),
                           QString(), Prompter::Icon::Critical);
}

void SelectivityWindow::saveReport()
{
    calculate();
    SelectivityReport::run(m_writer, m_project, m_result, m_context.calc.places());
}

void SelectivityWindow::printReport()
{
    calculate();
    SelectivityReport::print(m_writer, m_project, m_result, m_context.calc.places());
}
