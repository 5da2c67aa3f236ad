#pragma once
// The statistics: one line for every game that ended, appended as it ends, and the figures
// worked out from those lines. Nothing else is stored, so a figure can never disagree with
// the games it counts. The file is $XDG_DATA_HOME/torvella/statistics.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace torvella::records {

enum class Result { Solved, DeadEnd, GivenUp };

struct GameEntry {
    QDateTime ended;     // UTC, to the second
    uint32_t deal = 0;   // the deal number (the generator state it was dealt from)
    Result result = Result::GivenUp;
    int32_t score = 0;
    int64_t seconds = 0; // time played
    int32_t moves = 0;
    int32_t hints = 0;
    bool operator==(const GameEntry&) const = default;
};

// "2026-12-10T20:15:00Z 123456 solved 540 312 48 0", no newline.
QByteArray EntryLine(const GameEntry& game);
std::optional<GameEntry> ParseEntry(const QByteArray& line);

struct Figures {
    int played = 0, solved = 0, deadEnds = 0, givenUp = 0;
    double solvedShare = 0;          // 0..1; 0 when nothing was played
    std::optional<int32_t> best;     // none when nothing was played
    double average = 0;
    int bestStreak = 0, currentStreak = 0;  // solved tableaux in a row
    int64_t totalSeconds = 0;
};
Figures Summarise(const QList<GameEntry>& games);

// The deals played more than once, with their best score; the most played first.
struct DealBest {
    uint32_t deal = 0;
    int played = 0;
    int32_t best = 0;
    bool operator==(const DealBest&) const = default;
};
QList<DealBest> RepeatedDeals(const QList<GameEntry>& games);

class StatisticsFile {
public:
    static constexpr int kFormat = 1;
    explicit StatisticsFile(QString path);

    struct Loaded {
        QList<GameEntry> games;
        // Lines that are no game (a hand edit, a damaged disk) or a file of another format:
        // the file as it was is copied here and the readable games are kept.
        QString setAside;
        int unreadable = 0;
        QString error;  // the file exists but cannot be read or cleaned up
    };
    Loaded Load() const;
    // Appends one game; another copy of the game may append at the same time. Empty on
    // success, else why not, and the file keeps what it had.
    QString Add(const GameEntry& game) const;
    // Forgets every game (all or nothing).
    QString Reset() const;

    const QString& Path() const { return path_; }

private:
    QString path_;
};

} // namespace torvella::records
