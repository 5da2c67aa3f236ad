#include "ui/MainForm.h"

#include "assets/Pictures.h"
#include "assets/Sounds.h"
#include "audio/AudioLoader.h"
#include "generated/Version.h"
#include "help/HelpDispatch.h"
#include "help/hh_funcs.h"
#include "ui/Application.h"
#include "ui/BoardAccessible.h"
#include "ui/BoardView.h"
#include "paint/BoardPainter.h"
#include "ui/DlgResources.h"
#include "ui/ExplodeEffect.h"
#include "ui/HighscoreDlg.h"
#include "ui/HintSearch.h"
#include "ui/ImageButton.h"
#include "ui/InfoDlg.h"
#include "ui/MusicKeeper.h"
#include "ui/OptionDlg.h"
#include "ui/GameRecords.h"
#include "ui/StoreProblems.h"
#include "ui/TongueDlg.h"
#include "ui/YesNoDlg.h"
#include "settings/Keys.h"
#include "settings/WindowState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>

#include <chrono>
#include <cstdio>
#include <utility>
#include <optional>
#include <thread>

namespace torvella::ui {

namespace {

constexpr int kSoundCount = 7; // the clips of the wave list, sound numbers 1 to 7

// The tool bar's paint area: an opaque surface that hands its paint events to the window.
class ToolArea : public QWidget {
public:
    explicit ToolArea(MainForm* form) : QWidget(form), form_(form)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        form_->ToolBoxPaint(p, e->region());
    }

private:
    MainForm* form_;
};

struct HintTexts {
    const char* german;
    const char* english;
};

// Hints of the five game buttons (in Button order) and of the four right-hand buttons.
constexpr HintTexts kGameHints[kButtons] = {
    {"Ich möchte eine neue Auslage.", "I want an new \"tableau\"."},
    {"Ich möchte mit der gleichen Auslage neu beginnen.", "I want to start with the same \"tableau\"."},
    {"Hoppala, das wollte ich aber nicht.", "Oops, I didn't want that."},
    {"Ich brauch eine kurze Pause.", "I need a break."},
    {"Wer sind die Besten?", "Who are the best?"},
};
constexpr HintTexts kOptionHint = {"Ich möchte die Einstellungen ändern.", " I want to change the options."};
constexpr HintTexts kInfoHint = {"Wer hat diese Spiele nur verbrochen?", "Who did these VIMBLE GAME?"};
constexpr HintTexts kRulesHint = {"Worum geht's da eigentlich?", "What's to do here?"};
constexpr HintTexts kExitHint = {"Ich hab genug!", "I have enough!"};
constexpr HintTexts kScoreCaption = {"Punkte:", "Score:"};

struct FaceSet {
    int left, normal, hover, disabled;
};
// Faces from the main window's list: the high-score button takes the grey trophy when
// hovered and the second trophy when disabled (it never is).
constexpr FaceSet kGameFaces[kButtons] = {
    {4, 4, 5, 6}, {56, 1, 2, 3}, {108, 16, 17, 18}, {160, 11, 12, 13}, {212, 7, 9, 8},
};

} // namespace

MainForm::MainForm(help::HelpRuntime* help, QWidget* parent) : QWidget(parent), game_(*this), placer_(*this, ini_)
{
    help_ = help;
    FormCreate();
}

MainForm::~MainForm()
{
    hints_.reset();  // a search still running is cancelled first
    // FormDestroy: the help hook goes, and the placement is kept for the next start.
    help::DestroyMainHelpHook(helpHook_);
    SavePlacement();
}

