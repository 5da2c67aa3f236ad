#pragma once
// The options: language, sound effects, music and background. Every button acts at once
// on the settings in memory and on the main window; the only other button closes it.
#include "ui/ModalDlg.h"

class QLabel;

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
class OptionHost;
class RaisedVerticalLabel;
struct GameSettings;

class OptionDlg : public ModalDlg {
    Q_OBJECT
public:
    OptionDlg(GameSettings& settings, OptionHost& host, QWidget* mainWindow);

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

private:
    GameSettings& settings_;
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
};

} // namespace torvella::ui
