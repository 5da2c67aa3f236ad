// Middle: the game flow (see Game.h).
#include "core/Game.h"

namespace torvella {

namespace {
constexpr int kServeDelay = 500;
constexpr int kCountDelay = 45;
constexpr int kTicksPerSecond = 10;
constexpr int kPulseSteps = 16;
} // namespace

Game::Game(GameView& view) : view_(view) {}

void Game::SetEnabled(Button b, bool on)
{
    enabled_[static_cast<int>(b)] = on;
    view_.ButtonEnabledChanged(b, on);
}

void Game::Deal()
{
    dealSeed_ = rng_.State();
    DealTableau(board_, rng_);
    phase_ = GamePhase::Dealt;
    lift_.Dragging = false;
    clock_.SecondTicks = 0;
    SetEnabled(Button::Pause, false);
    SetEnabled(Button::Again, false);
    SetEnabled(Button::OOps, false);
}

void Game::SaveUndo(const Tableau& before)
{
    undo_ = before;
    SetEnabled(Button::OOps, true);
    SetEnabled(Button::Pause, true);
    SetEnabled(Button::Again, true);
}

bool Game::BoxMouseDown(int32_t x, int32_t y)
{
    if (lift_.Dragging)
        return false;
    int col = 0, row = 0;
    if (!geometry_.PixelToCell(x, y, col, row) || board_.Slices(col, row) == 0)
        return false;
    lift_.DragCol = col;
    lift_.DragRow = row;
    lift_.DragColour = board_.Colour(col, row);
    lift_.DragSlices = board_.Slices(col, row);
    board_.Slices(col, row) = 0;
    board_.Colour(col, row) = kEmpty;
    view_.CellEmptied(col, row);
    lift_.DragX = x;
    lift_.DragY = y;
    view_.LiftedCakeDrawn(x, y, lift_.DragColour, lift_.DragSlices);
    lift_.Dragging = true;
    return true;
}

void Game::MouseMove(int32_t x, int32_t y)
{
    if (!lift_.Dragging)
        return;
    view_.LiftedCakeErased(lift_.DragX, lift_.DragY);
    lift_.DragX = x;
    lift_.DragY = y;
    view_.LiftedCakeDrawn(x, y, lift_.DragColour, lift_.DragSlices);
}

void Game::CountScore(int32_t step)
{
    for (int i = 0; i < kCountSteps; ++i) {
        board_.Score += step;
        view_.ScoreChanged();
        view_.Delay(kCountDelay);
    }
}

// Shows one step of a move on the board as it stood before that step, so the view reads
// the score and the slots of that very moment.
void Game::Present(const Step& s)
{
    switch (s.kind) {
    case StepKind::Served:
        board_.PlateSlices[s.colour] = s.slices;
        view_.SlotChanged(Slot::Plate, s.colour, s.slices);
        board_.Score += s.points;
        view_.ScoreChanged();
        view_.PlaySound(Sound::Plate);
        view_.Delay(kServeDelay);
        break;
    case StepKind::Followed:
        board_.Score += s.points;
        view_.ScoreChanged();
        view_.PlaySound(Sound::Plate);
        board_.PlateSlices[s.colour] = s.slices;
        view_.SlotChanged(Slot::Plate, s.colour, s.slices);
        view_.SlotChanged(Slot::Hold, s.colour, 0);
        board_.HoldSlices[s.colour] = 0;
        break;
    case StepKind::Completed:
        view_.PlaySound(Sound::Plate);
        board_.Score += s.points;
        view_.ScoreChanged();
        break;
    case StepKind::Held:
        board_.HoldSlices[s.colour] = s.slices;
        view_.PlaySound(Sound::Hold);
        view_.SlotChanged(Slot::Hold, s.colour, s.slices);
        break;
    case StepKind::Jumped:
        board_.JumpsLeft -= 1;
        view_.JumpsChanged();
        view_.PlaySound(Sound::Jump);
        CountScore(-kJumpStep);
        break;
    case StepKind::Solved:
        view_.PlaySound(Sound::Solved);
        CountScore(kSolvedStep);
        phase_ = GamePhase::Solved;
        view_.ShowKind(MessageKind::Solved);
        FinishGame();
        break;
    case StepKind::DeadEnd:
        view_.PlaySound(Sound::DeadEnd);
        phase_ = GamePhase::Ended;
        view_.ShowDeadEnd();
        FinishGame();
        break;
    }
}

DropResult Game::BoxMouseUp(int32_t x, int32_t y)
{
    if (!lift_.Dragging)
        return DropResult::Ignored;

    Move move{{lift_.DragCol, lift_.DragRow}, {-1, -1}};
    if (!geometry_.PixelToCell(x, y, move.to.col, move.to.row))
        move.to = {-1, -1};
    // The rules judge the position before the move: the lifted cake back in its cell.
    Tableau before = board_;
    before.Colour(move.from.col, move.from.row) = lift_.DragColour;
    before.Slices(move.from.col, move.from.row) = lift_.DragSlices;
    const Verdict verdict = JudgeDrop(before, move);

    if (!verdict.legal) {
        view_.LiftedCakeErased(lift_.DragX, lift_.DragY);
        view_.PlaySound(Sound::Refused);
        view_.CellCake(move.from.col, move.from.row, lift_.DragColour, lift_.DragSlices);
        board_ = before;
        lift_.Dragging = false;
        return DropResult::Refused;
    }

    Tableau after = before;
    const MoveSteps steps = ApplyMove(after, move, verdict);
    SaveUndo(before);
    bool landed = false;
    for (const Step& s : steps) {
        if (!landed && !BeforeLanding(s.kind)) {
            landed = true;
            view_.LiftedCakeErased(lift_.DragX, lift_.DragY);
            view_.CellCake(move.to.col, move.to.row, lift_.DragColour, lift_.DragSlices);
            board_.Colour(move.to.col, move.to.row) = lift_.DragColour;
            board_.Slices(move.to.col, move.to.row) = lift_.DragSlices;
            phase_ = GamePhase::Playing;
            lift_.Dragging = false;
        }
        Present(s);
    }
    if (!landed) {
        view_.LiftedCakeErased(lift_.DragX, lift_.DragY);
        view_.CellCake(move.to.col, move.to.row, lift_.DragColour, lift_.DragSlices);
        phase_ = GamePhase::Playing;
        lift_.Dragging = false;
    }
    board_ = after;
    return DropResult::Moved;
}

void Game::FinishGame()
{
    view_.ShowHighscore(board_.Score, false);
    SetEnabled(Button::Pause, false);
    SetEnabled(Button::OOps, false);
}

void Game::ClockTick()
{
    if (phase_ == GamePhase::Playing) {
        clock_.SecondTicks += 1;
        if (clock_.SecondTicks >= kTicksPerSecond)
            clock_.SecondTicks = 0;
        if (clock_.SecondTicks == 0) {
            board_.Score -= 1;
            view_.ScoreChanged();
        }
    }
    clock_.FlashStep += 1;
    if (clock_.FlashStep >= kPulseSteps)
        clock_.FlashStep = 0;
}

void Game::Timer1Timer()
{
    ClockTick();

    if (phase_ == GamePhase::Dealt || phase_ == GamePhase::Playing) {
        const auto& table = ColourTable();
        const uint32_t pulse = PulseColours()[clock_.FlashStep];
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const int c = board_.Colour(col, row);
                if (c <= 0)
                    continue;
                const bool servable = board_.PlateSlices[c] + 1 == board_.Slices(col, row);
                view_.PulseDot(col, row, servable ? pulse : table[c][15]);
            }
        if (lift_.Dragging)
            view_.LiftedCakeDrawn(lift_.DragX, lift_.DragY, lift_.DragColour, lift_.DragSlices);
    }