void MainForm::FormCreate()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(kInitialClientWidth, kInitialClientHeight);
    setWindowIcon(assets::WindowIcon());
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    setFont(font);
    QFont hintFont(QStringLiteral("Liberation Sans"));
    hintFont.setPixelSize(13);
    QToolTip::setFont(hintFont);

    toolBox_ = new ToolArea(this);
    hints_ = std::make_unique<HintSearch>(game_);
    box_ = new BoardView(game_, settings_, *hints_, toolImages_.sheet, this);
    connect(box_, &BoardView::Painting, this, &MainForm::MatchScreenRatio);
    // A move's sound comes at the release: the sound library loads meanwhile, in the
    // background, so neither the lifted cake nor the first sound waits for it.
    connect(box_, &BoardView::MoveStarting, this, [this] {
        if (settings_.SoundOn)
            audio_->Prefetch();
    });
    toolBox_->setGeometry(0, 0, kInitialClientWidth, paint::kToolBarHeight);
    box_->setGeometry(0, paint::kToolBarHeight, kInitialClientWidth, kInitialClientHeight - paint::kToolBarHeight);

    for (int i = 0; i < kButtons; ++i) {
        auto* b = new ImageButton(toolBox_);
        const FaceSet& f = kGameFaces[i];
        b->move(f.left, 4);
        const auto face = [](int index) { return assets::Picture(assets::PictureList::Bmps, index, FaceRatio()); };
        b->SetFaces(face(f.normal), face(f.hover), face(f.disabled));
        gameButtons_[i] = b;
    }
    optionBtn_ = new ImageButton(toolBox_);
    infoBtn_ = new ImageButton(toolBox_);
    rulesBtn_ = new ImageButton(toolBox_);
    exitBtn_ = new ImageButton(toolBox_);
    // A tool-bar action never finds a cake in the air: one the keys lifted (or the mouse
    // holds while a shortcut comes) goes back to its cell first. Undo or a deal under a
    // lifted cake would otherwise put it down twice.
    const auto bind = [this](ImageButton* button, void (MainForm::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] {
            PutBackLiftedCake();
            (this->*handler)();
        });
    };
    bind(Btn(Button::Start), &MainForm::StartBtnClick);
    bind(Btn(Button::Again), &MainForm::AgainBtnClick);
    bind(Btn(Button::OOps), &MainForm::OOpsBtnClick);
    bind(Btn(Button::Pause), &MainForm::PauseBtnClick);
    bind(Btn(Button::HighScore), &MainForm::HighScoreBtnClick);
    bind(optionBtn_, &MainForm::OptionBtnClick);
    bind(infoBtn_, &MainForm::InfoBtnClick);
    bind(rulesBtn_, &MainForm::RulesBtnClick);
    bind(exitBtn_, &MainForm::ExitBtnClick);
    BindShortcuts();

    scoreLabel_ = new QLabel(toolBox_);
    scoreLabel_->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = scoreLabel_->palette();
    pal.setColor(QPalette::WindowText, QColor(254, 201, 18));
    scoreLabel_->setPalette(pal);
    scoreLabel_->move(287, 8);

    access_ = std::make_unique<BoardAccess>(box_, toolBox_, game_, box_->Cursor(), settings_);
    connect(box_, &BoardView::CursorMoved, this, [this] { access_->CursorMoved(); });

    // 1. The program folder, where help and music are looked for.
    programFolder_ = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    // 2. The score scrambler with the default alphabet and key.
    scoreScrambler_.Init(QString(), 0);
    // 3.
    firstShowPending_ = true;
    // 4.
    setWindowTitle(QStringLiteral("Torvella ") + QLatin1String(kVersionTag));
    // 5. From here on help requests go through the hook.
    if (help_)
        helpHook_ = help::CreateMainHelpHook(*help_, programFolder_);
    // 6. The settings. A value the store cannot read leaves its default; the player is
    //    told once, when the window is up, of everything in the file that cannot be read.
    ini_.SetProblemHandler([this](const QString& path, const QList<settings::IniProblem>& problems) {
        QTimer::singleShot(0, this, [this, path, problems] { ReportError(StoreProblemsText(settings_, path, problems)); });
    });
    settings_.Load(ini_);

    // 7. Sound effects and the first music file; nothing plays yet.
    //    The sound library itself is loaded when something first has to sound.
    QList<QByteArray> clips;
    for (int n = 1; n <= kSoundCount; ++n)
        clips << assets::Wave(n);
    audio_ = audio::CreateAudio(programFolder_, clips);
    music_ = new MusicKeeper(*audio_, settings_, this);
    music_->SetTeller([this](const QString& text) {
        if (yesNoDlg_)
            yesNoDlg_->ShowText(MessageKind::Text, text);
    });
    music_->StartUp(programFolder_);
    connect(box_, &BoardView::FirstFramePainted, music_, &MusicKeeper::FirstFrameShown);

    // 8. - 15.
    game_.Seed(Random::SeedFromClock());
    ColourTable();
    ratio_ = devicePixelRatio();
    toolImages_ = paint::LoadToolBarImages(ratio_);
    box_->BuildBack();
    game_.SetBoardSize(box_->width(), box_->height());
    game_.Deal();
    box_->Render();
    SetLanguageTexts();
    game_.RestartPulse();
    records_ = new GameRecords(*this);

    for (ImageButton* b : {optionBtn_, infoBtn_, rulesBtn_, exitBtn_})
        b->raise();
    RecomposeToolBar();
    connect(&timer_, &QTimer::timeout, this, [this] {
        Timer1Timer();
        audio_->Idle();
    });
    timer_.start(100);
    connect(hints_.get(), &HintSearch::MarksChanged, box_, &BoardView::HintMarksChanged);
    connect(hints_.get(), &HintSearch::NoAnswerInTime, this, [this] {
        // Neither a drop nor a proof within the search's limit: say so, charge nothing.
        if (yesNoDlg_)
            yesNoDlg_->ShowText(MessageKind::Text, settings_.Text("Auf die Schnelle finde ich hier keinen Tipp.",
                                                                  "I can't find a hint here in good time."));
    });
    // The loop can be ended from outside (the session manager's "die" at logout): the
    // game then closes as if by a quit signal. The application first asks every window
    // to close, so the quit request is seen before that, or the close question would
    // block the logout.
    qApp->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { CloseUnasked(); });
}

