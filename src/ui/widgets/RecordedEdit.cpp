#include "ui/widgets/RecordedEdit.h"

#include "ui/widgets/EditHistory.h"

RecordedEdit::RecordedEdit(const QString &text, std::function<void()> undo, std::function<void()> redo,
                           qsizetype bytes)
    : RecordedEdit(text, std::make_shared<const Sides>(Sides{std::move(undo), std::move(redo), bytes}))
{
}

RecordedEdit::RecordedEdit(const QString &text, std::shared_ptr<const Sides> sides) : m_sides(std::move(sides))
{
    setText(text);
}

void RecordedEdit::undo()
{
    m_sides->undo();
}

void RecordedEdit::redo()
{
    // The stack redoes an edit as it is pushed: that change has been made already.
    if (m_made) {
        m_made = false;
        return;
    }
    m_sides->redo();
}

RecordedEdit *RecordedEdit::copy() const
{
    return new RecordedEdit(text(), m_sides);
}

void RecordedEdit::record(QUndoStack *history, const QString &text, std::function<void()> undo,
                          std::function<void()> redo, qsizetype bytes)
{
    if (!history)
        return;
    history->push(new RecordedEdit(text, std::move(undo), std::move(redo), bytes));
    if (auto *bounded = qobject_cast<EditHistory *>(history))
        bounded->trim();
}
