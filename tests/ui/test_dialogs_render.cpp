// Each dialog as the player sees it, in both languages: the black frames of its panels
// where they belong and white writing inside its text fields. With TORVELLA_DIALOG_SHOTS
// set to a folder, the pictures are saved there for a look by eye.
#include "test_dialogs_support.h"

#include "common/FreshConfig.h"
#include "settings/Chiffre.h"
#include "settings/IniCtrl.h"
#include "ui/DlgResources.h"
#include "settings/GameSettings.h"
#include "ui/HighscoreDlg.h"
#include "ui/InfoDlg.h"
#include "ui/OptionDlg.h"
#include "ui/TongueDlg.h"
#include "ui/YesNoDlg.h"
#include "core/GameView.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace torvella::ui {
namespace {

using torvella::testing::WhenModal;

class NoHost : public OptionHost {
public:
    void SetLanguageTexts() override {}
    void BackgroundChanged() override {}
    void ToggleMusic() override {}
    QString MusicFileName() const override { return QStringLiteral("waltz.mid"); }
};

class DialogPictures : public ::testing::Test {
protected:
    DialogPictures() { mainWindow.setGeometry(0, 0, 702, 462); }

    void Keep(const QImage& shot, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TORVELLA_DIALOG_SHOTS");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            shot.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        }
    }
    static QImage Grab(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The black border (3 wide) of a framed panel whose top-left corner is at `at`.
    static void ExpectFrameAt(const QImage& img, QPoint at, QSize size)
    {
        for (QPoint p : {at + QPoint(1, 1), at + QPoint(size.width() - 2, size.height() - 2),
                         at + QPoint(size.width() / 2, 1), at + QPoint(1, size.height() / 2)})
            EXPECT_EQ(img.pixel(p) & 0xFFFFFF, 0u) << "frame at " << p.x() << "," << p.y();
    }
    // Some nearly white pixels (text) inside the rectangle.
    static int WhitePixels(const QImage& img, QRect r)
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qRed(img.pixel(x, y)) > 230 && qGreen(img.pixel(x, y)) > 230 && qBlue(img.pixel(x, y)) > 230)
                    ++n;
        return n;
    }

    torvella::testing::FreshConfig cfg;
    settings::GameSettings settings;
    QWidget mainWindow;
    DlgResources res;
};

TEST_F(DialogPictures, EachDialogInBothLanguages)
{
    settings::IniCtrl ini;
    settings::TChiffre chiffre;
    ini.WriteString(QStringLiteral("common"), QStringLiteral("hs0"), chiffre.Encrypt(QStringLiteral("2310,Jörg, the baker")));
    ini.WriteString(QStringLiteral("common"), QStringLiteral("hs1"), chiffre.Encrypt(QStringLiteral("1875,Ann")));
    NoHost host;
    YesNoDlg yesNo(settings, &mainWindow);
    TongueDlg tongue(settings, &mainWindow);
    InfoDlg info(settings, &mainWindow);
    OptionDlg options(settings, host, &mainWindow);
    HighscoreDlg highscore(ini, chiffre, settings, &mainWindow);
    yesNo.BindPictures(res);
    tongue.BindPictures(res);
    info.BindPictures(res);
    options.BindPictures(res);
    highscore.BindPictures(res);

    for (int lang : {1, 0}) {
        settings.Tongue = lang;
        const QString suffix = lang == 1 ? QStringLiteral("-de") : QStringLiteral("-en");
        SCOPED_TRACE(suffix.toStdString());

        for (MessageKind kind : {MessageKind::GiveUp, MessageKind::Paused}) {
            QImage shot;
            WhenModal([&](QWidget* w) {
                shot = Grab(w);
                w->close();
            });
            yesNo.ShowKind(kind);
            Keep(shot, QStringLiteral("message-%1").arg(ToInt(kind)) + suffix);
            ExpectFrameAt(shot, {0, 0}, {319, 158});
            ExpectFrameAt(shot, {11, 12}, {298, 77});
            EXPECT_GT(WhitePixels(shot, QRect(16, 17, 288, 67)), 100);
        }

        QImage shot;
        WhenModal([&](QWidget* w) {
            shot = Grab(w);
            w->close();
        });
        highscore.ShowModal(2000, false);
        Keep(shot, QStringLiteral("highscore") + suffix);
        ExpectFrameAt(shot, {0, 0}, {320, 476});
        ExpectFrameAt(shot, {11, 12}, {298, 33});
        ExpectFrameAt(shot, {11, 48}, {298, 329});
        ExpectFrameAt(shot, {11, 380}, {298, 29});
        EXPECT_GT(WhitePixels(shot, QRect(23, 16, 273, 25)), 50);  // title
        EXPECT_GT(WhitePixels(shot, QRect(61, 79, 140, 21)), 20); // name in the second row

        settings.MusicAvailable = lang == 1;
        options.RefreshTexts();
        options.show();
        shot = Grab(&options);
        options.hide();
        Keep(shot, QStringLiteral("options") + suffix);
        ExpectFrameAt(shot, {0, 0}, {497, 416});
        ExpectFrameAt(shot, {116, 12}, {369, 333});
        EXPECT_GT(WhitePixels(shot, QRect(12, 119, 53, 281)), 200); // the turned program name
        EXPECT_GT(WhitePixels(shot, QRect(116 + 79, 12 + 232, 290, 18)), 30);

        info.show();
        shot = Grab(&info);
        info.hide();
        Keep(shot, QStringLiteral("info") + suffix);
        ExpectFrameAt(shot, {0, 0}, {497, 416});
        ExpectFrameAt(shot, {116, 12}, {369, 333});
        EXPECT_GT(WhitePixels(shot, QRect(12, 119, 53, 281)), 200);
    }
    tongue.show();
    QImage shot = Grab(&tongue);
    tongue.hide();
    Keep(shot, QStringLiteral("language"));
    ExpectFrameAt(shot, {0, 0}, {408, 162});
    ExpectFrameAt(shot, {108, 12}, {289, 137});
    EXPECT_GT(WhitePixels(shot, QRect(108 + 79, 12 + 32, 190, 18)), 30);
}

} // namespace
} // namespace torvella::ui
