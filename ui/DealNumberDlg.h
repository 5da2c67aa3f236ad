#pragma once
// A small dialog that asks for a deal number: typed, or pasted (a number on the clipboard
// is offered at once). OK answers the number; a text that is no number keeps the dialog
// open and says so.
#include "ui/ModalDlg.h"

#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;

class DealNumberDlg : public ModalDlg {
    Q_OBJECT
public:
    DealNumberDlg(const settings::GameSettings& settings, QWidget* mainWindow);
    void BindPictures(const DlgResources& res);

    // The number to deal, or none when the player cancelled. `current` is the number of the
    // tableau on the table, shown when the clipboard holds no number.
    std::optional<uint32_t> Ask(uint32_t current);

    QLineEdit* Field() const { return field_; }

public slots:
    void OkBtnClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormActivate() override;
    QWidget* FirstFocus() const override;

    const settings::GameSettings& settings_;
    std::optional<uint32_t> answer_;
    FramedPanel* backPanel_;
    FramedPanel* pan_;
    QLabel* prompt_;
    QLineEdit* field_;
    ImageButton* cancelBtn_;
    ImageButton* okBtn_;
};

} // namespace torvella::ui
