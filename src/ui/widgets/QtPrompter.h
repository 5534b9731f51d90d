#pragma once

#include "base/Prompter.h"

#include <QString>

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
    QString saveFile(const QString &title, const QString &folder, const QString &fileName, const QString &filter,
                     QString *chosenFilter = nullptr) override;

private:
    QWidget *m_parent;
};
