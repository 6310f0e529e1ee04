#pragma once
// The one main window: windowed or fullscreen, the letterbox scale of the logical screen on the
// desktop, and the message pump that turns platform events into hook calls.

#include <atomic>
#include <cstdint>
#include <string>

struct SDL_Window;
union SDL_Event;

namespace QRV {

// The desktop size, read once when the window object is made.
extern int32_t g_desktopWidth;
extern int32_t g_desktopHeight;

class JC_PLATFORM_WINDOW {
public:
    JC_PLATFORM_WINDOW(int32_t width, int32_t height);
    ~JC_PLATFORM_WINDOW();

    // Opens the window (UTF-8 title). 1 on success, -1 when no window could be made.
    int Create(const std::string& title);
    void SetMode(int32_t width, int32_t height, uint8_t fullscreen, uint8_t stretch);
    void ApplyWindowStyle();
    void UpdateScale();

    // The letterbox of a logical screen of logicalW x logicalH shown on a screen of
    // screenW x screenH: scale 1 and no offsets when the sizes are equal, else the largest
    // uniform scale that fits, centred.
    static void ComputeScale(int32_t screenW, int32_t screenH, int32_t logicalW, int32_t logicalH, float& scale,
                             float& offsetX, float& offsetY);

    // Requests from any thread are applied on the main thread.
    void SetTitle(const std::string& title);
    void SetSystemCursorVisible(bool visible);
    bool IsSystemCursorVisible() const { return systemCursorVisible; }

    // Logical position of a point given in window coordinates (the mouse mapping).
    void MapToLogical(int32_t x, int32_t y, int32_t& outX, int32_t& outY) const;

    // The drawable size in pixels (the GL back buffer).
    void GetDrawableSize(int32_t& w, int32_t& h) const;

    SDL_Window* sdlWindow = nullptr;
    int32_t width = 1024;
    int32_t height = 768;
    uint8_t fullscreen = 0;
    uint8_t hasFrame = 1;
    uint8_t resizable = 0;
    uint8_t minimizeBox = 1;
    uint8_t maximizeBox = 0;
    float scale = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    uint8_t stretch = 0;
    // Set at once from any thread; the platform cursor follows on the main thread.
    std::atomic<bool> systemCursorVisible = true;

private:
    void ApplyMode(int32_t newWidth, int32_t newHeight, uint8_t newFullscreen, uint8_t newStretch);
    void ApplyTitle(const std::string& title);
    void ApplyCursorVisible(bool visible);
    void SetIcon();

    // Whether this object started SDL's video subsystem (and so must stop it).
    bool videoStarted = false;
};

extern JC_PLATFORM_WINDOW* g_window;

// Handles every queued platform event (once per update step, after the key ageing).
void PumpMessages();

// Handles one platform event as the pump does (used by the pump and by tests).
void HandleEvent(const SDL_Event& event);

// Maps a platform key code (SDL_Keycode) to a Windows virtual-key number; 0 when it has none.
int32_t KeycodeToVirtualKey(int32_t sdlKeycode);
// The US-keyboard virtual-key number of the key at a place (SDL_Scancode); 0 when it has none.
int32_t ScancodeToVirtualKey(int32_t sdlScancode);
// The virtual-key number of a key event: keypad keys by place (Num Lock decides digits or
// navigation), then the layout's key code, then the key's place on a US keyboard.
int32_t KeyToVirtualKey(int32_t sdlScancode, int32_t sdlKeycode, uint16_t modState);

}  // namespace QRV