    if (clock_.FlashStep == 0)
        view_.KeepMusicPlaying();
}

void Game::TimerTicks(uint64_t count)
{
    // Ticks never change the phase, so clock and pulse repeat every 160 ticks with 16
    // points lost while playing.
    constexpr uint64_t kCycle = kTicksPerSecond * kPulseSteps;
    const uint64_t cycles = count / kCycle;
    if (phase_ == GamePhase::Playing)
        board_.Score = static_cast<int32_t>(static_cast<uint32_t>(board_.Score) -
                                            static_cast<uint32_t>(cycles * kPulseSteps));
    for (uint64_t i = 0; i < count % kCycle; ++i)
        Timer1Timer();
}

bool Game::GiveUpRunningGame()
{
    if (phase_ != GamePhase::Playing)
        return true;
    if (view_.ShowKind(MessageKind::GiveUp) == Answer::No)
        return false;
    view_.RepaintWindow();
    phase_ = GamePhase::Ended;
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
    rng_.SetState(dealSeed_);
    Deal();
    view_.BoardRenewed();
    return true;
}

bool Game::OOpsBtnClick()
{
    if (!Enabled(Button::OOps) || lift_.Dragging)
        return false;
    board_ = undo_;
    view_.BoardRenewed();
    SetEnabled(Button::OOps, false);
    return true;
}

bool Game::PauseBtnClick()
{
    if (!Enabled(Button::Pause) || phase_ != GamePhase::Playing)
        return false;
    phase_ = GamePhase::Paused;
    view_.RepaintWindow();
    view_.ShowKind(MessageKind::Paused);
    phase_ = GamePhase::Playing;
    view_.RepaintWindow();
    return true;
}

bool Game::HighScoreBtnClick()
{
    view_.ShowHighscore(board_.Score, true);
    return true;
}

bool Game::CloseQuery()
{
    const Answer answer =
        view_.ShowKind(phase_ == GamePhase::Playing ? MessageKind::GiveUp : MessageKind::Quit);
    view_.RepaintWindow();
    if (answer != Answer::Yes)
        return false;
    if (phase_ == GamePhase::Playing)
        phase_ = GamePhase::Ended;
    return true;
}

bool Game::HintPossible() const
{
    return !lift_.Dragging && (phase_ == GamePhase::Dealt || phase_ == GamePhase::Playing);
}

bool Game::GiveHint(const Tableau& askedAbout, std::optional<Move> firstDrop)
{
    // The score is no part of the question: the clock may have run meanwhile.
    Tableau now = board_;
    now.Score = askedAbout.Score;
    if (!HintPossible() || !(now == askedAbout))
        return false;
    if (!firstDrop) {
        view_.ShowNoSolution();
        return true;
    }
    view_.PlaySound(Sound::Jump);
    CountScore(-kJumpStep);
    // Taking back the next move does not give the hint back for free.
    undo_.Score -= kCountSteps * kJumpStep;
    view_.ShowHint(*firstDrop);
    return true;
}

} // namespace torvella
