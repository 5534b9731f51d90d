#pragma once

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <memory>

class QUndoStack;

// A change of the project that has just been made, kept as the way back and
// forth: undo puts back what was there before, redo makes the change again.
// Each side restores a snapshot of what the change touched (a whole line, a
// shield with its loads, the substation's data), so that whatever those
// records come to hold is covered as well.
class RecordedEdit : public QUndoCommand
{
public:
    // What an edit whose size is not told is taken to keep.
    static constexpr qsizetype SmallEdit = 1024;

    RecordedEdit(const QString &text, std::function<void()> undo, std::function<void()> redo,
                 qsizetype bytes = SmallEdit);

    void undo() override;
    void redo() override;

    // What the edit keeps in memory, about.
    qsizetype bytes() const { return m_sides->bytes; }
    // The same edit, again as just made (the history's own rebuilding).
    RecordedEdit *copy() const;

    // Puts the edit on `history`; nothing without a history. `bytes` is
    // about what the two sides keep, for a history bounded in memory.
    static void record(QUndoStack *history, const QString &text, std::function<void()> undo,
                       std::function<void()> redo, qsizetype bytes = SmallEdit);

private:
    struct Sides {
        std::function<void()> undo;
        std::function<void()> redo;
        qsizetype bytes = 0;
    };
    RecordedEdit(const QString &text, std::shared_ptr<const Sides> sides);

    std::shared_ptr<const Sides> m_sides;
    bool m_made = true; // the change is in place when the edit is recorded
};
