#include "core/Game.h"

#include <cstdlib>

namespace torvella {

namespace {
constexpr int32_t kServePoints = 45;
constexpr int32_t kFollowPoints = 35;
constexpr int32_t kCompletePoints = 135;
constexpr int32_t kJumpStep = 37;     // ten steps: -370
constexpr int32_t kSolvedStep = 22;   // ten steps: +220
constexpr int kServeDelay = 500;
constexpr int kCountDelay = 45;

bool OnTableau(int col, int row) { return col >= 0 && col < kCols && row >= 0 && row < kRows; }
} // namespace

bool CanMoveFrom(const Tableau& t, int col, int row)
{
    if (t.Slices(col, row) == 0)
        return false;
    if (t.Colour(col, row) == kMixedCake && t.JumpsLeft > 0)
        return true;
    static constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& step : kSteps) {
        const int c = col + step[0];
        const int r = row + step[1];
        if (!OnTableau(c, r))
            continue;
        const int k = t.Colour(c, r);
        if (k > 0 && (t.PlateSlices[k] + 1 == t.Slices(c, r) || t.HoldSlices[k] == 0))
            return true;
    }
    return false;
}

int CountMovableCells(const Tableau& t)
{
    int count = 0;
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row)
            if (CanMoveFrom(t, col, row))
                ++count;
    return count;
}

Game::Game(GameView& view) : view_(view) {}

const char* Game::DeadEndText(int tongue)
{
    return tongue == 1 ? "Das ist sich leider nicht ganz ausgegangen." : "Sorry, but that wasn't as it should be.";
}

void Game::SetEnabled(Button b, bool on)
{
    enabled_[static_cast<int>(b)] = on;
    view_.ButtonEnabledChanged(b, on);
}

void Game::Deal()
{
    DealTableau(T, Rng);
    SetEnabled(Button::Pause, false);
    SetEnabled(Button::Again, false);
    SetEnabled(Button::OOps, false);
}

void Game::SaveUndo()
{
    T.SaveUndo();
    SetEnabled(Button::OOps, true);
    SetEnabled(Button::Pause, true);
    SetEnabled(Button::Again, true);
}

bool Game::BoxMouseDown(int32_t x, int32_t y)
{
    if (T.Dragging)
        return false;
    int col = 0, row = 0;
    if (!G.PixelToCell(x, y, col, row) || T.Slices(col, row) == 0)
        return false;
    T.DragCol = col;
    T.DragRow = row;
    T.DragColour = T.Colour(col, row);
    T.DragSlices = T.Slices(col, row);
    T.Slices(col, row) = 0;
    T.Colour(col, row) = kEmpty;
    view_.CellEmptied(col, row);
    T.DragX = x;
    T.DragY = y;
    view_.LiftedCakeDrawn(x, y, T.DragColour, T.DragSlices);
    T.Dragging = true;
    return true;
}

void Game::MouseMove(int32_t x, int32_t y)
{
    if (!T.Dragging)
        return;
    view_.LiftedCakeErased(T.DragX, T.DragY);
    T.DragX = x;
    T.DragY = y;
    view_.LiftedCakeDrawn(x, y, T.DragColour, T.DragSlices);
}

void Game::CountScore(int32_t step)
{
    for (int i = 0; i < 10; ++i) {
        T.Score += step;
        view_.ScoreChanged();
        view_.Delay(kCountDelay);
    }
}

