// Keyboard play: the cursor's keys go through the mouse's rules. A move by keys writes the
// same calls to the view, in the same order, as the mouse pressing, moving and releasing
// at the centres of the same cells.
#include "GameFixture.h"

#include "core/BoardCursor.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace torvella {
namespace {

using testing::Cake;
using testing::GameFixture;
using testing::Side;
using Log = std::vector<std::string>;

constexpr int R = 1, G = 2, Y = 4, M = kMixedCake;
constexpr CursorKey L = CursorKey::Left, Rt = CursorKey::Right, U = CursorKey::Up, D = CursorKey::Down;

struct Step {
    int dc, dr;
};
Step Delta(CursorKey k)
{
    return {(k == Rt) - (k == L), (k == D) - (k == U)};
}

struct KeyCase {
    const char* name;
    std::vector<Cake> cakes;
    Side plates, holds;
    int jumps;
    int fromCol, fromRow;
    std::vector<CursorKey> path;  // arrows while the cake is up, then Act drops it
    std::vector<Answer> answers = {};  // for the dialogs at the end of a game
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

// Two yellow cakes in a corner keep a move available, so no case ends in a dead end by
// accident (except the one that means to).
const KeyCase kKeyCases[] = {
    {"serve", {{3, 3, G, 9}, {4, 3, R, 1}, {0, 6, Y, 1}, {1, 6, Y, 2}}, {}, {}, 3, 3, 3, {Rt}},
    {"hold", {{3, 3, G, 9}, {3, 2, R, 5}, {0, 6, Y, 1}, {1, 6, Y, 2}}, {}, {}, 3, 3, 3, {U}},
    {"refused, the hold place is taken", {{3, 3, G, 9}, {2, 3, R, 7}, {0, 6, Y, 1}, {1, 6, Y, 2}},
     {0, 2, 0, 0, 0}, {0, 5, 0, 0, 0}, 3, 3, 3, {L}},
    {"dropped on its own cell", {{3, 3, G, 9}, {0, 6, Y, 1}, {1, 6, Y, 2}}, {}, {}, 3, 3, 3, {}},
    {"out and back again", {{3, 3, G, 9}, {4, 3, R, 1}, {0, 6, Y, 1}, {1, 6, Y, 2}}, {}, {}, 3, 3, 3,
     {Rt, Rt, L, L}},
    {"onto the mixed cake", {{3, 3, G, 9}, {3, 4, M, 1}, {0, 6, Y, 1}}, {}, {}, 3, 3, 3, {D}},
    {"jump over three cells", {{1, 1, M, 1}, {4, 2, R, 1}, {0, 6, Y, 1}, {1, 6, Y, 2}}, {}, {}, 3, 1, 1,
     {Rt, Rt, D, Rt}},
    {"jump with none left", {{1, 1, M, 1}, {4, 2, R, 1}, {0, 6, Y, 1}, {1, 6, Y, 2}}, {}, {}, 0, 1, 1,
     {Rt, Rt, D, Rt}},
    {"dead end", {{5, 5, G, 5}, {6, 5, R, 3}}, {}, {}, 3, 5, 5, {Rt}, {Answer::Yes}},
    {"solved", {{0, 0, M, 1}, {0, 1, Y, 12}}, {0, 12, 12, 12, 11}, {}, 3, 0, 0, {D}, {Answer::Yes}},
};

class KeyPlay : public GameFixture, public ::testing::WithParamInterface<KeyCase> {
protected:
    BoardCursor cursor;

