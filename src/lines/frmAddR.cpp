#include "lines/frmAddR.h"

#include "app/DataFileRegistry.h"
#include "app/Icons.h"
#include "app/LineListModel.h"
#include "app/NumberText.h"
#include "app/UiHelpers.h"
#include "app/frmMain.h"
#include "lines/LineEntry.h"
#include "lines/MarkList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

const char *const kAddCaption = "Добавить кабельную линию";
const char *const kChangeCaption = "Изменить кабельную линию";

// A disabled list or field shows the button face, an enabled one the window background.
void greyWhenDisabled(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    w->setPalette(p);
}

int selectedRow(const QListWidget *list)
{
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return -1;
    return row;
}

// A selection made by the program, without the list's own signals.
void setRow(QListWidget *list, int row)
{
    const QSignalBlocker block(list);
    list->setCurrentRow(row);
}

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter in a field must not confirm a line.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

frmAddR::frmAddR(frmMain &main, bool changeFlag, QWidget *parent) : QDialog(parent ? parent : &main), m_main(main)
{
    setObjectName(QStringLiteral("frmAddR"));
    setWindowTitle(QString::fromUtf8(changeFlag ? kChangeCaption : kAddCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ChangeFlag = changeFlag;

    auto *layout = new QVBoxLayout(this);
    tabLines = new QTabWidget(this);
    tabLines->setObjectName(QStringLiteral("tabLines"));
    auto *typePage = new QWidget;
    auto *paramPage = new QWidget;
    auto *markPage = new QWidget;
    buildTypeTab(typePage);
    buildParametersTab(paramPage);
    buildMarksTab(markPage);
    tabLines->addTab(typePage, QStringLiteral("Тип линии"));
    tabLines->addTab(paramPage, QStringLiteral("Параметры линии"));
    tabLines->addTab(markPage, QStringLiteral("Марка"));
    layout->addWidget(tabLines);

    auto *buttons = new QHBoxLayout;
    cmdCalcR = makeButton(QStringLiteral("cmdCalcR"), changeFlag ? QStringLiteral("Изменить") : QStringLiteral("&Добавить"), this);
    cmdClose = makeButton(QStringLiteral("cmdClose"), QStringLiteral("&Закрыть"), this);
    buttons->addStretch();
    buttons->addWidget(cmdCalcR);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    // The state of the form before it is loaded.
    chkNetType[1]->setChecked(true);
    chkAutoNum->setChecked(true);
    chkNSect->setChecked(false);
    cmdCalcR->setEnabled(false);
    cmdSelIdop->setEnabled(false);

    connect(cmbMaterial, &QComboBox::currentIndexChanged, this, [this] { onMaterialChanged(); });
    for (QRadioButton *option : chkNetType)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                onNetTypeChanged();
        });
    for (QComboBox *list : {cmbType1, cmbType2, cmbType3})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { ReloadLineType(); });
    connect(chkNSect, &QCheckBox::toggled, cmbNSect, &QWidget::setEnabled);
    connect(chkAutoNum, &QCheckBox::toggled, this, [this](bool on) { txtLName->setEnabled(!on); });
    connect(cmbIList, &QComboBox::editTextChanged, this, [this] { updateCommandButtons(); });
    connect(txtLenght, &QLineEdit::textChanged, this, [this] { updateCommandButtons(); });
    connect(lstSmm, &QListWidget::currentRowChanged, this, &frmAddR::onSectionRowChanged);
    connect(txtSect, &QLineEdit::textChanged, this, [this] { onSectionTextChanged(); });
    txtSect->installEventFilter(this);
    connect(cmdSelIdop, &QPushButton::clicked, this, [this] { ProposeSection(); });
    connect(cmdCalcR, &QPushButton::clicked, this, [this] { cmdCalcR_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdAddCuMark, &QPushButton::clicked, this, [this] { cmdAddMark(true); });
    connect(cmdRemCuMark, &QPushButton::clicked, this, [this] { cmdRemMark(true); });
    connect(cmdAddAlMark, &QPushButton::clicked, this, [this] { cmdAddMark(false); });
    connect(cmdRemAlMark, &QPushButton::clicked, this, [this] { cmdRemMark(false); });

    load();
}

