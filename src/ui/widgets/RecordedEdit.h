#pragma once

#include <QString>
#include <QUndoCommand>

#include <functional>

class QUndoStack;

// A change of the project that has just been made, kept as the way back and
// forth: undo puts back what was there before, redo makes the change again.
// Each side restores a snapshot of what the change touched (a whole line, a
// shield with its loads, the substation's data), so that whatever those
// records come to hold is covered as well.
class RecordedEdit : public QUndoCommand
{
public:
    RecordedEdit(const QString &text, std::function<void()> undo, std::function<void()> redo);

    void undo() override;
    void redo() override;

    // Puts the edit on `history`; nothing without a history.
    static void record(QUndoStack *history, const QString &text, std::function<void()> undo,
                       std::function<void()> redo);

private:
    std::function<void()> m_undo;
    std::function<void()> m_redo;
    bool m_made = true; // the change is in place when the edit is recorded
};
