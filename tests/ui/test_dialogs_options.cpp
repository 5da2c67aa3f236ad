// The options dialog acting at once on the settings and the main window, the language
// question, and the information dialog.
#include "test_dialogs_support.h"

#include "ui/DlgResources.h"
#include "settings/GameSettings.h"
#include "ui/ImageButton.h"
#include "ui/InfoDlg.h"
#include "ui/OptionDlg.h"
#include "ui/TongueDlg.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace torvella::ui {
namespace {

using torvella::testing::Child;
using torvella::testing::WhenModal;

// Records what the dialog asks of the main window, with the settings at that moment.
class FakeHost : public OptionHost {
public:
    explicit FakeHost(settings::GameSettings& s) : settings(s) {}
    void SetLanguageTexts() override { calls.push_back("texts " + std::to_string(settings.Tongue)); }
    void BackgroundChanged() override { calls.push_back("back " + std::to_string(settings.BackMode)); }
    void ToggleMusic() override
    {
        settings.MusicOn = !settings.MusicOn;
        calls.push_back("music");
    }
    QString MusicFileName() const override { return QStringLiteral("waltz.mid"); }

    settings::GameSettings& settings;
    std::vector<std::string> calls;
};

class Options : public ::testing::Test {
protected:
    Options()
    {
        mainWindow.setGeometry(120, 80, 702, 462);
        mainWindow.show();
        dlg.BindPictures(res);
    }
    void Press(const char* button) { QTest::mouseClick(Child<ImageButton>(&dlg, button), Qt::LeftButton); }
    QString Label(const char* name) { return Child<QLabel>(&dlg, name)->text(); }
    QString Hint(const char* button) { return Child<ImageButton>(&dlg, button)->toolTip(); }
    void Open()
    {
        dlg.RefreshTexts();
        dlg.show();
    }

    settings::GameSettings settings;
    FakeHost host{settings};
    QWidget mainWindow;
    DlgResources res;
    OptionDlg dlg{settings, host, &mainWindow};
};

TEST_F(Options, BackgroundButtonRunsThroughOneToSevenAndBack)
{
    settings.Tongue = 1;
    settings.BackMode = 0;
    Open();
    EXPECT_EQ(Label("BackLabel"), QStringLiteral("Hintergrund: 1"));
    std::vector<std::string> expectedCalls;
    for (int press = 1; press <= 7; ++press) {
        Press("BackBtn");
        const int mode = press % 7;
        EXPECT_EQ(settings.BackMode, mode);
        EXPECT_EQ(Label("BackLabel"), QStringLiteral("Hintergrund: ") + QString::number(mode + 1));
        expectedCalls.push_back("back " + std::to_string(mode));
        expectedCalls.push_back("texts 1");
    }
    EXPECT_EQ(host.calls, expectedCalls);
}

TEST_F(Options, StoredBackgroundOutsideTheRange)
{
    struct Case {
        int stored;
        const char* shown;
        int next;
    };
    const Case cases[] = {{12, "Background: 13", 6}, {-1, "Background: 0", 0}, {-9, "Background: -8", 6},
                          {INT_MAX, "Background: 2147483648", 2}};
    settings.Tongue = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.BackMode = c.stored;
        Open();
        EXPECT_EQ(Label("BackLabel"), QString::fromLatin1(c.shown));
        Press("BackBtn");
        EXPECT_EQ(settings.BackMode, c.next);
    }
}

TEST_F(Options, LanguageButtonFromNotChosenGivesEnglishThenGerman)
{
    settings.Tongue = -1;
    Open();
    EXPECT_EQ(Label("OptLabel"), QStringLiteral("Options:"));
    Press("TongueBtn");
    EXPECT_EQ(settings.Tongue, 0);
    EXPECT_EQ(Label("TongueLabel"), QStringLiteral("I speak English."));
    Press("TongueBtn");
    EXPECT_EQ(settings.Tongue, 1);
    // The dialog rewrites itself at once, and the main window hears of each change.
    EXPECT_EQ(Label("OptLabel"), QStringLiteral("Einstellungen:"));
    EXPECT_EQ(Label("TongueLabel"), QStringLiteral("Ich spreche deutsch."));
    EXPECT_EQ(Hint("OKBtn"), QStringLiteral("Zurück zum Spiel"));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"texts 0", "texts 1"}));
}