frmAddR::~frmAddR()
{
    txtSect->removeEventFilter(this);
    unload();
}

void frmAddR::buildTypeTab(QWidget *page)
{
    auto *pageLayout = new QVBoxLayout(page);
    auto *frame = new QGroupBox(QStringLiteral("Тип линии"), page);
    auto *grid = new QGridLayout(frame);
    grid->setColumnMinimumWidth(0, 18);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    chkNetType[0] = new QRadioButton(QStringLiteral("Однофазная цепь (220В)"), frame);
    chkNetType[0]->setObjectName(QStringLiteral("chkNetType0"));
    chkNetType[1] = new QRadioButton(QStringLiteral("Трехфазная цепь (380В)"), frame);
    chkNetType[1]->setObjectName(QStringLiteral("chkNetType1"));

    auto *heading1 = new QLabel(QStringLiteral("Провод или шнур с резиновой и поливинилхлоридной изоляцией"), frame);
    heading1->setWordWrap(true);
    auto *laying1 = new QLabel(QStringLiteral("при прокладке"), frame);
    cmbType1 = new QComboBox(frame);
    cmbType1->setObjectName(QStringLiteral("cmbType1"));

    auto *heading2 = new QLabel(QStringLiteral("Кабель с резиновой или пластмассовой изоляцией в металлических "
                                               "защитных оболочках, бронированный и небронированный"),
                                frame);
    heading2->setWordWrap(true);
    cmbType2 = new QComboBox(frame);
    cmbType2->setObjectName(QStringLiteral("cmbType2"));
    cmbType3 = new QComboBox(frame);
    cmbType3->setObjectName(QStringLiteral("cmbType3"));

    grid->addWidget(chkNetType[0], 0, 0, 1, 3);
    grid->addWidget(heading1, 1, 1, 1, 2);
    grid->addWidget(laying1, 2, 1);
    grid->addWidget(cmbType1, 2, 2);
    grid->setRowMinimumHeight(3, 12);
    grid->addWidget(chkNetType[1], 4, 0, 1, 3);
    grid->addWidget(heading2, 5, 1, 1, 2);
    grid->addWidget(cmbType2, 6, 1);
    grid->addWidget(cmbType3, 6, 2);
    grid->setRowStretch(7, 1);

    for (QWidget *w : {static_cast<QWidget *>(cmbType1), static_cast<QWidget *>(cmbType2),
                       static_cast<QWidget *>(cmbType3)})
        greyWhenDisabled(w);
    pageLayout->addWidget(frame);
}

