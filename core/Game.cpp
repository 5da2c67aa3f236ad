// Middle: the game flow (see Game.h).
#include "core/Game.h"

#include "core/NullView.h"

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
    st_.enabled[static_cast<int>(b)] = on;
    view_.ButtonEnabledChanged(b, on);
}

void Game::Note(const GameEvent& event)
{
    st_.record.Add(event);
    if (listener_)
        listener_->EventRecorded(event);
}

void Game::EndGame(EndKind kind)
{
    if (listener_)
        listener_->GameEnded({kind, st_.board.Score, st_.tally, st_.dealSeed});
}

void Game::Deal()
{
    st_.dealSeed = st_.rng.State();
    DealTableau(st_.board, st_.rng);
    // Undo has nothing to give back until the first move; the copy is only kept equal for
    // a game rebuilt from its record.
    st_.undo = st_.board;
    st_.chargedSinceMove = 0;
    st_.phase = GamePhase::Dealt;
    st_.lift.Dragging = false;
    st_.clock.SecondTicks = 0;
    st_.tally = {};
    st_.record = {st_.dealSeed, st_.clock.FlashStep, {}};
    if (listener_)
        listener_->EventRecorded(st_.record.DealEvent());
    SetEnabled(Button::Pause, false);
    SetEnabled(Button::Again, false);
    SetEnabled(Button::OOps, false);
}

bool Game::LiftAt(Cell cell)
{
    Tableau& b = st_.board;
    if (st_.lift.Dragging || !OnTableau(cell) || b.Slices(cell.col, cell.row) == 0)
        return false;
    st_.lift = {true, cell, cell, b.Colour(cell.col, cell.row), b.Slices(cell.col, cell.row)};
    b.Slices(cell.col, cell.row) = 0;
    b.Colour(cell.col, cell.row) = kEmpty;
    view_.CellEmptied(cell.col, cell.row);
    view_.LiftedCakeDrawn(st_.lift.Colour, st_.lift.Slices);
    return true;
}

void Game::CarryOver(Cell cell)
{
    if (!st_.lift.Dragging)
        return;
    view_.LiftedCakeErased();
    st_.lift.Over = OnTableau(cell) ? cell : kOffTableau;
    view_.LiftedCakeDrawn(st_.lift.Colour, st_.lift.Slices);
}

void Game::CountScore(int32_t from, int32_t to)
{
    // Both ends are whole multiples of ten steps apart: a jump, a hint, the solved bonus.
    const int32_t step = (to - from) / kCountSteps;
    for (int i = 1; i <= kCountSteps; ++i) {
        view_.ScoreChanged(from + step * i);
        view_.Delay(kCountDelay);
    }
}

// Shows one step of a move with the values it carries; `scoreBefore` is the score shown
// before it, where a counting animation starts.
void Game::Present(const Step& s, int32_t scoreBefore)
{
    switch (s.kind) {
    case StepKind::Served:
        view_.SlotChanged(Slot::Plate, s.colour, s.plate);
        view_.ScoreChanged(s.score);
        view_.PlaySound(Sound::Plate);
        view_.Delay(kServeDelay);
        break;
    case StepKind::Followed:
        view_.ScoreChanged(s.score);
        view_.PlaySound(Sound::Plate);
        view_.SlotChanged(Slot::Plate, s.colour, s.plate);
        view_.SlotChanged(Slot::Hold, s.colour, s.hold);
        break;
    case StepKind::Completed:
        view_.PlaySound(Sound::Plate);
        view_.ScoreChanged(s.score);
        break;
    case StepKind::Held:
        view_.PlaySound(Sound::Hold);
        view_.SlotChanged(Slot::Hold, s.colour, s.hold);
        break;
    case StepKind::Jumped:
        view_.JumpsChanged(s.jumps);
        view_.PlaySound(Sound::Jump);
        CountScore(scoreBefore, s.score);
        break;
    case StepKind::Solved:
        view_.PlaySound(Sound::Solved);
        CountScore(scoreBefore, s.score);
        st_.phase = GamePhase::Solved;
        EndGame(EndKind::Solved);
        view_.ShowKind(MessageKind::Solved);
        FinishGame();
        break;
    case StepKind::DeadEnd:
        view_.PlaySound(Sound::DeadEnd);
        st_.phase = GamePhase::Ended;
        EndGame(EndKind::DeadEnd);
        view_.ShowDeadEnd();
        FinishGame();
        break;
    }
}

