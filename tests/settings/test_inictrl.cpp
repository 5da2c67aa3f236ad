#include "settings/IniCtrl.h"

#include "common/FreshConfig.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using torvella::settings::IniChange;
using torvella::settings::IniCtrl;
using torvella::settings::IniFile;
using torvella::settings::IniProblem;
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
        "\uFEFFstarts with a byte order mark", // found by the fuzzer: it was taken for one and dropped
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

TEST_F(IniStore, ValuesThatAreNotTextReadAsTheirDefaultAndAreToldOnce)
{
    // QSettings' typed values: the store holds only text.
    const char* stored[] = {
        "@Rect(1 2 3 4)", "@ByteArray(abc)", "@Size(3 4)", "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x7fxx)", "@Invalid()",
    };
    for (const char* v : stored) {
        SCOPED_TRACE(v);
        writeFile(QByteArray("[common]\nHS3=") + v + "\nok=@String(@ok)\n");
        IniCtrl ini;
        QList<QList<IniProblem>> told;
        ini.SetProblemHandler([&](const QString& file, const QList<IniProblem>& problems) {
            EXPECT_EQ(file, path());
            told << problems;
        });
        EXPECT_EQ(ini.ReadString(common, "hs3", "default"), "default");
        EXPECT_EQ(ini.ReadInteger(common, "hs3", 7), 7);
        EXPECT_EQ(ini.ReadString(common, "ok", ""), "@ok");
        ASSERT_EQ(told.size(), 1);
        EXPECT_EQ(told[0], (QList<IniProblem>{{IniProblem::NotText, 2, "HS3"}}));
        ini.WriteString(common, "hs3", "text again");
        EXPECT_EQ(ini.ReadString(common, "hs3", ""), "text again");
        EXPECT_EQ(told.size(), 1);
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
    // (A file full of garbage is no longer among these: what can be read of it is
    // read, and it is written; see HandEditedStore below.)
    const Case cases[] = {{"read-only file", true}, {"read-only folder", true}, {"store is a directory", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(cfg.dir() / "Quorlix");
        const std::string what = c.what;
        std::optional<ModeGuard> guard;
        const QByteArray before = good;
        if (what == "store is a directory") {
            fs::create_directories(cfg.storeFile());
        } else {
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
    int told = 0;
    ini.SetProblemHandler([&](const QString&, const QList<IniProblem>&) { ++told; });
    ini.WriteBool(common, "sound", false);
    EXPECT_EQ(told, 1) << "the line that is no setting, seen although size and time look unchanged";
    EXPECT_EQ(fileBytes(), "[common]\nsound=0\n");
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

// ---------------------------------------------------------------- hand-edited stores

namespace {

// Every value that reads, per section, as the store's own reader sees it.
std::vector<IniFile::Snapshot> readable(const QByteArray& bytes)
{
    return IniFile::Parse(bytes).Contents();
}

} // namespace

TEST_F(IniStore, HandEditedLinesReadAsThePlayerWroteThem)
{
    struct Case {
        const char* what;
        QByteArray file;
        const char* section;
        const char* name;
        const char* expected; // nullptr: the default
    };
    const Case cases[] = {
        {"unquoted comma", "[common]\nplayer=Smith, John\n", "common", "player", "Smith, John"},
        {"unquoted commas and blanks", "[common]\nhs0=a ,b,  c\n", "common", "hs0", "a ,b,  c"},
        {"quoted list", "[common]\nplayer=\"Smith\", \"John\"\n", "common", "player", "Smith, John"},
        {"semicolon inside", "[common]\nplayer=Smith; John\n", "common", "player", "Smith; John"},
        {"comment lines", "# my note\n[common]\n; another\n  # indented\ntongue=1\n", "common", "tongue", "1"},
        {"line without =", "[common]\nhello world\ntongue=1\n", "common", "tongue", "1"},
        {"missing ]", "[common\ntongue=1\n", "common", "tongue", "1"},
        {"name ending in /", "[common]\nfoo/=1\n", "common", "foo/", "1"},
        {"QSettings' slash", "[common]\na\\b=2\n", "common", "a/b", "2"},
        {"blanks around", "  [ common ]  \n  tongue =  1  \n", "common", "tongue", "1"},
        {"CR LF and BOM", "\xEF\xBB\xBF[common]\r\ntongue=1\r\n", "common", "tongue", "1"},
        {"old Mac line ends", "[common]\rtongue=1\rsound=0\r", "common", "sound", "0"},
        {"later line wins", "[common]\ntongue=0\n[other]\nx=1\n[COMMON]\nTONGUE=1\n", "common", "tongue", "1"},
        {"Latin-1 line", "[common]\nplayer=J\xF6rg\n", "common", "player", "J\u00f6rg"},
        {"escapes", "[common]\nplayer=\"a\\tb\\\\c\\\"d\\x41\"\n", "common", "player", "a\tb\\c\"dA"},
        {"unknown escape kept", "[common]\nplayer=C:\\Users\\me\\\n", "common", "player", "C:\\Users\\me\\"},
        {"@@ is one @", "[common]\nplayer=@@home\n", "common", "player", "@home"},
        {"top level in [General]", "[common]\nx=1\n[General]\ntongue=1\n", "#ROOT", "tongue", "1"},
        {"value before any section", "tongue=1\n[common]\n", "#ROOT", "tongue", "1"},
        {"typed value", "[common]\ntongue=@Size(1 2)\n", "common", "tongue", nullptr},
        // found by the fuzzer: written first in the file, the name's first bytes were
        // read back as a byte order mark
        {"Latin-1 name starting with the bytes of one", "[common]\nx=1\n[General]\n\xEF\xBB\xBFn\xE4me=1\n", "#ROOT",
         "\u00ef\u00bb\u00bfn\u00e4me", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(c.file);
        IniCtrl ini;
        EXPECT_EQ(ini.ReadString(c.section, c.name, "default"), c.expected ? QString::fromUtf8(c.expected) : "default");

        // A write of another value keeps every value that read before, with its text.
        const auto before = readable(c.file);
        ini.WriteString(common, "written", "x");
        EXPECT_EQ(ini.ReadString(c.section, c.name, "default"), c.expected ? QString::fromUtf8(c.expected) : "default");
        EXPECT_EQ(ini.ReadString(common, "written", ""), "x");
        ini.DeleteValue(common, "written");
        EXPECT_EQ(readable(fileBytes()), before);
    }
}

TEST_F(IniStore, NameEndingInSlashKeepsTheStoreWritable)
{
    writeFile("[common]\nfoo/=1\ntongue=1\n");
    IniCtrl ini;
    for (int round = 0; round < 2; ++round) {
        ini.WriteInteger(common, "tongue", round);
        ini.WriteString(common, "player", "Smith");
        EXPECT_EQ(ini.ReadString(common, "foo/", ""), "1");
        EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), round);
        EXPECT_EQ(ini.ReadString(common, "player", ""), "Smith");
    }
    EXPECT_EQ(fileBytes(), "[common]\nfoo/=1\nplayer=Smith\ntongue=1\n");
    ini.WriteString(common, "bar/", "2"); // written by the game, in QSettings' escapes
    EXPECT_EQ(IniCtrl(path()).ReadString(common, "bar/", ""), "2");
}

TEST_F(IniStore, WhatCannotBeReadIsToldOnceForTheWholeFile)
{
    writeFile("# kept out\n[common]\nhello\ntongue=@Rect(1 2 3 4)\nplayer=Smith, John\n[other]\nsize=@Size(1 2)\n");
    IniCtrl ini;
    QList<QList<IniProblem>> told;
    ini.SetProblemHandler([&](const QString&, const QList<IniProblem>& problems) { told << problems; });
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), -1);
    EXPECT_EQ(ini.ReadString(common, "player", ""), "Smith, John");
    EXPECT_EQ(ini.ReadString("other", "size", "none"), "none");
    ini.WriteInteger(common, "backmode", 2);
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), -1);
    const QList<IniProblem> expected{{IniProblem::NotASetting, 3, "hello"},
                                     {IniProblem::NotText, 4, "tongue"},
                                     {IniProblem::NotText, 7, "size"}};
    EXPECT_EQ(told, QList<QList<IniProblem>>{expected});
    // The write dropped the comment and the line that is no setting, nothing else.
    EXPECT_EQ(fileBytes(), "[common]\nbackmode=2\nplayer=Smith, John\ntongue=@Rect(1 2 3 4)\n\n[other]\nsize=@Size(1 2)\n");
}