TEST_F(Options, LanguageButtonOnAHandEditedTongueKeepsTheRemaindersSign)
{
    // (Tongue + 1) mod 2, the remainder taking the dividend's sign as the rest of the
    // program's integer division does.
    struct Case {
        int stored, next;
    };
    const Case cases[] = {{-2, -1}, {-3, 0}, {-4, -1}, {2, 1}, {5, 0}, {INT_MAX, 0}, {INT_MIN, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.Tongue = c.stored;
        Open();
        Press("TongueBtn");
        EXPECT_EQ(settings.Tongue, c.next);
        EXPECT_EQ(Label("TongueLabel"), c.next == 1 ? QStringLiteral("Ich spreche deutsch.") : QStringLiteral("I speak English."));
    }
}

TEST_F(Options, TextsAndHintsInBothLanguages)
{
    struct Case {
        const char* control;
        bool hint;
        const char* german;
        const char* english;
    };
    const Case cases[] = {
        {"OKBtn", true, "Zurück zum Spiel", "Back to game"},
        {"TongueBtn", true, "Sprache ändern", "Change language"},
        {"SoundBtn", true, "Geräusche ein- und ausschalten.", "Sound on or off"},
        {"MusicBtn", true, "Musik ein- und ausschalten.", "Music on or off."},
        {"BackBtn", true, "Hintergrund ändern", "Change background"},
        {"OptLabel", false, "Einstellungen:", "Options:"},
        {"SoundLabel", false, "Geräusche sind an.", "Sound is on."},
    };
    for (int tongue : {1, 0}) {
        settings.Tongue = tongue;
        Open();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.control);
            const QString expected = QString::fromUtf8(tongue == 1 ? c.german : c.english);
            EXPECT_EQ(c.hint ? Hint(c.control) : Label(c.control), expected);
        }
    }
}

TEST_F(Options, SoundButtonFlipsAndRelabels)
{
    settings.Tongue = 1;
    Open();
    Press("SoundBtn");
    EXPECT_FALSE(settings.SoundOn);
    EXPECT_EQ(Label("SoundLabel"), QStringLiteral("Geräusche sind aus."));
    settings.Tongue = 0;
    Press("SoundBtn");
    EXPECT_TRUE(settings.SoundOn);
    EXPECT_EQ(Label("SoundLabel"), QStringLiteral("Sound is on."));
}

TEST_F(Options, MusicLabelAndButtonFollowTheMusicFiles)
{
    auto* musicBtn = Child<ImageButton>(&dlg, "MusicBtn");
    settings.MusicAvailable = false;
    for (bool musicOn : {true, false}) {
        settings.MusicOn = musicOn;
        settings.Tongue = 1;
        Open();
        EXPECT_FALSE(musicBtn->isEnabled());
        EXPECT_EQ(Label("MusicLabel"), QStringLiteral("Keine Musikdateien vorhanden."));
        settings.Tongue = 0;
        Open();
        EXPECT_EQ(Label("MusicLabel"), QStringLiteral("No music files available."));
    }
    Press("MusicBtn"); // disabled: nothing happens
    EXPECT_TRUE(host.calls.empty());

    settings.MusicAvailable = true;
    settings.MusicOn = true;
    Open();
    EXPECT_TRUE(musicBtn->isEnabled());
    EXPECT_EQ(Label("MusicLabel"), QStringLiteral("Music: waltz.mid"));
    Press("MusicBtn");
    EXPECT_EQ(Label("MusicLabel"), QStringLiteral("Music is off."));
    settings.Tongue = 1;
    Press("MusicBtn");
    EXPECT_EQ(Label("MusicLabel"), QStringLiteral("Musik: waltz.mid"));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"music", "music"}));
}

TEST_F(Options, ShowModalRefreshesClosesAndSitsOverTheClientArea)
{
    settings.Tongue = 1;
    QString heading;
    QPoint pos;
    WhenModal([&](QWidget* w) {
        heading = Child<QLabel>(w, "OptLabel")->text();
        pos = w->pos();
        QTest::mouseClick(Child<ImageButton>(w, "OKBtn"), Qt::LeftButton);
    });
    dlg.ShowModal();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(heading, QStringLiteral("Einstellungen:"));
    const QRect outer = mainWindow.frameGeometry();
    EXPECT_EQ(pos, QPoint(outer.left() + (outer.width() - 497) / 2,
                          outer.top() + outer.height() - (mainWindow.height() + 416) / 2));
}

// ---------------------------------------------------------------- language question

