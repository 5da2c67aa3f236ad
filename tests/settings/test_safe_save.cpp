// The checked replacement of the store file: a failure at any step, or a disk that
// fills up, leaves the old file as it was and says why.
#include "settings/IniCtrl.h"
#include "settings/SafeSave.h"

#include "common/FreshConfig.h"
#include "common/SmallDisk.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

using torvella::settings::FileCalls;
using torvella::settings::IniCtrl;
using torvella::settings::SafeSave;
using torvella::settings::StoreError;
using torvella::settings::SystemFileCalls;
namespace fs = std::filesystem;

namespace {

QByteArray bytesOf(const fs::path& p)
{
    QFile f(QString::fromStdString(p.string()));
    return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void put(const fs::path& p, const QByteArray& bytes)
{
    fs::create_directories(p.parent_path());
    QFile f(QString::fromStdString(p.string()));
    ASSERT_TRUE(f.open(QFile::WriteOnly | QFile::Truncate));
    f.write(bytes);
}

size_t filesIn(const fs::path& folder)
{
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(SafeSave, AFailedStepLeavesTheOldFileAndNoLeftovers)
{
    torvella::testing::FreshConfig cfg;
    const fs::path file = cfg.dir() / "store.ini";
    const QString path = QString::fromStdString(file.string());
    put(file, "old content\n");
    const QByteArray big(100000, 'n');

    struct Case {
        const char* step;
        FileCalls calls;
        int error;
    };
    const FileCalls sys = SystemFileCalls();
    const Case cases[] = {
        {"write", {[](int, const void*, size_t) -> ssize_t { errno = ENOSPC; return -1; }, sys.fsync, sys.close, sys.rename}, ENOSPC},
        // a short write followed by nothing more: the disk filled up in the middle
        {"write stops", {[](int fd, const void* d, size_t n) -> ssize_t { static int calls = 0;
            return ++calls % 2 ? ::write(fd, d, n < 10 ? n : 10) : 0; }, sys.fsync, sys.close, sys.rename}, ENOSPC},
        {"flush", {sys.write, [](int) { errno = EIO; return -1; }, sys.close, sys.rename}, EIO},
        {"close", {sys.write, sys.fsync, [](int fd) { ::close(fd); errno = EDQUOT; return -1; }, sys.rename}, EDQUOT},
        {"rename", {sys.write, sys.fsync, sys.close, [](const char*, const char*) { errno = EXDEV; return -1; }}, EXDEV},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        const torvella::settings::FileFailure failure = SafeSave(path, big, c.calls);
        EXPECT_EQ(failure.path, path);
        EXPECT_EQ(failure.error, c.error);
        EXPECT_EQ(bytesOf(file), "old content\n");
        EXPECT_EQ(filesIn(cfg.dir()), 1u) << "the new file is removed";
    }
    // An unsupported sync is no failure: the data are written all the same.
    const FileCalls noSync{sys.write, [](int) { errno = EINVAL; return -1; }, sys.close, sys.rename};
    EXPECT_FALSE(SafeSave(path, "new\n", noSync));
    EXPECT_EQ(bytesOf(file), "new\n");
}

TEST(SafeSave, KeepsModeAndFollowsALink)
{
    torvella::testing::FreshConfig cfg;
    const fs::path real = cfg.dir() / "dotfiles" / "V1.ini";
    const fs::path link = cfg.dir() / "V1.ini";
    put(real, "old\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);
    EXPECT_FALSE(SafeSave(QString::fromStdString(link.string()), "new\n"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytesOf(real), "new\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST(SafeSave, FullDiskKeepsTheStoreByteForByteAndSaysWhy)
{
    torvella::testing::FreshConfig cfg;
    torvella::testing::SmallDisk disk(cfg.dir() / "Quorlix", 8);
    if (!disk.Available())
        GTEST_SKIP() << disk.WhyNot();
    IniCtrl ini;
    // a store of two pages, with the list and the name in it
    ini.WriteString("common", "player", "Smith");
    ini.WriteString("common", "pad", QString(6000, 'p'));
    const QByteArray before = bytesOf(cfg.storeFile());

    // No page left: not even the lock file. One page left: room for the lock file,
    // none for the new file.
    for (long free : {0L, 1L}) {
        SCOPED_TRACE(free);
        disk.Leave(free);
        ASSERT_EQ(disk.FreePages(), free);
        try {
            ini.WriteString("common", "player", "Jones");
            ADD_FAILURE() << "a write on a full disk reported success";
        } catch (const StoreError& e) {
            EXPECT_EQ(std::string(e.what()), "Fehler beim Setzen der Daten für 'player'");
            if (free == 1) {
                EXPECT_TRUE(e.Detail(false).endsWith("No space left on device")) << e.Message(false).toStdString();
                EXPECT_TRUE(e.Detail(true).endsWith("kein Speicherplatz mehr verfügbar")) << e.Message(true).toStdString();
            }
        }
        EXPECT_EQ(bytesOf(cfg.storeFile()), before);
        EXPECT_EQ(ini.ReadString("common", "player", ""), "Smith");
        EXPECT_EQ(filesIn(cfg.storeFile().parent_path()), 1u) << "no new file or lock file left behind";
    }
    disk.Free();
    ini.WriteString("common", "player", "Jones");
    EXPECT_EQ(ini.ReadString("common", "player", ""), "Jones");
    EXPECT_EQ(ini.ReadString("common", "pad", ""), QString(6000, 'p'));
}