TEST_F(IniStore, ValuesQSettingsWroteReadTheSame)
{
    const QString texts[] = {
        "a, b", "x;y=z", "  blanks ", "@at", "quote\" and back\\slash", "new\nline\ttab\r", QString::fromUtf8("nul\0" "7", 5),
        "\x01" "f", "Grüße €", "😀", "",
    };
    for (const QString& t : texts) {
        {
            QSettings s(path(), QSettings::IniFormat);
            s.setValue("common/value", t);
        }
        EXPECT_EQ(IniCtrl(path()).ReadString(common, "value", "default"), t) << fileBytes().toStdString();
    }
}

TEST_F(IniStore, SeveralValuesAreWrittenTogetherOrNotAtAll)
{
    IniCtrl ini;
    ini.WriteString(common, "player", "Anna");
    const QByteArray before = fileBytes();
    const std::vector<IniChange> changes{{"player", "Bert"}, {"hs0", "1,Bert"}, {"MainFormColor", std::nullopt}};
    {
        // another program holds the store
        QLockFile other(path() + ".lock");
        ASSERT_TRUE(other.tryLock(0));
        try {
            ini.Write(common, changes);
            ADD_FAILURE() << "the write went through a held lock";
        } catch (const StoreError& e) {
            EXPECT_EQ(std::string(e.what()), "Fehler beim Setzen der Daten für 'player'");
            // this very program holds it
            EXPECT_TRUE(e.Detail(false).contains("in use by another program")) << e.Message(false).toStdString();
        }
        EXPECT_EQ(fileBytes(), before);
    }
    ini.Write(common, changes);
    EXPECT_EQ(fileBytes(), "[common]\nhs0=\"1,Bert\"\nplayer=Bert\n");
}

