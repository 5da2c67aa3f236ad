#pragma once
// The first-start question for the language. It speaks both languages at once, so it
// needs none itself; closing it without a choice leaves the language unchosen.
#include "ui/ModalDlg.h"

class QLabel;

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;

class TongueDlg : public ModalDlg {
    Q_OBJECT
public:
    TongueDlg(settings::GameSettings& settings, QWidget* mainWindow);

    void BindPictures(const DlgResources& res);

public slots:
    void GermanBtnClick();
    void EnglishBtnClick();

protected:
    // D (deutsch) chooses German, E English, besides the focus keys.
    void keyPressEvent(QKeyEvent* e) override;

private:
    QWidget* FirstFocus() const override;

    settings::GameSettings& settings_;

    FramedPanel* backPanel_;
    FramedPanel* innerPanel_;
    QLabel* picture_;
    ImageButton* germanBtn_;
    ImageButton* englishBtn_;
    QLabel* tongueLabel_;
    QLabel* englishLabel_;
};

} // namespace torvella::ui
