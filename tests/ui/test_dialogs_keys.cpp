// Every dialog by keyboard alone: where the focus starts, where Tab and the arrows take it,
// what Space and Enter do there, the letters of the language question; the ring that shows
// the focus only once a key is used (a dialog used by the mouse looks as before); and every
// dialog a transient child of the main window, even one first shown before it.
#include "test_dialogs_support.h"

#include "common/FreshConfig.h"
#include "settings/Chiffre.h"
#include "settings/GameSettings.h"
#include "settings/IniCtrl.h"
#include "ui/DealNumberDlg.h"
#include "ui/DlgResources.h"
#include "ui/FocusRing.h"
#include "ui/HighscoreDlg.h"
#include "ui/ImageButton.h"
#include "ui/InfoDlg.h"
#include "ui/OptionDlg.h"
#include "ui/StatisticsDlg.h"
#include "ui/TongueDlg.h"
#include "ui/YesNoDlg.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGuiApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace torvella::ui {
namespace {

using torvella::testing::Child;
using torvella::testing::WhenModal;

// The keys as the player types them, through the dialog's window to whatever has the
// focus: "Tab Shift+Tab Down Space Return D".
void Press(QWidget* dlg, const QString& keys)
{
    for (const QString& name : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QKeyCombination k = QKeySequence::fromString(name)[0];
        ASSERT_NE(k.key(), Qt::Key_unknown) << name.toStdString();
        if (!dlg->isVisible())
            return;
        QTest::keyClick(dlg->windowHandle(), k.key(), k.keyboardModifiers());
    }
}

// The object name of the widget with the keyboard focus in the dialog.
std::string Focus(QWidget* dlg)
{
    QWidget* f = dlg->focusWidget();
    return f ? f->objectName().toStdString() : std::string("(none)");
}

// Where the focus stands, then after each of `tabs` presses of Tab.
std::vector<std::string> TabOrder(QWidget* dlg, int tabs)
{
    std::vector<std::string> order{Focus(dlg)};
    for (int i = 0; i < tabs; ++i) {
        Press(dlg, QStringLiteral("Tab"));
        order.push_back(Focus(dlg));
    }
    return order;
}

// The widget the focus ring surrounds, by name; empty while no ring is shown.
std::string Ring(QWidget* dlg)
{
    const QWidget* around = static_cast<ModalDlg*>(dlg)->Ring()->Around();
    return around ? around->objectName().toStdString() : std::string();
}

// Waits until the modal dialog has the keyboard, as a dialog on a desktop has once shown;
// one that never gets it is closed, and the test fails on what it expected to see.
bool Ready(QWidget* dlg)
{
    if (dlg && QTest::qWaitFor([dlg] { return dlg->isActiveWindow(); }))
        return true;
    ADD_FAILURE() << "the dialog never became active";
    if (dlg)
        dlg->close();
    return false;
}

class NoHost : public OptionHost {
public:
    void SetLanguageTexts() override { calls.push_back("texts"); }
    void BackgroundChanged() override { calls.push_back("back"); }
    void ToggleMusic() override { calls.push_back("music"); }
    void CakeLabelsChanged() override { calls.push_back("labels"); }
    QString MusicFileName() const override { return QStringLiteral("waltz.mid"); }
    std::vector<std::string> calls;
};

class DialogKeys : public ::testing::Test {
protected:
    DialogKeys()
    {
        mainWindow.setGeometry(60, 50, 702, 462);
        mainWindow.show();
    }

    torvella::testing::FreshConfig cfg;
    settings::GameSettings settings;
    DlgResources res;
    QWidget mainWindow;
};

TEST_F(DialogKeys, LanguageQuestionTakesDAndEAndTheFocusKeys)
{
    struct Case {
        const char* keys;
        int tongue;  // -1: closed without a choice
    };
    const Case cases[] = {
        {"D", 1},
        {"Shift+E", 0},
        {"Space", 1},              // the focus starts on German
        {"Return", 1},
        {"Tab Space", 0},          // on to English
        {"Down Return", 0},
        {"Right Left Return", 1},  // there and back
        {"Tab Tab Enter", 1},      // round to German again
        {"Escape", -1},
    };
    TongueDlg dlg(settings, &mainWindow);
    dlg.BindPictures(res);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        settings.Tongue = -1;
        std::string start;
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            start = Focus(w);
            Press(w, QString::fromLatin1(c.keys));
            if (w->isVisible())
                w->close();  // the keys did not close it: the test sees that below
        });
        const int result = dlg.exec();
        EXPECT_EQ(start, "GermanBtn");
        EXPECT_EQ(settings.Tongue, c.tongue);
        EXPECT_EQ(result, c.tongue == -1 ? QDialog::Rejected : QDialog::Accepted);
    }
}

