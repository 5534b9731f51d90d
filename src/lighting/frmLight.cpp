#include "lighting/frmLight.h"

#include "app/AppContext.h"
#include "app/DataFileRegistry.h"
#include "app/UiHelpers.h"
#include "lighting/UpDownControl.h"

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

frmLight::frmLight(AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmLight"));
    setWindowTitle(QStringLiteral("Расчет осветительной установки"));
    setModal(true);
    buildUi();

    loadLists();
    drawPlan(0, 1, 1);
    placePlan();
    readSettings();

    connect(cmbEn, &QComboBox::currentIndexChanged, this, &frmLight::cmbEnClick);
    connect(cmbLampType, &QComboBox::currentIndexChanged, this, &frmLight::cmbLampTypeClick);
    connect(updNLamp, &UpDownControl::valueChanged, this,
            [this](int value) { txtNLamp->setText(QString::number(value)); });
    connect(cmdCalc, &QPushButton::clicked, this, &frmLight::cmdCalcClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmLight::~frmLight()
{
    // A window torn down without closing (the program ending) still keeps its inputs.
    if (!m_unloaded)
        writeSettings();
}

void frmLight::buildUi()
{
    // Room.
    fraRoom = new QGroupBox(QStringLiteral("Помещение"), this);
    fraRoom->setObjectName(QStringLiteral("fraRoom"));
    txtLenght = makeField(fraRoom, "txtLenght");
    txtWidth = makeField(fraRoom, "txtWidth");
    txtH1 = makeField(fraRoom, "txtH1");
    txtH2 = makeField(fraRoom, "txtH2");
    txtKz = makeField(fraRoom, "txtKz");
    auto *room = new QGridLayout(fraRoom);
    room->setColumnStretch(2, 1);
    const struct {
        const char *caption;
        QLineEdit *field;
        const char *unit;
    } roomRows[] = {
        {"Длина", txtLenght, "м"},
        {"Ширина", txtWidth, "м"},
        {"Высота", txtH1, "м"},
        {"Рабочая плоскость", txtH2, "м"},
        {"Коэф. запаса", txtKz, ""},
    };
    int row = 0;
    for (const auto &r : roomRows) {
        room->addWidget(makeLabel(QString::fromUtf8(r.caption), r.field, fraRoom), row, 0);
        room->addWidget(r.field, row, 1);
        room->addWidget(new QLabel(QString::fromUtf8(r.unit), fraRoom), row, 2);
        ++row;
    }

    // Luminaire.
    fraLamp = new QGroupBox(QStringLiteral("Светильник"), this);
    fraLamp->setObjectName(QStringLiteral("fraLamp"));
    cmbLampType = new QComboBox(fraLamp);
    cmbLampType->setObjectName(QStringLiteral("cmbLampType"));
    cmbLampType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbLampType->setMinimumContentsLength(16);
    txtLampPower = makeField(fraLamp, "txtLampPower");
    txtNLamp = makeField(fraLamp, "txtNLamp");
    txtNLamp->setReadOnly(true);
    txtNLamp->setFixedWidth(40);
    txtNLamp->installEventFilter(this);
    updNLamp = new UpDownControl(fraLamp);
    updNLamp->setObjectName(QStringLiteral("updNLamp"));
    updNLamp->setRange(MinLamps, MaxLamps);
    updNLamp->setFixedHeight(txtNLamp->sizeHint().height());
    auto *lamp = new QGridLayout(fraLamp);
    lamp->setColumnStretch(2, 1);
    lamp->addWidget(makeLabel(QStringLiteral("Тип лампы"), cmbLampType, fraLamp), 0, 0, 1, 3);
    lamp->addWidget(cmbLampType, 1, 0, 1, 3);
    lamp->addWidget(makeLabel(QStringLiteral("Мощность лампы"), txtLampPower, fraLamp), 2, 0);
    auto *power = new QHBoxLayout;
    power->addWidget(txtLampPower);
    power->addWidget(new QLabel(QStringLiteral("Вт"), fraLamp));
    power->addStretch();
    lamp->addLayout(power, 2, 1, 1, 2);
    lamp->addWidget(makeLabel(QStringLiteral("Число ламп"), txtNLamp, fraLamp), 3, 0);
    auto *count = new QHBoxLayout;
    count->setSpacing(0);
    count->addWidget(txtNLamp);
    count->addWidget(updNLamp);
    count->addStretch();
    lamp->addLayout(count, 3, 1, 1, 2);

    // Norm.
    fraNorm = new QGroupBox(QStringLiteral("Нормируемая освещенность"), this);
    fraNorm->setObjectName(QStringLiteral("fraNorm"));
    cmbEn = new QComboBox(fraNorm);
    cmbEn->setObjectName(QStringLiteral("cmbEn"));
    cmbEn->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbEn->setMinimumContentsLength(16);
    txtEn = makeField(fraNorm, "txtEn");
    m_enPalette = txtEn->palette();
    auto *norm = new QGridLayout(fraNorm);
    norm->setColumnStretch(2, 1);
    norm->addWidget(makeLabel(QStringLiteral("Норма"), cmbEn, fraNorm), 0, 0, 1, 3);
    norm->addWidget(cmbEn, 1, 0, 1, 3);
    norm->addWidget(txtEn, 2, 1);
    norm->addWidget(new QLabel(QStringLiteral("лк"), fraNorm), 2, 2);

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
    cmdCalc = new QPushButton(QStringLiteral("&Расчет"), this);
    cmdCalc->setObjectName(QStringLiteral("cmdCalc"));
    cmdCalc->setDefault(true);
    cmdClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);

    // Plan: placed by hand, centred in its frame.
    fraPlan = new QGroupBox(QStringLiteral("План расположения светильников"), this);
    fraPlan->setObjectName(QStringLiteral("fraPlan"));
    fraPlan->setMinimumSize(twipsToPixelsX(kPlanFrameWidth, this), twipsToPixelsY(kPlanFrameHeight, this));
    fraPlan->installEventFilter(this);
    picGraph = new QLabel(fraPlan);
    picGraph->setObjectName(QStringLiteral("picGraph"));
    picGraph->setFrameStyle(QFrame::Box | QFrame::Plain);
    picGraph->setLineWidth(1);
    picGraph->setAlignment(Qt::AlignCenter);
    lblN = new QLabel(QStringLiteral("Колличество светильников: "), fraPlan);
    lblN->setObjectName(QStringLiteral("lblN"));

    auto *left = new QVBoxLayout;
    left->addWidget(fraRoom);
    left->addWidget(fraLamp);
    left->addWidget(fraNorm);
    left->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCalc);
    buttons->addWidget(cmdClose);
    left->addLayout(buttons);

    auto *top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addWidget(fraPlan, 1);
    top->setSizeConstraint(QLayout::SetFixedSize);

    const QList<QWidget *> order = {txtLenght, txtWidth, txtH1,  txtH2,   txtKz,   cmbLampType,
                                    txtLampPower, txtNLamp, cmbEn, txtEn, cmdCalc, cmdClose};
    for (int k = 1; k < order.size(); ++k)
        setTabOrder(order.at(k - 1), order.at(k));
}

