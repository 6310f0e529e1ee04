#pragma once
// A bot that runs a text command ("gameplay::process::undo", "windows::open::...") after its delay,
// and the command hook through which it runs: a settable callable that the game root fills with
// its command router. Tests and tools fill it with their own router.
//
// The command runs once: at the start, or at message 45 when that comes first. The tick after the
// start finishes the bot; a stop runs the completion callback.

#include <cstdint>
#include <string>

#include "engine/bots/actor_bot.h"
#include "engine/core/closure.h"

using gcCommandHook = Closure<void(const std::string&)>;

// The hook in use (empty until someone sets it). Main thread only.
gcCommandHook gcGetCommandHook();
// Replaces the hook and returns the one it replaced.
gcCommandHook gcSetCommandHook(gcCommandHook hook);
// Hands the command to the hook; false when no hook is set.
bool gcRunCommand(const std::string& command);

class gcBot_Message : public QRV::JCBot {
public:
    gcBot_Message(const std::string& command, float delay);

    void OnStart() override;
    int32_t OnTick(float dt) override;
    void OnStop() override;

    bool HasExecuted() const { return executed; }

    std::string command;

private:
    void Execute();

    bool executed = false;
    bool stopped = false;
};
