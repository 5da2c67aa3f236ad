#include "help/HelpDispatch.h"

#include "help/hh_funcs.h"

#include <utility>

namespace torvella::help {

namespace {

HelpHandler& Handler()
{
    static HelpHandler handler;
    return handler;
}

} // namespace

HelpHandler SetApplicationHelpHandler(HelpHandler h)
{
    return std::exchange(Handler(), std::move(h));
}

const HelpHandler& ApplicationHelpHandler()
{
    return Handler();
}

bool ApplicationHelpCommand(uint16_t command, int32_t data)
{
    // Copy first: a handler may replace itself while it runs.
    const HelpHandler handler = Handler();
    if (!handler)
        return false;
    bool callHelp = true;
    return handler(command, data, callHelp);
}

bool ApplicationHelpContext(int32_t context)
{
    return ApplicationHelpCommand(HELP_CONTEXT, context);
}

std::unique_ptr<THookHelpSystem> CreateMainHelpHook(HelpRuntime& runtime, const QString& programFolder)
{
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return std::make_unique<THookHelpSystem>(runtime, folder + QStringLiteral("pomq.qch"), QString(), 0);
}

int32_t RulesTopic(int tongue)
{
    return tongue == 1 ? 1 : 2;
}

bool RulesBtnHelp(int tongue)
{
    return ApplicationHelpContext(RulesTopic(tongue));
}

void HelpQuitAtClose()
{
    ApplicationHelpCommand(HELP_QUIT, 0);
}

void DestroyMainHelpHook(std::unique_ptr<THookHelpSystem>& hook)
{
    if (!hook)
        return;
    HelpRuntime& runtime = hook->Runtime();
    hook.reset();
    CloseHelpWindows(runtime);
}

} // namespace torvella::help
