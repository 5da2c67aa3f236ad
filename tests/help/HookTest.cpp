#include "HelpTestSupport.h"

#include "help/HelpDispatch.h"
#include "help/hh.h"
#include "help/hh_funcs.h"

#include <QCoreApplication>

namespace torvella::help {
namespace {

using testing::MessageRecorder;
using testing::ReadLines;
using testing::TempFolders;

const QString Qch = QStringLiteral(TORVELLA_TEST_QCH);

TEST(BuildTopicUrl, TrimsDecodesAndJoins)
{
    const QString file = QStringLiteral("a%20b.chm ");
    const QString topic = QStringLiteral("\\x\\y.htm");
    EXPECT_EQ(BuildTopicUrl(file, topic, QStringLiteral("main"), QString()), QStringLiteral("a b.chm::/x/y.htm>main"));
    EXPECT_EQ(BuildTopicUrl(file, topic, QStringLiteral("main"), QStringLiteral("ms-its:")),
              QStringLiteral("ms-its:a b.chm::/x/y.htm>main"));
    EXPECT_EQ(BuildTopicUrl(QString(), QStringLiteral("x.htm"), QString(), QString()), QStringLiteral("/x.htm"));
    EXPECT_EQ(BuildTopicUrl(QStringLiteral("/p/pomq.qch"), QString(), QString(), QString()), QStringLiteral("/p/pomq.qch"));
}

TEST(HelpCommandText, NamesAndUnknown)
{
    EXPECT_EQ(HelpCommandText(1), QStringLiteral("1 (HELP_CONTEXT)"));
    EXPECT_EQ(HelpCommandText(2), QStringLiteral("2 (HELP_QUIT)"));
    EXPECT_EQ(HelpCommandText(3), QStringLiteral("3 (HELP_INDEX or HELP_CONTENTS)"));
    EXPECT_EQ(HelpCommandText(515), QStringLiteral("515 (HELP_SETWINPOS)"));
    EXPECT_EQ(HelpCommandText(99), QStringLiteral("99 (?\?)"));
}

TEST(MainWindowHelp, RulesTopicByLanguage)
{
    EXPECT_EQ(RulesTopic(1), 1);
    EXPECT_EQ(RulesTopic(0), 2);
    EXPECT_EQ(RulesTopic(-1), 2);
}

// The module as the program starts it, in folders of the test, with the log either on or off.
class HookTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (runtime)
            CloseHelpWindows(*runtime);
        runtime.reset();
        SetApplicationHelpHandler(nullptr);
    }
    void Start(bool debug)
    {
        QStringList args{folders.ProgExe()};
        if (debug)
            args << QStringLiteral("/debug");
        runtime = std::make_unique<HelpRuntime>(folders.ProgExe(), args);
    }
    QList<QWidget*> HelpWindows() { return runtime->Viewer() ? runtime->Viewer()->HelpWindows() : QList<QWidget*>{}; }
    // The log without its 27 header lines.
    QStringList Trace() const { return ReadLines(folders.Prog() + QStringLiteral("/HHDebug.txt")).mid(27); }

    TempFolders folders;
    MessageRecorder messages;
    std::unique_ptr<HelpRuntime> runtime;
};

// Every traced line carries a time, three blanks and then the text.
void ExpectTrace(const QStringList& lines, const QStringList& texts)
{
    ASSERT_EQ(lines.size(), texts.size()) << lines.join(QLatin1Char('\n')).toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith(QStringLiteral("   ") + texts[i])) << lines[i].toStdString();
        EXPECT_GT(lines[i].size(), texts[i].size() + 3) << lines[i].toStdString();
    }
}

TEST_F(HookTest, HelpRequestIsTracedStepByStep)
{
    Start(true);
    auto hook = CreateMainHelpHook(*runtime, QFileInfo(Qch).absolutePath());
    EXPECT_TRUE(RulesBtnHelp(0));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('|')).toStdString();
    HelpQuitAtClose();
    DestroyMainHelpHook(hook);

    ExpectTrace(Trace(), {
                             QStringLiteral("THookHelpSystem.Create(\"%1\",\"\", 0)").arg(Qch),
                             QStringLiteral("THookHelpSystem.HelpHook(1 (HELP_CONTEXT), 2)"),
                             QStringLiteral("HHHelpContext(\"%1\", 2, \"\", 0)").arg(Qch),
                             QStringLiteral("ShowContext(\"%1\", 0)").arg(Qch),
                             QStringLiteral("  returned - 0"),
                             QStringLiteral("THookHelpSystem.HelpHook(2 (HELP_QUIT), 0)"),
                             QStringLiteral("THookHelpSystem.Destroy"),
                         });
    EXPECT_TRUE(HelpWindows().isEmpty());
    EXPECT_FALSE(ApplicationHelpHandler());
}

TEST_F(HookTest, SwitchOffTracesNothingButStillShowsHelp)
{
    Start(false);
    THookHelpSystem hook(*runtime, Qch, QString(), 0);
    EXPECT_TRUE(ApplicationHelpContext(2));
    ASSERT_EQ(HelpWindows().size(), 1);
    EXPECT_TRUE(HelpWindows().first()->isVisible());
    EXPECT_FALSE(QFileInfo::exists(folders.Prog() + QStringLiteral("/HHDebug.txt")));
}

