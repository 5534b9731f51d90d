#include "ui/widgets/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

Prompter::Answer QtPrompter::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent ? m_parent : QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    // Texts carry names from files and from the update site: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    }
    if (auto *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Да"));
    if (auto *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&Нет"));
    if (auto *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Отмена"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::Ok;
    }
}

QString QtPrompter::input(const QString &prompt, const QString &title, const QString &proposal)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, proposal, &ok);
    return ok ? text : QString();
}

QString QtPrompter::openFile(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, folder, filter);
}

QString QtPrompter::saveFile(const QString &title, const QString &folder, const QString &fileName,
                             const QString &filter, QString *chosenFilter)
{
    // The overwrite question is the program's own.
    return QFileDialog::getSaveFileName(m_parent, title, folder + QLatin1Char('/') + fileName, filter, chosenFilter,
                                        QFileDialog::DontConfirmOverwrite);
}