void frmLight::loadLists()
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
        cmbLampType->addItem(r.name);
    cmbEn->addItem(otherNormName());
    for (const ListRecord &r : std::as_const(m_norms))
        cmbEn->addItem(r.name);
    // Long norm names show whole in the open list.
    for (QComboBox *combo : {cmbLampType, cmbEn}) {
        const int wanted = combo->view()->sizeHintForColumn(0) + 24;
        combo->view()->setMinimumWidth(wanted);
    }
}

void frmLight::readSettings()
{
    const Settings s = Settings::load(m_context.settingsPath());
    txtLenght->setText(s.length);
    txtWidth->setText(s.width);
    txtH1->setText(s.h1);
    txtH2->setText(s.h2);
    txtKz->setText(s.kz);
    cmbEn->setCurrentIndex(storedListIndex(s.enListIdx, cmbEn->count()));
    cmbEnClick();
    cmbLampType->setCurrentIndex(storedListIndex(s.ltListIdx, cmbLampType->count()));
    cmbLampTypeClick();
    txtLampPower->setText(s.lampPower);
    updNLamp->setValue(storedLampCount(s.nLamp));
    txtNLamp->setText(QString::number(updNLamp->value()));
}

void frmLight::writeSettings()
{
    Settings s;
    s.length = txtLenght->text();
    s.width = txtWidth->text();
    s.h1 = txtH1->text();
    s.h2 = txtH2->text();
    s.kz = txtKz->text();
    s.enListIdx = QString::number(cmbEn->currentIndex());
    s.ltListIdx = QString::number(cmbLampType->currentIndex());
    s.lampPower = txtLampPower->text();
    s.nLamp = txtNLamp->text();
    s.save(m_context.settingsPath());
}

