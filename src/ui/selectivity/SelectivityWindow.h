#pragma once

#include "calc/selectivity/Selectivity.h"

#include <QDialog>
#include <QWidget>

class AppContext;
class Prompter;
class QLabel;
class QPushButton;
class ResultTable;
class ReportWriter;
struct Project;

// The time-current chart of one pair, drawn as documents draw it.
class SelectivityChartView : public QWidget
{
    Q_OBJECT
public:
    explicit SelectivityChartView(QWidget *parent = nullptr);
    // Nothing shows an empty chart area.
    void show(const Selectivity::Pair *pair, const QString &upstreamName, const QString &downstreamName, int places);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<Selectivity::Pair> m_pair;
    QString m_upstreamName;
    QString m_downstreamName;
    int m_places = 2;
};

// "Селективность": every pair of devices in series with its verdict (failing
// ones highlighted, the reason and what would help beside) and the chart of
// the selected pair.
class SelectivityWindow : public QDialog
{
    Q_OBJECT
public:
    SelectivityWindow(const Project &project, const AppContext &context, Prompter &prompter, ReportWriter &writer,
                      QWidget *parent = nullptr);

    ResultTable *pairTable = nullptr;
    SelectivityChartView *chart = nullptr;
    QLabel *problemLabel = nullptr;
    QLabel *reasonLabel = nullptr; // where the curves of the selected pair meet and what would help
    QPushButton *chartButton = nullptr;
    QPushButton *reportButton = nullptr;
    QPushButton *printButton = nullptr; // only with a writer that can print
    QPushButton *closeButton = nullptr;

    void calculate();
    // Selects the pair whose downstream line is `line`, or else the first
    // pair it is the upstream line of; false when it is in no pair.
    bool selectLine(int line);
    // "Сохранить график...": PNG or PDF after the chosen name.
    void saveChart();
    // "Сохранить &ведомость..." and "&Печать...".
    void saveReport();
    void printReport();

    const Selectivity::Result &result() const { return m_result; }

private:
    void showResult();
    void showChart();

    const Project &m_project;
    const AppContext &m_context;
    Prompter &m_prompter;
    ReportWriter &m_writer;
    Selectivity::Result m_result;
};
