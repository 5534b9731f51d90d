#include "ui/widgets/WidgetHelpers.h"

#include "base/InputCheck.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>

bool checkNumericEntry(QLineEdit *field, Prompter &prompter)
{
    InputCheck::Numeric result;
    if (InputCheck::report(field->text(), prompter, &result))
        return true;
    field->setFocus(Qt::OtherFocusReason);
    if (result != InputCheck::Numeric::Empty)
        field->selectAll();
    return false;
}

namespace {

double dpiX(const QWidget *w)
{
    if (w)
        return w->logicalDpiX();
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget *w)
{
    if (w)
        return w->logicalDpiY();
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

} // namespace

int twipsToPixelsX(double twips, const QWidget *widget)
{
    return qRound(twips * dpiX(widget) / 1440.0);
}

int twipsToPixelsY(double twips, const QWidget *widget)
{
    return qRound(twips * dpiY(widget) / 1440.0);
}

double pixelsToTwipsX(int pixels, const QWidget *widget)
{
    return pixels * 1440.0 / dpiX(widget);
}

double pixelsToTwipsY(int pixels, const QWidget *widget)
{
    return pixels * 1440.0 / dpiY(widget);
}

QString listClipboardText(const QAbstractItemModel &model)
{
    const int columns = model.columnCount();
    QStringList header;
    for (int c = 0; c < columns; ++c)
        header << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QString text = header.join(QLatin1Char('\t'));
    const int rows = model.rowCount();
    for (int r = 0; r < rows; ++r) {
        text += QLatin1String("\r\n");
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            text += model.index(r, c).data(Qt::DisplayRole).toString();
        }
    }
    return text;
}

void copyListToClipboard(const QAbstractItemModel &model)
{
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setText(listClipboardText(model));
}

bool isOnCheckBox(const QAbstractItemView &view, const QPoint &viewportPos)
{
    const QModelIndex index = view.indexAt(viewportPos);
    if (!index.isValid() || !(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    // Where the style puts the check box of that item, as the item's delegate draws it.
    QStyleOptionViewItem option;
    option.initFrom(view.viewport());
    option.rect = view.visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data(Qt::DisplayRole).toString();
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.decorationSize = view.iconSize();
    const QRect box = view.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view);
    return box.contains(viewportPos);
}

void greyWhenDisabled(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Active, QPalette::Button));
    widget->setPalette(palette);
}

int selectedRow(const QListWidget *list)
{
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return -1;
    return row;
}

void setRowQuietly(QListWidget *list, int row)
{
    const QSignalBlocker block(list);
    list->setCurrentRow(row);
}

QPushButton *namedButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton *button : buttons)
        if (button)
            row->addWidget(button);
    return row;
}

QColor warningColour()
{
    return QColor(0xc6, 0x28, 0x28);
}
