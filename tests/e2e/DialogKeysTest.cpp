// The dialogs by keyboard alone, on a desktop with a window manager, the game in its own
// process and every key sent to the window it belongs to: the first start's language
// chosen by D, the options opened by Ctrl+O and changed by the arrows and Space, closed by
// Enter and found in the store; and at the end of a game the name typed into the
// high-score list and confirmed by Enter.
#include "Desktop.h"

#include "Interrupted.h"
#include "common/FreshConfig.h"

#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/X.h>

#include <algorithm>
#include <csignal>
#include <fstream>

namespace torvella {
namespace {

using testing::Desktop;
using testing::GameProcess;

const QString kTitle = QStringLiteral("Torvella V");

class DialogKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!desktop.Ok())
            GTEST_SKIP() << desktop.Why().toStdString();
    }

    QString Stored(const char* key)
    {
        QSettings s(QString::fromStdString(cfg.storeFile().string()), QSettings::IniFormat);
        return s.value(QStringLiteral("common/") + QString::fromLatin1(key), QStringLiteral("(none)")).toString();
    }
    // A dialog of the game comes up over the main window; its client size tells which.
    unsigned long Dialog(unsigned long main, QSize size, int timeoutMs = 8000)
    {
        const unsigned long d = desktop.WaitForOtherWindow({main}, timeoutMs);
        if (d)
            EXPECT_EQ(desktop.ClientSize(d), size);
        return d;
    }
    // Waits for the dialog of that size, answers it by `key` and waits until it has gone;
    // false when it did not come or did not go.
    bool Answer(unsigned long main, QSize size, const char* key, int timeoutMs = 8000)
    {
        const unsigned long d = Dialog(main, size, timeoutMs);
        if (!d)
            return false;
        Keys(d, {key});
        return Gone(d);
    }
    // Keys by their X names, one after the other, to one window.
    void Keys(unsigned long window, std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            desktop.Key(window, name);
            QThread::msleep(30);  // the player's pace; the game reads each before the next
        }
    }
    bool Shown(unsigned long window)
    {
        const std::vector<unsigned long> shown = desktop.FramedWindows();
        return std::find(shown.begin(), shown.end(), window) != shown.end();
    }
    // True once the window has left the screen.
    bool Gone(unsigned long window)
    {
        for (int i = 0; i < 250; ++i) {
            if (!Shown(window))
                return true;
            QThread::msleep(20);
        }
        return false;
    }
    void Terminate(GameProcess& game)
    {
        game.Signal(SIGTERM);
        ASSERT_TRUE(game.WaitForEnd(5000)) << "the game did not end on SIGTERM";
    }

    Desktop desktop;
    testing::FreshConfig cfg;
};

TEST_F(DialogKeys, FirstStartGermanByDThenAnOptionChangedByKeysIsStored)
{
    GameProcess game(desktop, cfg.dir());
    const unsigned long w = desktop.WaitForWindow(kTitle);
    ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
    // The question comes when the opening animation has ended.
    ASSERT_TRUE(Answer(w, {408, 162}, "d", 15000)) << "no language question, or D did not answer it";

    // A shortcut acts only in the active window: the window manager gives the activation
    // back to the game window a moment after the question has gone, so Ctrl+O is pressed
    // again until the options come.
    unsigned long options = 0;
    for (int i = 0; i < 5 && !options; ++i) {
        desktop.Key(w, "o", ControlMask);
        options = Dialog(w, {497, 416}, 2000);
    }
    ASSERT_NE(options, 0u) << "Ctrl+O opened no options";
    // From the close button down to the language, then the sound: Space turns it off;
    // back up to the close button, which takes Enter.
    Keys(options, {"Down", "Down", "space", "Up", "Up"});
    EXPECT_TRUE(Shown(options)) << "the options closed before Enter";
    Keys(options, {"Return"});
    ASSERT_TRUE(Gone(options)) << "Enter on the close button did not close the options";

    Terminate(game);
    EXPECT_EQ(Stored("tongue"), QStringLiteral("1")) << "German, chosen by D";
    EXPECT_EQ(Stored("sound"), QStringLiteral("0")) << "the sound, turned off by Space";
}

TEST_F(DialogKeys, TheNameOfANewHighScoreIsTypedAndConfirmedByKeys)
{
    // An interrupted game one drop before the end.
    std::filesystem::create_directories(cfg.storeFile().parent_path());
    std::ofstream(cfg.storeFile()) << "[common]\ntongue=0\nmusic=0\nsound=0\n";
    const std::optional<Move> lastDrop = testing::LeaveOneDropFromTheEnd(cfg.stateDir(), 2);
    ASSERT_TRUE(lastDrop) << "no solution to play";
    const Move last = *lastDrop;

    GameProcess game(desktop, cfg.dir());
    const unsigned long w = desktop.WaitForWindow(kTitle);
    ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
    ASSERT_TRUE(Answer(w, {319, 158}, "Return", 15000)) << "the game did not come back paused";

    // The first arrow shows the ring on the middle cell; then to the cake, lift, to its
    // target, drop.
    Keys(w, {"Right"});
    Cell at{kCols / 2, kRows / 2};
    const auto walk = [&](Cell to) {
        for (; at.col < to.col; ++at.col)
            Keys(w, {"Right"});
        for (; at.col > to.col; --at.col)
            Keys(w, {"Left"});
        for (; at.row < to.row; ++at.row)
            Keys(w, {"Down"});
        for (; at.row > to.row; --at.row)
            Keys(w, {"Up"});
    };
    walk(last.from);
    Keys(w, {"space"});
    walk(last.to);
    Keys(w, {"space"});

    ASSERT_TRUE(Answer(w, {319, 158}, "Return", 15000)) << "the last drop did not solve the tableau";

    const unsigned long list = Dialog(w, {320, 476});
    ASSERT_NE(list, 0u) << "the score was not offered to the list";
    // The name field has the keyboard with last time's name selected: typing replaces it.
    Keys(list, {"g", "r", "e", "t", "e", "Return"});
    ASSERT_TRUE(Gone(list)) << "Enter did not confirm the name";
    EXPECT_EQ(Stored("player"), QStringLiteral("grete")) << "stored at the confirmation";

    Terminate(game);
}

} // namespace
} // namespace torvella