void frmAddR::buildParametersTab(QWidget *page)
{
    auto *pageLayout = new QHBoxLayout(page);

    fraSmm = new QGroupBox(QStringLiteral("Жила"), page);
    fraSmm->setObjectName(QStringLiteral("fraSmm"));
    auto *core = new QGridLayout(fraSmm);
    cmbMaterial = new QComboBox(fraSmm);
    cmbMaterial->setObjectName(QStringLiteral("cmbMaterial"));
    txtSect = new QLineEdit(fraSmm);
    txtSect->setObjectName(QStringLiteral("txtSect"));
    lstSmm = new QListWidget(fraSmm);
    lstSmm->setObjectName(QStringLiteral("lstSmm"));
    lstSmm->setSelectionMode(QAbstractItemView::SingleSelection);
    chkNSect = new QCheckBox(QStringLiteral("Нулевая жила"), fraSmm);
    chkNSect->setObjectName(QStringLiteral("chkNSect"));
    cmbNSect = new QComboBox(fraSmm);
    cmbNSect->setObjectName(QStringLiteral("cmbNSect"));
    cmdSelIdop = makeButton(QStringLiteral("cmdSelIdop"), QStringLiteral("&Предложение"), fraSmm);
    core->addWidget(new QLabel(QStringLiteral("Материал"), fraSmm), 0, 0);
    core->addWidget(cmbMaterial, 0, 1);
    core->addWidget(new QLabel(QStringLiteral("Сечение"), fraSmm), 1, 0);
    core->addWidget(txtSect, 1, 1);
    core->addWidget(lstSmm, 2, 1);
    core->addWidget(chkNSect, 3, 0);
    core->addWidget(cmbNSect, 3, 1);
    core->addWidget(cmdSelIdop, 4, 0, 1, 2);
    core->setColumnStretch(1, 1);
    core->setRowStretch(2, 1);
    lstSmm->setMinimumHeight(lstSmm->fontMetrics().height() * 8);
    greyWhenDisabled(cmbNSect);

    auto *data = new QGroupBox(QStringLiteral("Данные линии"), page);
    data->setObjectName(QStringLiteral("fraData"));
    auto *grid = new QGridLayout(data);
    txtLName = new QLineEdit(data);
    txtLName->setObjectName(QStringLiteral("txtLName"));
    txtLName->setMaxLength(30);
    chkAutoNum = new QCheckBox(QStringLiteral("Автонумерация"), data);
    chkAutoNum->setObjectName(QStringLiteral("chkAutoNum"));
    txtLenght = new QLineEdit(data);
    txtLenght->setObjectName(QStringLiteral("txtLenght"));
    txtLenght->setMaxLength(9);
    cmbIList = new QComboBox(data);
    cmbIList->setObjectName(QStringLiteral("cmbIList"));
    cmbIList->setEditable(true);
    cmbIList->setInsertPolicy(QComboBox::NoInsert);
    cmbIList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbIList->setMinimumContentsLength(14);
    txtIdop = new QLineEdit(data);
    txtIdop->setObjectName(QStringLiteral("txtIdop"));
    txtIdop->setReadOnly(true);
    txtIdop->setFocusPolicy(Qt::NoFocus);
    {
        QPalette p = txtIdop->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        txtIdop->setPalette(p);
    }
    greyWhenDisabled(txtLName);

    grid->addWidget(new QLabel(QStringLiteral("Обозначение"), data), 0, 0);
    grid->addWidget(txtLName, 0, 1, 1, 2);
    grid->addWidget(chkAutoNum, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Длина   "), data), 2, 0);
    grid->addWidget(txtLenght, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("м"), data), 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Ток нагрузки"), data), 3, 0);
    grid->addWidget(cmbIList, 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Допуск. ток"), data), 4, 0);
    grid->addWidget(txtIdop, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("А"), data), 4, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);

    pageLayout->addWidget(fraSmm, 1);
    pageLayout->addWidget(data, 1);
}

void frmAddR::buildMarksTab(QWidget *page)
{
    auto *pageLayout = new QHBoxLayout(page);
    auto makeFrame = [page](const QString &name, const QString &title, QListWidget *&list, QPushButton *&add,
                            QPushButton *&remove, const QString &suffix) {
        auto *frame = new QGroupBox(title, page);
        frame->setObjectName(name);
        auto *v = new QVBoxLayout(frame);
        list = new QListWidget(frame);
        list->setObjectName(QStringLiteral("lst") + suffix + QStringLiteral("Mark"));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        greyWhenDisabled(list);
        add = makeButton(QStringLiteral("cmdAdd") + suffix + QStringLiteral("Mark"), QStringLiteral("Добавить"), frame);
        remove = makeButton(QStringLiteral("cmdRem") + suffix + QStringLiteral("Mark"), QStringLiteral("Удалить"), frame);
        auto *row = new QHBoxLayout;
        row->addWidget(add);
        row->addWidget(remove);
        v->addWidget(list);
        v->addLayout(row);
        return frame;
    };
    fraCu = makeFrame(QStringLiteral("fraCu"), QStringLiteral("Марки медных проводов и кабелей"), lstCuMark,
                      cmdAddCuMark, cmdRemCuMark, QStringLiteral("Cu"));
    fraAl = makeFrame(QStringLiteral("fraAl"), QStringLiteral("Марки алюм. проводов и кабелей"), lstAlMark,
                      cmdAddAlMark, cmdRemAlMark, QStringLiteral("Al"));
    pageLayout->addWidget(fraCu);
    pageLayout->addWidget(fraAl);
}

void frmAddR::load()
{
    // A list is filled without a selection; choosing an entry then runs its rule.
    auto fill = [](QComboBox *list, const QStringList &entries) {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    };
    fill(cmbMaterial, Permissible::materialNames());
    cmbMaterial->setCurrentIndex(Permissible::Aluminium);

    fill(cmbType1, LineCalc::constructionChoices(NetworkType::SinglePhase));
    fill(cmbType2, LineCalc::constructionChoices(NetworkType::ThreePhase));
    fill(cmbType3, Permissible::layingChoices());
    if (!ChangeFlag) {
        cmbType1->setCurrentIndex(2); // "три одножильных"
        cmbType2->setCurrentIndex(2); // "трехжильный"
    }
    cmbType3->setCurrentIndex(Permissible::InAir);

    LoadCurrentChoices();
    loadMarks();
    LoadPermissibleTable();

    txtLName->setEnabled(!chkAutoNum->isChecked());
    onNetTypeChanged();
    cmbNSect->setEnabled(chkNSect->isChecked());
    txtIdop->clear();
}

Permissible::Choice frmAddR::choice() const
{
    Permissible::Choice c;
    c.net = chkNetType[0]->isChecked() ? NetworkType::SinglePhase : NetworkType::ThreePhase;
    c.material = cmbMaterial->currentIndex();
    c.type1 = cmbType1->currentIndex();
    c.type2 = cmbType2->currentIndex();
    c.type3 = cmbType3->currentIndex();
    return c;
}

void frmAddR::onMaterialChanged()
{
    const int material = cmbMaterial->currentIndex();
    if (material < 0)
        return;
    const bool al = material == Permissible::Aluminium;
    for (QWidget *w : {static_cast<QWidget *>(fraAl), static_cast<QWidget *>(lstAlMark),
                       static_cast<QWidget *>(cmdAddAlMark), static_cast<QWidget *>(cmdRemAlMark)})
        w->setEnabled(al);
    for (QWidget *w : {static_cast<QWidget *>(fraCu), static_cast<QWidget *>(lstCuMark),
                       static_cast<QWidget *>(cmdAddCuMark), static_cast<QWidget *>(cmdRemCuMark)})
        w->setEnabled(!al);
    ReloadLineType();
}

void frmAddR::onNetTypeChanged()
{
    const bool single = chkNetType[0]->isChecked();
    cmbType1->setEnabled(single);
    cmbType2->setEnabled(!single);
    cmbType3->setEnabled(!single);
    ReloadLineType();
}

void frmAddR::updateCommandButtons()
{
    const bool hasCurrent = !cmbIList->currentText().isEmpty();
    cmdSelIdop->setEnabled(hasCurrent);
    cmdCalcR->setEnabled(hasCurrent && !txtLenght->text().isEmpty());
}

void frmAddR::LoadPermissibleTable()
{
    const Permissible::Choice c = choice();
    if (!Permissible::tableSpec(c.net, c.material))
        return;
    m_table = Permissible::PermissibleTable::load(m_main.context().appDir(), c.net, c.material);
    nm = m_table.nm();
    sFileName = m_table.sFileName();
    if (m_table.isUsable())
        clearFileProblem(m_table.path());
    else
        reportFileProblem(m_table.path(), m_table.errorMessage());

    {
        const QSignalBlocker block(lstSmm);
        lstSmm->clear();
        lstSmm->addItems(Permissible::listedSections(m_table, c));
    }
    if (!m_table.isUsable())
        txtIdop->clear(); // no current is shown from a table that could not be read

    if (Permissible::mustLayInAir(c))
        cmbType3->setCurrentIndex(Permissible::InAir);

    if (txtSect->text().isEmpty() && lstSmm->count() > 0)
        txtSect->setText(lstSmm->item(0)->text());

    reloadNeutralSections();
}

void frmAddR::ReloadLineType()
{
    const int selected = selectedRow(lstSmm);
    const double remembered = selected >= 0 ? NumberText::toDouble(lstSmm->item(selected)->text()) : 0;
    LoadPermissibleTable();
    if (lstSmm->count() == 0)
        return;
    int pick = 0;
    for (int i = 0; i < lstSmm->count(); ++i) {
        if (NumberText::toDouble(lstSmm->item(i)->text()) == remembered) {
            pick = i;
            break;
        }
    }
    selectSectionRow(pick);
}

void frmAddR::selectSectionRow(int row)
{
    setRow(lstSmm, row);
    onSectionRowChanged(row);
}

void frmAddR::onSectionRowChanged(int row)
{
    if (m_syncingSection || row < 0 || row >= lstSmm->count())
        return;
    m_syncingSection = true;
    txtSect->setText(lstSmm->item(row)->text());
    m_syncingSection = false;
    LookupPermissibleCurrent();
}

void frmAddR::onSectionTextChanged()
{
    if (m_syncingSection)
        return;
    const QString text = txtSect->text();
    for (int i = 0; i < lstSmm->count(); ++i) {
        if (lstSmm->item(i)->text() == text) {
            selectSectionRow(i);
            return;
        }
    }
}

void frmAddR::syncSectionFieldToList()
{
    const int row = selectedRow(lstSmm);
    const QString listed = row >= 0 ? lstSmm->item(row)->text() : QString();
    if (txtSect->text() != listed)
        txtSect->setText(listed);
}

bool frmAddR::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSect && event->type() == QEvent::FocusOut)
        syncSectionFieldToList();
    return QDialog::eventFilter(watched, event);
}

