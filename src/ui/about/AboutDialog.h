#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "О программе": the version, a word to the user and the web site's link.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    AboutDialog(const QString &webSite, QWidget *parent = nullptr);

    // The text of the message box.
    static QString messageText();

    QLabel *versionLabel = nullptr;
    QPlainTextEdit *messageEdit = nullptr;
    QLabel *webSiteLabel = nullptr;
    QPushButton *okButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setWebSiteUnderlined(bool underlined);
};
