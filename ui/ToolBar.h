#pragma once
// The main window's tool bar: the five game buttons on the left, the four for options,
// information, rules and leaving on the right, the score's caption, and beneath them the
// strip with the score and the jumps left (paint/ToolBarPainter). Each button's shortcut
// clicks it, so a key acts exactly as its button does, and not while it is disabled.
#include "core/Game.h"
#include "paint/ToolBarPainter.h"
#include "settings/GameSettings.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;

namespace torvella::ui {

class DlgResources;
class ImageButton;

class ToolBar : public QWidget {
    Q_OBJECT
public:
    // `images` are the strip's pictures for the screen's density, which the window loads
    // anew when it changes; the shortcuts act in `window`.
    ToolBar(const Game& game, const settings::GameSettings& settings, const paint::ToolBarImages& images,
            QWidget* window);

    ImageButton* Btn(Button b) const { return gameButtons_[static_cast<int>(b)]; }
    ImageButton* OptionBtn() const { return optionBtn_; }
    ImageButton* InfoBtn() const { return infoBtn_; }
    ImageButton* RulesBtn() const { return rulesBtn_; }
    ImageButton* ExitBtn() const { return exitBtn_; }
    QLabel* ScoreLabel() const { return scoreLabel_; }
    const QImage& Bitmap() const { return bitmap_; }

    // The right-hand buttons take their faces from the dialogs' shared pictures.
    void BindPictures(const DlgResources& resources);
    // Hints and the score's caption in the language of now.
    void SetLanguageTexts();
    // The right-hand buttons stand at the right edge of the width of now.
    void PlaceRightButtons();
    // The whole strip drawn anew for a device pixel ratio; the score and the jumps alone.
    void Recompose(qreal ratio);
    void ScoreChanged(int32_t score);
    void JumpsChanged(int32_t jumpsLeft);

signals:
    // Before each paint: the window makes its pictures anew if the screen's density changed.
    void Painting();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void BindShortcuts(QWidget* window);

    const Game& game_;
    const settings::GameSettings& settings_;
    const paint::ToolBarImages& images_;
    QImage bitmap_;
    std::array<ImageButton*, kButtons> gameButtons_{};
    ImageButton* optionBtn_ = nullptr;
    ImageButton* infoBtn_ = nullptr;
    ImageButton* rulesBtn_ = nullptr;
    ImageButton* exitBtn_ = nullptr;
    QLabel* scoreLabel_ = nullptr;
};

} // namespace torvella::ui