void frmAddR::LookupPermissibleCurrent()
{
    if (!m_table.isUsable()) {
        txtIdop->clear();
        return;
    }
    const double section = NumberText::toDouble(txtSect->text());
    if (const auto value = Permissible::LookupPermissibleCurrent(m_table, choice(), section))
        Idop = *value;
    txtIdop->setText(NumberText::format(Idop));
    for (int i = 0; i < lstSmm->count(); ++i) {
        if (lstSmm->item(i)->text() == txtSect->text()) {
            setRow(lstSmm, i);
            break;
        }
    }
}

bool frmAddR::checkTableUsable()
{
    if (m_table.isUsable())
        return true;
    m_main.prompter().message(m_table.errorMessage(), QString(), Prompter::Icon::Critical);
    return false;
}

void frmAddR::ProposeSection()
{
    if (!checkTableUsable())
        return;
    const double current = LineCalc::ParseLoadCurrent(cmbIList->currentText());
    const auto row = Permissible::ProposeSection(m_table, choice(), current);
    if (!row) {
        m_main.prompter().message(Permissible::tooLargeCurrentMessage(), Permissible::tooLargeCurrentTitle(),
                                  Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
        return;
    }
    txtSect->setText(NumberText::format(m_table.rows().at(*row).section));
    LookupPermissibleCurrent();
}

void frmAddR::LoadCurrentChoices()
{
    const QString typed = cmbIList->currentText();
    const QSignalBlocker block(cmbIList);
    cmbIList->clear();
    for (const Permissible::CurrentChoice &c : Permissible::LoadCurrentChoices(m_main.project().shields)) {
        const QIcon icon = c.phase.isEmpty() ? Icons::shield()
                                             : Icons::phase(c.phase.size() == 1 ? c.phase.at(0) : QChar());
        cmbIList->addItem(icon, c.text);
    }
    // Offering the currents does not choose one.
    cmbIList->setCurrentIndex(-1);
    cmbIList->setEditText(typed);
}

void frmAddR::reloadNeutralSections()
{
    const int remembered = cmbNSect->currentIndex();
    const Permissible::NeutralList list = Permissible::readNeutralSections(m_main.context().appDir());
    {
        const QSignalBlocker block(cmbNSect);
        cmbNSect->clear();
        cmbNSect->addItems(list.sections);
        cmbNSect->setCurrentIndex(-1);
        if (remembered > 0 && remembered < cmbNSect->count())
            cmbNSect->setCurrentIndex(remembered);
        if (cmbNSect->currentIndex() < 0 && cmbNSect->count() > 0)
            cmbNSect->setCurrentIndex(0);
    }
    if (list.error.isEmpty())
        clearFileProblem(list.path);
    else
        reportFileProblem(list.path, list.error);
}

void frmAddR::reportFileProblem(const QString &path, const QString &message)
{
    // The tables are reloaded on every choice; one message per damaged file is enough.
    if (m_reportedFiles.contains(path))
        return;
    m_reportedFiles.insert(path);
    m_main.prompter().message(message, QString(), Prompter::Icon::Critical);
}

void frmAddR::clearFileProblem(const QString &path)
{
    m_reportedFiles.remove(path);
}

void frmAddR::loadMarks()
{
    const QString appDir = m_main.context().appDir();
    auto fill = [&](QListWidget *list, int index, bool &readOk) {
        list->clear();
        const QString path = DataFiles::dataFilePath(appDir, index);
        readOk = false;
        if (path.isEmpty())
            return;
        const auto marks = MarkList::read(path);
        readOk = marks.has_value();
        if (!marks) {
            reportFileProblem(path, QStringLiteral("Не удалось прочитать файл ") + QDir::toNativeSeparators(path)
                                        + QStringLiteral("."));
            return;
        }
        list->addItems(*marks);
        if (list->count() > 0)
            list->setCurrentRow(0);
    };
    fill(lstAlMark, DataFiles::MarksAl, m_marksReadAl);
    fill(lstCuMark, DataFiles::MarksCu, m_marksReadCu);
}

bool frmAddR::writeMarks()
{
    const QString appDir = m_main.context().appDir();
    bool ok = true;
    auto store = [&](QListWidget *list, int index, bool readOk, bool changed) {
        // A file that could not be read is not replaced unless the user edited the list.
        if (!readOk && !changed)
            return;
        const QString path = DataFiles::dataFilePath(appDir, index);
        QStringList marks;
        for (int i = 0; i < list->count(); ++i)
            marks << list->item(i)->text();
        QString error;
        if (path.isEmpty() || !MarkList::write(path, marks, &error)) {
            ok = false;
            m_main.prompter().message(QStringLiteral("Не удалось сохранить список марок в файл ")
                                          + QDir::toNativeSeparators(path) + QStringLiteral("."),
                                      QString(), Prompter::Icon::Critical);
        }
    };
    store(lstAlMark, DataFiles::MarksAl, m_marksReadAl, m_marksChangedAl);
    store(lstCuMark, DataFiles::MarksCu, m_marksReadCu, m_marksChangedCu);
    return ok;
}

void frmAddR::cmdAddMark(bool copper)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString prompt = copper
        ? QStringLiteral("Введите обозначение новой марки провода или кабеля с медными жилами.") + crlf.repeated(5)
              + QStringLiteral("Новая марка:")
        : QStringLiteral("Введите обозначение новой марки провода или кабеля с алюминиевыми жилами.") + crlf.repeated(4)
              + QStringLiteral("Новая марка:");
    const QString answer = m_main.prompter().input(prompt, Prompter::applicationTitle(), QString());
    if (answer.isEmpty())
        return;
    QListWidget *list = copper ? lstCuMark : lstAlMark;
    const int selected = selectedRow(list);
    list->insertItem(selected >= 0 ? selected + 1 : 0, MarkList::clean(answer));
    list->setCurrentRow(0);
    (copper ? cmdRemCuMark : cmdRemAlMark)->setEnabled(true);
    (copper ? m_marksChangedCu : m_marksChangedAl) = true;
}

