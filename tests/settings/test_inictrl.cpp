#include "settings/IniCtrl.h"

#include "common/FreshConfig.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using torvella::settings::IniCtrl;
using torvella::settings::StoreError;
namespace fs = std::filesystem;

namespace {

const QString common = QStringLiteral("common");

class IniStore : public ::testing::Test {
protected:
    torvella::testing::FreshConfig cfg;

    QString path() const { return QString::fromStdString(cfg.storeFile().string()); }
    fs::path folder() const { return cfg.storeFile().parent_path(); }

    void writeFile(const QByteArray& bytes)
    {
        fs::create_directories(folder());
        QFile f(path());
        ASSERT_TRUE(f.open(QFile::WriteOnly | QFile::Truncate));
        f.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// Restores the mode of a file or folder when the test ends, so the throw-away
// folder can be removed even when an assertion failed.
struct ModeGuard {
    fs::path p;
    fs::perms old;
    ModeGuard(fs::path path, fs::perms mode)
        : p(std::move(path))
        , old(fs::status(p).permissions())
    {
        fs::permissions(p, mode);
    }
    ~ModeGuard() { fs::permissions(p, old); }
};

template <typename F>
std::string errorOf(F&& f)
{
    try {
        f();
    } catch (const StoreError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST_F(IniStore, FirstRunReadsDefaultsAndCreatesNothing)
{
    IniCtrl ini;
    EXPECT_EQ(ini.FilePath(), path());
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), -1);
    EXPECT_TRUE(ini.ReadBool(common, "sound", true));
    EXPECT_TRUE(ini.ReadBool(common, "music", true));
    EXPECT_EQ(ini.ReadInteger(common, "backmode", 0), 0);
    EXPECT_EQ(ini.ReadString(common, "player", "Mr.Brain"), "Mr.Brain");
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(ini.ReadString(common, QStringLiteral("hs%1").arg(i), QString()), QString());
    ini.DeleteValue(common, "MainFormColor");
    EXPECT_FALSE(fs::exists(cfg.dir() / "Quorlix"));
}

TEST_F(IniStore, DefaultPathFollowsXdgConfigHomeElseHomeConfig)
{
    EXPECT_EQ(IniCtrl::DefaultFilePath(), path());
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", cfg.dir().c_str(), 1);
    const QString underHome = QString::fromStdString((cfg.dir() / ".config/Quorlix/Torvella/V1.ini").string());
    for (const char* xdg : {"", "relative/dir"}) {
        setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(IniCtrl::DefaultFilePath(), underHome) << xdg;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniCtrl::DefaultFilePath(), underHome);
    setenv("HOME", oldHome.c_str(), 1); // FreshConfig restores XDG_CONFIG_HOME itself
}

TEST_F(IniStore, FirstWriteCreatesThePathAndStoresText)
{
    IniCtrl ini;
    ini.WriteBool(common, "sound", false);
    ini.WriteBool(common, "music", true);
    ini.WriteInteger(common, "tongue", -1);
    ini.WriteString(common, "player", "Mr.Brain");
    EXPECT_EQ(fileBytes(), "[common]\nmusic=1\nplayer=Mr.Brain\nsound=0\ntongue=-1\n");
}

TEST_F(IniStore, IntegerAndBooleanConversions)
{
    struct Case {
        const char* stored;
        int32_t asInteger; // read with default 99
        bool asBool;       // read with default true
    };
    const Case cases[] = {
        {"0", 0, false},       {"1", 1, true},        {"7", 7, true},
        {"12", 12, true},      {"-1", -1, true},      {"+4", 4, true},
        {"", 99, true},        {"Ja", 99, true},      {"x", 99, true},
        {" 5", 99, true},      {"5 ", 99, true},      {"0x10", 99, true},
        {"1e3", 99, true},     {"3.0", 99, true},     {"-", 99, true},
        {"2147483647", 2147483647, true},             {"-2147483648", INT32_MIN, true},
        {"2147483648", 99, true},                     {"99999999999999999999", 99, true},
    };
    IniCtrl ini;
    for (const Case& c : cases) {
        ini.WriteString(common, "v", QString::fromUtf8(c.stored));
        EXPECT_EQ(ini.ReadInteger(common, "v", 99), c.asInteger) << '"' << c.stored << '"';
        EXPECT_EQ(ini.ReadBool(common, "v", true), c.asBool) << '"' << c.stored << '"';
        // a Boolean that does not parse takes its default, whichever it is
        EXPECT_EQ(ini.ReadBool(common, "v", false), c.asInteger != 99 && c.asInteger != 0) << c.stored;
    }
    ini.WriteInteger(common, "v", INT32_MIN);
    EXPECT_EQ(ini.ReadString(common, "v", ""), "-2147483648");
    ini.WriteBool(common, "v", true);
    EXPECT_EQ(ini.ReadString(common, "v", ""), "1");
}

TEST_F(IniStore, TextsComeBackUnchanged)
{
    const QString texts[] = {
        "",          "a, b",     "1, 2",          "@x",          "@Rect(1 2 3 4)", "Grüße, Jürgen ß €",
        "  blanks ", "semi;col", "equals=sign",   "quote\"",     "back\\slash",    "new\nline",
        "#hash",     "[group]",  "tab\there",     "😀 Smiley",
    };
    IniCtrl ini;
    for (const QString& t : texts) {
        ini.WriteString(common, "hs0", t);
        EXPECT_EQ(ini.ReadString(common, "hs0", "default"), t);
        EXPECT_EQ(IniCtrl(path()).ReadString(common, "HS0", "default"), t);
    }
}

TEST_F(IniStore, NamesCompareWithoutRegardToCase)
{
    writeFile("[Common]\nSound=0\nTONGUE=1\nbackmode=3\n");
    IniCtrl ini;
    EXPECT_FALSE(ini.ReadBool(common, "sound", true));
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), 1);
    EXPECT_EQ(ini.ReadInteger("COMMON", "BackMode", 0), 3);