DropResult Game::DropOn(Cell cell)
{
    Lift& lift = st_.lift;
    if (!lift.Dragging)
        return DropResult::Ignored;
    lift.Dragging = false;

    const Move move{lift.From, OnTableau(cell) ? cell : kOffTableau};
    // The rules judge the position before the move: the lifted cake back in its cell.
    Tableau before = st_.board;
    before.Colour(move.from.col, move.from.row) = lift.Colour;
    before.Slices(move.from.col, move.from.row) = lift.Slices;
    const Verdict verdict = JudgeDrop(before, move);

    if (!verdict.legal) {
        st_.board = before;
        Note({.kind = EventKind::Refused, .move = move});
        view_.LiftedCakeErased();
        view_.PlaySound(Sound::Refused);
        view_.CellCake(move.from.col, move.from.row, lift.Colour, lift.Slices);
        return DropResult::Refused;
    }

    // The move's one write of the position: what the rules made of it.
    st_.board = before;
    const MoveSteps steps = ApplyMove(st_.board, move, verdict);
    st_.undo = before;
    st_.chargedSinceMove = 0;
    st_.tally.moves += 1;
    // Noted before it is shown, so ticks that come while its end's dialogs show follow it.
    Note({.kind = EventKind::Move, .move = move});

    SetEnabled(Button::OOps, true);
    SetEnabled(Button::Pause, true);
    SetEnabled(Button::Again, true);
    bool landed = false;
    int32_t shown = before.Score;
    const auto land = [&] {
        landed = true;
        view_.LiftedCakeErased();
        view_.CellCake(move.to.col, move.to.row, lift.Colour, lift.Slices);
        st_.phase = GamePhase::Playing;
    };
    for (const Step& s : steps) {
        if (!landed && !BeforeLanding(s.kind))
            land();
        Present(s, shown);
        shown = s.score;
    }
    if (!landed)
        land();
    return DropResult::Moved;
}

bool Game::PutBack()
{
    if (!st_.lift.Dragging)
        return false;
    DropOn(st_.lift.From);
    return true;
}

void Game::FinishGame()
{
    view_.ShowHighscore(st_.board.Score, false);
    SetEnabled(Button::Pause, false);
    SetEnabled(Button::OOps, false);
}

// The clock and the pulse; the view hears only of the score.
void Game::Tick()
{
    Clock& clock = st_.clock;
    if (st_.phase == GamePhase::Playing) {
        st_.tally.playedTicks += 1;
        clock.SecondTicks += 1;
        if (clock.SecondTicks >= kTicksPerSecond)
            clock.SecondTicks = 0;
        if (clock.SecondTicks == 0) {
            st_.board.Score -= 1;
            view_.ScoreChanged(st_.board.Score);
        }
    }
    clock.FlashStep += 1;
    if (clock.FlashStep >= kPulseSteps)
        clock.FlashStep = 0;

    const Tableau& b = st_.board;
    if (st_.phase == GamePhase::Dealt || st_.phase == GamePhase::Playing) {
        const auto& table = ColourTable();
        const uint32_t pulse = PulseColours()[clock.FlashStep];
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const int c = b.Colour(col, row);
                if (c <= 0)
                    continue;
                const bool servable = b.PlateSlices[c] + 1 == b.Slices(col, row);
                view_.PulseDot(col, row, servable ? pulse : table[c][15]);
            }
        if (st_.lift.Dragging)
            view_.LiftedCakeDrawn(st_.lift.Colour, st_.lift.Slices);
    }

    if (clock.FlashStep == 0)
        view_.KeepMusicPlaying();
}

void Game::Timer1Timer()
{
    Note({.kind = EventKind::Ticks, .count = 1});
    Tick();
}

void Game::TimerTicks(uint64_t count)
{
    if (count == 0)
        return;
    Note({.kind = EventKind::Ticks, .count = count});
    // Ticks never change the phase, so clock and pulse repeat every 160 ticks with 16
    // points lost while playing.
    constexpr uint64_t kCycle = kTicksPerSecond * kPulseSteps;
    const uint64_t cycles = count / kCycle;
    if (st_.phase == GamePhase::Playing) {
        st_.board.Score = static_cast<int32_t>(static_cast<uint32_t>(st_.board.Score) -
                                               static_cast<uint32_t>(cycles * kPulseSteps));
        st_.tally.playedTicks += cycles * kCycle;
    }
    for (uint64_t i = 0; i < count % kCycle; ++i)
        Tick();
}

bool Game::GiveUpRunningGame(EndKind kind)
{
    if (st_.phase != GamePhase::Playing)
        return true;
    if (view_.ShowKind(MessageKind::GiveUp) == Answer::No)
        return false;
    view_.RepaintWindow();
    st_.phase = GamePhase::Ended;
    Note({.kind = EventKind::GiveUp, .end = kind});
    EndGame(kind);
    return true;
}

bool Game::StartBtnClick()
{
    if (!Enabled(Button::Start) || !GiveUpRunningGame(EndKind::NewTableau))
        return false;
    Deal();
    view_.BoardRenewed();
    return true;
}

bool Game::AgainBtnClick()
{
    if (!Enabled(Button::Again) || !GiveUpRunningGame(EndKind::SameTableau))
        return false;
    st_.rng.SetState(st_.dealSeed);
    Deal();
    view_.BoardRenewed();
    return true;
}

bool Game::OOpsBtnClick()
{
    if (!Enabled(Button::OOps) || st_.lift.Dragging)
        return false;
    st_.board = st_.undo;
    // Taking back the move does not give back the hints paid since.
    st_.board.Score -= st_.chargedSinceMove;
    st_.chargedSinceMove = 0;
    st_.tally.undos += 1;
    Note({.kind = EventKind::Undo});
    view_.BoardRenewed();
    SetEnabled(Button::OOps, false);
    return true;
}