TEST_F(IniStore, AStartAndAListReadTheFileOnceAndStillSeeEveryChange)
{
    writeFile("[common]\ntongue=1\nsound=0\nplayer=Anna\n");
    // a store from an earlier run: written a clock tick or more before it is read
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    IniCtrl ini;
    for (const char* name : {"tongue", "sound", "music", "backmode", "MainForm", "tongue"})
        ini.ReadString(common, name, "");
    EXPECT_EQ(ini.FileReads(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    for (int i = 0; i < 15; ++i)
        ini.ReadString(common, "hs" + QString::number(i), "");
    EXPECT_EQ(ini.FileReads(), 1);

    // Changed by another program, by replacing the file and in place, keeping the size.
    IniCtrl(path()).WriteString(common, "player", "Bert");
    EXPECT_EQ(ini.ReadString(common, "player", ""), "Bert");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(ini.ReadString(common, "player", ""), "Bert");
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QFile::ReadWrite));
        QByteArray bytes = f.readAll();
        bytes.replace("Bert", "Carl");
        f.seek(0);
        f.write(bytes);
    }
    EXPECT_EQ(ini.ReadString(common, "player", ""), "Carl");
}

TEST_F(IniStore, ManyNamesReadAsFastAsTheirBytes)
{
    // Every line used to be looked up among all earlier ones: 40,000 names took seconds.
    // (The time itself is a figure of bench/settings_store.cpp.)
    QByteArray text = "[common]\n";
    for (int i = 0; i < 40000; ++i)
        text += "name" + QByteArray::number(i) + "=player " + QByteArray::number(i) + '\n';
    text += "NAME17=later line wins\n";
    writeFile(text);
    IniCtrl ini;
    EXPECT_EQ(ini.ReadString(common, "name39999", ""), "player 39999");
    EXPECT_EQ(ini.ReadString(common, "Name17", ""), "later line wins");
    ini.DeleteValue(common, "name0");
    ini.WriteString(common, "name1", "changed");
    EXPECT_EQ(ini.ReadString(common, "name0", "gone"), "gone");
    EXPECT_EQ(ini.ReadString(common, "name1", ""), "changed");
    EXPECT_EQ(ini.ReadString(common, "name2", ""), "player 2");
}

TEST_F(IniStore, AWriteThatLeavesOutUnreadableLinesKeepsTheFileOnceBesideIt)
{
    struct Case {
        const char* what;
        QByteArray store;
        bool kept;
    };
    QByteArray binary("\xff\xfe\x00[common\ntongue=1\n", 19);
    for (int i = 0; i < 256; ++i)
        binary.append(char((i * 37) & 0xFF));
    const Case cases[] = {
        {"lines without =", "[common]\nremember the milk\ntongue=1\n", true},
        {"no text at all", binary, true},
        {"typed values only: written again as they are", "[common]\nsound=@Size(1 2)\ntongue=1\n", false},
        {"comments only", "# mine\n[common]\ntongue=1\n", false},
    };
    const QString copy = IniCtrl::UnreadableCopyPath(path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(copy.toStdString());
        writeFile(c.store);
        IniCtrl ini;
        ini.WriteInteger(common, "backmode", 2);
        EXPECT_EQ(ini.ReadInteger(common, "backmode", 0), 2);
        ASSERT_EQ(QFile::exists(copy), c.kept);
        if (!c.kept)
            continue;
        QFile kept(copy);
        ASSERT_TRUE(kept.open(QFile::ReadOnly));
        EXPECT_EQ(kept.readAll(), c.store);
        // Nothing unreadable is left, so later writes leave the copy alone.
        const QByteArray after = fileBytes();
        EXPECT_TRUE(IniFile::Parse(after).Problems().isEmpty()) << after.toStdString();
        fs::last_write_time(copy.toStdString(), fs::last_write_time(copy.toStdString()) - std::chrono::hours(1));
        const auto keptAt = fs::last_write_time(copy.toStdString());
        ini.WriteInteger(common, "backmode", 3);
        EXPECT_EQ(fs::last_write_time(copy.toStdString()), keptAt);
    }
}

