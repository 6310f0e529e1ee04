#pragma once
// The loading screen: while the loader job runs the game's start-up on its own thread, the main
// thread shows a background, a logo and a looping animation, with full-screen splash pictures in
// front that fade away one after the other. Once the job has finished and every splash has begun
// to fade, the screen is done and the game's own screens follow without a fade.
//
// Description (a resource, "data/share/main/other screen_loading.xml" for the game); its first
// element holds:
//   "background", "logo"   sprite descriptions
//   "animation"            an animation description (sprite and "ANIMATION")
//   "splashes"             attributes "time_per_splash" (seconds, default 2.0), "time_fade"
//                          (seconds, default 0.2), "back_color" ("A R G B", 0 to 255 each: the
//                          colour behind every splash; without it nothing is drawn behind them);
//                          one child per splash, in showing order, with "FILE" (picture path
//                          below the resource folder, read straight from the file; a missing
//                          file, or one that is no picture, skips the splash), "POS" ("x y") and "HOT_SPOT" (present:
//                          the picture is centred on POS, else its upper-left corner is there).
//
// Threads: the job writes only the progress (and its result); everything here runs on the main
// thread. The window manager is updated and drawn only after the job has returned, having
// reported 100. Each frame the main thread also makes the device textures the job has decoded.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/bots/bot_list.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/sprite.h"
#include "engine/resources/loader.h"

class JCWindowManager;

// The game's loading-screen description.
inline constexpr const char* kLoaderScreenDescription = "data/share/main/other screen_loading.xml";

class gcLoaderScreen : public QRV::JC_LOADER {
public:
    // Reads the description; a missing or unparsable one ends the program with the load-error
    // message naming the key. The window manager (may be null) is the one the job fills.
    gcLoaderScreen(Job job, JCWindowManager* windows, const std::string& descriptionKey = kLoaderScreenDescription);
    // Stops the job (it is asked to stop and waited for), then frees the splash and back textures.
    ~gcLoaderScreen() override;

    // Starts the job's thread and the animation (from its first frame, or its last when it plays
    // backwards).
    bool Start() override;
    // True from the frame on which the job has returned having reported 100 and every splash has
    // begun to fade.
    bool IsDone() override;
    // The animation, the fades, the device textures the job decoded; then the splash timer, or,
    // once every splash has begun to fade and the job has finished, the window manager.
    void Update() override;
    // The window manager (once the job has finished and every splash has begun to fade) under the
    // background, logo and animation; then the splashes, the first on top, each over the back
    // colour with its own alpha.
    void Draw() override;

    // Starts the fade of the splash at the splash index; false when every splash has begun.
    bool NextSplash();
    // A key or button during loading: the current splash begins to fade now and the next one gets
    // its full time. Nothing after the last splash.
    void Skip();

    // The textures of background, logo and animation.
    void LoadSpriteResources();
    void ReleaseSpriteResources();

    // True once the job has returned, having reported 100, or when its thread could not start (then
    // IsDone is true at once and the exit code is the failure).
    bool JobFinished();

    size_t SplashCount() const { return splashes.size(); }
    int32_t SplashIndex() const { return splashIndex; }
    // The colour (ARGB) a splash is drawn with now; its alpha falls during its fade.
    uint32_t SplashColor(size_t index) const { return splashes[index]->color; }
    bool HasBackColor() const { return backTexture != nullptr; }
    // "back_color" as ARGB (0 without one).
    uint32_t BackColor() const { return backColor; }
    float TimePerSplash() const { return timePerSplash; }
    float FadeTime() const { return fadeTime; }

    QRV::G_SPRITE background;
    QRV::G_SPRITE logo;
    QRV::G_ANIMATION animation;

private:
    struct Splash {
        QRV::JC_MESH quad;
        QRV::JS_TEXTURE* texture = nullptr;  // owned (read from the file)
        uint32_t color = 0xFFFFFFFFu;        // tweened by the fade
    };

    void ReadDescription(const std::string& key);
    void ReadSplashes(const pugi::xml_node& element);

    JCWindowManager* windows = nullptr;
    // A quad of the logical screen with a 2 x 2 texture of the back colour; absent without one.
    QRV::JC_MESH backQuad;
    QRV::JS_TEXTURE* backTexture = nullptr;
    uint32_t backColor = 0;
    float fadeTime = 0.2f;
    float timePerSplash = 2.0f;
    std::vector<std::unique_ptr<Splash>> splashes;
    bool done = false;
    int32_t splashIndex = 0;
    float splashTimer = 0.0f;
    // One colour tween per fading splash.
    QRV::JC_BOT_LIST fades;
};
