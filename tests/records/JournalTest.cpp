// The journal: what an earlier run left is found again, whatever ended that run, and a
// file that is not a journal of this format is set aside rather than lost.
#include "records/Journal.h"
#include "records/LineFile.h"
#include "RecordsFixture.h"
#include "common/SmallDisk.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace torvella::records {
namespace {

using Journals = testing::RecordsFolder;

TEST_F(Journals, AGameKilledMidWriteComesBackWithEveryEventThatWasComplete)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Journal j(Folder(), "1.2");
        j.Open();
        j.Begin("deal 42\n");
        j.Add("move 1 2 1 3");
        j.Add("tick 50");
        // The event in flight when the end came: half a line.
        const int fd = ::open(j.Path().toLocal8Bit().constData(), O_WRONLY | O_APPEND);
        if (::write(fd, "undo 3", 6) != 6)
            _exit(3);
        ::kill(getpid(), SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    Journal next(Folder(), "1.2");
    const Journal::Found found = next.Open();
    ASSERT_EQ(found.what, Journal::Left::Game);
    EXPECT_EQ(found.events, (QList<QByteArray>{"deal 42", "move 1 2 1 3", "tick 50"}));
    // Going on from there cuts the unfinished line off first.
    ASSERT_EQ(next.Add("undo"), QString());
    EXPECT_TRUE(Bytes(next.Path()).endsWith("tick 50\nundo\n")) << Bytes(next.Path()).constData();
}

TEST_F(Journals, AnEndedGameLeavesNothingAndAnEmptyFolderNothingToFind)
{
    {
        Journal j(Folder(), "1.2");
        EXPECT_EQ(j.Open().what, Journal::Left::Nothing);
        j.Begin("deal 7\n");
        j.Add("move 0 0 0 1");
        j.End();
    }
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
    Journal j(Folder(), "1.2");
    EXPECT_EQ(j.Open().what, Journal::Left::Nothing);
}

TEST_F(Journals, TwoRunningCopiesKeepTheirOwnGames)
{
    Journal first(Folder(), "1.2"), second(Folder(), "1.2");
    first.Open();
    first.Begin("deal 1\n");
    // The second copy starts while the first plays: it must not take the first one's game.
    EXPECT_EQ(second.Open().what, Journal::Left::Nothing);
    EXPECT_NE(first.Path(), second.Path());
    second.Begin("deal 2\n");
    first.Add("move a");
    second.Add("move b");
    first.Close();
    second.Close();

    Journal a(Folder(), "1.2"), b(Folder(), "1.2"), c(Folder(), "1.2");
    QList<QList<QByteArray>> games{a.Open().events, b.Open().events};
    std::sort(games.begin(), games.end());
    EXPECT_EQ(games, (QList<QList<QByteArray>>{{"deal 1", "move a"}, {"deal 2", "move b"}}));
    EXPECT_EQ(c.Open().what, Journal::Left::Nothing);
}

TEST_F(Journals, WhatIsNoJournalOfThisFormatIsSetAsideUnchanged)
{
    const struct {
        const char* name;
        QByteArray content;
        Journal::Left what;
    } cases[] = {
        {"other format", "torvella-journal 9 3.0\ndeal 5\n", Journal::Left::OtherVersion},
        {"garbage", "\x01\x02 not a journal\nat all\n", Journal::Left::Unreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        Put(dir.filePath("game-1.journal"), c.content);
        Journal j(dir.path(), "1.2");
        const Journal::Found found = j.Open();
        EXPECT_EQ(found.what, c.what);
        EXPECT_TRUE(found.events.isEmpty());
        EXPECT_EQ(Bytes(found.setAside), c.content);
        // This run writes a journal of its own all the same.
        EXPECT_EQ(j.Begin("deal 1\n"), QString());
        EXPECT_NE(j.Path(), found.setAside);
    }
}

TEST_F(Journals, EventsTheGameCannotUseAreSetAsideOnRequest)
{
    Put(Path("game-1.journal"), "torvella-journal 1 1.2\nnonsense\n");
    Journal j(Folder(), "1.2");
    ASSERT_EQ(j.Open().what, Journal::Left::Game);
    const QString aside = j.SetAsideUnreadable();
    EXPECT_EQ(Bytes(aside), "torvella-journal 1 1.2\nnonsense\n");
    EXPECT_EQ(j.Begin("deal 3\n"), QString());
}

TEST_F(Journals, AFullDiskKeepsTheCompleteLinesAndSaysWhy)
{
    testing::SmallDisk disk(Folder().toStdString(), 8);
    if (!disk.Available())
        GTEST_SKIP() << disk.WhyNot();
    Journal j(Folder(), "1.2");
    j.Open();
    ASSERT_EQ(j.Begin("deal 9\n"), QString());
    ASSERT_EQ(j.Add("move 1"), QString());
    disk.Leave(0);
    const QString error = j.Add(QByteArray(3 * 4096, 'x'));
    EXPECT_TRUE(error.contains("No space left")) << error.toStdString();
    disk.Free();
    EXPECT_EQ(j.Add("move 2"), QString());
    j.Close();
    Journal next(Folder(), "1.2");
    EXPECT_EQ(next.Open().events, (QList<QByteArray>{"deal 9", "move 1", "move 2"}));
}

TEST(LineFiles, OnlyLinesWithTheirNewlineCount)
{
    EXPECT_EQ(CompleteLines("a\nbb\ncc"), (QList<QByteArray>{"a", "bb"}));
    EXPECT_EQ(CompleteLines("\n"), (QList<QByteArray>{""}));
    EXPECT_TRUE(CompleteLines("no newline").isEmpty());
}

} // namespace
} // namespace torvella::records
