#include "ui/lighting/RoomDialog.h"

#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/InputCheck.h"
#include "base/Prompter.h"
#include "calc/lighting/LightingCalc.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *field(QWidget *parent, const QString &name, int width = 80)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(16);
    e->setFixedWidth(width);
    return e;
}

} // namespace

RoomDialog::RoomDialog(const LightingRoom &room, const Lighting::UtilisationTables &tables, const AppContext &context,
                       Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_room(room), m_tables(tables), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("RoomDialog"));
    setWindowTitle(QStringLiteral("Помещение"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    buildLayout();
    // The norms as the lighting window lists them.
    if (const auto norms = Lighting::readRecords(m_context.dataFilePath(DataFiles::IlluminanceNorms))) {
        for (const Lighting::ListRecord &r : *norms) {
            if (const auto lux = Lighting::normIlluminance(*norms, r.name)) {
                m_normNames << r.name;
                m_normValues << *lux;
            }
        }
    }
    normList->addItem(Lighting::otherNormName());
    normList->addItems(m_normNames);
    curveList->addItems(m_tables.names());
    showRoom(room);
    connect(normList, &QComboBox::currentIndexChanged, this, &RoomDialog::chooseNorm);
    connect(kindList, &QComboBox::currentIndexChanged, this, &RoomDialog::followKind);
    connect(curveList, &QComboBox::currentIndexChanged, this, &RoomDialog::followKind);
    connect(okButton, &QPushButton::clicked, this, &RoomDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void RoomDialog::buildLayout()
{
    auto label = [](const QString &text, QWidget *parent) { return new QLabel(text, parent); };

    auto *roomFrame = new QGroupBox(QStringLiteral("Помещение"), this);
    nameEdit = new QLineEdit(roomFrame);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setMinimumWidth(nameEdit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 32);
    lengthEdit = field(roomFrame, QStringLiteral("lengthEdit"));
    widthEdit = field(roomFrame, QStringLiteral("widthEdit"));
    heightEdit = field(roomFrame, QStringLiteral("heightEdit"));
    planeEdit = field(roomFrame, QStringLiteral("planeEdit"));
    hangModeList = new QComboBox(roomFrame);
    hangModeList->setObjectName(QStringLiteral("hangModeList"));
    hangModeList->addItems({QStringLiteral("Свес светильника hс"), QStringLiteral("Высота светильника над полом")});
    hangEdit = field(roomFrame, QStringLiteral("hangEdit"));
    auto *r = new QGridLayout(roomFrame);
    int row = 0;
    r->addWidget(label(QStringLiteral("Наименование"), roomFrame), row, 0);
    r->addWidget(nameEdit, row++, 1, 1, 2);
    const std::pair<const char *, QLineEdit *> sizes[] = {{"Длина A", lengthEdit},
                                                          {"Ширина B", widthEdit},
                                                          {"Высота H", heightEdit},
                                                          {"Рабочая плоскость hр", planeEdit}};
    for (const auto &[caption, edit] : sizes) {
        r->addWidget(label(QString::fromUtf8(caption), roomFrame), row, 0);
        r->addWidget(edit, row, 1);
        r->addWidget(label(QStringLiteral("м"), roomFrame), row++, 2);
    }
    r->addWidget(hangModeList, row, 0);
    r->addWidget(hangEdit, row, 1);
    r->addWidget(label(QStringLiteral("м"), roomFrame), row++, 2);

    auto *surfaceFrame = new QGroupBox(QStringLiteral("Коэффициенты отражения, %"), this);
    ceilingEdit = field(surfaceFrame, QStringLiteral("ceilingEdit"), 50);
    wallsEdit = field(surfaceFrame, QStringLiteral("wallsEdit"), 50);
    floorEdit = field(surfaceFrame, QStringLiteral("floorEdit"), 50);
    auto *s = new QHBoxLayout(surfaceFrame);
    s->addWidget(label(QStringLiteral("ρп"), surfaceFrame));
    s->addWidget(ceilingEdit);
    s->addWidget(label(QStringLiteral("ρс"), surfaceFrame));
    s->addWidget(wallsEdit);
    s->addWidget(label(QStringLiteral("ρр"), surfaceFrame));
    s->addWidget(floorEdit);
    s->addStretch(1);

    auto *normFrame = new QGroupBox(QStringLiteral("Нормируемая освещенность"), this);
    normList = new QComboBox(normFrame);
    normList->setObjectName(QStringLiteral("normList"));
    normList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    normList->setMinimumContentsLength(36);
    illuminanceEdit = field(normFrame, QStringLiteral("illuminanceEdit"));
    maintenanceEdit = field(normFrame, QStringLiteral("maintenanceEdit"));
    uniformityEdit = field(normFrame, QStringLiteral("uniformityEdit"));
    auto *n = new QGridLayout(normFrame);
    n->addWidget(normList, 0, 0, 1, 3);
    n->addWidget(label(QStringLiteral("Eн"), normFrame), 1, 0);
    n->addWidget(illuminanceEdit, 1, 1);
    n->addWidget(label(QStringLiteral("лк"), normFrame), 1, 2);
    n->addWidget(label(QStringLiteral("Коэффициент запаса Kз"), normFrame), 2, 0);
    n->addWidget(maintenanceEdit, 2, 1);
    n->addWidget(label(QStringLiteral("Коэффициент z = Eср/Emin"), normFrame), 3, 0);
    n->addWidget(uniformityEdit, 3, 1);

    auto *luminaireFrame = new QGroupBox(QStringLiteral("Светильник"), this);
    curveList = new QComboBox(luminaireFrame);
    curveList->setObjectName(QStringLiteral("curveList"));
    curveLabel = new QLabel(luminaireFrame);
    curveLabel->setObjectName(QStringLiteral("curveLabel"));
    curveLabel->setWordWrap(true);
    curveLabel->setMinimumWidth(360);
    kindList = new QComboBox(luminaireFrame);
    kindList->setObjectName(QStringLiteral("kindList"));
    kindList->addItems({QStringLiteral("Светодиодный"), QStringLiteral("С лампами")});
    fluxLabel = new QLabel(luminaireFrame);
    fluxEdit = field(luminaireFrame, QStringLiteral("fluxEdit"));
    powerLabel = new QLabel(luminaireFrame);
    powerEdit = field(luminaireFrame, QStringLiteral("powerEdit"));
    lampsEdit = field(luminaireFrame, QStringLiteral("lampsEdit"), 50);
    efficiencyEdit = field(luminaireFrame, QStringLiteral("efficiencyEdit"), 50);
    for (QLineEdit *e : {lampsEdit, efficiencyEdit})
        greyWhenDisabled(e);
    countEdit = field(luminaireFrame, QStringLiteral("countEdit"));
    countEdit->setPlaceholderText(QStringLiteral("по расчету"));
    auto *l = new QGridLayout(luminaireFrame);
    row = 0;
    l->addWidget(label(QStringLiteral("Тип (КСС)"), luminaireFrame), row, 0);
    l->addWidget(curveList, row++, 1, 1, 2);
    l->addWidget(curveLabel, row++, 0, 1, 3);
    l->addWidget(label(QStringLiteral("Источник света"), luminaireFrame), row, 0);
    l->addWidget(kindList, row++, 1, 1, 2, Qt::AlignLeft);
    l->addWidget(fluxLabel, row, 0);
    l->addWidget(fluxEdit, row, 1);
    l->addWidget(label(QStringLiteral("лм"), luminaireFrame), row++, 2);
    l->addWidget(powerLabel, row, 0);
    l->addWidget(powerEdit, row, 1);
    l->addWidget(label(QStringLiteral("Вт"), luminaireFrame), row++, 2);
    l->addWidget(label(QStringLiteral("Число ламп"), luminaireFrame), row, 0);
    l->addWidget(lampsEdit, row++, 1);
    l->addWidget(label(QStringLiteral("КПД светильника"), luminaireFrame), row, 0);
    l->addWidget(efficiencyEdit, row, 1);
    l->addWidget(label(QStringLiteral("%"), luminaireFrame), row++, 2);
    l->addWidget(label(QStringLiteral("Число светильников"), luminaireFrame), row, 0);
    l->addWidget(countEdit, row++, 1);

    okButton = namedButton(QStringLiteral("OK"), QStringLiteral("okButton"), this);
    okButton->setDefault(true);
    cancelButton = namedButton(QStringLiteral("Отмена"), QStringLiteral("cancelButton"), this);

    auto *left = new QVBoxLayout;
    left->addWidget(roomFrame);
    left->addWidget(surfaceFrame);
    left->addWidget(normFrame);
    left->addStretch(1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(luminaireFrame, 1, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttonRow({okButton, cancelButton}));
}

void RoomDialog::showRoom(const LightingRoom &room)
{
    nameEdit->setText(room.name);
    lengthEdit->setText(room.length);
    widthEdit->setText(room.width);
    heightEdit->setText(room.height);
    planeEdit->setText(room.plane);
    hangModeList->setCurrentIndex(room.mountedHeight ? 1 : 0);
    hangEdit->setText(room.hang);
    ceilingEdit->setText(room.ceiling);
    wallsEdit->setText(room.walls);
    floorEdit->setText(room.floor);
    const int norm = normList->findText(room.norm);
    normList->setCurrentIndex(!room.norm.isEmpty() && norm > 0 ? norm : 0);
    chooseNorm();
    illuminanceEdit->setText(room.illuminance);
    if (normList->currentIndex() > 0)
        chooseNorm(); // the list's value wins over a stale one
    maintenanceEdit->setText(room.maintenance);
    uniformityEdit->setText(room.uniformity);
    // A type the file no longer has is shown as it is kept.
    if (!room.curve.isEmpty() && curveList->findText(room.curve) < 0)
        curveList->addItem(room.curve);
    curveList->setCurrentIndex(room.curve.isEmpty() ? 0 : curveList->findText(room.curve));
    kindList->setCurrentIndex(room.led ? 0 : 1);
    fluxEdit->setText(room.flux);
    powerEdit->setText(room.power);
    lampsEdit->setText(room.lamps);
    efficiencyEdit->setText(room.efficiency);
    countEdit->setText(room.count);
    followKind();
}

void RoomDialog::chooseNorm()
{
    const int k = normList->currentIndex();
    const bool named = k > 0 && k - 1 < m_normValues.size();
    if (named)
        illuminanceEdit->setText(QString::number(m_normValues.at(k - 1)));
    illuminanceEdit->setReadOnly(named);
    QPalette p = illuminanceEdit->palette();
    p.setColor(QPalette::Base, named ? palette().color(QPalette::Button) : palette().color(QPalette::Base));
    illuminanceEdit->setPalette(p);
}

void RoomDialog::followKind()
{
    const bool led = kindList->currentIndex() == 0;
    const Lighting::UtilisationTable *table = m_tables.find(curveList->currentText());
    fluxLabel->setText(led ? QStringLiteral("Световой поток светильника") : QStringLiteral("Световой поток лампы"));
    powerLabel->setText(led ? QStringLiteral("Мощность светильника") : QStringLiteral("Мощность лампы"));
    lampsEdit->setEnabled(!led);
    // A table of a luminaire with lamps has its efficiency inside.
    efficiencyEdit->setEnabled(!led && !(table && table->basis == Lighting::TableBasis::Lamps));
    QString text;
    if (!table) {
        text = m_tables.status() == Lighting::UtilisationTables::Status::Ok ? QStringLiteral("Нет такой таблицы.")
                                                                            : m_tables.problem();
    } else {
        text = table->basis == Lighting::TableBasis::Lamps
                   ? QStringLiteral("η относительно потока ламп (КПД светильника учтен). ")
                   : QStringLiteral("η для КПД светильника 100 %. ");
        text += table->description;
    }
    curveLabel->setText(text);
}

LightingRoom RoomDialog::room() const
{
    LightingRoom r = m_room;
    r.name = nameEdit->text();
    r.length = lengthEdit->text();
    r.width = widthEdit->text();
    r.height = heightEdit->text();
    r.plane = planeEdit->text();
    r.mountedHeight = hangModeList->currentIndex() == 1;
    r.hang = hangEdit->text();
    r.ceiling = ceilingEdit->text();
    r.walls = wallsEdit->text();
    r.floor = floorEdit->text();
    r.norm = normList->currentIndex() > 0 ? normList->currentText() : QString();
    r.illuminance = illuminanceEdit->text();
    r.maintenance = maintenanceEdit->text();
    r.uniformity = uniformityEdit->text();
    r.curve = curveList->currentText();
    r.led = kindList->currentIndex() == 0;
    r.flux = fluxEdit->text();
    r.power = powerEdit->text();
    r.lamps = lampsEdit->text();
    r.efficiency = efficiencyEdit->text();
    r.count = countEdit->text().trimmed();
    return r;
}

QLineEdit *RoomDialog::fieldOf(RoomLighting::Field f) const
{
    using F = RoomLighting::Field;
    switch (f) {
    case F::Name:
        return nameEdit;
    case F::Length:
        return lengthEdit;
    case F::Width:
        return widthEdit;
    case F::Height:
        return heightEdit;
    case F::Plane:
        return planeEdit;
    case F::Hang:
        return hangEdit;
    case F::Ceiling:
        return ceilingEdit;
    case F::Walls:
        return wallsEdit;
    case F::Floor:
        return floorEdit;
    case F::Illuminance:
        return illuminanceEdit;
    case F::Maintenance:
        return maintenanceEdit;
    case F::Uniformity:
        return uniformityEdit;
    case F::Curve:
        return nullptr;
    case F::Flux:
        return fluxEdit;
    case F::Power:
        return powerEdit;
    case F::Lamps:
        return lampsEdit;
    case F::Efficiency:
        return efficiencyEdit;
    case F::Count:
        return countEdit;
    }
    return nullptr;
}

void RoomDialog::confirm()
{
    const LightingRoom r = room();
    m_result = RoomLighting::compute(r, m_tables);
    if (!m_result.ok()) {
        m_prompter.message(m_result.refusal->text, InputCheck::title(), Prompter::Icon::Exclamation);
        if (QLineEdit *edit = fieldOf(m_result.refusal->field)) {
            edit->setFocus();
            edit->selectAll();
        } else {
            curveList->setFocus();
        }
        return;
    }
    m_room = r;
    accept();
}
