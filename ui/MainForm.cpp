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
#include "ui/ToolBar.h"
#include "ui/Windows.h"
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
#include <QScreen>
#include <QToolTip>

#include <cstdio>
#include <utility>

namespace torvella::ui {

namespace {

constexpr int kSoundCount = 7; // the clips of the wave list, sound numbers 1 to 7

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
    CreateParts();
    StartServices();

    // 8. - 15.
    game_.Seed(Random::SeedFromClock());
    ColourTable();
    ratio_ = devicePixelRatio();
    toolImages_ = paint::LoadToolBarImages(ratio_);
    game_.SetBoardSize(box_->width(), box_->height());
    game_.Deal();
    box_->Render();
    SetLanguageTexts();
    game_.RestartPulse();
    records_ = new GameRecords(*this);

    RecomposeToolBar();
    connect(&timer_, &QTimer::timeout, this, [this] {
        Timer1Timer();
        audio_->Idle();
    });
    timer_.start(100);
    // The loop can be ended from outside (the session manager's "die" at logout): the
    // game then closes as if by a quit signal. The application first asks every window
    // to close, so the quit request is seen before that, or the close question would
    // block the logout.
    qApp->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { CloseUnasked(); });
}

// The window's parts and how they reach each other; nothing is loaded yet.
void MainForm::CreateParts()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(kInitialClientWidth, kInitialClientHeight);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    setFont(font);
    QFont hintFont(QStringLiteral("Liberation Sans"));
    hintFont.setPixelSize(13);
    QToolTip::setFont(hintFont);

    toolBox_ = new ToolBar(game_, settings_, toolImages_, this);
    connect(toolBox_, &ToolBar::Painting, this, &MainForm::MatchScreenRatio);
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
    connect(hints_.get(), &HintSearch::MarksChanged, box_, &BoardView::HintMarksChanged);
    connect(hints_.get(), &HintSearch::NoAnswerInTime, this, [this] {
        // Neither a drop nor a proof within the search's limit: say so, charge nothing.
        const auto text = [this] {
            return settings_.Text("Auf die Schnelle finde ich hier keinen Tipp.", "I can't find a hint here in good time.");
        };
        access_->Told(text);
        if (dialogs_)
            dialogs_->YesNo().ShowText(MessageKind::Text, text());
    });
    BindButtons();
    access_ = std::make_unique<BoardAccess>(box_, toolBox_, game_, box_->Cursor(), settings_);
    connect(box_, &BoardView::CursorMoved, this, [this] { access_->CursorMoved(); });
}

void MainForm::BindButtons()
{
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
    bind(OptionBtn(), &MainForm::OptionBtnClick);
    bind(InfoBtn(), &MainForm::InfoBtnClick);
    bind(RulesBtn(), &MainForm::RulesBtnClick);
    bind(ExitBtn(), &MainForm::ExitBtnClick);
}

// Steps 1 to 7 of the start-up: folder, scrambler, title, help, settings, sound.
void MainForm::StartServices()
{
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
    //    The sound library itself, and the clips, are loaded when something first has
    //    to sound.
    audio_ = audio::CreateAudio(programFolder_, [] {
        QList<QByteArray> clips;
        for (int n = 1; n <= kSoundCount; ++n)
            clips << assets::Wave(n);
        return clips;
    });
    music_ = new MusicKeeper(*audio_, settings_, this);
    music_->SetTeller([this](const QString& text) {
        if (dialogs_)
            dialogs_->YesNo().ShowText(MessageKind::Text, text);
    });
    music_->StartUp(programFolder_);
    connect(box_, &BoardView::FirstFramePainted, music_, &MusicKeeper::FirstFrameShown);
}

bool MainForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == qApp && e->type() == QEvent::Quit)
        CloseUnasked();
    return QWidget::eventFilter(watched, e);
}

void MainForm::AttachDialogs(DialogSource& dialogs, const DlgResources& resources)
{
    dialogs_ = &dialogs;
    // The right-hand buttons take their faces from the shared image module.
    toolBox_->BindPictures(resources);
    records_->AttachDialogs(resources, nullptr);
}

// ---------------------------------------------------------------- texts

void MainForm::SetLanguageTexts()
{
    toolBox_->SetLanguageTexts();
    access_->LanguageChanged();
}

// ---------------------------------------------------------------- pictures

void MainForm::RecomposeToolBar()
{
    toolBox_->Recompose(ratio_);
}

void MainForm::MatchScreenRatio()
{
    const qreal now = box_->devicePixelRatio();
    if (now == ratio_ || closing_)
        return;
    ratio_ = now;
    toolImages_ = paint::LoadToolBarImages(ratio_);
    box_->Render();
    RecomposeToolBar();
    toolBox_->update();
    box_->update();
}

void MainForm::BackgroundChanged()
{
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
    game_.SetBoardSize(box_->width(), box_->height());
    toolBox_->PlaceRightButtons();
    box_->Render();
    RepaintWindow();
    box_->UpdateRing();
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

// ---------------------------------------------------------------- buttons that open something

void MainForm::OptionBtnClick()
{
    if (dialogs_)
        dialogs_->Options().ShowModal();
}

void MainForm::InfoBtnClick()
{
    if (dialogs_)
        dialogs_->Info().exec();
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
    // The explode animation runs on its own timer once the board's first frame is on the
    // screen: drawing the board is the largest piece of that frame, and the animation's
    // steps should have the processor to themselves. The language is asked for when it
    // has ended, so no outline crosses the question.
    connect(
        box_, &BoardView::FirstFramePainted, this,
        [this] { QTimer::singleShot(0, this, [this] { StartExplode(this, [this] { FormShow(); }); }); },
        Qt::SingleShotConnection);
}

void MainForm::FormShow()
{
    // The icon's pictures are decoded once the opening animation has ended: neither the
    // first frame nor the animation waits for what the window manager shows in its task
    // bar.
    setWindowIcon(assets::WindowIcon());
    settings_.ReloadTongue(ini_);
    if (settings_.Tongue == -1 && dialogs_) {
        dialogs_->Tongue().exec();
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
