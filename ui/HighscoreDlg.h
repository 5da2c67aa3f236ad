#pragma once
// The dialog of the high-score list: looked at from the tool bar (view only), or offered
// a final score at the end of a game, which the list takes in under the name typed last
// time. It shows the list (settings/HighScore.h) and takes the name; every confirmation
// stores the whole list with the name.
#include "settings/HighScore.h"
#include "ui/ModalDlg.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace torvella::settings {
class GameSettings;
class IniCtrl;
class TChiffre;
} // namespace torvella::settings

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
class StatisticsLink;

class HighscoreDlg : public ModalDlg {
    Q_OBJECT
public:
    static constexpr int kEntries = settings::HighScoreList::kEntries;
    static constexpr int kMaxNameLength = 25;

    // The name entered last is the settings' player.
    HighscoreDlg(settings::IniCtrl& ini, const settings::TChiffre& scrambler, settings::GameSettings& settings,
                 QWidget* mainWindow);

    void BindPictures(const DlgResources& res);
    // "Statistics ..." in the free corner: a link that a click follows, and Space or Enter
    // once Tab or the arrows have brought the keyboard to it; Ctrl+T follows it as well.
    void AddStatisticsLink(std::function<void()> open);

    // Loads the list and shows it. In entry mode a score that earns no place shows
    // nothing and returns at once.
    void ShowModal(int32_t score, bool viewOnly);

    // 0: higher scores rank first (the game's setting); 1: lower scores rank first.
    void SetDirection(int direction) { list_.SetDirection(direction); }
    void SetINIString(const QString& prefix) { list_.SetPrefix(prefix); }

    const QString& LastName() const;
    int InsertPos() const { return insertPos_; }
    const settings::HighScoreList& List() const { return list_; }

public slots:
    void OkBtnClick();
    void CancelBtnClick();
    // Escape or the window manager: close as Cancel does, storing nothing.
    void reject() override;

protected:
    // Return and Enter confirm as the OK button does, also from the name field.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void CreateRows();
    void FormActivate() override;
    // The name being entered, otherwise OK.
    QWidget* FirstFocus() const override;
    void ShowEntries();

    settings::IniCtrl& ini_;
    const settings::TChiffre& scrambler_;
    settings::GameSettings& settings_;

    settings::HighScoreList list_;  // as shown
    int insertPos_ = -1;
    bool viewOnly_ = true;

    FramedPanel* backPanel_;
    FramedPanel* titlePanel_;
    FramedPanel* editBack_;
    FramedPanel* p6_;
    QLabel* title_;
    QCheckBox* clearBox_;
    QLabel* delcheck_;
    QLineEdit* edit1_;
    ImageButton* cancelBtn_;
    ImageButton* okBtn_;
    StatisticsLink* statisticsLink_ = nullptr;
    std::array<QLabel*, kEntries> num_{}, pla_{}, sco_{};
};

} // namespace torvella::ui
