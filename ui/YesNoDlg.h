#pragma once
// The one message and confirmation dialog: the caller names a message by its kind, the
// dialog picks the text in the current language, shows one button (Yes) or two (No, Yes)
// and answers Yes (6) or No (7).
#include "core/GameView.h"
#include "ui/ModalDlg.h"

#include <QString>

class QLabel;

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;

class YesNoDlg : public ModalDlg {
    Q_OBJECT
public:
    YesNoDlg(const settings::GameSettings& settings, QWidget* mainWindow);

    // Faces and panel pictures; the picture module is created after this dialog.
    void BindPictures(const DlgResources& res);

    // Kinds 1 and 12 show one button, 3 and 4 two; any other kind keeps the last count.
    Answer ShowKind(torvella::MessageKind kind);
    // Kind Text (10) shows one button; the text is kept for later such messages too.
    Answer ShowText(torvella::MessageKind kind, const QString& text);

    int MessageKind() const { return messageKind_; }
    int ButtonCount() const { return buttonCount_; }
    const QString& CustomText() const { return customText_; }

public slots:
    void ByesClick();
    void BnoClick();
    // Escape and a close by the window manager both answer No.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormActivate() override;
    // Yes, so Enter answers Yes until the player moves the focus.
    QWidget* FirstFocus() const override;
    QString BuiltInText(torvella::MessageKind kind) const;

    const settings::GameSettings& settings_;
    int messageKind_ = 0;  // the kind's number
    int buttonCount_ = 0;
    QString customText_;

    FramedPanel* backPanel_;
    FramedPanel* pan_;
    QLabel* txt_;
    ImageButton* noBtn_;
    ImageButton* yesBtn_;
};

} // namespace torvella::ui
