#pragma once
// Engine start-up, the main loop and shutdown.

#include <cstdint>
#include <memory>
#include <string>

namespace QRV {

namespace Platform {
class IRenderDevice;
}

namespace Engine {

// Creates input, window, renderer, clock, sound and repositories, then calls the init hook and
// returns its result; a negative result when no window or graphics device could be made.
int Init(const std::string& title);
// Alternates update and render steps while the running flag is set, then calls the exit hook.
void Run();
// One update step and one render step for an embedding host; -109 when not running, else 1.
int Frame();
// False when the step was too early (it slept instead).
bool UpdateStep();
void RenderStep();
// The app-context timing; false when the step is too early (after sleeping out the slot).
bool FrameTiming();
void SetDisplayMode(int32_t width, int32_t height, uint8_t fullscreen, uint8_t stretch);
int Shutdown();

// The device the renderer is made with; by default OpenGL on the window. Tests install a factory
// that makes the null device (and then no window is needed).
using DeviceFactory = std::unique_ptr<Platform::IRenderDevice> (*)();
void SetDeviceFactory(DeviceFactory factory);

}  // namespace Engine
}  // namespace QRV
