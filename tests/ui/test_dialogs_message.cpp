// The message dialog: texts by kind and language, one or two buttons, the answer keys,
// and where it sits over the main window.
#include "test_dialogs_support.h"

#include "core/GameView.h"
#include "ui/DlgResources.h"
#include "settings/GameSettings.h"
#include "ui/ImageButton.h"
#include "ui/YesNoDlg.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace torvella::ui {
namespace {

using torvella::testing::Child;
using torvella::testing::WhenModal;

struct Seen {
    QString text;
    bool noVisible = false;
    bool yesVisible = false;
    QPoint pos;
};

// What to do to the open dialog.
using Reply = std::function<void(QWidget*)>;

Reply Key(Qt::Key key) { return [key](QWidget* w) { QTest::keyClick(w, key); }; }
Reply Char(char c) { return [c](QWidget* w) { QTest::keyClick(w, c); }; }
Reply Click(const char* button)
{
    return [button](QWidget* w) { QTest::mouseClick(Child<ImageButton>(w, button), Qt::LeftButton); };
}
Reply CloseWindow() { return [](QWidget* w) { w->close(); }; }

class MessageDialog : public ::testing::Test {
protected:
    MessageDialog()
    {
        mainWindow.setGeometry(100, 100, 702, 462);
        mainWindow.show();
        dlg.BindPictures(res);
    }

    // Opens the dialog through `show`, records what it shows, then answers.
    Answer Run(const std::function<Answer()>& show, const Reply& answer)
    {
        WhenModal([this, answer](QWidget* w) {
            if (w != &dlg) {
                ADD_FAILURE() << "the message dialog is not the open modal window";
                if (w)
                    w->close();
                return;
            }
            seen.text = Child<QLabel>(w, "txt")->text();
            seen.noVisible = Child<ImageButton>(w, "NoBtn")->isVisible();
            seen.yesVisible = Child<ImageButton>(w, "YesBtn")->isVisible();
            seen.pos = w->pos();
            answer(w);
        });
        return show();
    }