void frmAddR::cmdRemMark(bool copper)
{
    QListWidget *list = copper ? lstCuMark : lstAlMark;
    const int selected = selectedRow(list);
    if (selected < 0)
        return;
    const QString mark = list->item(selected)->text();
    const QString question = copper
        ? QStringLiteral("Удалить марку медного провода или кабеля '") + mark + QStringLiteral("'?")
        : QStringLiteral("Удалить марку алюминиевого провода или кабеля '") + mark + QStringLiteral("'?");
    if (m_main.prompter().message(question, QString(), Prompter::Icon::Exclamation, Prompter::Buttons::YesNo)
        != Prompter::Answer::Yes)
        return;
    delete list->takeItem(selected);
    (copper ? m_marksChangedCu : m_marksChangedAl) = true;
    if (list->count() == 0) {
        (copper ? cmdRemCuMark : cmdRemAlMark)->setEnabled(false);
        return;
    }
    list->setCurrentRow(selected > 0 ? selected - 1 : 0);
}

void frmAddR::cmdCalcR_Click()
{
    Prompter &prompter = m_main.prompter();
    if (!checkTableUsable())
        return;
    // Confirming takes the focus from the section field, which then holds the listed section.
    syncSectionFieldToList();
    if (!CheckNumericEntry(txtSect, prompter))
        return;
    if (!CheckNumericEntry(txtLenght, prompter))
        return;
    if (LineCalc::ParseLoadCurrent(cmbIList->currentText()) == 0) {
        prompter.message(LineEntry::currentMessage(), LineEntry::currentTitle(), Prompter::Icon::Exclamation,
                         Prompter::Buttons::Ok);
        cmbIList->setFocus(Qt::OtherFocusReason);
        cmbIList->lineEdit()->selectAll();
        return;
    }
    cmdCalcR->setText(QStringLiteral("&Добавить"));

    LineEntry::Request request;
    request.choice = choice();
    request.sectionText = txtSect->text();
    request.lengthText = txtLenght->text();
    request.currentText = cmbIList->currentText();
    request.neutralText = chkNSect->isChecked() ? cmbNSect->currentText() : QStringLiteral("0");
    QListWidget *marks = request.choice.material == Permissible::Copper ? lstCuMark : lstAlMark;
    const int mark = selectedRow(marks);
    request.mark = mark >= 0 ? marks->item(mark)->text() : QString();
    CableLine line = LineEntry::buildLine(request, m_table, m_main.context().calc, Idop);
    txtIdop->setText(NumberText::format(Idop));

    QString name = txtLName->text();
    if (chkAutoNum->isChecked()) {
        ++LName;
        if (!ChangeFlag)
            name = LineEntry::autoName(LName);
    }
    line.name = name;
    line.checked = false;

    LineListModel *model = m_main.lineModel();
    if (ChangeFlag)
        model->replaceLine(m_changeRow, line);
    else
        model->appendLine(line);
    m_main.setLineCommandsEnabled(true);

    if (ChangeFlag) {
        unload();
        accept();
    }
}

