// The main window's side of the game's view: each drawing call goes to the part that shows
// it (board view, tool bar) and then to the screen reader's board; sounds, pauses and the
// game's questions; the hint's key and the music the game asks to keep.
#include "ui/MainForm.h"

#include "ui/BoardAccessible.h"
#include "ui/GameRecords.h"
#include "ui/HighscoreDlg.h"
#include "ui/HintSearch.h"
#include "ui/ImageButton.h"
#include "ui/MusicKeeper.h"
#include "ui/Windows.h"
#include "ui/YesNoDlg.h"

#include <chrono>
#include <thread>

namespace torvella::ui {

void MainForm::CellEmptied(int col, int row)
{
    box_->CellEmptied(col, row);
    access_->CellChanged(col, row);
}

void MainForm::CellCake(int col, int row, int colour, int slices)
{
    box_->CellCake(col, row, colour, slices);
    access_->CellChanged(col, row);
}

void MainForm::SlotChanged(Slot slot, int colour, int slices)
{
    box_->SlotChanged(slot, colour, slices);
    access_->SlotChanged(slot, colour, slices);
}

void MainForm::LiftedCakeDrawn(int colour, int slices)
{
    box_->LiftedCakeDrawn(colour, slices);
    access_->Lifted(colour, slices);
}

void MainForm::LiftedCakeErased()
{
    box_->LiftedCakeErased();
}

void MainForm::PulseDot(int col, int row, uint32_t colour)
{
    box_->PulseDot(col, row, colour);
}

void MainForm::ScoreChanged(int32_t score)
{
    toolBox_->ScoreChanged(score);
    access_->ScoreChanged();
}

void MainForm::JumpsChanged(int32_t jumpsLeft)
{
    toolBox_->JumpsChanged(jumpsLeft);
    access_->JumpsChanged(jumpsLeft);
}

void MainForm::ButtonEnabledChanged(Button button, bool enabled)
{
    Btn(button)->setEnabled(enabled);
}

void MainForm::BoardRenewed()
{
    box_->Render();
    RepaintWindow();
    access_->Renewed();
}

void MainForm::RepaintWindow()
{
    RecomposeToolBar();
    update();
    toolBox_->update();
    box_->RepaintAll();
    access_->Repainted();
}

void MainForm::PlaySound(Sound sound)
{
    audio_->PlaySound(ToInt(sound), settings_.SoundOn);
    access_->Sounded(sound);
}

void MainForm::Delay(int ms)
{
    // Show every step drawn so far, then wait without handling any event: input and
    // the clock stand still, as they should during a move's pauses.
    if (isVisible()) {
        toolBox_->repaint();
        box_->repaint();
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::this_thread::sleep_until(until);
}

Answer MainForm::ShowKind(MessageKind kind)
{
    // A game brought back after a crash says so in its first pause.
    if (kind == MessageKind::Paused && dialogs_)
        if (const QString back = records_->TakeResumeNotice(); !back.isEmpty())
            return dialogs_->YesNo().ShowText(MessageKind::Text, back);
    return dialogs_ ? dialogs_->YesNo().ShowKind(kind) : Answer::Yes;
}

Answer MainForm::ShowDeadEnd()
{
    const QString text =
        settings_.Text("Das ist sich leider nicht ganz ausgegangen.", "Sorry, but that wasn't as it should be.");
    return dialogs_ ? dialogs_->YesNo().ShowText(MessageKind::Text, text) : Answer::Yes;
}

void MainForm::ShowNoSolution()
{
    const auto text = [this] {
        return settings_.Text("Von hier aus ist diese Auslage nicht mehr lösbar.",
                              "This tableau can no longer be solved from here.");
    };
    access_->Told(text);
    if (dialogs_)
        dialogs_->YesNo().ShowText(MessageKind::Text, text());
}

void MainForm::ShowHint(Move move)
{
    hints_->Show(move);
    access_->HintShown(move);
}

// ---------------------------------------------------------------- hints

void MainForm::HintKeyPress()
{
    if (!hints_->CanStart())
        return;
    audio_->Prefetch();  // the hint's sound is ready when the answer comes
    hints_->Start();
}

const QImage& MainForm::BoardBitmap() const { return box_->Bitmap(); }
const BoardCursor& MainForm::Cursor() const { return box_->Cursor(); }
QPoint MainForm::CarriedCakeAt() const { return box_->CarriedCakeAt(); }

bool MainForm::HintSearching() const { return hints_->Searching(); }
bool MainForm::HintRingsShown() const { return hints_->MarksShown(); }

void MainForm::ShowHighscore(int32_t score, bool viewOnly)
{
    if (dialogs_)
        dialogs_->Highscore().ShowModal(score, viewOnly);
}

void MainForm::KeepMusicPlaying()
{
    music_->Keep();
}

void MainForm::ToggleMusic()
{
    music_->Toggle();
}

void MainForm::UseMusicFolder(const QString& folder)
{
    music_->StartUp(folder);
}

QString MainForm::MusicFileName() const
{
    return music_->FileName();
}

} // namespace torvella::ui
