#pragma once
// The seam between the game flow and its front end. The game calls these in the order the
// rules prescribe, so the player sees and hears every step of a move. The window implements
// them with drawing, sound and dialogs; torvella-cli and the tests implement them by
// recording. The numbers of the enums are those the window's sound list and message dialog
// use; the core itself holds no player text.
#include "core/Record.h"
#include "core/Rules.h"

#include <cstdint>

namespace torvella {

enum class Button { Start, Again, OOps, Pause, HighScore };
constexpr int kButtons = 5;

// The clips of the sound list, by their numbers (5 is not used by the game).
enum class Sound { Solved = 1, Hold = 2, Plate = 3, Jump = 4, Refused = 6, DeadEnd = 7 };

// The two places beside the tableau for each colour.
enum class Slot { Hold = 0, Plate = 1 };

// Modal results of the message dialog; None when it closed without an answer.
enum class Answer { None = 0, Yes = 6, No = 7 };

// Message kinds of the message dialog; Text shows a text its caller gives.
enum class MessageKind { Solved = 1, Quit = 3, GiveUp = 4, Text = 10, Paused = 12 };

constexpr int ToInt(Sound s) { return static_cast<int>(s); }
constexpr int ToInt(Slot s) { return static_cast<int>(s); }
constexpr int ToInt(Answer a) { return static_cast<int>(a); }
constexpr int ToInt(MessageKind k) { return static_cast<int>(k); }

class GameView {
public:
    virtual ~GameView() = default;

    // Lasting changes: drawn into the board picture and onto the screen.
    virtual void CellEmptied(int col, int row) = 0;
    virtual void CellCake(int col, int row, int colour, int slices) = 0;
    // slices 0 shows the empty slot.
    virtual void SlotChanged(Slot slot, int colour, int slices) = 0;

    // The lifted cake, drawn on the screen only, never into the board picture. Where it
    // stands in pixels is the view's own business: at the pointer, or at the centre of the
    // cell it is carried over (Game::Lifted().Over) when the keys carry it.
    virtual void LiftedCakeDrawn(int colour, int slices) = 0;
    // Copies the square under the lifted cake, where it was last drawn, back from the board
    // picture.
    virtual void LiftedCakeErased() = 0;
    virtual void PulseDot(int col, int row, uint32_t colour) = 0;

    // The values to show now; in a counting animation every step comes with its own.
    virtual void ScoreChanged(int32_t score) = 0;
    virtual void JumpsChanged(int32_t jumpsLeft) = 0;
    virtual void ButtonEnabledChanged(Button button, bool enabled) = 0;

    // The whole board was dealt or restored: compose it anew and repaint the window.
    virtual void BoardRenewed() = 0;
    virtual void RepaintWindow() = 0;

    virtual void PlaySound(Sound sound) = 0;
    // A pause inside a move: no input, no clock, but every step drawn so far is visible.
    virtual void Delay(int ms) = 0;
    virtual Answer ShowKind(MessageKind kind) = 0;
    // No cake can move any more: the message dialog with the window's dead-end text (kind Text).
    virtual Answer ShowDeadEnd() = 0;
    virtual void ShowHighscore(int32_t score, bool viewOnly) = 0;
    virtual void KeepMusicPlaying() = 0;

    // A paid hint: show the player which cake to lift and where to drop it.
    virtual void ShowHint(Move move) = 0;
    // No solution from here: the message dialog says so (kind Text); nothing was charged.
    virtual void ShowNoSolution() = 0;
};

// Who keeps records of games (a journal, statistics) hears each event as the game's record
// takes it, the deal included, and the one moment a game ends. Neither call may call back
// into the game. A restore (Game::Restore) tells it nothing: it rebuilds what was told.
class GameListener {
public:
    virtual ~GameListener() = default;
    virtual void EventRecorded(const GameEvent& event) = 0;
    virtual void GameEnded(const GameEnd& end) = 0;
};

} // namespace torvella
