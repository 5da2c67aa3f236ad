#include "ui/ToolBar.h"

#include "assets/Pictures.h"
#include "paint/BoardPainter.h"
#include "ui/DlgResources.h"
#include "ui/ImageButton.h"

#include <QKeySequence>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QShortcut>

namespace torvella::ui {

namespace {

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

ToolBar::ToolBar(const Game& game, const settings::GameSettings& settings, const paint::ToolBarImages& images,
                 QWidget* window)
    : QWidget(window), game_(game), settings_(settings), images_(images)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    for (int i = 0; i < kButtons; ++i) {
        auto* b = new ImageButton(this);
        const FaceSet& f = kGameFaces[i];
        b->move(f.left, 4);
        const auto face = [](int index) { return assets::Picture(assets::PictureList::Bmps, index, FaceRatio()); };
        b->SetFaces(face(f.normal), face(f.hover), face(f.disabled));
        gameButtons_[i] = b;
    }
    optionBtn_ = new ImageButton(this);
    infoBtn_ = new ImageButton(this);
    rulesBtn_ = new ImageButton(this);
    exitBtn_ = new ImageButton(this);
    BindShortcuts(window);

    scoreLabel_ = new QLabel(this);
    scoreLabel_->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = scoreLabel_->palette();
    pal.setColor(QPalette::WindowText, QColor(254, 201, 18));
    scoreLabel_->setPalette(pal);
    scoreLabel_->move(287, 8);
    // The right-hand buttons lie above the score's caption.
    for (ImageButton* b : {optionBtn_, infoBtn_, rulesBtn_, exitBtn_})
        b->raise();
}

void ToolBar::BindShortcuts(QWidget* window)
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
        auto* shortcut = new QShortcut(k.key, window);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, k.button, &QAbstractButton::click);
    }
}

void ToolBar::BindPictures(const DlgResources& resources)
{
    optionBtn_->SetFaces(resources.Btn(7), resources.Btn(8), resources.Btn(7));
    infoBtn_->SetFaces(resources.Btn(3), resources.Btn(4), resources.Btn(3));
    rulesBtn_->SetFaces(resources.Btn(5), resources.Btn(6), resources.Btn(5));
    exitBtn_->SetFaces(resources.Btn(1), resources.Btn(2), resources.Btn(1));
}

void ToolBar::SetLanguageTexts()
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
}

void ToolBar::PlaceRightButtons()
{
    const int w = width();
    exitBtn_->move(w - 52, 4);
    rulesBtn_->move(w - 104, 4);
    infoBtn_->move(w - 156, 4);
    optionBtn_->move(w - 208, 4);
}

void ToolBar::Recompose(qreal ratio)
{
    const QSize device = paint::DeviceSize(size(), ratio);
    if (bitmap_.size() != device)
        bitmap_ = QImage(device, QImage::Format_RGB32);
    bitmap_.setDevicePixelRatio(ratio);
    QPainter p(&bitmap_);
    paint::ToolBoxPaint(p, bitmap_.width(), images_, settings_.BackMode, game_.Position().Score,
                        game_.Position().JumpsLeft);
}

void ToolBar::ScoreChanged(int32_t score)
{
    QPainter p(&bitmap_);
    paint::DrawScore(p, images_, settings_.BackMode, score);
    update(paint::kScoreField);
}

void ToolBar::JumpsChanged(int32_t jumpsLeft)
{
    QPainter p(&bitmap_);
    paint::DrawJumps(p, images_, settings_.BackMode, jumpsLeft);
    update(paint::JumpField(images_.jumpIcon));
}

void ToolBar::paintEvent(QPaintEvent* e)
{
    emit Painting();
    QPainter p(this);
    for (const QRect& r : e->region()) {
        if (bitmap_.isNull())
            p.fillRect(r, Qt::black);
        else
            paint::DrawDevicePixels(p, bitmap_, r);
    }
}

} // namespace torvella::ui
