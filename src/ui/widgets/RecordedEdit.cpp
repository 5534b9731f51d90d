#include "ui/widgets/RecordedEdit.h"

#include <QUndoStack>

RecordedEdit::RecordedEdit(const QString &text, std::function<void()> undo, std::function<void()> redo)
    : m_undo(std::move(undo)), m_redo(std::move(redo))
{
    setText(text);
}

void RecordedEdit::undo()
{
    m_undo();
}

void RecordedEdit::redo()
{
    // The stack redoes an edit as it is pushed: that change has been made already.
    if (m_made) {
        m_made = false;
        return;
    }
    m_redo();
}

void RecordedEdit::record(QUndoStack *history, const QString &text, std::function<void()> undo,
                          std::function<void()> redo)
{
    if (history)
        history->push(new RecordedEdit(text, std::move(undo), std::move(redo)));
}
