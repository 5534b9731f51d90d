#include "ui/lines/LineMarksTab.h"

#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/Prompter.h"
#include "calc/lines/MarkList.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

LineMarksTab::LineMarksTab(const AppContext &context, Prompter &prompter, FileProblem reportProblem, QWidget *parent)
    : QWidget(parent), m_context(context), m_prompter(prompter), m_reportProblem(std::move(reportProblem))
{
    auto *pageLayout = new QHBoxLayout(this);
    auto makeFrame = [this](const QString &name, const QString &title, QListWidget *&list, QPushButton *&add,
                            QPushButton *&remove, const QString &material) {
        const QString suffix = material.at(0).toUpper() + material.mid(1);
        auto *frame = new QGroupBox(title, this);
        frame->setObjectName(name);
        auto *v = new QVBoxLayout(frame);
        list = new QListWidget(frame);
        list->setObjectName(material + QStringLiteral("MarkList"));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        greyWhenDisabled(list);
        add = namedButton(QStringLiteral("Добавить"), QStringLiteral("add") + suffix + QStringLiteral("MarkButton"), frame);
        remove = namedButton(QStringLiteral("Удалить"), QStringLiteral("remove") + suffix + QStringLiteral("MarkButton"),
                             frame);
        auto *row = new QHBoxLayout;
        row->addWidget(add);
        row->addWidget(remove);
        v->addWidget(list);
        v->addLayout(row);
        return frame;
    };
    copperMarksFrame = makeFrame(QStringLiteral("copperMarksFrame"), QStringLiteral("Марки медных проводов и кабелей"),
                                 copperMarkList, addCopperMarkButton, removeCopperMarkButton, QStringLiteral("copper"));
    aluminiumMarksFrame = makeFrame(QStringLiteral("aluminiumMarksFrame"), QStringLiteral("Марки алюм. проводов и кабелей"),
                                    aluminiumMarkList, addAluminiumMarkButton, removeAluminiumMarkButton,
                                    QStringLiteral("aluminium"));
    pageLayout->addWidget(copperMarksFrame);
    pageLayout->addWidget(aluminiumMarksFrame);

    connect(addCopperMarkButton, &QPushButton::clicked, this, [this] { addMark(true); });
    connect(removeCopperMarkButton, &QPushButton::clicked, this, [this] { removeMark(true); });
    connect(addAluminiumMarkButton, &QPushButton::clicked, this, [this] { addMark(false); });
    connect(removeAluminiumMarkButton, &QPushButton::clicked, this, [this] { removeMark(false); });
}

void LineMarksTab::loadMarks()
{
    auto fill = [&](QListWidget *list, int index, bool &readOk) {
        list->clear();
        const QString path = m_context.dataFilePath(index);
        readOk = false;
        if (path.isEmpty())
            return;
        QString problem;
        const auto marks = MarkList::read(path, &problem);
        readOk = marks.has_value();
        if (!marks) {
            m_reportProblem(path, problem);
            return;
        }
        list->addItems(*marks);
        if (list->count() > 0)
            list->setCurrentRow(0);
    };
    fill(aluminiumMarkList, DataFiles::MarksAl, m_marksReadAl);
    fill(copperMarkList, DataFiles::MarksCu, m_marksReadCu);
}

bool LineMarksTab::writeMarks()
{
    bool ok = true;
    auto store = [&](QListWidget *list, int index, bool readOk, bool changed) {
        if (!readOk && !changed)
            return;
        // A list read from the installed files, where the user's could not be written, is only read.
        if (!m_context.userFileWritable(index))
            return;
        const QString path = m_context.dataFilePath(index);
        QStringList marks;
        for (int i = 0; i < list->count(); ++i)
            marks << list->item(i)->text();
        QString error;
        if (path.isEmpty() || !MarkList::write(path, marks, &error)) {
            ok = false;
            m_prompter.message(QStringLiteral("Не удалось сохранить список марок в файл ") + QDir::toNativeSeparators(path)
                                   + QStringLiteral("."),
                               QString(), Prompter::Icon::Critical);
        }
    };
    store(aluminiumMarkList, DataFiles::MarksAl, m_marksReadAl, m_marksChangedAl);
    store(copperMarkList, DataFiles::MarksCu, m_marksReadCu, m_marksChangedCu);
    return ok;
}

void LineMarksTab::addMark(bool copper)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString prompt = copper
        ? QStringLiteral("Введите обозначение новой марки провода или кабеля с медными жилами.") + crlf.repeated(5)
              + QStringLiteral("Новая марка:")
        : QStringLiteral("Введите обозначение новой марки провода или кабеля с алюминиевыми жилами.") + crlf.repeated(4)
              + QStringLiteral("Новая марка:");
    const QString answer = m_prompter.input(prompt, Prompter::applicationTitle(), QString());
    if (answer.isEmpty())
        return;
    QListWidget *list = listOf(copper);
    const int selected = selectedRow(list);
    list->insertItem(selected >= 0 ? selected + 1 : 0, MarkList::clean(answer));
    list->setCurrentRow(0);
    (copper ? removeCopperMarkButton : removeAluminiumMarkButton)->setEnabled(true);
    (copper ? m_marksChangedCu : m_marksChangedAl) = true;
}

void LineMarksTab::removeMark(bool copper)
{
    QListWidget *list = listOf(copper);
    const int selected = selectedRow(list);
    if (selected < 0)
        return;
    const QString mark = list->item(selected)->text();
    const QString question = copper
        ? QStringLiteral("Удалить марку медного провода или кабеля '") + mark + QStringLiteral("'?")
        : QStringLiteral("Удалить марку алюминиевого провода или кабеля '") + mark + QStringLiteral("'?");
    if (m_prompter.message(question, QString(), Prompter::Icon::Exclamation, Prompter::Buttons::YesNo)
        != Prompter::Answer::Yes)
        return;
    delete list->takeItem(selected);
    (copper ? m_marksChangedCu : m_marksChangedAl) = true;
    if (list->count() == 0) {
        (copper ? removeCopperMarkButton : removeAluminiumMarkButton)->setEnabled(false);
        return;
    }
    list->setCurrentRow(selected > 0 ? selected - 1 : 0);
}

void LineMarksTab::enableMaterial(bool aluminium)
{
    for (QWidget *w : {static_cast<QWidget *>(aluminiumMarksFrame), static_cast<QWidget *>(aluminiumMarkList),
                       static_cast<QWidget *>(addAluminiumMarkButton), static_cast<QWidget *>(removeAluminiumMarkButton)})
        w->setEnabled(aluminium);
    for (QWidget *w : {static_cast<QWidget *>(copperMarksFrame), static_cast<QWidget *>(copperMarkList),
                       static_cast<QWidget *>(addCopperMarkButton), static_cast<QWidget *>(removeCopperMarkButton)})
        w->setEnabled(!aluminium);
}

void LineMarksTab::selectMark(bool copper, const QString &mark)
{
    QListWidget *list = listOf(copper);
    const auto found = mark.isEmpty() ? QList<QListWidgetItem *>() : list->findItems(mark, Qt::MatchExactly);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.first());
        return;
    }
    // A mark no longer listed is kept by the dialog's confirm.
    list->clearSelection();
    list->setCurrentRow(-1);
}

std::optional<QString> LineMarksTab::selectedMark(bool copper) const
{
    QListWidget *list = listOf(copper);
    const int mark = selectedRow(list);
    if (mark < 0)
        return std::nullopt;
    return list->item(mark)->text();
}