TEST_F(DialogKeys, MessageAnswersWhereTheFocusIsAndEnterMeansYesUntilItMoves)
{
    struct Case {
        MessageKind kind;
        const char* keys;
        Answer answer;
    };
    const Case cases[] = {
        {MessageKind::Quit, "Return", Answer::Yes},
        {MessageKind::Quit, "Space", Answer::Yes},
        {MessageKind::Quit, "Left Return", Answer::No},  // the focused No answers No
        {MessageKind::Quit, "Tab Space", Answer::No},
        {MessageKind::Quit, "Shift+Tab Right Enter", Answer::Yes},
        {MessageKind::Quit, "N", Answer::No},
        {MessageKind::Paused, "Tab Left Return", Answer::Yes},  // one button: the focus stays
        {MessageKind::Paused, "Escape", Answer::No},
    };
    YesNoDlg dlg(settings, &mainWindow);
    dlg.BindPictures(res);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            EXPECT_EQ(Focus(w), "YesBtn");
            Press(w, QString::fromLatin1(c.keys));
            if (w->isVisible()) {
                ADD_FAILURE() << "still open";
                w->close();
            }
        });
        EXPECT_EQ(dlg.ShowKind(c.kind), c.answer);
    }
}

TEST_F(DialogKeys, OptionsReachEveryOptionInOrderAndChangeItBySpaceOrEnter)
{
    NoHost host;
    OptionDlg dlg(settings, host, &mainWindow);
    dlg.BindPictures(res);
    settings.Tongue = 1;
    settings.SoundOn = true;
    settings.BackMode = 2;
    for (bool music : {true, false}) {
        SCOPED_TRACE(music);
        settings.MusicAvailable = music;
        std::vector<std::string> order;
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            order = TabOrder(w, 6);
            Press(w, QStringLiteral("Escape"));
        });
        dlg.ShowModal();
        const std::vector<std::string> all{"OKBtn",   "TongueBtn", "SoundBtn", "MusicBtn",
                                           "BackBtn", "LabelsBox", "OKBtn"};
        const std::vector<std::string> noMusic{"OKBtn",     "TongueBtn", "SoundBtn", "BackBtn",
                                               "LabelsBox", "OKBtn",     "TongueBtn"};
        EXPECT_EQ(order, music ? all : noMusic);
    }

    // Each option by the arrows, changed by Space or Enter; the dialog stays open until the
    // close button takes Enter.
    settings.MusicAvailable = true;
    settings.CakeLabels = false;
    for (const char* labels : {"Space", "Return"}) {
        SCOPED_TRACE(labels);
        host.calls.clear();
        const int tongue = settings.Tongue, back = settings.BackMode;
        const bool sound = settings.SoundOn, cakeLabels = settings.CakeLabels;
        bool openAfterChanges = false;
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            Press(w, QStringLiteral("Down Space Down Return Down Space Down Enter Down ") + QLatin1String(labels));
            openAfterChanges = w->isVisible();
            Press(w, QStringLiteral("Down Return"));
        });
        dlg.ShowModal();
        EXPECT_TRUE(openAfterChanges);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(settings.Tongue, 1 - tongue);
        EXPECT_EQ(settings.SoundOn, !sound);
        EXPECT_EQ(settings.BackMode, back + 1);
        EXPECT_EQ(settings.CakeLabels, !cakeLabels);
        EXPECT_EQ(host.calls, (std::vector<std::string>{"texts", "music", "back", "texts", "labels"}));
    }
}