TEST_F(IniStore, WhatIsNoTextIsOneProblemAndItsReadableLinesAreRead)
{
    QByteArray store("[common]\ntongue=1\nplayer=Ann\x00\x01\x02=x\n", 33);
    store += QByteArray(40, '\x07') + "\n";
    writeFile(store);
    IniCtrl ini;
    QList<IniProblem> told;
    ini.SetProblemHandler([&](const QString&, const QList<IniProblem>& problems) { told = problems; });
    EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), 1);
    EXPECT_EQ(ini.ReadString(common, "player", "none"), "none") << "a line with control characters is garbage";
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told[0].kind, IniProblem::NoTextFile);
}

TEST_F(IniStore, ALockWhoseOwnerIsGoneIsTakenAtOnce)
{
    // a process of this computer that has ended
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    struct Case {
        const char* what;
        QByteArray content;
    };
    const Case cases[] = {
        {"empty: killed between making it and filling it", ""},
        {"unreadable", "\x01\x02garbage\n"},
        {"a process that has ended", QByteArray::number(child) + "\ntorvella\n" + host + "\n"},
    };
    const fs::path lockFile = cfg.storeFile().string() + ".lock";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("[common]\ntongue=1\n");
        {
            QFile lock(QString::fromStdString(lockFile.string()));
            ASSERT_TRUE(lock.open(QFile::WriteOnly | QFile::Truncate));
            lock.write(c.content);
        }
        // left by a run that was killed a minute ago
        fs::last_write_time(lockFile, fs::file_time_type::clock::now() - std::chrono::minutes(1));
        IniCtrl ini;
        ini.WriteInteger(common, "tongue", 0);
        EXPECT_EQ(ini.ReadInteger(common, "tongue", -1), 0);
        EXPECT_FALSE(fs::exists(lockFile));
    }
}

TEST_F(IniStore, ALockReallyHeldNamesItsProgramOnlyWhenThereIsOne)
{
    writeFile("[common]\ntongue=1\n");
    const QString lockFile = path() + ".lock";
    auto detailOfWrite = [&] {
        IniCtrl ini;
        try {
            ini.WriteInteger(common, "tongue", 0);
            ADD_FAILURE() << "the write went through a held lock";
        } catch (const StoreError& e) {
            return e.Detail(false);
        }
        return QString();
    };
    {
        QLockFile running(lockFile); // held by a program that runs: this one
        ASSERT_TRUE(running.tryLock(0));
        const QString detail = detailOfWrite();
        EXPECT_TRUE(detail.contains("in use by another program")) << detail.toStdString();
        EXPECT_TRUE(detail.contains("process " + QString::number(getpid()))) << detail.toStdString();
    }
    {
        QFile far(lockFile);
        ASSERT_TRUE(far.open(QFile::WriteOnly | QFile::Truncate));
        far.write("4242\ntorvella\nfar-away-host\n");
    }
    const QString detail = detailOfWrite();
    EXPECT_TRUE(detail.endsWith("locked by a program on the computer far-away-host")) << detail.toStdString();
    EXPECT_FALSE(detail.contains("in use")) << detail.toStdString();
    EXPECT_EQ(IniCtrl().ReadInteger(common, "tongue", -1), 1);
}

TEST_F(IniStore, NewFilesOfAKilledSaveGoAtTheNextWrite)
{
    writeFile("[common]\ntongue=1\n");
    const std::string store = cfg.storeFile().string();
    for (const std::string& leftover : {store + ".new-1x7", store + ".new-zz", store + ".unreadable.new-9"})
        std::ofstream(leftover) << "half a store";
    std::ofstream(store + ".newer") << "not ours";
    IniCtrl ini;
    ini.ReadInteger(common, "tongue", -1);
    EXPECT_TRUE(fs::exists(store + ".new-zz")) << "reading removes nothing";
    ini.WriteInteger(common, "tongue", 0);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"V1.ini", "V1.ini.newer"}));
}

TEST_F(IniStore, ErrorsSpeakBothLanguages)
{
    QFile blocker(QString::fromStdString((cfg.dir() / "Quorlix").string()));
    ASSERT_TRUE(blocker.open(QFile::WriteOnly));
    blocker.close();
    IniCtrl ini;
    try {
        ini.WriteInteger(common, "tongue", 1);
        ADD_FAILURE() << "written below a file";
    } catch (const StoreError& e) {
        const QString folder = QString::fromStdString((cfg.dir() / "Quorlix" / "Torvella").string());
        EXPECT_EQ(e.Message(false), "The settings section common could not be made\n" + folder + ": cannot be made");
        EXPECT_EQ(e.Message(true), QString::fromUtf8("Erzeugung von Schlüssel common misslungen\n") + folder +
                                       ": kann nicht angelegt werden");
    }
}
