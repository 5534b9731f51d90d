#include "app/UiHelpers.h"

#include "app/InputCheck.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

Prompter::Answer QtPrompter::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent ? m_parent : QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
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
                             const QString &filter)
{
    // The overwrite question is the program's own.
    return QFileDialog::getSaveFileName(m_parent, title, folder + QLatin1Char('/') + fileName, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool CheckNumericEntry(QLineEdit *field, Prompter &prompter)
{
    InputCheck::Numeric result;
    if (InputCheck::report(field->text(), prompter, &result))
        return true;
    field->setFocus(Qt::OtherFocusReason);
    if (result != InputCheck::Numeric::Empty)
        field->selectAll();
    return false;
}

namespace {

double dpiX(const QWidget *w)
{
    if (w)
        return w->logicalDpiX();
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget *w)
{
    if (w)
        return w->logicalDpiY();
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

} // namespace

int twipsToPixelsX(double twips, const QWidget *widget)
{
    return qRound(twips * dpiX(widget) / 1440.0);
}

int twipsToPixelsY(double twips, const QWidget *widget)
{
    return qRound(twips * dpiY(widget) / 1440.0);
}

double pixelsToTwipsX(int pixels, const QWidget *widget)
{
    return pixels * 1440.0 / dpiX(widget);
}

double pixelsToTwipsY(int pixels, const QWidget *widget)
{
    return pixels * 1440.0 / dpiY(widget);
}

QString listClipboardText(const QAbstractItemModel &model)
{
    const int columns = model.columnCount();
    QStringList header;
    for (int c = 0; c < columns; ++c)
        header << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QString text = header.join(QLatin1Char('\t'));
    const int rows = model.rowCount();
    for (int r = 0; r < rows; ++r) {
        text += QLatin1String("\r\n");
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            text += model.index(r, c).data(Qt::DisplayRole).toString();
        }
    }
    return text;
}

void CopyListToClipboard(const QAbstractItemModel &model)
{
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setText(listClipboardText(model));
}
