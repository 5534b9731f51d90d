#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QSplitter;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The user guide in a window of our own: the text with its links, and a
// contents list of its sections and subsections beside it; Esc closes it.
class GuideWindow : public QWidget
{
    Q_OBJECT
public:
    explicit GuideWindow(const QString &path, QWidget *parent = nullptr);

    QTreeWidget *contentsTree = nullptr;
    QTextBrowser *browser = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillContents();
    void showHeading(QTreeWidgetItem *item);
};

// Puts a window whole on the screen of `over` (its own without one),
// centred over `over` where it is shown, at most nine tenths of the free area.
void placeOnScreen(QWidget &window, const QWidget *over);

// Hands the user guide to the system's viewer; where the system has none, or
// the viewer cannot take it, the guide opens in a GuideWindow instead.
// xdg-open, where present, is watched to its end, since it fails only after
// it started when no application takes the file.
class GuideViewer : public QObject
{
    Q_OBJECT
public:
    explicit GuideViewer(QWidget *parentWindow);
    ~GuideViewer() override;

    void open(const QString &path);

    // The window of our own, once shown.
    GuideWindow *window() const { return m_window; }

private:
    void showWindow(const QString &path);

    QWidget *m_parentWindow;
    QPointer<GuideWindow> m_window;
};
