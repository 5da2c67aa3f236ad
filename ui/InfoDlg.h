#pragma once
// What the program is, its version, its licence and where to report problems.
#include <QDialog>

class QLabel;

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
class RaisedVerticalLabel;
struct GameSettings;

class InfoDlg : public QDialog {
    Q_OBJECT
public:
    InfoDlg(const GameSettings& settings, QWidget* mainWindow);

    void BindPictures(const DlgResources& res);

public slots:
    void CloseBtnClick();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormActivate();

    const GameSettings& settings_;
    QWidget* mainWindow_;

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