TEST_F(DialogKeys, RingShowsOnlyAfterAKeyGoesWithAClickAndLeavesThePictureAsItWasElsewhere)
{
    NoHost host;
    OptionDlg dlg(settings, host, &mainWindow);
    dlg.BindPictures(res);
    settings.MusicAvailable = true;
    const auto grab = [&dlg] { return dlg.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    QImage untouched, ringed, clicked, reopened;
    std::string afterOpen, afterTab, afterClick, afterArrow;
    std::string focusAfterClickOnButton;
    QRect ringRect;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        afterOpen = Ring(w);
        untouched = grab();
        Press(w, QStringLiteral("Tab"));
        afterTab = Ring(w);
        ringed = grab();
        ringRect = w->findChild<FocusRing*>()->geometry();
        // The mouse neither takes the focus nor keeps the ring.
        QTest::mouseClick(Child<ImageButton>(w, "SoundBtn"), Qt::LeftButton);
        focusAfterClickOnButton = Focus(w);
        afterClick = Ring(w);
        Press(w, QStringLiteral("Shift+Tab"));  // back on the close button
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(300, 400));
        clicked = grab();
        Press(w, QStringLiteral("Down"));
        afterArrow = Ring(w);
        w->close();
    });
    dlg.ShowModal();
    EXPECT_EQ(afterOpen, "");
    EXPECT_EQ(afterTab, "TongueBtn");
    EXPECT_EQ(focusAfterClickOnButton, "TongueBtn");
    EXPECT_EQ(afterClick, "");
    EXPECT_EQ(afterArrow, "TongueBtn");
    // The ring changes the picture only where it lies; clicked away, the picture is the
    // untouched one again (the sound label changed: compare outside it).
    ASSERT_FALSE(ringed.isNull());
    const QRect soundLabel(116 + 79, 12 + 120, 294, 18);
    int outside = 0, bright = 0, dark = 0;
    for (int y = 0; y < untouched.height(); ++y)
        for (int x = 0; x < untouched.width(); ++x) {
            const QPoint p(x, y);
            if (soundLabel.contains(p))
                continue;
            if (clicked.pixel(p) != untouched.pixel(p))
                ++outside;
            if (ringed.pixel(p) != untouched.pixel(p) && !ringRect.contains(p))
                ++outside;
        }
    EXPECT_EQ(outside, 0);
    // Along its top edge the ring is a bright band between dark lines.
    const QPoint corner = ringRect.topLeft();
    for (int x = corner.x() + 6; x < ringRect.right() - 6; ++x) {
        dark += qGray(ringed.pixel(x, corner.y())) < 40 && qGray(ringed.pixel(x, corner.y() + 3)) < 40;
        bright += qGray(ringed.pixel(x, corner.y() + 1)) > 180 && qGray(ringed.pixel(x, corner.y() + 2)) > 180;
    }
    EXPECT_EQ(dark, ringRect.width() - 13);
    EXPECT_EQ(bright, ringRect.width() - 13);

    // A new showing starts without the ring.
    std::string again = "?";
    WhenModal([&](QWidget* w) {
        if (Ready(w))
            again = Ring(w);
        w->close();
    });
    dlg.ShowModal();
    EXPECT_EQ(again, "");
}

class HighscoreKeys : public DialogKeys {
protected:
    QString Stored(int rank) { return chiffre.Decrypt(ini.ReadString(QStringLiteral("common"), QStringLiteral("hs%1").arg(rank), {})); }

    settings::IniCtrl ini;
    settings::TChiffre chiffre;
    HighscoreDlg dlg{ini, chiffre, settings, &mainWindow};
};

TEST_F(HighscoreKeys, NameTypedAndConfirmedOrCancelledByKeys)
{
    dlg.BindPictures(res);
    struct Case {
        const char* keys;  // after the name
        QString stored;    // rank 1 afterwards
    };
    const Case cases[] = {
        {"Tab Tab Return", QString()},            // Cancel: nothing stored
        {"Tab Tab Tab Space", "700,Grete"},       // OK
        {"Return", "700,Grete"},                  // Enter in the name field
        {"Tab Tab Space", QString()},             // Cancel by Space
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        for (int rank = 0; rank < HighscoreDlg::kEntries; ++rank)
            ini.DeleteValue(QStringLiteral("common"), QStringLiteral("hs%1").arg(rank));
        std::vector<std::string> order;
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            order = TabOrder(w, 4);
            QTest::keyClick(w->windowHandle(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(w->focusWidget(), QStringLiteral("Grete"));
            Press(w, QString::fromLatin1(c.keys));
            if (w->isVisible()) {
                ADD_FAILURE() << "still open";
                w->close();
            }
        });
        dlg.ShowModal(700, false);
        EXPECT_EQ(order, (std::vector<std::string>{"Edit1", "ClearBox", "CancelBtn", "OkBtn", "Edit1"}));
        EXPECT_EQ(Stored(0), c.stored);
    }
}