bool MainForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == qApp && e->type() == QEvent::Quit)
        CloseUnasked();
    return QWidget::eventFilter(watched, e);
}

void MainForm::BindShortcuts()
{
    // Each key clicks its button, so it acts exactly as the button does, and does nothing
    // while the button is disabled (a disabled button ignores click()).
    const struct {
        QKeySequence key;
        ImageButton* button;
    } keys[] = {
        {QKeySequence(Qt::Key_F2), Btn(Button::Start)},
        {QKeySequence(Qt::CTRL | Qt::Key_N), Btn(Button::Start)},
        {QKeySequence(Qt::CTRL | Qt::Key_R), Btn(Button::Again)},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), Btn(Button::OOps)},
        {QKeySequence(Qt::Key_P), Btn(Button::Pause)},
        {QKeySequence(Qt::Key_Pause), Btn(Button::Pause)},
        {QKeySequence(Qt::CTRL | Qt::Key_H), Btn(Button::HighScore)},
        {QKeySequence(Qt::CTRL | Qt::Key_O), optionBtn_},
        {QKeySequence(Qt::Key_F1), rulesBtn_},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), exitBtn_},
    };
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(k.key, this);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, k.button, &QAbstractButton::click);
    }
}

void MainForm::AttachDialogs(YesNoDlg* yesNo, TongueDlg* tongue, InfoDlg* info, DlgResources* resources,
                             OptionDlg* options, HighscoreDlg* highscore)
{
    yesNoDlg_ = yesNo;
    tongueDlg_ = tongue;
    infoDlg_ = info;
    dlgResources_ = resources;
    optionDlg_ = options;
    highscoreDlg_ = highscore;
    // The right-hand buttons take their faces from the shared image module.
    optionBtn_->SetFaces(resources->Btn(7), resources->Btn(8), resources->Btn(7));
    infoBtn_->SetFaces(resources->Btn(3), resources->Btn(4), resources->Btn(3));
    rulesBtn_->SetFaces(resources->Btn(5), resources->Btn(6), resources->Btn(5));
    exitBtn_->SetFaces(resources->Btn(1), resources->Btn(2), resources->Btn(1));
    records_->AttachDialogs(*resources, highscore);
}

// ---------------------------------------------------------------- texts

void MainForm::SetLanguageTexts()
{
    const auto text = [this](const HintTexts& t) { return settings_.Text(t.german, t.english); };
    for (int i = 0; i < kButtons; ++i)
        gameButtons_[i]->setToolTip(text(kGameHints[i]));
    optionBtn_->setToolTip(text(kOptionHint));
    infoBtn_->setToolTip(text(kInfoHint));
    rulesBtn_->setToolTip(text(kRulesHint));
    exitBtn_->setToolTip(text(kExitHint));
    scoreLabel_->setText(text(kScoreCaption));
    scoreLabel_->adjustSize();
    access_->Renewed();
}

