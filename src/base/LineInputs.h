#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

// The two conductor materials, by the names every file and list uses.
namespace Materials {
inline QString copper() { return QStringLiteral("Медь"); }
inline QString aluminium() { return QStringLiteral("Алюминий"); }
} // namespace Materials

// One input a line keeps: the text its project file holds, which a save
// writes back unchanged, and the value that text stands for once it has
// passed the checks of the line dialog. Without a value the input is damaged
// (or not checked yet), and no calculation takes it.
template<typename T>
struct StoredInput {
    QString text;
    std::optional<T> value;
    bool sound() const { return value.has_value(); }
    bool operator==(const StoredInput &) const = default;
};

// What the line dialog was given for a line, beyond what the row's texts
// show: kept with the line so that the dialog can show it again exactly and
// a recompute can run it through today's tables and settings. Each member is
// one key of the line's section of the project file (keys()).
struct LineInputs {
    StoredInput<bool> threePhase{QStringLiteral("380"), true}; // "Network": 380 V three-phase, 220 V single-phase
    StoredInput<int> construction{QStringLiteral("2"), 2}; // position in the construction list of the network
    StoredInput<int> laying{QStringLiteral("0"), 0}; // 0 in air, 1 in the ground (three-phase cables)
    StoredInput<QString> material; // "Алюминий" or "Медь"
    StoredInput<bool> neutral{QStringLiteral("0"), false}; // a separate neutral core
    StoredInput<double> neutralSection{QString(), 0.0}; // its entry of the neutral-section list; 0 without one
    StoredInput<QString> mark{QString(), QString()};
    StoredInput<double> loadCurrent; // as typed or picked ("ЩО1 - 25,5А"); the value in A
    StoredInput<double> cosPhi{QStringLiteral("1"), 1.0}; // power factor of the load
    StoredInput<double> reactance{QStringLiteral("0"), 0.0}; // the line's reactance as computed, mOhm
    // Ambient temperature, °C; an empty text (nothing inside) takes the tables' own.
    StoredInput<std::optional<double>> ambient{QString(), std::optional<double>()};
    StoredInput<int> cables{QStringLiteral("1"), 1}; // working cables side by side in one trench
    StoredInput<int> spacing{QStringLiteral("100"), 100}; // their clear distance, mm
    // The protective device at the line's start: its characteristic ("C",
    // "10In", ...; empty for none), its rated current, A (0 without a device),
    // and the disconnection time, s (empty: what the check of disconnection gives).
    StoredInput<QString> device{QString(), QString()};
    StoredInput<double> deviceRating{QString(), 0.0};
    StoredInput<std::optional<double>> tripTime{QString(), std::optional<double>()};

    // One key: its name in the file, the text that a file written before the
    // key existed stands for, where its text is kept and how that text reads
    // as its value (every rule that the text alone, or the keys before it,
    // decide). The line dialog's own rules (LineEntry::checkConditions) are
    // applied on top when a project is opened.
    struct Key {
        QString name;
        QString absent;
        QString &(*text)(LineInputs &);
        void (*read)(LineInputs &);
        bool (*sound)(const LineInputs &);
        const QString &textOf(const LineInputs &inputs) const { return text(const_cast<LineInputs &>(inputs)); }
    };
    // Every key, in the order a project file holds them. A key is added with
    // its member above and its row in this table, after the others.
    static std::span<const Key> keys();
    // The key that says a line kept its inputs at all.
    static const QString &presenceKey();

    // Each text read into its value, by the rules of keys().
    void readValues();
    // The names of the keys whose value is not sound, in key order.
    QStringList damagedKeys() const;
    bool allSound() const { return damagedKeys().isEmpty(); }

    // The value of a load-current text: the typed number, or the value of an
    // offered choice "name - 25,5А"; 0 when the text yields no number.
    static double loadCurrentOf(const QString &text);
    // The line dialog's rule for a load current: above 0, at most 1 000 000 A.
    static bool loadCurrentAccepted(double current) { return current > 0 && current <= 1000000; }

    bool operator==(const LineInputs &) const = default;
};