TEST_F(HighscoreKeys, ListLookedAtStartsOnOkAndIsClearedOnlyByTheBoxAndOk)
{
    dlg.BindPictures(res);
    ini.WriteString(QStringLiteral("common"), QStringLiteral("hs0"), chiffre.Encrypt(QStringLiteral("900,Ann")));
    std::string first;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        first = Focus(w);
        Press(w, QStringLiteral("Space"));  // OK: stores the list as it is
    });
    dlg.ShowModal(0, true);
    EXPECT_EQ(first, "OkBtn");
    EXPECT_EQ(Stored(0), "900,Ann");

    bool ticked = false;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        Press(w, QStringLiteral("Tab Space"));  // round to the box: the name and Cancel are hidden
        ticked = Child<QCheckBox>(w, "ClearBox")->isChecked();
        Press(w, QStringLiteral("Return"));
    });
    dlg.ShowModal(0, true);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(Stored(0), "0,Mr. Brain");
}

TEST_F(HighscoreKeys, StatisticsLinkIsReachedByTheKeysAndFollowedBySpaceOrEnter)
{
    dlg.BindPictures(res);
    int opened = 0;
    dlg.AddStatisticsLink([&opened] { ++opened; });
    struct Case {
        bool viewOnly;
        const char* keys;
        const char* focus;  // afterwards, with the ring around it
        int opened;
    };
    const Case cases[] = {
        {false, "Tab Tab", "StatisticsLink", 0},  // the name, the box, the link
        {false, "Tab Tab Space", "StatisticsLink", 1},
        {false, "Tab Tab Return", "StatisticsLink", 1},  // follows the link; confirms nothing
        {false, "Tab Tab Enter Tab", "CancelBtn", 1},
        {false, "Tab Tab Right", "CancelBtn", 0},
        {false, "Tab Tab Tab Left", "StatisticsLink", 0},
        {true, "Shift+Tab Return", "StatisticsLink", 1},  // from OK, past the hidden Cancel
        {true, "Left Space", "StatisticsLink", 1},
        {true, "Tab Tab Tab", "OkBtn", 0},  // the box, the link, OK
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        opened = 0;
        std::string focus, ring;
        bool open = false;
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            Press(w, QString::fromLatin1(c.keys));
            focus = Focus(w);
            ring = Ring(w);
            open = w->isVisible();
            w->close();
        });
        dlg.ShowModal(c.viewOnly ? 0 : 700, c.viewOnly);
        EXPECT_EQ(focus, c.focus);
        EXPECT_EQ(ring, c.focus);
        EXPECT_TRUE(open);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(Stored(0), QString()) << "nothing confirmed";
    }

    // With the ring on it the link's words stand inside the ring, and nothing else of the
    // picture changes.
    const auto grab = [this] { return dlg.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    QImage untouched, ringed;
    QRect ringRect, words;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        untouched = grab();
        Press(w, QStringLiteral("Left"));
        ringed = grab();
        ringRect = w->findChild<FocusRing*>()->geometry();
        words = Child<QLabel>(w, "StatisticsLink")->geometry();
        w->close();
    });
    dlg.ShowModal(0, true);
    ASSERT_FALSE(ringed.isNull());
    EXPECT_TRUE(ringRect.contains(words.adjusted(-FocusRing::kMargin + 1, -FocusRing::kMargin + 1,
                                                 FocusRing::kMargin - 1, FocusRing::kMargin - 1)));
    EXPECT_LT(ringRect.width(), 170) << "the ring hugs the words, not the label's old width";
    int outside = 0, inside = 0;
    for (int y = 0; y < untouched.height(); ++y)
        for (int x = 0; x < untouched.width(); ++x)
            if (ringed.pixel(x, y) != untouched.pixel(x, y))
                ++(ringRect.contains(x, y) ? inside : outside);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 2 * ringRect.width());

    // A screen reader finds a link named by its words, which its press action follows.
    opened = 0;
    QString name;
    QAccessible::Role role = QAccessible::NoRole;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(Child<QLabel>(w, "StatisticsLink"));
        if (link && link->actionInterface()) {
            name = link->text(QAccessible::Name);
            role = link->role();
            link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
        w->close();
    });
    dlg.ShowModal(0, true);
    EXPECT_EQ(name, QString::fromUtf8("Statistics …"));
    EXPECT_EQ(role, QAccessible::Link);
    EXPECT_EQ(opened, 1);
}

