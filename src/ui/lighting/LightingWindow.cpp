#include "ui/lighting/LightingWindow.h"

#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "ui/widgets/UpDownControl.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Lighting;

namespace {

// Size of the plan frame: the square picture, the count below it and the caption.
constexpr int kPlanFrameWidth = 4335;
constexpr int kPlanFrameHeight = 4815;
// Offsets of the picture and the count label inside the frame.
constexpr int kPlanGap = 70;

QLineEdit *makeField(QWidget *parent, const char *name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setFixedWidth(72);
    return field;
}

QLabel *makeLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

LightingWindow::LightingWindow(AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("LightingWindow"));
    setWindowTitle(QStringLiteral("Расчет осветительной установки"));
    setModal(true);
    buildUi();

    loadLists();
    drawPlan(0, 1, 1);
    placePlan();
    readSettings();

    connect(normList, &QComboBox::currentIndexChanged, this, &LightingWindow::onNormChosen);
    connect(lampTypeList, &QComboBox::currentIndexChanged, this, &LightingWindow::onLampTypeChosen);
    connect(lampCountUpDown, &UpDownControl::valueChanged, this,
            [this](int value) { lampCountEdit->setText(QString::number(value)); });
    connect(calculateButton, &QPushButton::clicked, this, &LightingWindow::calculate);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

LightingWindow::~LightingWindow()
{
    // A window torn down without closing (the program ending) still keeps its inputs.
    if (!m_unloaded)
        writeSettings();
}

void LightingWindow::buildUi()
{
    // Room.
    roomFrame = new QGroupBox(QStringLiteral("Помещение"), this);
    roomFrame->setObjectName(QStringLiteral("roomFrame"));
    lengthEdit = makeField(roomFrame, "lengthEdit");
    widthEdit = makeField(roomFrame, "widthEdit");
    heightEdit = makeField(roomFrame, "heightEdit");
    workingPlaneEdit = makeField(roomFrame, "workingPlaneEdit");
    safetyFactorEdit = makeField(roomFrame, "safetyFactorEdit");
    auto *room = new QGridLayout(roomFrame);
    room->setColumnStretch(2, 1);
    const struct {
        const char *caption;
        QLineEdit *field;
        const char *unit;
    } roomRows[] = {
        {"Длина", lengthEdit, "м"},
        {"Ширина", widthEdit, "м"},
        {"Высота", heightEdit, "м"},
        {"Рабочая плоскость", workingPlaneEdit, "м"},
        {"Коэф. запаса", safetyFactorEdit, ""},
    };
    int row = 0;
    for (const auto &r : roomRows) {
        room->addWidget(makeLabel(QString::fromUtf8(r.caption), r.field, roomFrame), row, 0);
        room->addWidget(r.field, row, 1);
        room->addWidget(new QLabel(QString::fromUtf8(r.unit), roomFrame), row, 2);
        ++row;
    }

    // Luminaire.
    luminaireFrame = new QGroupBox(QStringLiteral("Светильник"), this);
    luminaireFrame->setObjectName(QStringLiteral("luminaireFrame"));
    lampTypeList = new QComboBox(luminaireFrame);
    lampTypeList->setObjectName(QStringLiteral("lampTypeList"));
    lampTypeList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lampTypeList->setMinimumContentsLength(16);
    lampPowerEdit = makeField(luminaireFrame, "lampPowerEdit");
    lampCountEdit = makeField(luminaireFrame, "lampCountEdit");
    lampCountEdit->setReadOnly(true);
    lampCountEdit->setFixedWidth(40);
    lampCountEdit->installEventFilter(this);
    lampCountUpDown = new UpDownControl(luminaireFrame);
    lampCountUpDown->setObjectName(QStringLiteral("lampCountUpDown"));
    lampCountUpDown->setRange(MinLamps, MaxLamps);
    lampCountUpDown->setFixedHeight(lampCountEdit->sizeHint().height());
    auto *lamp = new QGridLayout(luminaireFrame);
    lamp->setColumnStretch(2, 1);
    lamp->addWidget(makeLabel(QStringLiteral("Тип лампы"), lampTypeList, luminaireFrame), 0, 0, 1, 3);
    lamp->addWidget(lampTypeList, 1, 0, 1, 3);
    lamp->addWidget(makeLabel(QStringLiteral("Мощность лампы"), lampPowerEdit, luminaireFrame), 2, 0);
    auto *power = new QHBoxLayout;
    power->addWidget(lampPowerEdit);
    power->addWidget(new QLabel(QStringLiteral("Вт"), luminaireFrame));
    power->addStretch();
    lamp->addLayout(power, 2, 1, 1, 2);
    lamp->addWidget(makeLabel(QStringLiteral("Число ламп"), lampCountEdit, luminaireFrame), 3, 0);
    auto *count = new QHBoxLayout;
    count->setSpacing(0);
    count->addWidget(lampCountEdit);
    count->addWidget(lampCountUpDown);
    count->addStretch();
    lamp->addLayout(count, 3, 1, 1, 2);

    // Norm.
    normFrame = new QGroupBox(QStringLiteral("Нормируемая освещенность"), this);
    normFrame->setObjectName(QStringLiteral("normFrame"));
    normList = new QComboBox(normFrame);
    normList->setObjectName(QStringLiteral("normList"));
    normList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    normList->setMinimumContentsLength(16);
    illuminanceEdit = makeField(normFrame, "illuminanceEdit");
    m_enPalette = illuminanceEdit->palette();
    auto *norm = new QGridLayout(normFrame);
    norm->setColumnStretch(2, 1);
    norm->addWidget(makeLabel(QStringLiteral("Норма"), normList, normFrame), 0, 0, 1, 3);
    norm->addWidget(normList, 1, 0, 1, 3);
    norm->addWidget(illuminanceEdit, 2, 1);
    norm->addWidget(new QLabel(QStringLiteral("лк"), normFrame), 2, 2);

    // The fields of the three frames line up in one column.
    int captionWidth = 0;
    for (QGridLayout *grid : {room, lamp, norm}) {
        for (int r = 0; r < grid->rowCount(); ++r) {
            QLayoutItem *item = grid->itemAtPosition(r, 0);
            if (item && item->widget() && grid->itemAtPosition(r, 1) != item)
                captionWidth = qMax(captionWidth, item->sizeHint().width());
        }
    }
    for (QGridLayout *grid : {room, lamp, norm})
        grid->setColumnMinimumWidth(0, captionWidth);

    // Buttons.
    calculateButton = new QPushButton(QStringLiteral("&Расчет"), this);
    calculateButton->setObjectName(QStringLiteral("calculateButton"));
    calculateButton->setDefault(true);
    closeButton = new QPushButton(QStringLiteral("&Закрыть"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAutoDefault(false);

    // Plan: placed by hand, centred in its frame.
    planFrame = new QGroupBox(QStringLiteral("План расположения светильников"), this);
    planFrame->setObjectName(QStringLiteral("planFrame"));
    planFrame->setMinimumSize(twipsToPixelsX(kPlanFrameWidth, this), twipsToPixelsY(kPlanFrameHeight, this));
    planFrame->installEventFilter(this);
    planPicture = new QLabel(planFrame);
    planPicture->setObjectName(QStringLiteral("planPicture"));
    planPicture->setFrameStyle(QFrame::Box | QFrame::Plain);
    planPicture->setLineWidth(1);
    planPicture->setAlignment(Qt::AlignCenter);
    countLabel = new QLabel(QStringLiteral("Количество светильников: "), planFrame);
    countLabel->setObjectName(QStringLiteral("countLabel"));

    auto *left = new QVBoxLayout;
    left->addWidget(roomFrame);
    left->addWidget(luminaireFrame);
    left->addWidget(normFrame);
    left->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(calculateButton);
    buttons->addWidget(closeButton);
    left->addLayout(buttons);

    auto *top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addWidget(planFrame, 1);
    top->setSizeConstraint(QLayout::SetFixedSize);

    const QList<QWidget *> order = {lengthEdit, widthEdit, heightEdit,  workingPlaneEdit,   safetyFactorEdit,   lampTypeList,
                                    lampPowerEdit, lampCountEdit, normList, illuminanceEdit, calculateButton, closeButton};
    for (int k = 1; k < order.size(); ++k)
        setTabOrder(order.at(k - 1), order.at(k));
}

void LightingWindow::loadLists()
{
    const QString &appDir = m_context.appDir();
    // A list that cannot be read leaves its drop-down empty; the calculation
    // then refuses for want of a lamp type instead of failing.
    auto load = [&](int index, QVector<ListRecord> &target) {
        if (auto records = readRecords(DataFiles::dataFilePath(appDir, index)))
            target = *records;
        else
            m_prompter.message(unreadableFileText(appDir, index), errorTitle(), Prompter::Icon::Exclamation);
    };
    load(DataFiles::LampTypes, m_lampTypes);
    load(DataFiles::IlluminanceNorms, m_norms);

    for (const ListRecord &r : std::as_const(m_lampTypes))
        lampTypeList->addItem(r.name);
    normList->addItem(otherNormName());
    for (const ListRecord &r : std::as_const(m_norms))
        normList->addItem(r.name);
    // Long norm names show whole in the open list.
    for (QComboBox *combo : {lampTypeList, normList}) {
        const int wanted = combo->view()->sizeHintForColumn(0) + 24;
        combo->view()->setMinimumWidth(wanted);
    }
}

void LightingWindow::readSettings()
{
    const Settings s = Settings::load(m_context.settings().read());
    lengthEdit->setText(s.length);
    widthEdit->setText(s.width);
    heightEdit->setText(s.h1);
    workingPlaneEdit->setText(s.h2);
    safetyFactorEdit->setText(s.kz);
    normList->setCurrentIndex(storedListIndex(s.enListIdx, normList->count()));
    onNormChosen();
    lampTypeList->setCurrentIndex(storedListIndex(s.ltListIdx, lampTypeList->count()));
    onLampTypeChosen();
    lampPowerEdit->setText(s.lampPower);
    lampCountUpDown->setValue(storedLampCount(s.lampCount));
    lampCountEdit->setText(QString::number(lampCountUpDown->value()));
}

void LightingWindow::writeSettings()
{
    Settings s;
    s.length = lengthEdit->text();
    s.width = widthEdit->text();
    s.h1 = heightEdit->text();
    s.h2 = workingPlaneEdit->text();
    s.kz = safetyFactorEdit->text();
    s.enListIdx = QString::number(normList->currentIndex());
    s.ltListIdx = QString::number(lampTypeList->currentIndex());
    s.lampPower = lampPowerEdit->text();
    s.lampCount = lampCountEdit->text();
    m_context.settings().update(m_prompter, [&s](IniDocument &ini) { s.store(ini); });
}

void LightingWindow::done(int result)
{
    writeSettings();
    m_unloaded = true;
    QDialog::done(result);
}

void LightingWindow::onNormChosen()
{
    // Long norm names do not fit the closed list.
    normList->setToolTip(normList->currentText());
    if (const auto e = normIlluminance(m_norms, normList->currentText())) {
        illuminanceEdit->setText(QString::number(*e));
        QPalette locked = m_enPalette;
        locked.setColor(QPalette::Base, locked.color(QPalette::Button));
        illuminanceEdit->setPalette(locked);
        illuminanceEdit->setReadOnly(true);
    } else if (!m_norms.isEmpty()) {
        // The user's own value.
        illuminanceEdit->clear();
        illuminanceEdit->setPalette(m_enPalette);
        illuminanceEdit->setReadOnly(false);
    }
}

void LightingWindow::onLampTypeChosen()
{
    selectedLampEfficacy = lampEfficacy(m_lampTypes, lampTypeList->currentText());
}

QLineEdit *LightingWindow::fieldOf(Field field) const
{
    switch (field) {
    case Field::Length:
        return lengthEdit;
    case Field::Width:
        return widthEdit;
    case Field::H1:
        return heightEdit;
    case Field::H2:
        return workingPlaneEdit;
    case Field::En:
        return illuminanceEdit;
    case Field::LampPower:
        return lampPowerEdit;
    case Field::Kz:
        return safetyFactorEdit;
    }
    return lengthEdit;
}

void LightingWindow::focusField(Field field)
{
    QLineEdit *edit = fieldOf(field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void LightingWindow::calculate()
{
    const Texts texts{lengthEdit->text(), widthEdit->text(), heightEdit->text(), workingPlaneEdit->text(),
                      safetyFactorEdit->text(),     illuminanceEdit->text(),    lampPowerEdit->text()};
    if (const auto failure = checkTexts(texts)) {
        if (failure->numeric != InputCheck::Numeric::Ok) {
            checkNumericEntry(fieldOf(failure->field), m_prompter);
        } else {
            m_prompter.message(failure->text, failure->title, Prompter::Icon::Exclamation);
            focusField(failure->field);
        }
        return;
    }
    const auto table = readUtilisationTable(DataFiles::dataFilePath(m_context.appDir(), DataFiles::Utilisation));
    if (!table) {
        m_prompter.message(unreadableFileText(m_context.appDir(), DataFiles::Utilisation), errorTitle(),
                           Prompter::Icon::Exclamation);
        return;
    }
    const Inputs inputs = inputsFromTexts(texts, selectedLampEfficacy, readInteger(lampCountEdit->text()).value_or(0));
    const Result result = Lighting::calculate(inputs, *table);
    if (!result.ok) {
        m_prompter.message(result.message, errorTitle(), Prompter::Icon::Exclamation);
        return;
    }
    countLabel->setText(countText(result.count));
    drawPlan(result.count, inputs.length, inputs.width);
    placePlan();
}

void LightingWindow::drawPlan(double count, double length, double width)
{
    m_plan = makePlan(length, width, count);
    const double scale = twipsToPixelsX(14400, this) / 14400.0;
    const int w = qMax(1, qRound(m_plan.width * scale));
    const int h = qMax(1, qRound(m_plan.height * scale));
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    if (!m_plan.drawable && count >= 1) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(pixmap.rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, tooManyText());
    } else {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 0, 0), 1.2));
        const double r = m_plan.radius * scale;
        for (const QPointF &c : m_plan.centres()) {
            const QPointF at(c.x() * scale, c.y() * scale);
            if (r > 0)
                p.drawEllipse(at, r, r);
            else
                p.drawPoint(at);
        }
    }
    p.end();
    planPicture->setPixmap(pixmap);
    const int frame = 2 * planPicture->frameWidth();
    planPicture->setFixedSize(w + frame, h + frame);
}

void LightingWindow::placePlan()
{
    const int left = (planFrame->width() - planPicture->width()) / 2;
    const int top = (planFrame->height() - planPicture->height()) / 2 - twipsToPixelsY(kPlanGap, this);
    planPicture->move(left, top);
    const int labelTop = top + planPicture->height() + twipsToPixelsY(kPlanGap, this);
    countLabel->setGeometry(left, labelTop, qMax(1, planFrame->width() - left - 4), countLabel->sizeHint().height());
}

bool LightingWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == planFrame && event->type() == QEvent::Resize) {
        placePlan();
    } else if (watched == lampCountEdit && event->type() == QEvent::KeyPress) {
        // The arrow keys step the count as the arrow buttons do.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up) {
            lampCountUpDown->stepUp();
            return true;
        }
        if (key == Qt::Key_Down) {
            lampCountUpDown->stepDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