// ---------------------------------------------------------------- pictures

void MainForm::RecomposeToolBar()
{
    const QSize device = paint::DeviceSize(toolBox_->size(), ratio_);
    if (toolBitmap_.size() != device)
        toolBitmap_ = QImage(device, QImage::Format_RGB32);
    toolBitmap_.setDevicePixelRatio(ratio_);
    QPainter p(&toolBitmap_);
    paint::ToolBoxPaint(p, toolBitmap_.width(), toolImages_, settings_.BackMode, game_.Position().Score,
                    game_.Position().JumpsLeft);
}

void MainForm::MatchScreenRatio()
{
    const qreal now = box_->devicePixelRatio();
    if (now == ratio_ || closing_)
        return;
    ratio_ = now;
    toolImages_ = paint::LoadToolBarImages(ratio_);
    box_->BuildBack();
    box_->Render();
    RecomposeToolBar();
    toolBox_->update();
    box_->update();
}

void MainForm::BackgroundChanged()
{
    box_->BuildBack();
    box_->Render();
    RepaintWindow();
}

void MainForm::CakeLabelsChanged()
{
    box_->Render();
    RepaintWindow();
}

void MainForm::ToggleCakeLabels()
{
    settings_.ToggleCakeLabels();
    CakeLabelsChanged();
}

void MainForm::moveEvent(QMoveEvent*)
{
    placer_.Moved();
}

void MainForm::resizeEvent(QResizeEvent*)
{
    placer_.Moved();
    const int w = width();
    toolBox_->setGeometry(0, 0, w, paint::kToolBarHeight);
    box_->setGeometry(0, paint::kToolBarHeight, w, std::max(0, height() - paint::kToolBarHeight));
    if (closing_)
        return;
    box_->BuildBack();
    game_.SetBoardSize(box_->width(), box_->height());
    exitBtn_->move(w - 52, 4);
    rulesBtn_->move(w - 104, 4);
    infoBtn_->move(w - 156, 4);
    optionBtn_->move(w - 208, 4);
    box_->Render();
    RepaintWindow();
    box_->UpdateRing();
}

void MainForm::ToolBoxPaint(QPainter& p, const QRegion& dirty)
{
    MatchScreenRatio();
    for (const QRect& r : dirty) {
        if (toolBitmap_.isNull())
            p.fillRect(r, Qt::black);
        else
            paint::DrawDevicePixels(p, toolBitmap_, r);
    }
}

// ---------------------------------------------------------------- keyboard on the board

void MainForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_H && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        HintKeyPress();
        return;
    }
    if (e->key() == Qt::Key_L && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        ToggleCakeLabels();
        return;
    }
    if (!box_->BoardKeyPress(e))
        QWidget::keyPressEvent(e);
}

bool MainForm::DealFromGenerator()
{
    PutBackLiftedCake();
    return game_.StartBtnClick();
}

void MainForm::PutBackLiftedCake()
{
    box_->PutBackLiftedCake();
}

// ---------------------------------------------------------------- the view of the game

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
    QPainter p(&toolBitmap_);
    paint::DrawScore(p, toolImages_, settings_.BackMode, score);
    toolBox_->update(paint::kScoreField);
    access_->ScoreChanged();
}

void MainForm::JumpsChanged(int32_t jumpsLeft)
{
    QPainter p(&toolBitmap_);
    paint::DrawJumps(p, toolImages_, settings_.BackMode, jumpsLeft);
    toolBox_->update(paint::JumpField(toolImages_.jumpIcon));
    access_->JumpsChanged(jumpsLeft);
}

void MainForm::ButtonEnabledChanged(Button button, bool enabled)
{
    gameButtons_[static_cast<int>(button)]->setEnabled(enabled);
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
    if (kind == MessageKind::Paused && yesNoDlg_)
        if (const QString back = records_->TakeResumeNotice(); !back.isEmpty())
            return yesNoDlg_->ShowText(MessageKind::Text, back);
    return yesNoDlg_ ? yesNoDlg_->ShowKind(kind) : Answer::Yes;
}

