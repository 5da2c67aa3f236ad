#include "settings/HighScore.h"

#include "settings/Chiffre.h"
#include "settings/Decimal.h"
#include "settings/Keys.h"

namespace torvella::settings {

namespace {

HighScoreEntry EmptyPlace() { return {HighScoreList::PlaceholderName(), 0}; }

} // namespace

HighScoreList::HighScoreList() : prefix_(keys::HighScore.Name()) { Clear(); }

void HighScoreList::Read(IniCtrl& ini, const TChiffre& scrambler)
{
    for (int i = 0; i < kEntries; ++i)
        entries_[i] = Unscrambled(ReadEntry(ini, prefix_, i), scrambler).value_or(EmptyPlace());
}

int HighScoreList::Place(int32_t score) const
{
    for (int i = 0; i < kEntries; ++i) {
        const int32_t here = entries_[i].score;
        if (direction_ == 0 ? here < score : here == 0 || here > score)
            return i;
    }
    return -1;
}

int HighScoreList::Insert(int32_t score, const QString& name)
{
    const int at = Place(score);
    if (at < 0)
        return -1;
    for (int i = kEntries - 1; i > at; --i)
        entries_[i] = entries_[i - 1];
    entries_[at] = {name, score};
    return at;
}

void HighScoreList::Clear() { entries_.fill(EmptyPlace()); }

QString HighScoreList::Scrambled(const HighScoreEntry& entry, const TChiffre& scrambler)
{
    return scrambler.Encrypt(QString::number(entry.score) + QLatin1Char(',') + entry.name);
}

std::optional<HighScoreEntry> HighScoreList::Unscrambled(const QString& stored, const TChiffre& scrambler)
{
    const QString plain = scrambler.Decrypt(stored);
    const qsizetype comma = plain.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    const std::optional<int32_t> score = ParseDecimal(plain.left(comma));
    if (!score)
        return std::nullopt;
    return HighScoreEntry{plain.mid(comma + 1), *score};
}

void HighScoreList::Save(IniCtrl& ini, const TChiffre& scrambler, const QString& player) const
{
    Changes changes;
    changes.Set(keys::Player, player);
    for (int i = 0; i < kEntries; ++i)
        changes.SetEntry(prefix_, i, Scrambled(entries_[i], scrambler));
    changes.WriteTo(ini);
}

} // namespace torvella::settings
