// An interrupted tableau comes back: a game played a few moves on a desktop of its own is
// ended by SIGTERM, by SIGKILL and by the end of the session (its X server goes, as at a
// logout), and the next start shows the same position, paused, with a word that it is back.
// The position is read back from the journal and compared cell by cell with the rules' own.
#include "Desktop.h"

#include "common/FreshConfig.h"
#include "core/Deal.h"
#include "core/Game.h"
#include "core/NullView.h"
#include "core/Record.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <optional>

namespace torvella {
namespace {

using testing::Desktop;
using testing::GameProcess;

const QString kTitle = QStringLiteral("Torvella V");
constexpr uint32_t kDeal = 12345;

// The first `count` legal drops onto a neighbour (no jumps) from the deal, and the
// position after them.
std::vector<Move> LegalMoves(uint32_t deal, int count, Tableau& t)
{
    Random rng(deal);
    DealTableau(t, rng);
    std::vector<Move> moves;
    while (int(moves.size()) < count) {
        std::optional<Move> found;
        for (int c = 0; c < kCols && !found; ++c)
            for (int r = 0; r < kRows && !found; ++r)
                for (const Cell d : {Cell{1, 0}, Cell{-1, 0}, Cell{0, 1}, Cell{0, -1}}) {
                    const Move m{{c, r}, {c + d.col, r + d.row}};
                    if (t.Colour(c, r) <= 0 || !OnTableau(m.to))
                        continue;
                    const Verdict v = JudgeDrop(t, m);
                    if (v.legal && !v.jump) {
                        ApplyMove(t, m, v);
                        found = m;
                        break;
                    }
                }
        if (!found)
            break;
        moves.push_back(*found);
    }
    return moves;
}

// The arrow keys from one cell to another.
void Walk(Desktop& desktop, unsigned long w, Cell from, Cell to)
{
    for (; from.col < to.col; ++from.col)
        desktop.Key(w, "Right");
    for (; from.col > to.col; --from.col)
        desktop.Key(w, "Left");
    for (; from.row < to.row; ++from.row)
        desktop.Key(w, "Down");
    for (; from.row > to.row; --from.row)
        desktop.Key(w, "Up");
}

// The game the journal left, rebuilt.
std::optional<Game> Journalled(const std::filesystem::path& stateHome, NullView& view, std::string& error)
{
    const QDir dir(QString::fromStdString((stateHome / "torvella").string()));
    const QStringList files = dir.entryList({QStringLiteral("game-*.journal")}, QDir::Files);
    if (files.size() != 1) {
        error = "journals: " + files.join(' ').toStdString();
        return std::nullopt;
    }
    QFile f(dir.filePath(files[0]));
    f.open(QIODevice::ReadOnly);
    QByteArray text = f.readAll();
    text = text.mid(text.indexOf('\n') + 1);  // the journal's own first line
    const auto record = ParseRecord(text.toStdString(), error);
    if (!record)
        return std::nullopt;
    std::optional<Game> game(std::in_place, view);
    if (auto failed = game->Restore(*record)) {
        error = *failed;
        return std::nullopt;
    }
    return game;
}

TEST(Resume, AnInterruptedTableauComesBackPausedAfterASignalAKillAndTheSessionsEnd)
{
    Tableau expected;
    const std::vector<Move> moves = LegalMoves(kDeal, 3, expected);
    ASSERT_EQ(moves.size(), 3u);

    enum class End { Term, Kill, Session };
    for (End end : {End::Term, End::Kill, End::Session}) {
        SCOPED_TRACE(int(end));
        testing::FreshConfig cfg;
        std::filesystem::create_directories(cfg.storeFile().parent_path());
        std::ofstream(cfg.storeFile()) << "[common]\ntongue=0\nmusic=0\n";
        {
            std::optional<Desktop> desktop(std::in_place);
            if (!desktop->Ok())
                GTEST_SKIP() << desktop->Why().toStdString();
            GameProcess game(*desktop, cfg.dir(), {QStringLiteral("--deal"), QString::number(kDeal)});
            const unsigned long w = desktop->WaitForWindow(kTitle);
            ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
            desktop->SettledOuterRect(w);
            desktop->Key(w, "Right");  // shows the ring on the middle cell
            Cell at{kCols / 2, kRows / 2};
            for (const Move& m : moves) {
                Walk(*desktop, w, at, m.from);
                desktop->Key(w, "space");
                Walk(*desktop, w, m.from, m.to);
                desktop->Key(w, "space");
                at = m.to;
            }
            QThread::msleep(2500);  // the moves' pauses, and the clock runs a little
            if (end == End::Term)
                game.Signal(SIGTERM);
            else if (end == End::Kill)
                game.Signal(SIGKILL);
            else
                desktop.reset();  // the session ends: its X server goes from under the game
            ASSERT_TRUE(game.WaitForEnd(5000)) << "the game did not end";
        }

        Desktop desktop;
        GameProcess game(desktop, cfg.dir());
        const unsigned long w = desktop.WaitForWindow(kTitle);
        ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
        const unsigned long notice = desktop.WaitForOtherWindow({w}, 8000);
        ASSERT_NE(notice, 0u) << "the game did not come back paused";
        // Ended unasked once more while paused: the same game is still in the journal.
        game.Signal(SIGTERM);
        ASSERT_TRUE(game.WaitForEnd(5000));

        NullView view;
        std::string error;
        const std::optional<Game> back = Journalled(cfg.stateDir(), view, error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(back->DealSeed(), kDeal);
        EXPECT_EQ(back->Phase(), GamePhase::Playing);
        EXPECT_EQ(back->Position().CellColour, expected.CellColour);
        EXPECT_EQ(back->Position().CellSlices, expected.CellSlices);
        EXPECT_EQ(back->Position().PlateSlices, expected.PlateSlices);
        EXPECT_EQ(back->Position().HoldSlices, expected.HoldSlices);
        EXPECT_EQ(back->Position().JumpsLeft, expected.JumpsLeft);
        // The clock ran a few seconds; a kill loses at most the last five.
        EXPECT_LE(back->Position().Score, expected.Score);
        EXPECT_GE(back->Position().Score, expected.Score - 30);
        EXPECT_TRUE(back->Enabled(Button::OOps));
    }
}

} // namespace
} // namespace torvella
