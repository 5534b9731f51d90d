#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "О программе": the version, a word to the user and the web site's link.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout(const QString &webSite, QWidget *parent = nullptr);

    // The text of the message box.
    static QString messageText();

    QLabel *lblVersion = nullptr;
    QPlainTextEdit *txtMessage = nullptr;
    QLabel *lblWebSite = nullptr;
    QPushButton *cmdOk = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setWebSiteUnderlined(bool underlined);
};
