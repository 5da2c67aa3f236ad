#pragma once
// A view that shows nothing and answers every question with Yes: the base of headless
// users of the core (torvella-cli, benchmarks).
#include "core/GameView.h"

namespace torvella {

class NullView : public GameView {
public:
    void CellEmptied(int, int) override {}
    void CellCake(int, int, int, int) override {}
    void SlotChanged(int, int, int) override {}
    void LiftedCakeDrawn(int, int, int, int) override {}
    void LiftedCakeErased(int, int) override {}
    void PulseDot(int, int, uint32_t) override {}
    void ScoreChanged() override {}
    void JumpsChanged() override {}
    void ButtonEnabledChanged(Button, bool) override {}
    void BoardRenewed() override {}
    void RepaintWindow() override {}
    void PlaySound(int) override {}
    void Delay(int) override {}
    int ShowKind(int) override { return kYes; }
    int ShowText(int, const std::string&) override { return kYes; }
    void ShowHighscore(int32_t, bool) override {}
    void KeepMusicPlaying() override {}
    int Tongue() const override { return 0; }
};

} // namespace torvella
