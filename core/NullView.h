#pragma once
// Front end: a view that shows nothing and answers every question with Yes. The base of
// headless users of the core (torvella-cli, benchmarks).
#include "core/GameView.h"

namespace torvella {

class NullView : public GameView {
public:
    void CellEmptied(int, int) override {}
    void CellCake(int, int, int, int) override {}
    void SlotChanged(Slot, int, int) override {}
    void LiftedCakeDrawn(int, int) override {}
    void LiftedCakeErased() override {}
    void PulseDot(int, int, uint32_t) override {}
    void ScoreChanged(int32_t) override {}
    void JumpsChanged(int32_t) override {}
    void ButtonEnabledChanged(Button, bool) override {}
    void BoardRenewed() override {}
    void RepaintWindow() override {}
    void PlaySound(Sound) override {}
    void Delay(int) override {}
    Answer ShowKind(MessageKind) override { return Answer::Yes; }
    Answer ShowDeadEnd() override { return Answer::Yes; }
    void ShowHighscore(int32_t, bool) override {}
    void KeepMusicPlaying() override {}
    void ShowHint(Move) override {}
    void ShowNoSolution() override {}
};

} // namespace torvella
