#include "game/gameplay/board_effects_message.h"

namespace {

gcCommandHook g_commandHook;

}  // namespace

gcCommandHook gcGetCommandHook() { return g_commandHook; }

gcCommandHook gcSetCommandHook(gcCommandHook hook) {
    const gcCommandHook previous = g_commandHook;
    g_commandHook = hook;
    return previous;
}

bool gcRunCommand(const std::string& command) {
    // A copy: the command may replace the hook.
    const gcCommandHook hook = g_commandHook;
    if (!hook) return false;
    hook(command);
    return true;
}

gcBot_Message::gcBot_Message(const std::string& command, float delay) : JCBot(delay), command(command) {}

void gcBot_Message::Execute() {
    if (executed) return;
    executed = true;
    gcRunCommand(command);
}

void gcBot_Message::OnStart() { Execute(); }

int32_t gcBot_Message::OnTick(float) { return QRV::MSG_RESULT::Finished; }

void gcBot_Message::OnStop() {
    if (stopped) return;
    stopped = true;
    Execute();
    CallCompletion();
}