    ini.WriteInteger(common, "tongue", 0);
    ini.DeleteValue(common, "SOUND");
    EXPECT_EQ(fileBytes(), "[Common]\nbackmode=3\ntongue=0\n");
}

TEST_F(IniStore, RootAndEmptySectionMapping)
{
    IniCtrl ini;
    ini.WriteString("", "a", "first");  // no previous call: "Common"
    ini.WriteString("#ROOT", "a", "root");
    ini.WriteString("other", "a", "other");
    ini.WriteString("  ", "b", "blank"); // the previous call's section: "other"

    QSettings s(path(), QSettings::IniFormat);
    EXPECT_EQ(s.value("Common/a").toString(), "first");
    EXPECT_EQ(s.value("a").toString(), "root");
    EXPECT_EQ(s.value("other/a").toString(), "other");
    EXPECT_EQ(s.value("other/b").toString(), "blank");

    IniCtrl fresh(path());
    EXPECT_EQ(fresh.ReadString(" ", "a", "?"), "first"); // "Common" finds the group of either case
    EXPECT_EQ(fresh.ReadString(common, "a", "?"), "first");
    EXPECT_EQ(fresh.ReadString("#ROOT", "a", "?"), "root");
    EXPECT_EQ(fresh.ReadString("", "a", "?"), "root");
    EXPECT_EQ(fresh.ReadString("#ROOT", "b", "?"), "?");
}

TEST_F(IniStore, ValuesThatAreNotTextFailTheRead)
{
    const char* stored[] = {
        "1, 2", "a,b,c", "@Rect(1 2 3 4)", "@ByteArray(abc)", "@Size(3 4)",
        "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x7fxx)", "@Invalid()",
    };
    for (const char* v : stored) {
        writeFile(QByteArray("[common]\nHS3=") + v + "\nok=@String(@ok)\n");
        IniCtrl ini;
        EXPECT_EQ(errorOf([&] { ini.ReadString(common, "hs3", ""); }), "Ungültiger Datentyp für 'hs3'") << v;
        EXPECT_EQ(errorOf([&] { ini.ReadInteger(common, "hs3", 0); }), "Ungültiger Datentyp für 'hs3'") << v;
        EXPECT_EQ(ini.ReadString(common, "ok", ""), "@ok");
        ini.WriteString(common, "hs3", "text again");
        EXPECT_EQ(ini.ReadString(common, "hs3", ""), "text again");
        fs::remove(cfg.storeFile());
    }
}

TEST_F(IniStore, UnusableStoreReadsDefaultsAndRefusesWritesUntouched)
{
    const QByteArray good = "[common]\nsound=0\ntongue=1\n";
    struct Case {
        const char* what;
        bool readsStoredValues;
    };
    const Case cases[] = {
        {"read-only file", true}, {"read-only folder", true}, {"store is a directory", false},
        {"garbage", false},       {"binary garbage", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(cfg.dir() / "Quorlix");
        const std::string what = c.what;
        std::optional<ModeGuard> guard;
        QByteArray before = good;
        if (what == "store is a directory") {
            fs::create_directories(cfg.storeFile());
        } else {
            if (what == "garbage")
                before = "hello world\n[common\nsound=0\n";
            else if (what == "binary garbage")
                before = QByteArray("\x00\x01\xff\xfe[[[]]]\n=x\n", 15);
            writeFile(before);
            if (what == "read-only file")
                guard.emplace(cfg.storeFile(), fs::perms::owner_read | fs::perms::group_read);
            if (what == "read-only folder")
                guard.emplace(folder(), fs::perms::owner_read | fs::perms::owner_exec);
        }

        IniCtrl ini;
        EXPECT_EQ(ini.ReadBool(common, "sound", true), !c.readsStoredValues);
        EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), c.readsStoredValues ? 1 : -1);
        EXPECT_EQ(errorOf([&] { ini.WriteBool(common, "sound", true); }),
                  "Fehler beim Setzen der Daten für 'sound'");
        EXPECT_EQ(errorOf([&] { ini.WriteString(common, "new", "x"); }), "Fehler beim Setzen der Daten für 'new'");
        if (c.readsStoredValues)
            EXPECT_EQ(errorOf([&] { ini.DeleteValue(common, "tongue"); }),
                      "Fehler beim Setzen der Daten für 'tongue'");
        else
            ini.DeleteValue(common, "tongue"); // nothing readable to delete: no error

        if (what == "store is a directory")
            EXPECT_TRUE(fs::is_directory(cfg.storeFile()));
        else
            EXPECT_EQ(fileBytes(), before);
        EXPECT_FALSE(fs::exists(cfg.storeFile().string() + ".lock"));
    }
}