void Game::SetPaused(bool paused)
{
    st_.phase = paused ? GamePhase::Paused : GamePhase::Playing;
    Note({.kind = paused ? EventKind::Pause : EventKind::Resume});
}

bool Game::PauseBtnClick()
{
    if (!Enabled(Button::Pause) || st_.phase != GamePhase::Playing)
        return false;
    SetPaused(true);
    view_.RepaintWindow();
    view_.ShowKind(MessageKind::Paused);
    SetPaused(false);
    view_.RepaintWindow();
    return true;
}

bool Game::HighScoreBtnClick()
{
    view_.ShowHighscore(st_.board.Score, true);
    return true;
}

bool Game::CloseQuery()
{
    const bool playing = st_.phase == GamePhase::Playing;
    const Answer answer = view_.ShowKind(playing ? MessageKind::GiveUp : MessageKind::Quit);
    view_.RepaintWindow();
    if (answer != Answer::Yes)
        return false;
    // The question may have been open for a while: the game may have ended meanwhile.
    if (st_.phase == GamePhase::Playing) {
        st_.phase = GamePhase::Ended;
        Note({.kind = EventKind::GiveUp, .end = EndKind::Left});
        EndGame(EndKind::Left);
    }
    return true;
}

bool Game::HintPossible() const
{
    return !st_.lift.Dragging && (st_.phase == GamePhase::Dealt || st_.phase == GamePhase::Playing);
}

void Game::ChargeHint(Move shown, int32_t charge)
{
    const int32_t before = st_.board.Score;
    st_.board.Score -= charge;
    st_.chargedSinceMove += charge;
    st_.tally.hints += 1;
    Note({.kind = EventKind::Hint, .move = shown, .charge = charge});
    view_.PlaySound(Sound::Jump);
    CountScore(before, st_.board.Score);
    view_.ShowHint(shown);
}

bool Game::GiveHint(const Tableau& askedAbout, std::optional<Move> firstDrop)
{
    // The score is no part of the question: the clock may have run meanwhile.
    Tableau now = st_.board;
    now.Score = askedAbout.Score;
    if (!HintPossible() || !(now == askedAbout))
        return false;
    if (!firstDrop) {
        view_.ShowNoSolution();
        return true;
    }
    ChargeHint(*firstDrop, kHintCharge);
    return true;
}

// One event of a record, carried out through the same calls as in play (on a game whose
// view shows nothing); the reason when the game does not allow it here.
std::optional<std::string> Game::Replay(const GameEvent& e)
{
    switch (e.kind) {
    case EventKind::Deal: return "a second deal";
    case EventKind::Move:
    case EventKind::Refused: {
        const DropResult want = e.kind == EventKind::Move ? DropResult::Moved : DropResult::Refused;
        if (!LiftAt(e.move.from) || DropOn(e.move.to) != want)
            return e.kind == EventKind::Move ? "the rules do not allow this move" : "this drop was not refused";
        return std::nullopt;
    }
    case EventKind::Undo:
        if (!OOpsBtnClick())
            return "nothing to take back";
        return std::nullopt;
    case EventKind::Hint:
        if (!HintPossible())
            return "no hint can be given now";
        ChargeHint(e.move, e.charge);
        return std::nullopt;
    case EventKind::Pause:
    case EventKind::Resume:
        if (e.kind == EventKind::Pause ? !Enabled(Button::Pause) || st_.phase != GamePhase::Playing
                                       : st_.phase != GamePhase::Paused)
            return e.kind == EventKind::Pause ? "the game is not running" : "the game is not paused";
        SetPaused(e.kind == EventKind::Pause);
        return std::nullopt;
    case EventKind::Ticks: TimerTicks(e.count); return std::nullopt;
    case EventKind::GiveUp:
        if (e.end == EndKind::Solved || e.end == EndKind::DeadEnd)
            return "a game is given up by new, again or leave";
        if (st_.phase != GamePhase::Playing)
            return "the game is not running";
        // The question was answered then; the record says how the game was given up.
        st_.phase = GamePhase::Ended;
        Note(e);
        return std::nullopt;
    }
    return "unknown event";
}

std::optional<std::string> Game::Restore(const GameRecord& record)
{
    if (record.pulseStep < 0 || record.pulseStep >= kPulseSteps)
        return "the pulse step runs from 0 to 15";
    NullView quiet;
    Game replay(quiet);
    replay.st_.clock.FlashStep = record.pulseStep;
    replay.Seed(record.dealState);
    replay.Deal();
    for (size_t i = 0; i < record.events.size(); ++i)
        if (auto why = replay.Replay(record.events[i]))
            return "event " + std::to_string(i + 1) + " (" + FormatEvent(record.events[i]) + "): " + *why;

    if (st_.lift.Dragging)
        view_.LiftedCakeErased();
    st_ = replay.st_;
    for (int b = 0; b < kButtons; ++b)
        view_.ButtonEnabledChanged(static_cast<Button>(b), st_.enabled[b]);
    view_.BoardRenewed();
    return std::nullopt;
}

} // namespace torvella