    // Shows the cursor and walks it to (col, row) with the arrows; nothing is lifted on
    // the way, and the view hears nothing of it.
    void WalkTo(int col, int row)
    {
        cursor.Key(game, L);
        while (cursor.Col() != col)
            cursor.Key(game, cursor.Col() < col ? Rt : L);
        while (cursor.Row() != row)
            cursor.Key(game, cursor.Row() < row ? D : U);
    }
};

TEST_P(KeyPlay, MovesAsTheMouseDoesAtTheCellCentres)
{
    const KeyCase& c = GetParam();

    // By mouse: press at the centre of the source, move over each cell of the path,
    // release at the centre of the last.
    Lay(c.cakes, c.plates, c.holds, c.jumps);
    view.answers.assign(c.answers.begin(), c.answers.end());
    int col = c.fromCol, row = c.fromRow;
    Point at = game.Layout().CellCentre(col, row);
    Press(at.x, at.y);
    for (CursorKey k : c.path) {
        col += Delta(k).dc;
        row += Delta(k).dr;
        at = game.Layout().CellCentre(col, row);
        MoveTo(at.x, at.y);
    }
    Release(at.x, at.y);
    const Log byMouse = view.Take();
    const Tableau afterMouse = game.Position();
    const GamePhase phaseAfterMouse = game.Phase();

    // By keys, on the same tableau; the pointer has left the board.
    view.pointer.reset();
    game.Deal();
    Lay(c.cakes, c.plates, c.holds, c.jumps);
    T().Score = 0;
    GameProbe::LayOut(game, T());
    view.answers.assign(c.answers.begin(), c.answers.end());
    WalkTo(c.fromCol, c.fromRow);
    view.log.clear();
    EXPECT_TRUE(cursor.Key(game, CursorKey::Act));
    EXPECT_TRUE(cursor.Carrying());
    for (CursorKey k : c.path)
        EXPECT_TRUE(cursor.Key(game, k));
    EXPECT_TRUE(cursor.Key(game, CursorKey::Act));

    EXPECT_EQ(view.log, byMouse);
    EXPECT_EQ(game.Position().CellColour, afterMouse.CellColour);
    EXPECT_EQ(game.Position().CellSlices, afterMouse.CellSlices);
    EXPECT_EQ(game.Position().PlateSlices, afterMouse.PlateSlices);
    EXPECT_EQ(game.Position().HoldSlices, afterMouse.HoldSlices);
    EXPECT_EQ(game.Position().Score, afterMouse.Score);
    EXPECT_EQ(game.Position().JumpsLeft, afterMouse.JumpsLeft);
    EXPECT_EQ(game.Phase(), phaseAfterMouse);
    EXPECT_FALSE(game.Lifted().Dragging);
    EXPECT_FALSE(cursor.Carrying());
    EXPECT_EQ(cursor.Col(), col) << "the cursor stays where the cake was dropped";
    EXPECT_EQ(cursor.Row(), row);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyPlay, ::testing::ValuesIn(kKeyCases), testing::CaseName());

class Cursor : public GameFixture {
protected:
    BoardCursor cursor;
};

TEST_F(Cursor, AppearsOnTheCentreAndStopsAtTheEdges)
{
    Lay({{3, 3, G, 9}});
    EXPECT_FALSE(cursor.Key(game, CursorKey::Cancel)) << "Escape does not call up the cursor";
    EXPECT_FALSE(cursor.Visible());
    // The first key only shows the cursor, whichever it is: nothing moves, nothing lifts.
    EXPECT_TRUE(cursor.Key(game, CursorKey::Act));
    EXPECT_TRUE(cursor.Visible());
    EXPECT_EQ(cursor.Col(), 3);
    EXPECT_EQ(cursor.Row(), 3);
    EXPECT_FALSE(game.Lifted().Dragging);

    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(cursor.Key(game, L));
    EXPECT_FALSE(cursor.Key(game, L)) << "column 0 is the edge";
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(cursor.Key(game, D));
    EXPECT_FALSE(cursor.Key(game, D)) << "row 6 is the edge";
    EXPECT_EQ(cursor.Col(), 0);
    EXPECT_EQ(cursor.Row(), 6);

    // Act on an empty cell lifts nothing, as a press there does.
    EXPECT_TRUE(cursor.Key(game, CursorKey::Act));
    EXPECT_FALSE(cursor.Carrying());
    EXPECT_FALSE(game.Lifted().Dragging);
    EXPECT_TRUE(view.log.empty());

    // Hidden by the mouse, the cursor comes back on the centre.
    cursor.Hide();
    EXPECT_FALSE(cursor.Visible());
    cursor.Key(game, Rt);
    EXPECT_EQ(cursor.Col(), 3);
    EXPECT_EQ(cursor.Row(), 3);
}

TEST_F(Cursor, EscapeReturnsTheCakeAsAReleaseOnItsOwnCell)
{
    Lay({{3, 3, G, 9}, {4, 3, R, 1}});
    cursor.Key(game, Rt);
    cursor.Key(game, CursorKey::Act);
    cursor.Key(game, Rt);
    view.log.clear();
    EXPECT_TRUE(cursor.Key(game, CursorKey::Cancel));
    const Point over = game.Layout().CellCentre(4, 3);
    EXPECT_EQ(view.log, (Log{"unlift " + std::to_string(over.x) + " " + std::to_string(over.y), "sound 6",
                             "cake 3 3 2 9"}));
    EXPECT_FALSE(game.Lifted().Dragging);
    EXPECT_EQ(game.Position().Colour(3, 3), G);
    EXPECT_EQ(game.Position().Colour(4, 3), R);
    EXPECT_EQ(game.Phase(), GamePhase::Dealt);
    EXPECT_EQ(cursor.Col(), 3) << "the cursor goes back with the cake";
    EXPECT_FALSE(cursor.Key(game, CursorKey::Cancel)) << "nothing is up any more";
}

TEST_F(Cursor, LeavesACakeTheMouseHoldsAndHandsItsOwnToTheMouse)
{
    Lay({{3, 3, G, 9}, {4, 3, R, 1}, {2, 3, R, 5}});
    cursor.Key(game, Rt);

    // The mouse holds the cake: the keys neither move nor drop it.
    const Point a = game.Layout().CellCentre(3, 3);
    ASSERT_TRUE(Press(a.x, a.y));
    view.log.clear();
    for (CursorKey k : {Rt, CursorKey::Act, CursorKey::Cancel})
        EXPECT_FALSE(cursor.Key(game, k));
    EXPECT_TRUE(view.log.empty());
    EXPECT_TRUE(game.Lifted().Dragging);
    Release(a.x, a.y);

    // A cake the keys lifted is the mouse's once the mouse is used on the board: the
    // mouse's release drops it where the mouse is.
    cursor.Key(game, CursorKey::Act);
    ASSERT_TRUE(cursor.Carrying());
    cursor.Hide();
    EXPECT_FALSE(cursor.Carrying());
    const Point b = game.Layout().CellCentre(2, 3);
    MoveTo(b.x, b.y);
    EXPECT_EQ(Release(b.x, b.y), DropResult::Moved);
    EXPECT_EQ(game.Position().HoldSlices[R], 5);
}

TEST_F(Cursor, PutBackReturnsAnyLiftedCakeBeforeAToolBarAction)
{
    Lay({{3, 3, G, 9}, {4, 3, R, 1}});
    cursor.PutBack(game);
    EXPECT_TRUE(view.log.empty()) << "nothing up, nothing to do";

    struct Case {
        const char* name;
        bool byKeys;
    };
    for (const Case& c : {Case{"lifted by keys", true}, Case{"held by the mouse", false}}) {
        SCOPED_TRACE(c.name);
        const Point a = game.Layout().CellCentre(3, 3);
        if (c.byKeys) {
            cursor.Key(game, Rt);  // shows it on (3, 3), or moves it there from (2, 3)
            if (cursor.Col() != 3)
                cursor.Key(game, Rt);
            cursor.Key(game, CursorKey::Act);
            cursor.Key(game, Rt);
        } else {
            cursor.Hide();
            Press(a.x, a.y);
        }
        ASSERT_TRUE(game.Lifted().Dragging);
        view.log.clear();
        cursor.PutBack(game);
        EXPECT_FALSE(game.Lifted().Dragging);
        EXPECT_FALSE(cursor.Carrying());
        EXPECT_EQ(view.Only({"sound", "cake"}), (Log{"sound 6", "cake 3 3 2 9"}));
        EXPECT_EQ(game.Position().Colour(3, 3), G);
        EXPECT_EQ(game.Position().Slices(3, 3), 9);
        EXPECT_EQ(game.Position().Colour(4, 3), R);
        if (c.byKeys) {
            EXPECT_EQ(cursor.Col(), 3) << "the cursor goes back with the cake";
        }
    }
}

} // namespace
} // namespace torvella
