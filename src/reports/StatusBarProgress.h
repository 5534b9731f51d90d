#pragma once

#include "reports/ReportWriter.h"

#include <QString>

class frmMain;

// The main window's side of a report: the hourglass, status panel 2 and the
// progress bar, each put back as it was at the end.
class StatusBarProgress : public ReportProgress
{
public:
    explicit StatusBarProgress(frmMain &window) : m_window(window) {}
    ~StatusBarProgress() override;

    void begin(const QString &status, int value) override;
    void step(int value) override;
    void end() override;

private:
    frmMain &m_window;
    QString m_savedStatus;
    bool m_active = false;
};