void frmAddR::cmdClose_Click()
{
    if (ChangeFlag) {
        unload();
        accept();
        return;
    }
    // Add mode keeps the instance with its entries, choices and counter.
    done(QDialog::Rejected);
}

void frmAddR::reject()
{
    unload();
    QDialog::reject();
}

void frmAddR::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    ChangeFlag = false;
    writeMarks();
}

void frmAddR::fillFromRow(int row)
{
    LineListModel *model = m_main.lineModel();
    if (row < 0 || row >= model->rowCount())
        return;
    const CableLine line = model->line(row);
    m_changeRow = row;
    ChangeFlag = true;

    txtLName->setText(line.name);
    cmbMaterial->setCurrentIndex(line.cell(CableLine::Material) == LineCalc::aluminium() ? Permissible::Aluminium
                                                                                        : Permissible::Copper);
    const QString cores = line.cell(CableLine::Cores);
    const QString section = LineCalc::PhaseSectionText(cores);
    for (int i = 0; i < lstSmm->count(); ++i) {
        if (lstSmm->item(i)->text() == section) {
            txtSect->setText(section);
            break;
        }
    }
    const QChar n = cores.isEmpty() ? QChar() : cores.at(0);
    if (n >= QLatin1Char('1') && n <= QLatin1Char('4')) {
        const int k = n.unicode() - '1';
        cmbType2->setCurrentIndex(k);
        cmbType1->setCurrentIndex(qMax(k, 1));
    }
    const float neutral = LineCalc::NeutralSection(cores);
    // A box left ticked by an earlier line would give this one a neutral core it never had.
    if (neutral == 0)
        chkNSect->setChecked(false);
    for (int i = 0; i < cmbNSect->count(); ++i) {
        if (float(NumberText::toDouble(cmbNSect->itemText(i))) == neutral) {
            cmbNSect->setCurrentIndex(i);
            chkNSect->setChecked(true);
            break;
        }
    }
    txtLenght->setText(line.cell(CableLine::Length));
    cmbIList->setEditText(line.cell(CableLine::LoadCurrent));
    // The row's network: both options are never left cleared.
    if (line.cell(CableLine::Voltage) == QLatin1String("220"))
        chkNetType[0]->setChecked(true);
    else
        chkNetType[1]->setChecked(true);
    cmdCalcR->setText(QStringLiteral("Изменить"));
    setWindowTitle(QString::fromUtf8(kChangeCaption));
}
