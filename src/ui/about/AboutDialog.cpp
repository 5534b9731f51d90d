#include "ui/about/AboutDialog.h"

#include "base/Version.h"
#include "ui/widgets/Icons.h"

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

QString AboutDialog::messageText()
{
    return QStringLiteral("Если Вам понравилось данное приложение или есть критические замечания, "
                          "пожалуйста, сообщите о них автору! ")
           + QStringLiteral("\n\n") + QStringLiteral("Помогите сделать программу лучше!") + QStringLiteral("\n")
           + QStringLiteral("Если в результате работы программы Вы обнаружите ошибку, также сообщите об  ")
           + QStringLiteral("\n") + QStringLiteral("этом автору!") + QStringLiteral("\n\n")
           + QStringLiteral("Автор: разработчик программы Кабинор") + QStringLiteral("\n")
           + QStringLiteral("Связаться с автором можно через web-сайт программы.");
}

AboutDialog::AboutDialog(const QString &webSite, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("iconPicture"));
    picture->setPixmap(Icons::application().pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = new QLabel(Version::productName(), this);
    title->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    title->setFont(titleFont);

    versionLabel = new QLabel(QStringLiteral("Версия %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Patch),
                            this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));

    messageEdit = new QPlainTextEdit(this);
    messageEdit->setObjectName(QStringLiteral("messageEdit"));
    messageEdit->setReadOnly(true);
    messageEdit->setPlainText(messageText());
    // Wide enough for the lines broken by hand to stay whole.
    const QString widest = QStringLiteral("Если в результате работы программы Вы обнаружите ошибку, также сообщите об  ");
    messageEdit->setMinimumSize(messageEdit->fontMetrics().horizontalAdvance(widest) + 40, 140);

    auto *siteCaption = new QLabel(QStringLiteral("Web-сайт:"), this);
    webSiteLabel = new QLabel(webSite, this);
    webSiteLabel->setObjectName(QStringLiteral("webSiteLabel"));
    webSiteLabel->setTextFormat(Qt::PlainText);
    webSiteLabel->setCursor(Qt::PointingHandCursor);
    QPalette linkPal = webSiteLabel->palette();
    linkPal.setColor(QPalette::WindowText, linkPal.color(QPalette::Link));
    webSiteLabel->setPalette(linkPal);
    webSiteLabel->installEventFilter(this);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *head = new QVBoxLayout;
    head->addWidget(title);
    head->addWidget(versionLabel);
    head->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(8);
    top->addLayout(head, 1);

    auto *site = new QHBoxLayout;
    site->addWidget(siteCaption);
    site->addWidget(webSiteLabel);
    site->addStretch(1);
    site->addWidget(okButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(messageEdit, 1);
    layout->addLayout(site);
}

void AboutDialog::setWebSiteUnderlined(bool underlined)
{
    QFont f = webSiteLabel->font();
    if (f.underline() == underlined)
        return;
    f.setUnderline(underlined);
    webSiteLabel->setFont(f);
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == webSiteLabel) {
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
                && webSiteLabel->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                QDesktopServices::openUrl(QUrl::fromUserInput(webSiteLabel->text()));
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
