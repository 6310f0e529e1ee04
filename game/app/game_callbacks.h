#pragma once
// The functions the game puts into the engine's hook slots, and the frame state machine: the
// loading screen until the loader job is done, then the game.

#include <cstdint>

namespace QRV {
class JC_LOADER;
}
class gcLoaderScreen;

// The frame states.
inline constexpr int32_t kFrameLoading = 0;
inline constexpr int32_t kFrameRunning = 1;
// The start function's results: a normal end, and a failed engine start or loader job.
inline constexpr int32_t kGameNormalEnd = 100500;
inline constexpr int32_t kGameFailedStart = -100500;

// Registers InstallGameCallbacks in the start slot and the engine's default close action (static
// initialisation, before main).
void RegisterGameStart();
// The start function: hook records in their slots, engine Init and Run.
int InstallGameCallbacks(uintptr_t = 0);

int GameCallback_Load(uintptr_t = 0);
int GameCallback_LoaderJob(QRV::JC_LOADER* loader);
int GameCallback_Update(uintptr_t = 0);
int GameCallback_Frame(uintptr_t = 0);
int GameCallback_KeyDown(uintptr_t code);
int GameCallback_KeyUp(uintptr_t code);
int GameCallback_MouseMove(uintptr_t = 0);
int GameCallback_Close(uintptr_t = 0);
int GameCallback_Exit(uintptr_t = 0);
int GameCallback_FocusLost(uintptr_t = 0);
int GameCallback_FocusGained(uintptr_t = 0);
int GameCallback_CompleteStartup();

// Back to the loading state with this loader (its sprites loaded) as the current one, started;
// the frame hook owns it from now on. The init hook hands in the game's own.
void AdoptGameLoader(gcLoaderScreen* loader);

// State for tests and the exit path.
int32_t GameFrameState();
// Back to loading, no loader, no failure, no carried time (tests).
void ResetGameFrameState();
// The loader job failed: the run ends with kGameFailedStart.
bool GameStartFailed();