TEST_F(IniStore, FolderThatCannotBeCreatedNamesTheSection)
{
    QFile blocker(QString::fromStdString((cfg.dir() / "Quorlix").string()));
    ASSERT_TRUE(blocker.open(QFile::WriteOnly));
    blocker.close();
    IniCtrl ini;
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), -1);
    EXPECT_EQ(errorOf([&] { ini.WriteInteger(common, "tongue", 1); }), "Erzeugung von Schlüssel common misslungen");
    EXPECT_EQ(errorOf([&] { ini.WriteInteger("", "tongue", 1); }), "Erzeugung von Schlüssel common misslungen");
}

TEST_F(IniStore, StoreMadeUnwritableMidRunLosesNothing)
{
    IniCtrl ini;
    ini.WriteInteger(common, "tongue", 1);
    ini.WriteString(common, "hs0", "Anna,120");
    const QByteArray before = fileBytes();
    {
        ModeGuard readOnly(cfg.storeFile(), fs::perms::owner_read);
        EXPECT_THROW(ini.WriteString(common, "hs0", "lost,1"), StoreError);
        EXPECT_THROW(ini.WriteInteger(common, "tongue", 0), StoreError);
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(ini.ReadString(common, "hs0", ""), "Anna,120");
    }
    // writable again: what failed earlier must not turn up with the next write
    ini.WriteBool(common, "sound", false);
    EXPECT_EQ(ini.ReadString(common, "hs0", ""), "Anna,120");
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), 1);
    EXPECT_FALSE(ini.ReadBool(common, "sound", true));
}

TEST_F(IniStore, EachWriteMergesIntoWhatIsOnDisk)
{
    IniCtrl first(path()), second(path());
    first.WriteInteger(common, "tongue", 1);
    second.WriteBool(common, "sound", false);
    first.WriteInteger(common, "backmode", 4);
    EXPECT_FALSE(first.ReadBool(common, "sound", true));
    EXPECT_EQ(second.ReadInteger(common, "backmode", 0), 4);

    // another program rewrote the file meanwhile: its values stay
    writeFile(fileBytes() + "hs0=\"Bert, 77\"\n[elsewhere]\nkeep=me\n");
    first.WriteString(common, "player", "Carla");
    EXPECT_EQ(second.ReadString(common, "hs0", ""), "Bert, 77");
    EXPECT_EQ(second.ReadString("elsewhere", "keep", ""), "me");
    EXPECT_EQ(second.ReadInteger(common, "tongue", -1), 1);
}

TEST_F(IniStore, ChangesByOthersAreSeenAtOnce)
{
    writeFile("[common]\nsound=0\n");
    const auto stamp = fs::last_write_time(cfg.storeFile());
    IniCtrl ini;
    EXPECT_FALSE(ini.ReadBool(common, "sound", true));
    // same size, same time stamp: only reading the file again tells the difference
    writeFile("[common]\nsound=1\n");
    fs::last_write_time(cfg.storeFile(), stamp);
    EXPECT_TRUE(ini.ReadBool(common, "sound", false));
    writeFile("[common]\nso\x01nd\n");
    fs::last_write_time(cfg.storeFile(), stamp);
    EXPECT_EQ(errorOf([&] { ini.WriteBool(common, "sound", true); }), "Fehler beim Setzen der Daten für 'sound'");
}

TEST_F(IniStore, WorksWithoutAUsableTemporaryFolder)
{
    const char* old = std::getenv("TMPDIR");
    const std::string oldTmp = old ? old : "";
    setenv("TMPDIR", (cfg.dir() / "missing").c_str(), 1);
    IniCtrl ini;
    ini.WriteInteger(common, "backmode", 6);
    EXPECT_EQ(ini.ReadInteger(common, "backmode", 0), 6);
    EXPECT_EQ(fileBytes(), "[common]\nbackmode=6\n");
    if (old)
        setenv("TMPDIR", oldTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

TEST_F(IniStore, TwoProcessesWritingAtOnceLoseNoValue)
{
    constexpr int n = 15;
    IniCtrl(path()).WriteString(common, "start", "1");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int failures = 0;
        try {
            IniCtrl ini(path());
            for (int i = 0; i < n; ++i)
                ini.WriteInteger(common, QStringLiteral("child%1").arg(i), i);
        } catch (...) {
            failures = 1;
        }
        _exit(failures);
    }
    IniCtrl ini(path());
    for (int i = 0; i < n; ++i)
        ini.WriteInteger(common, QStringLiteral("parent%1").arg(i), i);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(ini.ReadInteger(common, QStringLiteral("child%1").arg(i), -1), i);
        EXPECT_EQ(ini.ReadInteger(common, QStringLiteral("parent%1").arg(i), -1), i);
    }
}
