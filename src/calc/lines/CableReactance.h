#pragma once

#include <QString>
#include <QVector>

#include <optional>

// The positive-sequence reactance of 0.4 kV cables per metre by cross-section
// (registry entry 14: "section,x1" per line, x1 in mOhm/m, point decimal).
class CableReactance
{
public:
    enum class Status { Ok, Missing, Damaged };

    // Reads the file of the application folder; a registry without the entry
    // counts as a missing file.
    static CableReactance load(const QString &appDir);
    // Reads a file's text; a file that cannot be read whole gives no value at all.
    static CableReactance fromText(const QString &text);

    Status status() const { return m_status; }
    bool isUsable() const { return m_status == Status::Ok; }
    // x1 of a section, mOhm/m; nothing when the file lacks it.
    std::optional<double> perMetre(double section) const;

    // What the user is told when the file is missing or damaged, or when it
    // has no row for a section: the reactance then counts as 0.
    QString problem() const;
    static QString missingSectionMessage(double section);

private:
    struct Row {
        double section = 0;
        double x1 = 0;
    };
    Status m_status = Status::Missing;
    QVector<Row> m_rows;
    QString m_shownPath;
    QString m_detail;
};
