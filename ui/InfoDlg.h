#pragma once
// What the program is, its version, its licence and where to report problems.
#include "ui/ModalDlg.h"

class QLabel;

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
class RaisedVerticalLabel;

class InfoDlg : public ModalDlg {
    Q_OBJECT
public:
    InfoDlg(const settings::GameSettings& settings, QWidget* mainWindow);

    void BindPictures(const DlgResources& res);

public slots:
    void CloseBtnClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormActivate() override;
    QWidget* FirstFocus() const override;

    const settings::GameSettings& settings_;

    FramedPanel* backPanel_;
    FramedPanel* infoPanel_;
    QLabel* picture_;
    RaisedVerticalLabel* progLabel_;
    RaisedVerticalLabel* versionLabel_;
    ImageButton* closeBtn_;
    QLabel* headLabel_;
    QLabel* aboutLabel_;
    QLabel* licenceLabel_;
    QLabel* reportLabel_;
};

} // namespace torvella::ui