TEST(LanguageDialog, ButtonsChooseAndAnyOtherCloseLeavesTheLanguage)
{
    struct Case {
        const char* what;
        int before;
        std::function<void(QWidget*)> act;
        int after;
    };
    auto click = [](const char* name) {
        return [name](QWidget* w) { QTest::mouseClick(Child<ImageButton>(w, name), Qt::LeftButton); };
    };
    const Case cases[] = {
        {"German", -1, click("GermanBtn"), 1},
        {"English", -1, click("EnglishBtn"), 0},
        {"English over German", 1, click("EnglishBtn"), 0},
        {"Escape", -1, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, -1},
        {"window manager", -1, [](QWidget* w) { w->close(); }, -1},
        {"window manager, German before", 1, [](QWidget* w) { w->close(); }, 1},
    };
    settings::GameSettings settings;
    QWidget mainWindow;
    DlgResources res;
    TongueDlg dlg(settings, &mainWindow);
    dlg.BindPictures(res);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.Tongue = c.before;
        QPoint pos;
        WhenModal([&](QWidget* w) {
            pos = w->pos();
            c.act(w);
        });
        dlg.exec();
        EXPECT_EQ(settings.Tongue, c.after);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(pos, QPoint(screen.left() + (screen.width() - 408) / 2, screen.top() + (screen.height() - 162) / 2));
    }
    EXPECT_EQ(Child<QLabel>(&dlg, "TongueLabel")->text(), QStringLiteral("Ich spreche deutsch"));
    EXPECT_EQ(Child<QLabel>(&dlg, "EnglishLabel")->text(), QStringLiteral("I speak English"));
}

// ---------------------------------------------------------------- information

// The program's name and version at the left edge, in both dialogs that carry them; the
// version comes from the build, the text around it stays as it is.
TEST(BrandSide, OptionsAndInformationShowNameAndVersion)
{
    settings::GameSettings settings;
    QWidget mainWindow;
    struct NoHost : OptionHost {
        void SetLanguageTexts() override {}
        void BackgroundChanged() override {}
        void ToggleMusic() override {}
        QString MusicFileName() const override { return {}; }
    } host;
    OptionDlg options(settings, host, &mainWindow);
    options.RefreshTexts();
    InfoDlg info(settings, &mainWindow);
    for (QWidget* dlg : {static_cast<QWidget*>(&options), static_cast<QWidget*>(&info)}) {
        SCOPED_TRACE(dlg->objectName().toStdString());
        EXPECT_EQ(Child<RaisedVerticalLabel>(dlg, "ProgLabel")->text(), QStringLiteral("Torvella"));
        EXPECT_EQ(Child<RaisedVerticalLabel>(dlg, "VersionLabel")->text(), QStringLiteral("Version  V1.1"));
    }
}

TEST(InformationDialog, KeysAndButtonCloseItWithOk)
{
    settings::GameSettings settings;
    QWidget mainWindow;
    mainWindow.setGeometry(10, 20, 702, 462);
    mainWindow.show();
    DlgResources res;
    InfoDlg dlg(settings, &mainWindow);
    dlg.BindPictures(res);
    using Act = std::function<void(QWidget*)>;
    const std::vector<std::pair<const char*, Act>> closers = {
        {"Return", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }},
        {"Enter", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Enter); }},
        {"J", [](QWidget* w) { QTest::keyClick(w, 'J'); }},
        {"j", [](QWidget* w) { QTest::keyClick(w, 'j'); }},
        {"Y", [](QWidget* w) { QTest::keyClick(w, 'Y'); }},
        {"y", [](QWidget* w) { QTest::keyClick(w, 'y'); }},
        {"button", [](QWidget* w) { QTest::mouseClick(Child<ImageButton>(w, "CloseBtn"), Qt::LeftButton); }},
    };
    for (const auto& [name, act] : closers) {
        SCOPED_TRACE(name);
        WhenModal([&, act = act](QWidget* w) {
            QTest::keyClick(w, 'x'); // ignored
            EXPECT_TRUE(w->isVisible());
            act(w);
        });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    }
    for (int tongue : {1, 0}) {
        settings.Tongue = tongue;
        QString hint, licence;
        QPoint pos;
        WhenModal([&](QWidget* w) {
            hint = Child<ImageButton>(w, "CloseBtn")->toolTip();
            licence = Child<QLabel>(w, "LicenceLabel")->text();
            pos = w->pos();
            w->close();
        });
        dlg.exec();
        EXPECT_EQ(hint, tongue == 1 ? QStringLiteral("Zurück zum Spiel") : QStringLiteral("Back to game"));
        EXPECT_TRUE(licence.contains(QStringLiteral("MIT")));
        const QRect outer = mainWindow.frameGeometry();
        EXPECT_EQ(pos, QPoint(outer.left() + (outer.width() - 497) / 2,
                              outer.top() + outer.height() - (mainWindow.height() + 416) / 2));
    }
}

} // namespace
} // namespace torvella::ui
