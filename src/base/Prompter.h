#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Every message, question and file prompt of the program goes through this
// interface: the application shows real dialogs, tests plan the answers and
// read back what was said.
class Prompter
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;

    // An empty title means the application title.
    virtual Answer message(const QString &text, const QString &title = QString(),
                           Icon icon = Icon::None, Buttons buttons = Buttons::Ok) = 0;
    // An input box: the text typed, or a null string on cancel.
    virtual QString input(const QString &prompt, const QString &title, const QString &proposal) = 0;
    // File dialogs: the chosen path, or an empty string on cancel. `filter`
    // is in the form "Description (*.ext)", several of them joined by ";;";
    // `chosenFilter`, when given, receives the one the user left selected.
    virtual QString openFile(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &folder, const QString &fileName,
                             const QString &filter, QString *chosenFilter = nullptr) = 0;

    static QString applicationTitle();
};

// Records everything said and answers from a plan; the default answers are
// Ok/Yes and cancelled prompts.
class ScriptedPrompter : public Prompter
{
public:
    struct Message {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &proposal) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &fileName, const QString &filter,
                     QString *chosenFilter = nullptr) override;

    QVector<Message> messages;
    QVector<Answer> answers; // consumed front to back by questions
    QStringList inputs; // consumed by input(); a null string means cancel
    QStringList files; // consumed by openFile()/saveFile(); empty means cancel
    QStringList chosenFilters; // consumed by saveFile(); none: the first filter stays selected
    QStringList prompts; // what input() and the file dialogs were asked, in order
    QStringList lastFileArgs; // folder, file name and filter of the last file dialog

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    void clear();
};
