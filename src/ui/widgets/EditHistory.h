#pragma once

#include <QUndoStack>

// The project's history, bounded: at most `maxSteps` steps and about
// `maxBytes` of what they keep; the oldest steps go first, the newest always
// stays. A recompute of a large project keeps megabytes: without a bound a
// day's work would keep them all.
class EditHistory : public QUndoStack
{
    Q_OBJECT
public:
    static constexpr int DefaultSteps = 100;
    static constexpr qsizetype DefaultBytes = qsizetype(200) * 1024 * 1024;

    explicit EditHistory(QObject *parent = nullptr, int maxSteps = DefaultSteps, qsizetype maxBytes = DefaultBytes);

    // What the steps kept hold, as they tell.
    qsizetype bytes() const;
    qsizetype maxBytes() const { return m_maxBytes; }

    // Drops the oldest steps while more than maxBytes() is kept (the edits
    // call it as they are recorded).
    void trim();

private:
    qsizetype m_maxBytes;
};
