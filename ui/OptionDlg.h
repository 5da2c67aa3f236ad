#pragma once
// The options: language, sound effects, music and background. Every button acts at once
// on the settings in memory (through the settings' own changes) and on the main window;
// the only other button closes it.
#include "ui/ModalDlg.h"

class QCheckBox;
class QLabel;

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
class RaisedVerticalLabel;

// What the options dialog asks of the main window.
class OptionHost {
public:
    virtual ~OptionHost() = default;
    virtual void SetLanguageTexts() = 0;
    // BackMode changed: draw the board anew and repaint the whole window.
    virtual void BackgroundChanged() = 0;
    // Music off, or on with the next music file.
    virtual void ToggleMusic() = 0;
    // Name of the current music file, without folder, with extension.
    virtual QString MusicFileName() const = 0;
    // The cakes' labels were switched on or off: the board is drawn anew.
    virtual void CakeLabelsChanged() { BackgroundChanged(); }
};

class OptionDlg : public ModalDlg {
    Q_OBJECT
public:
    OptionDlg(settings::GameSettings& settings, OptionHost& host, QWidget* mainWindow);

    void BindPictures(const DlgResources& res);

    // RefreshTexts, then modal until closed.
    void ShowModal();
    // Captions, hints and the music button's state from the current settings.
    void RefreshTexts();

public slots:
    void exitClick();
    void TongueBtnClick();
    void SoundBtnClick();
    void MusicBtnClick();
    void BackBtnClick();
    void LabelsBoxClick();

protected:
    // Enter presses the focused check box, as Space does.
    void keyPressEvent(QKeyEvent* e) override;

private:
    QWidget* FirstFocus() const override;

    settings::GameSettings& settings_;
    OptionHost& host_;

    FramedPanel* backPanel_;
    FramedPanel* optPanel_;
    QLabel* picture_;
    RaisedVerticalLabel* progLabel_;
    RaisedVerticalLabel* versionLabel_;
    ImageButton* okBtn_;
    QLabel* optLabel_;
    ImageButton* tongueBtn_;
    ImageButton* soundBtn_;
    ImageButton* musicBtn_;
    ImageButton* backBtn_;
    QLabel* tongueLabel_;
    QLabel* soundLabel_;
    QLabel* musicLabel_;
    QLabel* backLabel_;
    QCheckBox* labelsBox_;
};

} // namespace torvella::ui
