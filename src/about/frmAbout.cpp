#include "about/frmAbout.h"

#include "app/Icons.h"
#include "app/Version.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

QString frmAbout::messageText()
{
    return QStringLiteral("Если Вам понравилось данное приложение или есть критические замечания, "
                          "пожалуйста, сообщите о них автору! ")
           + QStringLiteral("\n\n") + QStringLiteral("Помогите сделать программу лучше!") + QStringLiteral("\n")
           + QStringLiteral("Если в результате работы программы Вы обнаружите ошибку, также сообщите об  ")
           + QStringLiteral("\n") + QStringLiteral("этом автору!") + QStringLiteral("\n\n")
           + QStringLiteral("Автор: разработчик программы Кабинор") + QStringLiteral("\n")
           + QStringLiteral("Связаться с автором можно через web-сайт программы.");
}

frmAbout::frmAbout(const QString &webSite, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(Icons::application().pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = new QLabel(Version::productName(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    title->setFont(titleFont);

    lblVersion = new QLabel(QStringLiteral("Версия %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Patch),
                            this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    txtMessage = new QPlainTextEdit(this);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    txtMessage->setReadOnly(true);
    txtMessage->setPlainText(messageText());
    // Wide enough for the lines broken by hand to stay whole.
    const QString widest = QStringLiteral("Если в результате работы программы Вы обнаружите ошибку, также сообщите об  ");
    txtMessage->setMinimumSize(txtMessage->fontMetrics().horizontalAdvance(widest) + 40, 140);

    auto *siteCaption = new QLabel(QStringLiteral("Web-сайт:"), this);
    lblWebSite = new QLabel(webSite, this);
    lblWebSite->setObjectName(QStringLiteral("lblWebSite"));
    lblWebSite->setTextFormat(Qt::PlainText);
    lblWebSite->setCursor(Qt::PointingHandCursor);
    QPalette linkPal = lblWebSite->palette();
    linkPal.setColor(QPalette::WindowText, linkPal.color(QPalette::Link));
    lblWebSite->setPalette(linkPal);
    lblWebSite->installEventFilter(this);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *head = new QVBoxLayout;
    head->addWidget(title);
    head->addWidget(lblVersion);
    head->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(8);
    top->addLayout(head, 1);

    auto *site = new QHBoxLayout;
    site->addWidget(siteCaption);
    site->addWidget(lblWebSite);
    site->addStretch(1);
    site->addWidget(cmdOk);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtMessage, 1);
    layout->addLayout(site);
}

void frmAbout::setWebSiteUnderlined(bool underlined)
{
    QFont f = lblWebSite->font();
    if (f.underline() == underlined)
        return;
    f.setUnderline(underlined);
    lblWebSite->setFont(f);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblWebSite) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            setWebSiteUnderlined(true);
            break;
        case QEvent::Leave:
            setWebSiteUnderlined(false);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
                && lblWebSite->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                QDesktopServices::openUrl(QUrl::fromUserInput(lblWebSite->text()));
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
