#pragma once

#include "app/Prompter.h"

#include <QString>

class QAbstractItemModel;
class QLineEdit;
class QWidget;

// The prompter of the application: Qt's message boxes, input box and file dialogs.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &proposal) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &fileName,
                     const QString &filter) override;

private:
    QWidget *m_parent;
};

// The shared numeric check of a field: reports through the prompter, then
// gives the field the focus and (except for an empty field) selects its text.
bool CheckNumericEntry(QLineEdit *field, Prompter &prompter);

// Twips <-> pixels with the screen's logical DPI (1440 twips per inch).
int twipsToPixelsX(double twips, const QWidget *widget = nullptr);
int twipsToPixelsY(double twips, const QWidget *widget = nullptr);
double pixelsToTwipsX(int pixels, const QWidget *widget = nullptr);
double pixelsToTwipsY(int pixels, const QWidget *widget = nullptr);

// The text of a list for the clipboard: the headers joined by tabs, then for
// each row CR LF and the row's texts joined by tabs; no line break at the end.
QString listClipboardText(const QAbstractItemModel &model);
// Puts that text on the clipboard, replacing its contents.
void CopyListToClipboard(const QAbstractItemModel &model);
