#pragma once

#include "base/Prompter.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

class QAbstractItemModel;
class QColor;
class QAbstractItemView;
class QHBoxLayout;
class QPushButton;
class QPoint;
class QLineEdit;
class QListWidget;
class QWidget;

// The background of a failed check or an overload in the lists (white text on it).
QColor warningColour();

// The shared numeric check of a field: reports through the prompter, then
// gives the field the focus and (except for an empty field) selects its text.
bool checkNumericEntry(QLineEdit *field, Prompter &prompter);

// Twips <-> pixels with the screen's logical DPI (1440 twips per inch).
int twipsToPixelsX(double twips, const QWidget *widget = nullptr);
int twipsToPixelsY(double twips, const QWidget *widget = nullptr);
double pixelsToTwipsX(int pixels, const QWidget *widget = nullptr);
double pixelsToTwipsY(int pixels, const QWidget *widget = nullptr);

// The text of a list for the clipboard: the headers joined by tabs, then for
// each row CR LF and the row's texts joined by tabs; no line break at the end.
QString listClipboardText(const QAbstractItemModel &model);
// Puts that text on the clipboard, replacing its contents.
void copyListToClipboard(const QAbstractItemModel &model);

// Whether a point of the view's viewport lies on the check box of a checkable item.
bool isOnCheckBox(const QAbstractItemView &view, const QPoint &viewportPos);

// A disabled list or field shows the button face, an enabled one the window background.
void greyWhenDisabled(QWidget *widget);
// The selected row of a single-selection list; -1 when no row is selected.
int selectedRow(const QListWidget *list);
// A selection made by the program, without the list's own signals.
void setRowQuietly(QListWidget *list, int row);

// A push button known to tests by its object name; not the dialog's default
// unless it is made so.
QPushButton *namedButton(const QString &text, const QString &name, QWidget *parent);
// The buttons of a dialog's bottom row, on the right; absent ones are skipped.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);
