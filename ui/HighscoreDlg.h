#pragma once
// The list of the fifteen best scores: looked at from the tool bar (view only), or
// offered a final score at the end of a game, which it inserts under the name typed
// last time. Every confirmation stores the whole list, each entry scrambled.
#include "ui/ModalDlg.h"

#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace torvella::settings {
class IniCtrl;
class TChiffre;
} // namespace torvella::settings

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
struct GameSettings;

class HighscoreDlg : public ModalDlg {
    Q_OBJECT
public:
    static constexpr int kEntries = 15;
    static constexpr int kMaxNameLength = 25;

    // Reads the name entered last ("player") at once.
    HighscoreDlg(settings::IniCtrl& ini, const settings::TChiffre& scrambler, GameSettings& settings,
                 QWidget* mainWindow);

    void BindPictures(const DlgResources& res);

    // Loads the list and shows it. In entry mode a score that earns no place shows
    // nothing and returns at once.
    void ShowModal(int32_t score, bool viewOnly);

    // 0: higher scores rank first (the game's setting); 1: lower scores rank first.
    void SetDirection(int direction) { direction_ = direction; }
    void SetINIString(const QString& prefix) { iniString_ = prefix; }

    int Direction() const { return direction_; }
    const QString& IniString() const { return iniString_; }
    const QString& LastName() const { return lastName_; }
    int InsertPos() const { return insertPos_; }
    bool ViewOnly() const { return viewOnly_; }
    const QString& EntryName(int i) const { return entryNames_.at(i); }
    int32_t EntryScore(int i) const { return entryScores_.at(i); }

    static QString PlaceholderName() { return QStringLiteral("Mr. Brain"); }

public slots:
    void OkBtnClick();
    void CancelBtnClick();
    // Escape or the window manager: close as Cancel does, storing nothing.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    // Return and Enter confirm as the OK button does, also from the name field.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormActivate() override;
    void LoadEntries();
    void ShowEntry(int i);
    int FindInsertPos(int32_t score) const;

    settings::IniCtrl& ini_;
    const settings::TChiffre& scrambler_;
    GameSettings& settings_;

    int direction_ = 0;
    QString iniString_;
    QString lastName_;
    int insertPos_ = -1;
    bool viewOnly_ = true;
    std::array<QString, kEntries> entryNames_;
    std::array<int32_t, kEntries> entryScores_{};

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
    std::array<QLabel*, kEntries> num_{}, pla_{}, sco_{};
};

} // namespace torvella::ui
