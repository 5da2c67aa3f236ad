#pragma once
// What the game asks of its window. The core calls these in the order the rules prescribe,
// so the player sees and hears every step of a move. The window implements them with
// drawing, sound and dialogs; torvella-cli and the tests implement them by recording.
#include <cstdint>
#include <string>

namespace torvella {

enum class Button { Start, Again, OOps, Pause, HighScore };
constexpr int kButtons = 5;

// Modal results of the message dialog.
constexpr int kYes = 6;
constexpr int kNo = 7;

// Message kinds of the message dialog.
constexpr int kMsgSolved = 1;
constexpr int kMsgQuit = 3;
constexpr int kMsgGiveUp = 4;
constexpr int kMsgText = 10;
constexpr int kMsgPaused = 12;

class GameView {
public:
    virtual ~GameView() = default;

    // Lasting changes: drawn into the board picture and onto the screen.
    virtual void CellEmptied(int col, int row) = 0;
    virtual void CellCake(int col, int row, int colour, int slices) = 0;
    // column 0 is the hold place, 1 the plate; slices 0 shows the empty slot.
    virtual void SlotChanged(int column, int colour, int slices) = 0;

    // Drawn on the screen only, never into the board picture.
    virtual void LiftedCakeDrawn(int x, int y, int colour, int slices) = 0;
    // Copies the square under the lifted cake at (x, y) back from the board picture.
    virtual void LiftedCakeErased(int x, int y) = 0;
    virtual void PulseDot(int col, int row, uint32_t colour) = 0;

    virtual void ScoreChanged() = 0;
    virtual void JumpsChanged() = 0;
    virtual void ButtonEnabledChanged(Button button, bool enabled) = 0;

    // The whole board was dealt or restored: compose it anew and repaint the window.
    virtual void BoardRenewed() = 0;
    virtual void RepaintWindow() = 0;

    virtual void PlaySound(int number) = 0;
    // A pause inside a move: no input, no clock, but every step drawn so far is visible.
    virtual void Delay(int ms) = 0;
    virtual int ShowKind(int kind) = 0;
    virtual int ShowText(int kind, const std::string& text) = 0;
    virtual void ShowHighscore(int32_t score, bool viewOnly) = 0;
    virtual void KeepMusicPlaying() = 0;
    // 1 German, anything else English.
    virtual int Tongue() const = 0;
};

} // namespace torvella