void frmLight::done(int result)
{
    writeSettings();
    m_unloaded = true;
    QDialog::done(result);
}

void frmLight::cmbEnClick()
{
    // Long norm names do not fit the closed list.
    cmbEn->setToolTip(cmbEn->currentText());
    if (const auto e = normIlluminance(m_norms, cmbEn->currentText())) {
        txtEn->setText(QString::number(*e));
        QPalette locked = m_enPalette;
        locked.setColor(QPalette::Base, locked.color(QPalette::Button));
        txtEn->setPalette(locked);
        txtEn->setReadOnly(true);
    } else if (!m_norms.isEmpty()) {
        // The user's own value.
        txtEn->clear();
        txtEn->setPalette(m_enPalette);
        txtEn->setReadOnly(false);
    }
}

void frmLight::cmbLampTypeClick()
{
    iEff = lampEfficacy(m_lampTypes, cmbLampType->currentText());
}

QLineEdit *frmLight::fieldOf(Field field) const
{
    switch (field) {
    case Field::Length:
        return txtLenght;
    case Field::Width:
        return txtWidth;
    case Field::H1:
        return txtH1;
    case Field::H2:
        return txtH2;
    case Field::En:
        return txtEn;
    case Field::LampPower:
        return txtLampPower;
    case Field::Kz:
        return txtKz;
    }
    return txtLenght;
}

void frmLight::focusField(Field field)
{
    QLineEdit *edit = fieldOf(field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void frmLight::cmdCalcClick()
{
    const Texts texts{txtLenght->text(), txtWidth->text(), txtH1->text(), txtH2->text(),
                      txtKz->text(),     txtEn->text(),    txtLampPower->text()};
    if (const auto failure = checkTexts(texts)) {
        if (failure->numeric != InputCheck::Numeric::Ok) {
            CheckNumericEntry(fieldOf(failure->field), m_prompter);
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
    const Inputs inputs = inputsFromTexts(texts, iEff, readInteger(txtNLamp->text()).value_or(0));
    const Result result = calculate(inputs, *table);
    if (!result.ok) {
        m_prompter.message(result.message, errorTitle(), Prompter::Icon::Exclamation);
        return;
    }
    lblN->setText(countText(result.count));
    drawPlan(result.count, inputs.length, inputs.width);
    placePlan();
}

void frmLight::drawPlan(double count, double length, double width)
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
    picGraph->setPixmap(pixmap);
    const int frame = 2 * picGraph->frameWidth();
    picGraph->setFixedSize(w + frame, h + frame);
}

void frmLight::placePlan()
{
    const int left = (fraPlan->width() - picGraph->width()) / 2;
    const int top = (fraPlan->height() - picGraph->height()) / 2 - twipsToPixelsY(kPlanGap, this);
    picGraph->move(left, top);
    const int labelTop = top + picGraph->height() + twipsToPixelsY(kPlanGap, this);
    lblN->setGeometry(left, labelTop, qMax(1, fraPlan->width() - left - 4), lblN->sizeHint().height());
}

bool frmLight::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fraPlan && event->type() == QEvent::Resize) {
        placePlan();
    } else if (watched == txtNLamp && event->type() == QEvent::KeyPress) {
        // The arrow keys step the count as the arrow buttons do.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up) {
            updNLamp->stepUp();
            return true;
        }
        if (key == Qt::Key_Down) {
            updNLamp->stepDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
