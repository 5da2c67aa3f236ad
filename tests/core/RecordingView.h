#pragma once
// A GameView that writes every call down as one short line, in order, so tests can assert
// what the player sees and hears and in which order. Questions take their answers from a
// queue (Yes when it is empty); a hook runs while a dialog is open, to stand for the timer
// ticks that keep coming while a modal dialog shows.
#include "AnswerScript.h"
#include "common/GameProbe.h"
#include "core/Game.h"

#include <optional>
#include <string>
#include <vector>

namespace torvella::testing {

inline const char* ButtonName(Button b)
{
    switch (b) {
    case Button::Start: return "Start";
    case Button::Again: return "Again";
    case Button::OOps: return "OOps";
    case Button::Pause: return "Pause";
    case Button::HighScore: return "HighScore";
    }
    return "?";
}

class RecordingView : public GameView, public AnswerScript {
public:
    std::vector<std::string> log;
    const Game* game = nullptr;  // to write down the phase at the moment of a call
    std::optional<Point> pointer;  // where the mouse is; none while the keys play
    Point drawnAt;                 // where the lifted cake was drawn last

    void CellEmptied(int col, int row) override { Add("empty " + N(col) + " " + N(row)); }
    void CellCake(int col, int row, int colour, int slices) override
    {
        Add("cake " + N(col) + " " + N(row) + " " + N(colour) + " " + N(slices));
    }
    void SlotChanged(Slot slot, int colour, int slices) override
    {
        Add("slot " + N(ToInt(slot)) + " " + N(colour) + " " + N(slices));
    }
    // The lifted cake stands where the window would draw it: at the pointer while the
    // mouse carries it, else at the centre of the cell the keys carry it over.
    void LiftedCakeDrawn(int colour, int slices) override
    {
        drawnAt = pointer ? *pointer : game->Layout().CellCentre(game->Lifted().Over.col, game->Lifted().Over.row);
        Add("lift " + N(drawnAt.x) + " " + N(drawnAt.y) + " " + N(colour) + " " + N(slices));
    }
    void LiftedCakeErased() override { Add("unlift " + N(drawnAt.x) + " " + N(drawnAt.y)); }
    void PulseDot(int col, int row, uint32_t colour) override
    {
        Add("dot " + N(col) + " " + N(row) + " " + std::to_string(colour));
    }
    void ScoreChanged(int32_t score) override { Add("score " + N(score)); }
    void JumpsChanged(int32_t jumpsLeft) override { Add("jumps " + N(jumpsLeft)); }
    void ButtonEnabledChanged(Button b, bool on) override
    {
        Add(std::string("button ") + ButtonName(b) + (on ? " on" : " off"));
    }
    void BoardRenewed() override { Add("renew"); }
    void RepaintWindow() override { Add(std::string("repaint ") + Phase()); }
    void PlaySound(Sound sound) override { Add("sound " + N(ToInt(sound))); }
    void Delay(int ms) override { Add("delay " + N(ms)); }
    Answer ShowKind(MessageKind kind) override
    {
        Add("kind " + N(ToInt(kind)) + " " + Phase());
        return NextAnswer();
    }
    // The window shows its dead-end text as a kind-10 message.
    Answer ShowDeadEnd() override
    {
        Add("text " + N(ToInt(MessageKind::Text)) + " " + Phase() + " dead end");
        return NextAnswer();
    }
    void ShowHighscore(int32_t score, bool viewOnly) override
    {
        Add("highscore " + N(score) + (viewOnly ? " view" : " enter"));
    }
    void KeepMusicPlaying() override { Add("music"); }
    void ShowHint(Move m) override
    {
        Add("hint " + N(m.from.col) + "," + N(m.from.row) + ">" + N(m.to.col) + "," + N(m.to.row));
    }
    void ShowNoSolution() override { Add("no solution"); }

    // The lines that start with one of the prefixes, in order.
    std::vector<std::string> Only(std::initializer_list<std::string> prefixes) const
    {
        std::vector<std::string> out;
        for (const auto& line : log)
            for (const auto& p : prefixes)
                if (line.compare(0, p.size(), p) == 0) {
                    out.push_back(line);
                    break;
                }
        return out;
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }

private:
    static std::string N(long long v) { return std::to_string(v); }
    const char* Phase() const { return game ? PhaseName(game->Phase()) : "?"; }
    void Add(std::string line) { log.push_back(std::move(line)); }
};

} // namespace torvella::testing
