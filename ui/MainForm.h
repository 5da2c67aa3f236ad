#pragma once
// The main window, the game session: it creates the game, the settings, the services and
// its parts in the start-up order (MainForm.cpp), is the game's view and passes each call
// on to the part that shows it (MainFormView.cpp), and closes. Its parts: the tool bar
// (ToolBar), the board area (BoardView), the hint's search (HintSearch), the music
// (MusicKeeper) and the window's placement (WindowPlacer).
#include "audio/AudioService.h"
#include "core/BoardCursor.h"
#include "core/Game.h"
#include "paint/ToolBarPainter.h"
#include "settings/Chiffre.h"
#include "settings/GameSettings.h"
#include "settings/IniCtrl.h"
#include "settings/WindowState.h"
#include "ui/BoardView.h"
#include "ui/OptionDlg.h"
#include "ui/ToolBar.h"
#include "ui/WindowPlacer.h"

#include <QImage>
#include <QMargins>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QRegion;


namespace torvella::help {
class HelpRuntime;
class THookHelpSystem;
}

namespace torvella::ui {

class ImageButton;
class DialogSource;
class DlgResources;
class GameRecords;
class BoardAccess;
class HintSearch;
class MusicKeeper;

class MainForm : public QWidget, public GameView, public OptionHost {
    Q_OBJECT
public:
    // Runs the whole creation sequence (FormCreate). Where the dialogs come from is
    // attached afterwards with AttachDialogs; nothing here may use a dialog. Help requests
    // go to help's hook when a help runtime is given.
    explicit MainForm(help::HelpRuntime* help = nullptr, QWidget* parent = nullptr);
    ~MainForm() override;

    // Each dialog is asked of `dialogs` when it is needed (which may create it); the
    // right-hand buttons take their faces from `resources` at once.
    void AttachDialogs(DialogSource& dialogs, const DlgResources& resources);

    // --- state the dialogs and tests reach
    Game& GameState() { return game_; }
    settings::GameSettings& Settings() { return settings_; }
    settings::IniCtrl& Ini() { return ini_; }
    const settings::TChiffre& ScoreScrambler() const { return scoreScrambler_; }
    QString ProgramFolder() const { return programFolder_; }
    BoardView* Box() const { return box_; }
    ToolBar* ToolBox() const { return toolBox_; }
    ImageButton* Btn(Button b) const { return toolBox_->Btn(b); }
    ImageButton* OptionBtn() const { return toolBox_->OptionBtn(); }
    ImageButton* InfoBtn() const { return toolBox_->InfoBtn(); }
    ImageButton* RulesBtn() const { return toolBox_->RulesBtn(); }
    ImageButton* ExitBtn() const { return toolBox_->ExitBtn(); }
    QLabel* ScoreLabel() const { return toolBox_->ScoreLabel(); }
    const QImage& BoardBitmap() const;
    const QImage& ToolBitmap() const { return toolBox_->Bitmap(); }
    // Music from another folder than the program's (the start-up step again), for tests.
    void UseMusicFolder(const QString& folder);
    // Sound effects and music: one service (the window's `waves` and `midi`).
    audio::AudioService* Waves() const { return audio_.get(); }
    const BoardCursor& Cursor() const;
    // Journal, statistics and deal numbers.
    GameRecords& Records() const { return *records_; }
    // A new tableau from the generator's current state, as the new-tableau button deals it
    // (with its question when a game is running); false when the player keeps the game.
    bool DealFromGenerator();
    // A problem with a file of the game, told in the game's message dialog (or on the
    // error stream when nobody may be there to answer it).
    void ReportProblem(const QString& text) { ReportError(text); }
    // A tool-bar action never finds a cake in the air.
    void PutBackLiftedCake();

    // --- OptionHost
    void SetLanguageTexts() override;
    void BackgroundChanged() override;
    void ToggleMusic() override;
    QString MusicFileName() const override;
    void CakeLabelsChanged() override;