TEST_F(DialogKeys, DealNumberStartsInTheFieldAndItsButtonsTakeTheKeys)
{
    DealNumberDlg dlg(settings, &mainWindow);
    dlg.BindPictures(res);
    QGuiApplication::clipboard()->clear();
    struct Case {
        const char* keys;
        std::optional<uint32_t> answer;
    };
    const Case cases[] = {
        {"Return", 77u},
        {"Tab Return", std::nullopt},    // Cancel
        {"Tab Tab Space", 77u},          // OK
        {"Tab Tab Tab Escape", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        std::string first;
        WhenModal([&](QWidget* w) {
            if (!Ready(w))
                return;
            first = Focus(w);
            Press(w, QString::fromLatin1(c.keys));
            if (w->isVisible()) {
                ADD_FAILURE() << "still open";
                w->close();
            }
        });
        EXPECT_EQ(dlg.Ask(77), c.answer);
        EXPECT_EQ(first, "number");
    }
}

TEST_F(DialogKeys, StatisticsResetAskedAndAnsweredByKeys)
{
    int resets = 0;
    QList<records::GameEntry> games(3);
    StatisticsDlg dlg(
        settings, [&] { return resets ? QList<records::GameEntry>() : games; },
        [&] {
            ++resets;
            return QString();
        },
        &mainWindow);
    dlg.BindPictures(res);
    std::vector<std::string> seen;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        seen.push_back(Focus(w));
        Press(w, QStringLiteral("Shift+Tab"));  // Reset
        seen.push_back(Focus(w));
        Press(w, QStringLiteral("Return"));  // asks, the focus on Yes
        seen.push_back(Focus(w));
        Press(w, QStringLiteral("Left"));
        seen.push_back(Focus(w));
        Press(w, QStringLiteral("Space"));  // No: back on Reset
        seen.push_back(Focus(w));
        Press(w, QStringLiteral("Space Enter"));  // asked again, and Yes
        seen.push_back(Focus(w));
        Press(w, QStringLiteral("Return"));
    });
    dlg.ShowModal();
    EXPECT_EQ(seen, (std::vector<std::string>{"CloseBtn", "ResetBtn", "YesBtn", "NoBtn", "ResetBtn", "CloseBtn"}));
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(DialogKeys, InformationClosesBySpaceOnItsOneButton)
{
    InfoDlg dlg(settings, &mainWindow);
    dlg.BindPictures(res);
    std::string first;
    WhenModal([&](QWidget* w) {
        if (!Ready(w))
            return;
        Press(w, QStringLiteral("Tab Down"));
        first = Focus(w);
        Press(w, QStringLiteral("Space"));
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(first, "CloseBtn");
}

// Under Wayland only a transient child is placed over the game. A dialog first shown while
// the main window had no window of its own yet must become one once it has.
TEST(DialogWindows, EachDialogIsATransientChildOfTheMainWindowEvenWhenFirstShownBeforeIt)
{
    torvella::testing::FreshConfig cfg;
    settings::GameSettings settings;
    settings::IniCtrl ini;
    settings::TChiffre chiffre;
    NoHost host;
    QWidget mainWindow;
    mainWindow.setGeometry(60, 50, 702, 462);
    const auto none = [] { return QList<records::GameEntry>(); };
    std::vector<std::unique_ptr<ModalDlg>> dialogs;
    dialogs.push_back(std::make_unique<YesNoDlg>(settings, &mainWindow));
    dialogs.push_back(std::make_unique<TongueDlg>(settings, &mainWindow));
    dialogs.push_back(std::make_unique<InfoDlg>(settings, &mainWindow));
    dialogs.push_back(std::make_unique<OptionDlg>(settings, host, &mainWindow));
    dialogs.push_back(std::make_unique<HighscoreDlg>(ini, chiffre, settings, &mainWindow));
    dialogs.push_back(std::make_unique<DealNumberDlg>(settings, &mainWindow));
    dialogs.push_back(std::make_unique<StatisticsDlg>(settings, none, [] { return QString(); }, &mainWindow));
    for (auto& d : dialogs) {
        d->show();
        d->hide();
    }
    mainWindow.show();
    for (auto& d : dialogs) {
        SCOPED_TRACE(d->objectName().toStdString());
        d->show();
        ASSERT_NE(d->windowHandle(), nullptr);
        EXPECT_EQ(d->windowHandle()->transientParent(), mainWindow.windowHandle());
        d->hide();
    }
}

} // namespace
} // namespace torvella::ui