Answer MainForm::ShowDeadEnd()
{
    const QString text =
        settings_.Text("Das ist sich leider nicht ganz ausgegangen.", "Sorry, but that wasn't as it should be.");
    return yesNoDlg_ ? yesNoDlg_->ShowText(MessageKind::Text, text) : Answer::Yes;
}

void MainForm::ShowNoSolution()
{
    const QString text = settings_.Text("Von hier aus ist diese Auslage nicht mehr lösbar.",
                                        "This tableau can no longer be solved from here.");
    if (yesNoDlg_)
        yesNoDlg_->ShowText(MessageKind::Text, text);
}

void MainForm::ShowHint(Move move)
{
    hints_->Show(move);
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
    if (highscoreDlg_)
        highscoreDlg_->ShowModal(score, viewOnly);
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

// ---------------------------------------------------------------- buttons that open something

void MainForm::OptionBtnClick()
{
    if (optionDlg_)
        optionDlg_->ShowModal();
}

void MainForm::InfoBtnClick()
{
    if (infoDlg_)
        infoDlg_->exec();
}

void MainForm::RulesBtnClick()
{
    help::RulesBtnHelp(settings_.Tongue);
}

// ---------------------------------------------------------------- show and close

void MainForm::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!firstShowPending_)
        return;
    firstShowPending_ = false;
    // The explode animation runs on its own timer once the board has been painted; the
    // language is asked for when it has ended, so no outline crosses the question.
    QTimer::singleShot(0, this, [this] { StartExplode(this, [this] { FormShow(); }); });
}

void MainForm::FormShow()
{
    settings_.ReloadTongue(ini_);
    if (settings_.Tongue == -1 && tongueDlg_) {
        tongueDlg_->exec();
        SetLanguageTexts();
    }
    QTimer::singleShot(0, records_, [this] { records_->WindowReady(); });
    music_->PlayerMayBeAsked();
}

void MainForm::closeEvent(QCloseEvent* e)
{
    if (closing_) {
        e->accept();
        return;
    }
    if (!unasked_ && !game_.CloseQuery()) {
        e->ignore();
        return;
    }
    if (closing_) {
        // Closed unasked while the question was showing.
        e->accept();
        return;
    }
    Leave();
    e->accept();
}

void MainForm::CloseUnasked()
{
    if (closing_)
        return;
    unasked_ = true;
    music_->Silence();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
            dialog->reject();
    Leave();
    close();
    hide(); // a close already under way (its question was showing) ignores a second one
    // The loop ends even when another window (a help window, a message) is still up; the
    // windows go when it has ended.
    QCoreApplication::quit();
}

void MainForm::Leave()
{
    // The frame is still on the screen: its rectangle is the one to keep.
    placer_.KeepClosingPlacement();
    timer_.stop();
    help::HelpQuitAtClose();
    SaveSettings();
    closing_ = true;
    music_->Silence();
    box_->DropPictures();
}

void MainForm::SaveSettings()
{
    // A store that cannot be written must not keep the player from closing the game.
    try {
        settings_.Save(ini_);
    } catch (const settings::StoreError& e) {
        storeFailedAtClose_ = true;
        ReportError(settings_.Text("Die Einstellungen konnten nicht gespeichert werden:\n",
                                   "The settings could not be saved:\n") +
                    e.Message(settings_.German()));
    }
}

void MainForm::setVisible(bool visible)
{
    // Placed before it is mapped: a position given before the window exists is taken as
    // the frame's, and the window manager puts the frame there from the first map on.
    if (visible && !isVisible() && !closing_)
        placer_.Restore();
    QWidget::setVisible(visible);
}

void MainForm::SavePlacement()
{
    try {
        placer_.Save();
    } catch (const settings::StoreError& e) {
        // The player was told at close that the store cannot be written; the same
        // failure a moment later is no news.
        if (!storeFailedAtClose_)
            ReportError(settings_.Text("Die Fensterposition konnte nicht gespeichert werden:\n",
                                       "The window position could not be saved:\n") +
                        e.Message(settings_.German()));
    }
}

void MainForm::ReportError(const QString& text)
{
    if (unasked_)
        std::fprintf(stderr, "torvella: %s\n", qPrintable(text));
    else
        ui::ReportError(isVisible() ? this : nullptr, text);
}

} // namespace torvella::ui
