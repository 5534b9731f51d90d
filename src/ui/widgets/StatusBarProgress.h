#pragma once

#include "docs/writers/ReportWriter.h"

#include <QString>

class ProgressPanel;
class QLabel;

// A long operation as the status bar shows it: the hourglass, a text in place
// of panel 2's and the progress bar over panel 1, each put back as it was at
// the end (panel 2 keeps the new text when asked to).
class StatusBarProgress : public ReportProgress
{
public:
    StatusBarProgress(ProgressPanel &panel1, QLabel &panel2) : m_panel1(panel1), m_panel2(panel2) {}
    ~StatusBarProgress() override;

    void begin(const QString &status, int value) override;
    void step(int value) override;
    void end() override;

    // The text shown meanwhile stays in panel 2 after the end.
    void keepStatusText() { m_keepStatus = true; }

private:
    ProgressPanel &m_panel1;
    QLabel &m_panel2;
    QString m_savedStatus;
    bool m_active = false;
    bool m_keepStatus = false;
};
