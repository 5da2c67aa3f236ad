// The settings store with many names in it: what the main window's start and the
// high-score list's opening cost when the file has grown (hand-made, or filled by another
// program sharing the folder). Arguments: the number of extra names; 40,000 make 1 MB.
//
//   bench_settings --benchmark_filter=Store
#include "settings/IniCtrl.h"
#include "settings/Keys.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using torvella::settings::IniCtrl;
namespace keys = torvella::settings::keys;

// A store as the game leaves it, plus `names` further values of about 25 bytes each.
class BigStore {
public:
    explicit BigStore(int names)
    {
        path_ = dir_.path() + QStringLiteral("/Quorlix/Torvella/V1.ini");
        QDir().mkpath(dir_.path() + QStringLiteral("/Quorlix/Torvella"));
        QByteArray text = "[common]\nbackmode=3\nmusic=0\nsound=1\ntongue=1\nplayer=Anna\n"
                          "MainForm=\"44,0,1,-1,-1,-1,-1,100,80,740,600\"\n";
        for (int i = 0; i < 15; ++i)
            text += "hs" + QByteArray::number(i) + "=Xq3,Lkwp Zu" + QByteArray::number(i) + '\n';
        for (int i = 0; i < names; ++i)
            text += "name" + QByteArray::number(i) + "=Player number " + QByteArray::number(i) + '\n';
        QFile f(path_);
        if (!f.open(QFile::WriteOnly) || f.write(text) != text.size())
            std::abort();
        bytes_ = text.size();
    }
    const QString& Path() const { return path_; }
    qint64 Bytes() const { return bytes_; }

private:
    QTemporaryDir dir_;
    QString path_;
    qint64 bytes_ = 0;
};

// A new run: the values the main window reads while it is created and first shown.
void StoreStartReads(benchmark::State& state)
{
    const BigStore store(int(state.range(0)));
    for (auto _ : state) {
        IniCtrl ini(store.Path());
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::Tongue));
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::Sound));
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::Music));
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::BackMode));
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::Placement));
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::Tongue));
    }
    state.counters["bytes"] = double(store.Bytes());
}
BENCHMARK(StoreStartReads)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

// The high-score list opening in a running game: the player's name and the fifteen entries.
void StoreListReads(benchmark::State& state)
{
    const BigStore store(int(state.range(0)));
    IniCtrl ini(store.Path());
    torvella::settings::Read(ini, keys::Tongue); // the start has read the store before
    for (auto _ : state) {
        benchmark::DoNotOptimize(torvella::settings::Read(ini, keys::Player));
        for (int i = 0; i < 15; ++i)
            benchmark::DoNotOptimize(torvella::settings::ReadEntry(ini, keys::HighScore.Name(), i));
    }
}
BENCHMARK(StoreListReads)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

// The close: the four settings in one write.
void StoreWrite(benchmark::State& state)
{
    const BigStore store(int(state.range(0)));
    IniCtrl ini(store.Path());
    int round = 0;
    for (auto _ : state) {
        torvella::settings::Changes()
            .Set(keys::Sound, round % 2 == 0)
            .Set(keys::Music, true)
            .Set(keys::Tongue, 1)
            .Set(keys::BackMode, round % 7)
            .WriteTo(ini);
        ++round;
    }
}
BENCHMARK(StoreWrite)->Arg(1000)->Arg(40000)->Unit(benchmark::kMillisecond);

} // namespace
