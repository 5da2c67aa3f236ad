#include "records/Statistics.h"

#include "records/LineFile.h"
#include "settings/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace torvella::records {

namespace {

const QByteArray kMagic = QByteArrayLiteral("torvella-statistics");

const char* ResultWord(Result r)
{
    switch (r) {
    case Result::Solved: return "solved";
    case Result::DeadEnd: return "dead-end";
    case Result::GivenUp: return "given-up";
    }
    return "given-up";
}

QByteArray Header() { return kMagic + ' ' + QByteArray::number(StatisticsFile::kFormat) + '\n'; }

template <class T>
bool ToNumber(const QByteArray& text, T& out, T min, T max)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < qlonglong(min) || v > qlonglong(max))
        return false;
    out = T(v);
    return true;
}

} // namespace

QByteArray EntryLine(const GameEntry& g)
{
    return g.ended.toUTC().toString(Qt::ISODate).toLatin1() + ' ' + QByteArray::number(g.deal) + ' ' +
           ResultWord(g.result) + ' ' + QByteArray::number(g.score) + ' ' + QByteArray::number(qlonglong(g.seconds)) +
           ' ' + QByteArray::number(g.moves) + ' ' + QByteArray::number(g.hints);
}

std::optional<GameEntry> ParseEntry(const QByteArray& line)
{
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() != 7)
        return std::nullopt;
    GameEntry g;
    g.ended = QDateTime::fromString(QString::fromLatin1(f[0]), Qt::ISODate);
    if (!g.ended.isValid())
        return std::nullopt;
    g.ended = g.ended.toUTC();
    if (f[2] == "solved")
        g.result = Result::Solved;
    else if (f[2] == "dead-end")
        g.result = Result::DeadEnd;
    else if (f[2] == "given-up")
        g.result = Result::GivenUp;
    else
        return std::nullopt;
    constexpr int32_t kMax = 2147483647;
    if (!ToNumber<uint32_t>(f[1], g.deal, 0, 4294967295u) || !ToNumber<int32_t>(f[3], g.score, -kMax - 1, kMax) ||
        !ToNumber<int64_t>(f[4], g.seconds, 0, int64_t(1) << 40) || !ToNumber<int32_t>(f[5], g.moves, 0, kMax) ||
        !ToNumber<int32_t>(f[6], g.hints, 0, kMax))
        return std::nullopt;
    return g;
}

Figures Summarise(const QList<GameEntry>& games)
{
    Figures f;
    int64_t scoreSum = 0;
    int streak = 0;
    for (const GameEntry& g : games) {
        ++f.played;
        f.solved += g.result == Result::Solved;
        f.deadEnds += g.result == Result::DeadEnd;
        f.givenUp += g.result == Result::GivenUp;
        f.best = f.best ? std::max(*f.best, g.score) : g.score;
        scoreSum += g.score;
        f.totalSeconds += g.seconds;
        streak = g.result == Result::Solved ? streak + 1 : 0;
        f.bestStreak = std::max(f.bestStreak, streak);
    }
    f.currentStreak = streak;
    if (f.played > 0) {
        f.solvedShare = double(f.solved) / f.played;
        f.average = double(scoreSum) / f.played;
    }
    return f;
}

QList<DealBest> RepeatedDeals(const QList<GameEntry>& games)
{
    QHash<uint32_t, DealBest> byDeal;
    for (const GameEntry& g : games) {
        auto it = byDeal.find(g.deal);
        if (it == byDeal.end())
            byDeal.insert(g.deal, DealBest{g.deal, 1, g.score});
        else {
            ++it->played;
            it->best = std::max(it->best, g.score);
        }
    }
    QList<DealBest> repeated;
    for (const DealBest& d : std::as_const(byDeal))
        if (d.played > 1)
            repeated << d;
    std::sort(repeated.begin(), repeated.end(), [](const DealBest& a, const DealBest& b) {
        return a.played != b.played ? a.played > b.played : a.deal < b.deal;
    });
    return repeated;
}

StatisticsFile::StatisticsFile(QString path) : path_(std::move(path)) {}

StatisticsFile::Loaded StatisticsFile::Load() const
{
    Loaded loaded;
    QFile file(path_);
    if (!file.exists())
        return loaded;
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.error = path_ + QStringLiteral(": ") + file.errorString();
        return loaded;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QList<QByteArray> lines = CompleteLines(bytes);
    bool otherFormat = false;
    if (!lines.isEmpty() && lines.first().startsWith(kMagic)) {
        otherFormat = lines.first().trimmed() != Header().trimmed();
        lines.removeFirst();
    }
    if (otherFormat) {
        loaded.unreadable = int(lines.size());
    } else {
        for (const QByteArray& line : lines) {
            // (Two copies starting a new file at once may each have written the first line.)
            if (line.trimmed().isEmpty() || line.trimmed() == Header().trimmed())
                continue;
            if (auto g = ParseEntry(line))
                loaded.games << *g;
            else
                ++loaded.unreadable;
        }
    }
    if (loaded.unreadable == 0)
        return loaded;
    // What cannot be read goes aside as it was, once: the file keeps the games it has.
    QString aside = path_ + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path_ + QStringLiteral(".unreadable-") + QString::number(n);
    QByteArray clean = Header();
    for (const GameEntry& g : std::as_const(loaded.games))
        clean += EntryLine(g) + '\n';
    if (!QFile::copy(path_, aside))
        loaded.error = aside + QStringLiteral(": ") + QFile(aside).errorString();
    else if (const settings::FileFailure f = settings::SafeSave(path_, clean))
        loaded.error = f.Describe(false);
    else
        loaded.setAside = aside;
    return loaded;
}

QString StatisticsFile::Add(const GameEntry& game) const
{
    LineFile file;
    if (QString e = file.Open(path_); !e.isEmpty())
        return e;
    const bool fresh = file.ReadAll().isEmpty();
    return file.Append((fresh ? Header() : QByteArray()) + EntryLine(game) + '\n');
}

QString StatisticsFile::Reset() const
{
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return path_ + QStringLiteral(": cannot create the folder");
    const settings::FileFailure f = settings::SafeSave(path_, Header());
    return f ? f.Describe(false) : QString();
}

} // namespace torvella::records
