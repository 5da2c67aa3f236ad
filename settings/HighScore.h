#pragma once
// The list of the fifteen best scores with the names of their players, in rank order,
// index 0 the best. Empty places hold "Mr. Brain" with 0, so there are always fifteen.
//
// Stored in the section "common" under the prefix and the rank index ("hs0" .. "hs14"),
// each entry as "score,name" passed through the text scrambler. The scrambler changes
// only letters and digits, so the stored text keeps its comma; on reading, the text
// before the first comma is the score and everything after it the name, which may
// itself hold commas.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace torvella::settings {

class IniCtrl;
class TChiffre;

struct HighScoreEntry {
    QString name;
    int32_t score = 0;
    bool operator==(const HighScoreEntry&) const = default;
};

class HighScoreList {
public:
    static constexpr int kEntries = 15;
    static QString PlaceholderName() { return QStringLiteral("Mr. Brain"); }

    HighScoreList();  // fifteen empty places, higher scores first, prefix "hs"

    // 0: higher scores rank first (the game's setting); 1: lower scores rank first.
    void SetDirection(int direction) { direction_ = direction; }
    int Direction() const { return direction_; }
    void SetPrefix(const QString& prefix) { prefix_ = prefix; }
    const QString& Prefix() const { return prefix_; }

    const HighScoreEntry& Entry(int i) const { return entries_.at(i); }

    // Reads the fifteen entries anew. An entry that is empty, has no decimal number before
    // its first comma (a hand edit), or cannot be read at all is an empty place: one bad
    // row must not keep the player from the list, nor from clearing it.
    void Read(IniCtrl& ini, const TChiffre& scrambler);
    // The index a score would take, -1 when it earns no place. Higher first: the first
    // entry it beats, so a tie ranks below. Lower first: the first empty place (score 0)
    // or entry above it.
    int Place(int32_t score) const;
    // Puts the score with the name at its place, the entries below one down and the last
    // off the list. Returns the place, or -1 and nothing changes.
    int Insert(int32_t score, const QString& name);
    void SetName(int i, const QString& name) { entries_.at(i).name = name; }
    // Every place empty.
    void Clear();

    // The stored form of an entry, and back; nullopt for a text that is no entry.
    static QString Scrambled(const HighScoreEntry& entry, const TChiffre& scrambler);
    static std::optional<HighScoreEntry> Unscrambled(const QString& stored, const TChiffre& scrambler);

    // The name typed last ("player") and the fifteen entries in one write: all of them
    // are stored, or none and StoreError is thrown. A list stored half would lose an
    // entry or show one twice.
    void Save(IniCtrl& ini, const TChiffre& scrambler, const QString& player) const;

private:
    int direction_ = 0;
    QString prefix_;
    std::array<HighScoreEntry, kEntries> entries_;
};

} // namespace torvella::settings
