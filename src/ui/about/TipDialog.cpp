#include "ui/about/TipDialog.h"

#include "calc/about/Tips.h"
#include "base/AppContext.h"
#include "base/StartupSettings.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A light bulb for the picture area.
QPixmap bulb()
{
    QPixmap pm(40, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 120, 0), 1.5));
    p.setBrush(QColor(255, 230, 90));
    QPainterPath glass;
    glass.addEllipse(QRectF(5, 2, 30, 30));
    p.drawPath(glass);
    p.setBrush(QColor(170, 170, 170));
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.drawRect(QRectF(13, 31, 14, 10));
    p.drawLine(QPointF(13, 34.5), QPointF(27, 34.5));
    p.drawLine(QPointF(13, 38), QPointF(27, 38));
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(QRectF(16, 41, 8, 5));
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.drawArc(QRectF(11, 8, 12, 12), 100 * 16, 80 * 16);
    return pm;
}

} // namespace

TipDialog::TipDialog(AppContext &context, Prompter &prompter, QWidget *parent, std::function<double()> random)
    : QDialog(parent), m_context(context), m_prompter(prompter),
      m_generator(quint32(QDateTime::currentMSecsSinceEpoch() & 0xffffffffu)), m_random(std::move(random))
{
    setObjectName(QStringLiteral("TipDialog"));
    setWindowTitle(QStringLiteral("Совет дня"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (!m_random)
        m_random = [this] { return m_generator.generateDouble(); };

    // The picture area: a grey strip with the bulb beside the white tip panel.
    auto *picture = new QFrame(this);
    picture->setObjectName(QStringLiteral("tipPicture"));
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setFrameShadow(QFrame::Sunken);
    picture->setAutoFillBackground(true);
    QPalette pal = picture->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    picture->setPalette(pal);

    auto *strip = new QLabel(picture);
    strip->setAutoFillBackground(true);
    QPalette stripPal = strip->palette();
    stripPal.setColor(QPalette::Window, QColor(128, 128, 128));
    strip->setPalette(stripPal);
    strip->setPixmap(bulb());
    strip->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    strip->setContentsMargins(10, 12, 10, 10);

    auto *heading = new QLabel(QStringLiteral("Знаете ли Вы что.."), picture);
    heading->setObjectName(QStringLiteral("tipHeadingLabel"));
    QFont headFont = heading->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.4);
    heading->setFont(headFont);

    tipLabel = new QLabel(picture);
    tipLabel->setObjectName(QStringLiteral("tipLabel"));
    tipLabel->setTextFormat(Qt::PlainText);
    tipLabel->setWordWrap(true);
    tipLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipLabel->setMinimumSize(340, 120);

    auto *text = new QVBoxLayout;
    text->setContentsMargins(12, 12, 12, 12);
    text->setSpacing(12);
    text->addWidget(heading);
    auto *rule = new QFrame(picture);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    text->addWidget(rule);
    text->addWidget(tipLabel, 1);
    auto *pictureLayout = new QHBoxLayout(picture);
    pictureLayout->setContentsMargins(1, 1, 1, 1);
    pictureLayout->setSpacing(0);
    pictureLayout->addWidget(strip);
    pictureLayout->addLayout(text, 1);

    showAtStartupCheck = new QCheckBox(QStringLiteral("&Показывать при запуске"), this);
    showAtStartupCheck->setObjectName(QStringLiteral("showAtStartupCheck"));
    nextTipButton = new QPushButton(QStringLiteral("&Следующий"), this);
    nextTipButton->setObjectName(QStringLiteral("nextTipButton"));
    nextTipButton->setAutoDefault(false);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(showAtStartupCheck);
    bottom->addStretch(1);
    bottom->addWidget(nextTipButton);
    bottom->addWidget(okButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture, 1);
    layout->addLayout(bottom);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(nextTipButton, &QPushButton::clicked, this, &TipDialog::nextTip);
    // The choice is written at once, whether or not the window is closed with OK.
    connect(showAtStartupCheck, &QCheckBox::clicked, this, [this](bool checked) {
        m_context.settings().update(m_prompter, [checked](IniDocument &ini) {
            ini.setValue(Startup::Section, Startup::ShowTips, Startup::flagText(checked));
        });
    });

    showAtStartupCheck->setChecked(Startup::readFlag(m_context.settings().read(), Startup::ShowTips));
    if (!loadTips(QDir(m_context.appDir()).filePath(Tips::FileName)))
        tipLabel->setText(Tips::missingFileText());
}

bool TipDialog::loadTips(const QString &fileName)
{
    const std::optional<QStringList> lines = Tips::load(fileName);
    if (!lines)
        return false;
    m_tips = *lines;
    nextTip();
    return true;
}

void TipDialog::displayCurrentTip()
{
    if (m_tips.isEmpty())
        return;
    tipLabel->setText(m_tips.at(m_current - 1));
}

void TipDialog::nextTip()
{
    if (m_tips.isEmpty())
        return;
    m_current = Tips::chooseIndex(int(m_tips.size()), m_random());
    displayCurrentTip();
}
