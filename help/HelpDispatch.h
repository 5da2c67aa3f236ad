#pragma once
// The application's help dispatcher: the one replaceable help handler through which
// every help request of the program goes (the help hook installs itself here), and
// the calls the main window makes.
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace torvella::help {

class HelpRuntime;
class THookHelpSystem;

// Help command numbers used by the program.
inline constexpr uint16_t HELP_CONTEXT = 1;
inline constexpr uint16_t HELP_QUIT = 2;

// A help handler answers a request; it sets callHelp to false when it dealt with the
// request, or leaves it true to ask for the application's default handling.
using HelpHandler = std::function<bool(uint16_t command, int32_t data, bool& callHelp)>;
HelpHandler SetApplicationHelpHandler(HelpHandler h); // returns the previous one
const HelpHandler& ApplicationHelpHandler();

// What the application calls for a help request. The handler's answer is the answer.
// There is no default help handling on this platform, so a request that the handler
// hands back (callHelp true), or that arrives without a handler, does nothing more;
// without a handler the answer is false.
bool ApplicationHelpCommand(uint16_t command, int32_t data);
// ApplicationHelpCommand(HELP_CONTEXT, context)
bool ApplicationHelpContext(int32_t context);

// ---- The main window's part

// Main window creation: the hook over "pomq.qch" in the program folder, no window
// definition, host kind 0 (in-process help window). Keep it until destruction.
std::unique_ptr<THookHelpSystem> CreateMainHelpHook(HelpRuntime& runtime, const QString& programFolder);

// Rules button: topic 1 when tongue is 1 (German), topic 2 otherwise.
int32_t RulesTopic(int tongue);
bool RulesBtnHelp(int tongue); // ApplicationHelpContext(RulesTopic(tongue))

// Window close (after the close was confirmed): the quit command, which the hook
// passes back unhandled.
void HelpQuitAtClose(); // ApplicationHelpCommand(HELP_QUIT, 0)

// Main window destruction: destroys the hook (closing its help windows and giving the
// application its previous handler back), then asks once more for all help windows
// to close. Safe with an empty pointer.
void DestroyMainHelpHook(std::unique_ptr<THookHelpSystem>& hook);

} // namespace torvella::help