TEST_F(HookTest, CommandsOtherThanContextGoBackToTheApplication)
{
    Start(true);
    THookHelpSystem hook(*runtime, Qch, QString(), 0);
    const struct {
        uint16_t command;
        int32_t data;
        bool callHelp;
    } cases[] = {{2, 0, true}, {99, 5, true}, {3, 0, true}, {13, 0, false}};
    for (const auto& c : cases) {
        bool callHelp = !c.callHelp;
        EXPECT_TRUE(hook.HelpHook(c.command, c.data, callHelp));
        EXPECT_EQ(callHelp, c.callHelp) << c.command;
    }
    const QStringList trace = Trace();
    ASSERT_EQ(trace.size(), 5);
    EXPECT_TRUE(trace[2].endsWith(QStringLiteral("   THookHelpSystem.HelpHook(99 (?\?), 5)")));
    EXPECT_TRUE(HelpWindows().isEmpty());
}

TEST_F(HookTest, PopupPositionAndCallbacks)
{
    Start(false);
    THookHelpSystem hook(*runtime, Qch, QString(), 0);
    EXPECT_EQ(hook.PopupPoint, QPoint(0, 0));
    // X in the low half, Y in the high half, both signed.
    const int32_t data = static_cast<int32_t>((uint32_t(300) << 16) | uint16_t(int16_t(-5)));
    EXPECT_TRUE(ApplicationHelpCommand(13, data));
    EXPECT_EQ(hook.PopupPoint, QPoint(-5, 300));

    QList<QList<int>> calls;
    hook.PopupCallback = [&](int32_t context, int x, int y) { calls.append(QList<int>{context, x, y}); };
    hook.ContextCallback = [&](int32_t context) { calls.append(QList<int>{context}); };
    ApplicationHelpCommand(8, 7);
    ApplicationHelpContext(1);
    EXPECT_EQ(calls, (QList<QList<int>>{{7, -5, 300}, {1}}));
    EXPECT_TRUE(HelpWindows().isEmpty());
}

TEST_F(HookTest, DestroyGivesBackThePreviousHandlerAndPassToSavedCallsItFirst)
{
    Start(false);
    QList<int> seen;
    SetApplicationHelpHandler([&](uint16_t command, int32_t, bool& callHelp) {
        seen.append(command);
        callHelp = true;
        return false;
    });
    {
        THookHelpSystem hook(*runtime, Qch, QString(), 0);
        EXPECT_TRUE(ApplicationHelpCommand(2, 0));
        EXPECT_TRUE(seen.isEmpty());
        hook.PassToSaved = true;
        EXPECT_FALSE(ApplicationHelpCommand(2, 0)); // the saved handler's answer
        EXPECT_EQ(seen, QList<int>{2});
    }
    EXPECT_FALSE(ApplicationHelpCommand(4, 0));
    EXPECT_EQ(seen, (QList<int>{2, 4}));
}

TEST_F(HookTest, FailuresShowTheirMessageAndKeepTheHookUsable)
{
    Start(true);
    const struct {
        uint8_t hostKind;
        bool viewerLoaded;
        int code;
        QString url;
        QString message;
    } cases[] = {
        {1, true, 2, Qch, QStringLiteral("System file KeyHH.EXE was not found in the Windows folder.")},
        {2, true, 3, QStringLiteral("mk:@MSITStore:") + Qch,
         QStringLiteral("System file HH.EXE was not found in the Windows folder.")},
        {0, false, 1, Qch, QStringLiteral("MS Html Help is not installed on this PC.")},
    };
    for (const auto& c : cases) {
        if (c.viewerLoaded)
            runtime->LoadViewerLibrary();
        else
            runtime->FreeViewerLibrary();
        messages.texts.clear();
        messages.captions.clear();
        THookHelpSystem hook(*runtime, Qch, QString(), c.hostKind);
        const qsizetype before = Trace().size();
        EXPECT_EQ(hook.DisplayContext(1), c.code);
        EXPECT_EQ(messages.texts, QStringList{c.message});
        EXPECT_EQ(messages.captions, QStringList{QStringLiteral("Torvella")});
        ExpectTrace(Trace().mid(before), {
                                             QStringLiteral("HHHelpContext(\"%1\", 1, \"\", %2)").arg(Qch).arg(c.hostKind),
                                             QStringLiteral("ShowContext(\"%1\", %2)").arg(c.url).arg(c.hostKind),
                                             QStringLiteral("  returned - %1").arg(c.code),
                                             QStringLiteral("HHShowError(%1), \"%2\"").arg(c.code).arg(c.message),
                                         });
    }
    EXPECT_TRUE(HelpWindows().isEmpty());
    HHShowError(*runtime, 0);
    HHShowError(*runtime, 42);
    EXPECT_EQ(messages.texts.last(), QStringLiteral("Unknown error returned by HHHelpContext"));
}

} // namespace
} // namespace torvella::help