    // --- GameView
    void CellEmptied(int col, int row) override;
    void CellCake(int col, int row, int colour, int slices) override;
    void SlotChanged(Slot slot, int colour, int slices) override;
    void LiftedCakeDrawn(int colour, int slices) override;
    void LiftedCakeErased() override;
    void PulseDot(int col, int row, uint32_t colour) override;
    void ScoreChanged(int32_t score) override;
    void JumpsChanged(int32_t jumpsLeft) override;
    void ButtonEnabledChanged(Button button, bool enabled) override;
    void BoardRenewed() override;
    void RepaintWindow() override;
    void PlaySound(Sound sound) override;
    void Delay(int ms) override;
    Answer ShowKind(MessageKind kind) override;
    Answer ShowDeadEnd() override;
    void ShowHighscore(int32_t score, bool viewOnly) override;
    void KeepMusicPlaying() override;
    void ShowHint(Move move) override;
    void ShowNoSolution() override;

    // --- handlers
    void StartBtnClick() { game_.StartBtnClick(); }
    void AgainBtnClick() { game_.AgainBtnClick(); }
    void OOpsBtnClick() { game_.OOpsBtnClick(); }
    void PauseBtnClick() { game_.PauseBtnClick(); }
    void HighScoreBtnClick() { game_.HighScoreBtnClick(); }
    void OptionBtnClick();
    void InfoBtnClick();
    void RulesBtnClick();
    void ExitBtnClick() { close(); }
    // A close that cannot be asked (a quit signal, the session's logout): no question, any
    // open dialog goes as if answered No, the settings and the placement are written and
    // the loop ends. Errors go to the standard error stream, since nobody may be there to
    // answer a message box.
    void CloseUnasked();
    void Timer1Timer() { game_.Timer1Timer(); }
    // Key L: each cake's slice count and colour sign printed on it, or not.
    void ToggleCakeLabels();

    // Where the lifted cake stands on the screen: at the pointer, or over the cursor's cell.
    QPoint CarriedCakeAt() const;

    // Key H: the first drop of a solution from here, paid like a jump. The solver runs on
    // a thread of its own; the answer comes back to the window's thread.
    void HintKeyPress();
    bool HintSearching() const;
    // The hint's marks stand on the screen now (they blink three times).
    bool HintRingsShown() const;

    static constexpr int kInitialClientWidth = 702;
    static constexpr int kInitialClientHeight = 462;
    static constexpr int kMinOuterWidth = 750;
    static constexpr int kMinOuterHeight = 480;

protected:
    void keyPressEvent(QKeyEvent*) override;
    void setVisible(bool visible) override;
    void moveEvent(QMoveEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormCreate();
    void CreateParts();
    void BindButtons();
    void StartServices();
    void FormShow();
    void Leave();
    void SaveSettings();
    void RecomposeToolBar();
    void MatchScreenRatio();
    void ReportError(const QString& text);
    void SavePlacement();

    settings::IniCtrl ini_;
    settings::TChiffre scoreScrambler_;
    settings::GameSettings settings_;
    Game game_;
    WindowPlacer placer_;
    QString programFolder_;
    bool firstShowPending_ = false;
    bool closing_ = false;
    bool unasked_ = false;             // closing by CloseUnasked
    bool storeFailedAtClose_ = false;  // the settings could not be written at close

    // The pictures are made for the screen's device pixel ratio; moving to a screen of
    // another density makes them anew.
    qreal ratio_ = 1;
    paint::ToolBarImages toolImages_;  // the background sheet among them, also for the board

    QTimer timer_;

    std::unique_ptr<HintSearch> hints_;
    ToolBar* toolBox_ = nullptr;
    BoardView* box_ = nullptr;

    std::unique_ptr<audio::AudioService> audio_;
    MusicKeeper* music_ = nullptr;
    help::HelpRuntime* help_ = nullptr;
    std::unique_ptr<help::THookHelpSystem> helpHook_;
    GameRecords* records_ = nullptr;
    std::unique_ptr<BoardAccess> access_;  // the board and tool bar for screen readers

    DialogSource* dialogs_ = nullptr;
};

} // namespace torvella::ui