DropResult Game::BoxMouseUp(int32_t x, int32_t y)
{
    if (!T.Dragging)
        return DropResult::Ignored;

    int col = 0, row = 0;
    const bool onBoard = G.PixelToCell(x, y, col, row);
    bool jump = onBoard && T.DragColour == kMixedCake && T.JumpsLeft > 0;
    bool legal = false;
    if (onBoard) {
        const bool adjacent = (std::abs(T.DragRow - row) == 1 && T.DragCol == col) ||
                              (std::abs(T.DragCol - col) == 1 && T.DragRow == row);
        legal = adjacent;
        if (adjacent)
            jump = false;  // a neighbour move of the mixed cake costs nothing
        if (jump)
            legal = true;
    }
    // The target must hold a coloured cake: empty cells (the source included) and the
    // mixed cake are never targets.
    if (legal)
        legal = T.Slices(col, row) > 0 && T.Colour(col, row) > 0;

    if (legal) {
        const int target = T.Colour(col, row);
        const int slices = T.Slices(col, row);
        if (T.PlateSlices[target] + 1 == slices) {
            SaveUndo();
            T.PlateSlices[target] = slices;
            view_.SlotChanged(1, target, slices);
            T.Score += kServePoints;
            view_.ScoreChanged();
            view_.PlaySound(3);
            view_.Delay(kServeDelay);
            if (T.HoldSlices[target] == T.PlateSlices[target] + 1) {
                T.Score += kFollowPoints;
                view_.ScoreChanged();
                view_.PlaySound(3);
                T.PlateSlices[target] = T.HoldSlices[target];
                view_.SlotChanged(1, target, T.PlateSlices[target]);
                view_.SlotChanged(0, target, 0);
                T.HoldSlices[target] = 0;
            }
            if (T.PlateSlices[target] == kMaxSlices) {
                view_.PlaySound(3);
                T.Score += kCompletePoints;
                view_.ScoreChanged();
            }
        } else if (T.HoldSlices[target] == 0) {
            SaveUndo();
            T.HoldSlices[target] = slices;
            view_.PlaySound(2);
            view_.SlotChanged(0, target, slices);
        } else {
            legal = false;
        }
    }

    view_.LiftedCakeErased(T.DragX, T.DragY);

    if (!legal) {
        view_.PlaySound(6);
        view_.CellCake(T.DragCol, T.DragRow, T.DragColour, T.DragSlices);
        T.Colour(T.DragCol, T.DragRow) = T.DragColour;
        T.Slices(T.DragCol, T.DragRow) = T.DragSlices;
        T.Dragging = false;
        return DropResult::Refused;
    }

    view_.CellCake(col, row, T.DragColour, T.DragSlices);
    T.Colour(col, row) = T.DragColour;
    T.Slices(col, row) = T.DragSlices;
    T.Phase = GamePhase::Playing;
    T.Dragging = false;

    if (jump) {
        T.JumpsLeft -= 1;
        view_.JumpsChanged();
        view_.PlaySound(4);
        CountScore(-kJumpStep);
    }

    if (T.AllPlatesFull()) {
        view_.PlaySound(1);
        CountScore(kSolvedStep);
        T.Phase = GamePhase::Solved;
        view_.ShowKind(kMsgSolved);
        FinishGame();
    } else if (CountMovableCells(T) == 0) {
        view_.PlaySound(7);
        T.Phase = GamePhase::Ended;
        view_.ShowText(kMsgText, DeadEndText(view_.Tongue()));
        FinishGame();
    }
    return DropResult::Moved;
}

void Game::FinishGame()
{
    view_.ShowHighscore(T.Score, false);
    SetEnabled(Button::Pause, false);
    SetEnabled(Button::OOps, false);
}

void Game::Timer1Timer()
{
    if (T.Phase == GamePhase::Playing) {
        T.SecondTicks += 1;
        if (T.SecondTicks > 9)
            T.SecondTicks = 0;
        if (T.SecondTicks == 0) {
            T.Score -= 1;
            view_.ScoreChanged();
        }
    }

    T.FlashStep += 1;
    if (T.FlashStep > 15)
        T.FlashStep = 0;

    if (T.Phase == GamePhase::Dealt || T.Phase == GamePhase::Playing) {
        const auto& table = ColourTable();
        const uint32_t pulse = PulseColours()[T.FlashStep];
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const int c = T.Colour(col, row);
                if (c <= 0)
                    continue;
                const bool servable = T.PlateSlices[c] + 1 == T.Slices(col, row);
                view_.PulseDot(col, row, servable ? pulse : table[c][15]);
            }
        if (T.Dragging)
            view_.LiftedCakeDrawn(T.DragX, T.DragY, T.DragColour, T.DragSlices);
    }

    if (T.FlashStep == 0)
        view_.KeepMusicPlaying();
}

bool Game::GiveUpRunningGame()
{
    if (T.Phase != GamePhase::Playing)
        return true;
    if (view_.ShowKind(kMsgGiveUp) == kNo)
        return false;
    view_.RepaintWindow();
    T.Phase = GamePhase::Ended;
    return true;
}

bool Game::StartBtnClick()
{
    if (!Enabled(Button::Start) || !GiveUpRunningGame())
        return false;
    Deal();
    view_.BoardRenewed();
    return true;
}

bool Game::AgainBtnClick()
{
    if (!Enabled(Button::Again) || !GiveUpRunningGame())
        return false;
    Rng.SetState(T.DealSeed);
    Deal();
    view_.BoardRenewed();
    return true;
}

bool Game::OOpsBtnClick()
{
    if (!Enabled(Button::OOps) || T.Dragging)
        return false;
    T.RestoreUndo();
    view_.BoardRenewed();
    SetEnabled(Button::OOps, false);
    return true;
}

bool Game::PauseBtnClick()
{
    if (!Enabled(Button::Pause) || T.Phase != GamePhase::Playing)
        return false;
    T.Phase = GamePhase::Paused;
    view_.RepaintWindow();
    view_.ShowKind(kMsgPaused);
    T.Phase = GamePhase::Playing;
    view_.RepaintWindow();
    return true;
}

bool Game::HighScoreBtnClick()
{
    view_.ShowHighscore(T.Score, true);
    return true;
}

bool Game::CloseQuery()
{
    const int answer = view_.ShowKind(T.Phase == GamePhase::Playing ? kMsgGiveUp : kMsgQuit);
    view_.RepaintWindow();
    if (answer != kYes)
        return false;
    if (T.Phase == GamePhase::Playing)
        T.Phase = GamePhase::Ended;
    return true;
}

} // namespace torvella