    settings::GameSettings settings;
    QWidget mainWindow;
    DlgResources res;
    YesNoDlg dlg{settings, &mainWindow};
    Seen seen;
};

TEST_F(MessageDialog, BuiltInKindsShowTheirTextAndButtonsInEachLanguage)
{
    struct Case {
        int tongue;
        MessageKind kind;
        const char* text;
        bool twoButtons;
    };
    const Case cases[] = {
        {1, MessageKind::Solved, "Hurra, geschafft!", false},
        {0, MessageKind::Solved, "Hurrah, you did it!", false},
        {1, MessageKind::Quit, "Willst Du wirklich schon aufhören?", true},
        {0, MessageKind::Quit, "Do you really want to go?", true},
        {1, MessageKind::GiveUp, "Willst Du die Partie wirklich aufgeben?", true},
        {0, MessageKind::GiveUp, "Do you really want to give up the game?", true},
        {1, MessageKind::Paused, "Spiel angehalten.\nWeitermachen?", false},
        {0, MessageKind::Paused, "Game paused.\nContinue?", false},
        {-1, MessageKind::GiveUp, "Do you really want to give up the game?", true},
        {-1, MessageKind::Paused, "Game paused.\nContinue?", false},
        {2, MessageKind::Solved, "Hurrah, you did it!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "tongue " << c.tongue << " kind " << ToInt(c.kind));
        settings.Tongue = c.tongue;
        EXPECT_EQ(Run([&] { return dlg.ShowKind(c.kind); }, Click("YesBtn")), Answer::Yes);
        EXPECT_EQ(seen.text, QString::fromUtf8(c.text));
        EXPECT_EQ(seen.noVisible, c.twoButtons);
        EXPECT_TRUE(seen.yesVisible);
        EXPECT_EQ(dlg.MessageKind(), ToInt(c.kind));
    }
}

TEST_F(MessageDialog, CallersTextWithOneButtonInEitherLanguage)
{
    for (int tongue : {1, 0}) {
        settings.Tongue = tongue;
        // Two buttons first, so a left-over count would show.
        Run([&] { return dlg.ShowKind(MessageKind::Quit); }, Click("NoBtn"));
        EXPECT_EQ(Run([&] { return dlg.ShowText(MessageKind::Text, QStringLiteral("Sorry, a dead end.")); }, Key(Qt::Key_Return)),
                  Answer::Yes);
        EXPECT_EQ(seen.text, QStringLiteral("Sorry, a dead end."));
        EXPECT_FALSE(seen.noVisible);
        EXPECT_EQ(dlg.ButtonCount(), 1);
    }
    // A carriage return separates two lines, as the game's own two-line messages do.
    Run([&] { return dlg.ShowText(MessageKind::Text, QStringLiteral("one\rtwo")); }, Key(Qt::Key_Escape));
    EXPECT_EQ(seen.text, QStringLiteral("one\ntwo"));
}

TEST_F(MessageDialog, OtherKindsKeepTheLastButtonCountAndText)
{
    Run([&] { return dlg.ShowKind(MessageKind::GiveUp); }, Click("NoBtn"));
    Run([&] { return dlg.ShowKind(MessageKind{7}); }, Click("YesBtn"));
    EXPECT_TRUE(seen.noVisible);
    EXPECT_EQ(dlg.ButtonCount(), 2);

    // ShowText with another kind stores the text and keeps the count; kind 10 later shows it.
    Run([&] { return dlg.ShowText(MessageKind::Solved, QStringLiteral("kept")); }, Click("YesBtn"));
    EXPECT_EQ(dlg.ButtonCount(), 2);
    EXPECT_EQ(seen.text, QStringLiteral("Hurrah, you did it!"));
    Run([&] { return dlg.ShowKind(MessageKind::Text); }, Click("YesBtn"));
    EXPECT_EQ(seen.text, QStringLiteral("kept"));
}

TEST_F(MessageDialog, KeysAnswerAlsoWhenNoButtonIsHidden)
{
    struct Case {
        const char* name;
        Reply answer;
        Answer result;
    };
    const Case cases[] = {
        {"Return", Key(Qt::Key_Return), Answer::Yes},   {"Enter", Key(Qt::Key_Enter), Answer::Yes},
        {"J", Char('J'), Answer::Yes},                  {"j", Char('j'), Answer::Yes},
        {"Y", Char('Y'), Answer::Yes},                  {"y", Char('y'), Answer::Yes},
        {"Escape", Key(Qt::Key_Escape), Answer::No},    {"N", Char('N'), Answer::No},
        {"n", Char('n'), Answer::No},                   {"window manager", CloseWindow(), Answer::No},
        {"YesBtn", Click("YesBtn"), Answer::Yes},
    };
    for (MessageKind kind : {MessageKind::Paused, MessageKind::GiveUp}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << "kind " << ToInt(kind) << " " << c.name);
            EXPECT_EQ(Run([&] { return dlg.ShowKind(kind); }, c.answer), c.result);
        }
    }
    EXPECT_EQ(Run([&] { return dlg.ShowKind(MessageKind::GiveUp); }, Click("NoBtn")), Answer::No);
}

TEST_F(MessageDialog, OtherKeysAreIgnored)
{
    WhenModal([](QWidget* w) {
        QTest::keyClick(w, 'x');
        QTest::keyClick(w, Qt::Key_Space);
        QTest::keyClick(w, Qt::Key_Tab);
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(w, 'n');
    });
    EXPECT_EQ(dlg.ShowKind(MessageKind::Quit), Answer::No);
}

TEST_F(MessageDialog, SitsCentredOverTheMainWindowsClientArea)
{
    Run([&] { return dlg.ShowKind(MessageKind::Quit); }, Click("YesBtn"));
    const QRect outer = mainWindow.frameGeometry();
    EXPECT_EQ(seen.pos.x(), outer.left() + (outer.width() - 319) / 2);
    EXPECT_EQ(seen.pos.y(), outer.top() + outer.height() - (mainWindow.height() + 158) / 2);
    EXPECT_EQ(dlg.size(), QSize(319, 158));
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
}

} // namespace
} // namespace torvella::ui
