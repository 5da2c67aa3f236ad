// The high-score list as a model: ranking and insertion, the stored form of an entry and
// what a hand-edited one reads as, and the list with its name stored in one write.
#include "settings/HighScore.h"

#include "common/FreshConfig.h"
#include "settings/Chiffre.h"
#include "settings/IniCtrl.h"

#include <QFile>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace torvella::settings {

void PrintTo(const HighScoreEntry& e, std::ostream* os) { *os << e.score << "," << e.name.toStdString(); }

namespace {

using Scores = std::vector<int32_t>;
const QString kCommon = QStringLiteral("common");

class HighScores : public ::testing::Test {
protected:
    // The list as read back from a store holding these scores from the top, named
    // "P0", "P1" ..., the remaining places empty.
    HighScoreList Stored(const Scores& scores, int direction = 0)
    {
        std::filesystem::remove(cfg.storeFile());
        for (size_t i = 0; i < scores.size(); ++i)
            ini.WriteString(kCommon, QStringLiteral("hs") + QString::number(i),
                            HighScoreList::Scrambled({QStringLiteral("P") + QString::number(i), scores[i]}, chiffre));
        HighScoreList list;
        list.SetDirection(direction);
        list.Read(ini, chiffre);
        return list;
    }
    QByteArray StoreBytes() const
    {
        QFile f(QString::fromStdString(cfg.storeFile().string()));
        return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray();
    }

    torvella::testing::FreshConfig cfg;
    IniCtrl ini;
    TChiffre chiffre;
};

Scores ScoresOf(const HighScoreList& list)
{
    Scores s;
    for (int i = 0; i < HighScoreList::kEntries; ++i)
        s.push_back(list.Entry(i).score);
    return s;
}

Scores Descending() // 150, 140, ..., 10
{
    Scores s;
    for (int i = 0; i < HighScoreList::kEntries; ++i)
        s.push_back(150 - 10 * i);
    return s;
}

TEST_F(HighScores, InsertFindsThePlaceAndPushesTheLastOff)
{
    Scores lowTail{100};
    lowTail.resize(HighScoreList::kEntries, -10);
    struct Case {
        const char* what;
        Scores stored;
        int direction;
        int32_t score;
        int place;
    };
    const Case cases[] = {
        {"empty list, 0 earns no place", {}, 0, 0, -1},
        {"empty list, 1 is first", {}, 0, 1, 0},
        {"a tie ranks below", Descending(), 0, 110, 5},
        {"a tie with the last of a full list", Descending(), 0, 10, -1},
        {"lower than a full list", Descending(), 0, 5, -1},
        {"better than all", Descending(), 0, 151, 0},
        {"negative on an empty list", {}, 0, -5, -1},
        {"negative above lower scores", lowTail, 0, -5, 1},
        {"lower first: the first empty place", {3, 8}, 1, 9, 2},
        {"lower first: the first greater score", {3, 8}, 1, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HighScoreList list = Stored(c.stored, c.direction);
        const Scores before = ScoresOf(list);
        EXPECT_EQ(list.Place(c.score), c.place);
        EXPECT_EQ(list.Insert(c.score, QStringLiteral("New")), c.place);
        Scores expected = before;
        if (c.place >= 0) {
            expected.insert(expected.begin() + c.place, c.score);
            expected.pop_back();
            EXPECT_EQ(list.Entry(c.place), (HighScoreEntry{QStringLiteral("New"), c.score}));
        }
        EXPECT_EQ(ScoresOf(list), expected);
    }
}

TEST(HighScoreEntryText, StoredFormAndWhatAHandEditReadsAs)
{
    TChiffre chiffre;
    struct Case {
        QString plain;
        std::optional<HighScoreEntry> entry;
    };
    const Case cases[] = {
        {QStringLiteral("12,Mr. Brain"), HighScoreEntry{QStringLiteral("Mr. Brain"), 12}},
        {QStringLiteral("-5,Smith, Jr."), HighScoreEntry{QStringLiteral("Smith, Jr."), -5}},
        {QStringLiteral("7,"), HighScoreEntry{QString(), 7}},
        {QStringLiteral("3,Jörg & Ærø"), HighScoreEntry{QStringLiteral("Jörg & Ærø"), 3}},
        {QString(), std::nullopt},
        {QStringLiteral("no comma at all"), std::nullopt},
        {QStringLiteral("lots,Eve"), std::nullopt},
        {QStringLiteral(",Nobody"), std::nullopt},
        {QStringLiteral(" 5,Blank"), std::nullopt},
        {QStringLiteral("99999999999,Big"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        EXPECT_EQ(HighScoreList::Unscrambled(chiffre.Encrypt(c.plain), chiffre), c.entry);
        if (c.entry) {
            const QString stored = HighScoreList::Scrambled(*c.entry, chiffre);
            EXPECT_EQ(stored.size(), c.plain.size());
            EXPECT_EQ(stored.indexOf(QLatin1Char(',')), c.plain.indexOf(QLatin1Char(',')));
            EXPECT_EQ(chiffre.Decrypt(stored), c.plain);
        }
    }
}

TEST_F(HighScores, UnreadableEntriesAreEmptyPlacesAndTheRestLoads)
{
    Stored(Descending());
    ini.WriteString(kCommon, QStringLiteral("hs2"), chiffre.Encrypt(QStringLiteral("lots,Eve")));
    ini.WriteString(kCommon, QStringLiteral("hs4"), QString());
    {
        QFile f(QString::fromStdString(cfg.storeFile().string()));
        ASSERT_TRUE(f.open(QFile::Append));
        f.write("hs6=@Rect(1 2 3 4)\n");
    }
    HighScoreList list;
    list.Read(ini, chiffre);
    for (int i = 0; i < HighScoreList::kEntries; ++i) {
        const bool spoilt = i == 2 || i == 4 || i == 6;
        const HighScoreEntry expected = spoilt ? HighScoreEntry{HighScoreList::PlaceholderName(), 0}
                                               : HighScoreEntry{QStringLiteral("P") + QString::number(i), Descending()[i]};
        EXPECT_EQ(list.Entry(i), expected) << i;
    }
}

TEST_F(HighScores, SaveStoresNameAndEveryPlaceInOneWriteOrNothing)
{
    HighScoreList list = Stored({42});
    list.SetName(0, QStringLiteral("Ann, the first"));
    list.Save(ini, chiffre, QStringLiteral("Ann, the first"));
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), QStringLiteral("Ann, the first"));
    HighScoreList back;
    back.Read(ini, chiffre);
    for (int i = 0; i < HighScoreList::kEntries; ++i)
        EXPECT_EQ(back.Entry(i), list.Entry(i)) << i;
    EXPECT_EQ(chiffre.Decrypt(ini.ReadString(kCommon, QStringLiteral("hs14"), QString())), QStringLiteral("0,Mr. Brain"))
        << "empty places are written out";

    // Another prefix is another list in the same store.
    HighScoreList other;
    other.SetPrefix(QStringLiteral("best"));
    other.Clear();
    other.Save(ini, chiffre, QStringLiteral("Bob"));
    back.Read(ini, chiffre);
    EXPECT_EQ(back.Entry(0).name, QStringLiteral("Ann, the first"));

    const QByteArray before = StoreBytes();
    std::filesystem::create_directories(cfg.storeFile().string() + ".lock/inside");
    list.Clear();
    EXPECT_THROW(list.Save(ini, chiffre, QStringLiteral("Carl")), StoreError);
    EXPECT_EQ(StoreBytes(), before);
}

} // namespace
} // namespace torvella::settings
