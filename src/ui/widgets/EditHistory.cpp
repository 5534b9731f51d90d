#include "ui/widgets/EditHistory.h"

#include "ui/widgets/RecordedEdit.h"

#include <QSignalBlocker>

#include <vector>

EditHistory::EditHistory(QObject *parent, int maxSteps, qsizetype maxBytes) : QUndoStack(parent), m_maxBytes(maxBytes)
{
    setUndoLimit(maxSteps);
}

qsizetype EditHistory::bytes() const
{
    qsizetype total = 0;
    for (int i = 0; i < count(); ++i)
        if (const auto *edit = dynamic_cast<const RecordedEdit *>(command(i)))
            total += edit->bytes();
    return total;
}

void EditHistory::trim()
{
    // Only right after a step was recorded: nothing is waiting to be redone.
    if (index() != count())
        return;
    std::vector<const RecordedEdit *> edits;
    qsizetype kept = 0;
    for (int i = 0; i < count(); ++i) {
        const auto *edit = dynamic_cast<const RecordedEdit *>(command(i));
        if (!edit)
            return; // a step of another kind cannot be carried over
        edits.push_back(edit);
        kept += edit->bytes();
    }
    size_t first = 0;
    while (kept > m_maxBytes && first + 1 < edits.size())
        kept -= edits[first++]->bytes();
    if (first == 0)
        return;
    // The stack drops steps only from its far end by its step limit: the
    // steps kept are put on an emptied stack again, as made already.
    std::vector<RecordedEdit *> copies;
    for (size_t i = first; i < edits.size(); ++i)
        copies.push_back(edits[i]->copy());
    {
        const QSignalBlocker quiet(this);
        clear();
        for (RecordedEdit *edit : copies)
            push(edit);
    }
    emit indexChanged(index());
    emit canUndoChanged(canUndo());
    emit canRedoChanged(canRedo());
    emit undoTextChanged(undoText());
    emit redoTextChanged(redoText());
    emit cleanChanged(isClean());
}
