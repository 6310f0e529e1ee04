// The window manager, the standard windows and a paged grid on the game's built content, driven
// through the engine's real window, OpenGL device and input; windows_e2e.sh moves and clicks the
// mouse with xdotool and checks screenshots. The scene runs in three parts:
//   confirm  the window list "data/share/main/other windows.xml" is loaded; "Credits" fades in and,
//            once shown, "Confirm_Exit" is shown over it. Clicks go through the manager; the
//            confirm's answer is printed, a click on Credits' close button (control 1) hides it.
//   fade     holds still ("before-fade") with nothing shown, then shows "Fade_Transition" and
//            holds still ("mid-fade") as soon as its background's alpha has reached the fraction
//            given by --hold-fade (default 0.5), then again once it is shown and its background
//            has its end colour ("faded"); then it hides it. Both print the background's colour.
//   grid     a paged grid loaded from "data/share/layouts pages.xml" (its own items), given the
//            mouse through its messages as a window's bot list gives it; prints the page that a
//            slide ends on.
// The scene's background is the paper colour (F4EFE6). Windows run on the engine's frame time.
// Usage: e2e_window_scene --work DIR [--seconds N] [--hold-fade F]
// Prints, each on its own line:
//   "windows: <names>"                  the windows loaded, in list order
//   "event <text>"                      every call of the manager's sound callback
//   "shown <name>", "hidden <name>"     a window's show or hide has ended
//   "hover <name>.<id>"                 a push button of a shown window has become hovered
//   "click <n> at <x> <y> -> <target>"  what the n-th release did: "<name>.<id>" of the control
//                                       it clicked, or "none"; then "; stack <names, top first>"
//   "answer <value>"                    the confirm's answer (1 yes, -1 no, 0 close)
//   "hold: <name> ..."                  the scene holds still for a screenshot (after a few frames
//                                       drawn in that state); it goes on when DIR/continue-<name>
//                                       appears
//   "ready: <name> ..."                 a state worth a screenshot has been drawn
//   "slide begin", "page <n> strip <x>", "item <name>"  the grid's delegate calls

#include <charconv>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/bots/object_base.h"
#include "engine/core/callback.h"
#include "engine/graphics/render.h"
#include "engine/graphics/sprite.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/input.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/string_table.h"
#include "engine/windows/pages.h"
#include "engine/windows/pointer_data.h"
#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/ui/window_factory.h"
#include "tests/e2e/scene_engine.h"

namespace {

constexpr uint32_t kPaper = 0xFFF4EFE6;
// Frames drawn in a state before it is announced, so that a screenshot shows it.
constexpr int kFramesBeforeAnnounce = 4;
const char* const kRepositories[] = {"data/share/windows", "data/share/main/other", "data/share/font",
                                     "data/share/gui",     "data/share/layouts",    "data/en"};
const char* const kWindowList = "data/share/main/other windows.xml";
const char* const kStrings = "data/en strings.xml";
const char* const kGridLayout = "data/share/layouts pages.xml";

// One line on stdout, at once (the script reads the log while the scene runs).
void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

enum class Part { Confirm, Fade, Grid };

struct Scene;

// Hears the grid's slides, pages and item clicks.
struct GridListener : JIPagesDelegate {
    JCPagesItem* CreateItem(const pugi::xml_node&, int32_t) override { return nullptr; }
    void OnItemClick(JCPagesItem* item) override {
        const JSProperty* name = item->GetProperty("name");
        Say("item %s", name != nullptr ? name->text.c_str() : "?");
    }
    void OnSlideBegin() override { Say("slide begin"); }
    void OnPageChanged(int32_t page) override;

    Scene* scene = nullptr;
};

struct Scene {
    std::filesystem::path workDir;
    double seconds = 120.0;
    float holdFade = 0.5f;

    QRV::JC_STRING_TABLE strings;
    std::unique_ptr<JCWindowManager> manager;
    std::unique_ptr<JCPages> grid;
    GridListener listener;
    Part part = Part::Confirm;

    // The sound callback's texts since the start.
    std::vector<std::string> events;
    // The last state seen of every push button, by "<window>.<id>".
    std::map<std::string, int32_t> buttonStates;
    int releases = 0;

    // A hold: the manager stands still until the continue file appears, then onResume runs.
    bool holding = false;
    bool midFadeHeld = false;
    bool fadedHeld = false;
    std::string holdName;
    std::function<void()> onResume;
    // A line printed once kFramesBeforeAnnounce frames have been drawn since it was set.
    std::string announcement;
    int framesSinceAnnounce = 0;

    int frames = 0;
    std::chrono::steady_clock::time_point start;

    void Announce(std::string line) {
        announcement = std::move(line);
        framesSinceAnnounce = 0;
    }
    void Hold(const std::string& name, const std::string& detail, std::function<void()> resume) {
        holding = true;
        holdName = name;
        onResume = std::move(resume);
        Announce("hold: " + name + (detail.empty() ? "" : " " + detail));
    }
    std::string StackText() const {
        std::string text;
        for (const JCWindow* window : manager->Stack()) text += (text.empty() ? "" : " ") + window->name;
        return text.empty() ? "(empty)" : text;
    }
    JCWindow* Window(const char* name) const { return manager->FindWindow(name); }
};

Scene* g_scene = nullptr;

void GridListener::OnPageChanged(int32_t page) {
    Say("page %d strip %d", page, static_cast<int>(scene->grid->stripTransform.positionX));
    scene->Announce("ready: grid page " + std::to_string(page));
}

// --- the parts

void StartGrid(Scene& scene) {
    scene.part = Part::Grid;
    scene.grid = std::make_unique<JCPages>();
    scene.grid->LoadFromFile(kGridLayout);
    scene.grid->delegate = &scene.listener;
    // As a window's bot list does when the window loads its resources: items get their places.
    scene.grid->Message(QRV::MSG::LoadResources, 0.0f, 0.0f, 0.0f, nullptr);
    scene.Announce("ready: grid page " + std::to_string(scene.grid->currentPage) + " of " +
                   std::to_string(scene.grid->pageCount) + ", " + std::to_string(scene.grid->items.size()) + " items");
}

void StartFade(Scene& scene) {
    scene.part = Part::Fade;
    scene.Hold("before-fade", "", [&scene] { scene.manager->ShowWindow("Fade_Transition", false); });
}

// While the fade shows: hold once its background has covered the fraction, and again once the
// window is shown and its background has reached the end colour (the colour tween writes its end
// colour one tick after the show has ended).
void WatchFade(Scene& scene) {
    JCWindow* fade = scene.Window("Fade_Transition");
    if (scene.part != Part::Fade || fade == nullptr || fade->background == nullptr) return;
    const uint32_t color = fade->background->vertices[0].color;
    char detail[48];
    std::snprintf(detail, sizeof detail, "alpha %u color %08X", color >> 24, color);
    if (!scene.midFadeHeld && fade->IsShowing() && static_cast<float>(color >> 24) >= scene.holdFade * 255.0f) {
        scene.midFadeHeld = true;
        scene.Hold("mid-fade", detail, nullptr);
    } else if (!scene.fadedHeld && fade->shown != 0 && fade->animating == 0 && color == fade->endColor) {
        scene.fadedHeld = true;
        scene.Hold("faded", detail, [&scene] { scene.Window("Fade_Transition")->Hide(false); });
    }
}

void OnShown(void* object) {
    auto* window = static_cast<JCWindow*>(object);
    Scene& scene = *g_scene;
    Say("shown %s", window->name.c_str());
    if (window->name == "Credits" && scene.part == Part::Confirm) {
        scene.manager->ShowConfirm(
            "Confirm_Exit", Closure<void(int32_t)>(nullptr, [](void*, int32_t answer) { Say("answer %d", answer); }));
    } else if (window->name == "Confirm_Exit") {
        scene.Announce("ready: confirm over " + scene.StackText());
    }
}

void OnHidden(void* object) {
    auto* window = static_cast<JCWindow*>(object);
    Scene& scene = *g_scene;
    Say("hidden %s", window->name.c_str());
    if (window->name == "Credits") StartFade(scene);
    if (window->name == "Fade_Transition") StartGrid(scene);
}

// Credits is a plain window: its opener (this scene) hides it on its close control.
void OnCreditsClick(void* object, int32_t id) {
    if (id == 1) static_cast<JCWindow*>(object)->Hide(false);
}

void OnSound(void*, std::string text) {
    Say("event %s", text.c_str());
    g_scene->events.push_back(std::move(text));
}

// Prints every push button of a stacked window that has just become hovered.
void WatchButtons(Scene& scene, const std::string& window, const QRV::JC_GUI_OBJECT* node) {
    for (const QRV::JC_GUI_OBJECT* child : node->children) {
        if (child->kind == QRV::GUI_KIND::Button5) {
            const int32_t state = static_cast<const QRV::JC_GUI_BUTTON5*>(child)->GetState();
            const std::string key = window + "." + std::to_string(child->GetId());
            int32_t& last = scene.buttonStates[key];
            if (state == 1 && last != 1) Say("hover %s", key.c_str());
            last = state;
        }
        WatchButtons(scene, window, child);
    }
}

bool LoadScene(Scene& scene) {
    QRV::JC_PATHS::Instance();
    for (const char* repository : kRepositories) {
        if (!QRV::LoadRepository(repository)) {
            std::fprintf(stderr, "no repository %s\n", repository);
            return false;
        }
    }
    if (!scene.strings.LoadFromResource(kStrings)) return false;

    scene.manager = std::make_unique<JCWindowManager>(&scene.strings);
    scene.manager->defaultFactory = &CreateWindowByType;
    scene.manager->SetSoundCallback(Closure<void(std::string)>(nullptr, &OnSound));
    if (!scene.manager->LoadWindows(kWindowList)) return false;
    std::string names;
    for (JCWindow* window : scene.manager->Windows()) {
        names += (names.empty() ? "" : " ") + window->name;
        window->cbShown = Closure<void()>(window, &OnShown);
        window->cbHidden = Closure<void()>(window, &OnHidden);
    }
    Say("windows: %s", names.c_str());
    JCWindow* credits = scene.Window("Credits");
    if (credits == nullptr || scene.Window("Confirm_Exit") == nullptr || scene.Window("Fade_Transition") == nullptr) {
        std::fprintf(stderr, "the window list lacks Credits, Confirm_Exit or Fade_Transition\n");
        return false;
    }
    credits->cbClick = Closure<void(int32_t)>(credits, &OnCreditsClick);
    scene.listener.scene = &scene;
    scene.manager->ShowWindow("Credits", false);
    return true;
}

void ReleaseScene(Scene& scene) {
    if (scene.grid) scene.grid->Message(QRV::MSG::ReleaseResources, 0.0f, 0.0f, 0.0f, nullptr);
    scene.grid.reset();
    if (scene.manager) {
        for (JCWindow* window : scene.manager->Windows()) window->UnloadResources(true);
    }
    scene.manager.reset();
    scene.strings.Clear();
}

// --- the engine's hooks

bool IsButton(uintptr_t code) { return code == QRV::VK_LBUTTON || code == QRV::VK_RBUTTON || code == QRV::VK_MBUTTON; }

int OnUpdate(uintptr_t) {
    Scene& scene = *g_scene;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - scene.start).count();
    if (elapsed >= scene.seconds) QRV::g_app->running = 0;
    if (scene.holding) {
        if (!std::filesystem::exists(scene.workDir / ("continue-" + scene.holdName))) return 0;
        scene.holding = false;
        if (auto resume = std::exchange(scene.onResume, nullptr)) resume();
    }
    scene.manager->Update();
    for (JCWindow* window : scene.manager->Stack()) WatchButtons(scene, window->name, window->gui->rootObject);
    WatchFade(scene);
    if (scene.grid) scene.grid->Message(QRV::MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
    return 0;
}

int OnRender(uintptr_t) {
    Scene& scene = *g_scene;
    ++scene.frames;
    // The grid stands below every window.
    if (scene.grid) scene.grid->Message(QRV::MSG::Draw, 0.0f, 0.0f, 0.0f, nullptr);
    scene.manager->Draw();
    if (!scene.announcement.empty() && ++scene.framesSinceAnnounce >= kFramesBeforeAnnounce) {
        Say("%s", scene.announcement.c_str());
        scene.announcement.clear();
    }
    return 0;
}

int OnMouseMove(uintptr_t) {
    Scene& scene = *g_scene;
    if (!scene.manager->OnMouseMove() && scene.grid)
        scene.grid->Message(QRV::MSG::PointerDragged, 0.0f, 0.0f, 0.0f, nullptr);
    return 0;
}

int OnKeyDown(uintptr_t code) {
    Scene& scene = *g_scene;
    if (!IsButton(code)) return 0;
    const auto button = static_cast<int32_t>(code);
    if (!scene.manager->OnMouseDown(button) && scene.grid)
        scene.grid->Message(QRV::MSG::PointerPressed, 0.0f, 0.0f, 0.0f, ButtonData(button));
    return 0;
}

int OnKeyUp(uintptr_t code) {
    Scene& scene = *g_scene;
    if (!IsButton(code)) return 0;
    const auto button = static_cast<int32_t>(code);
    const size_t before = scene.events.size();
    const bool taken = scene.manager->OnMouseUp(button);
    if (!taken && scene.grid) scene.grid->Message(QRV::MSG::PointerReleased, 0.0f, 0.0f, 0.0f, ButtonData(button));
    std::string target = "none";
    for (size_t i = before; i < scene.events.size(); ++i) {
        if (scene.events[i].rfind("click.", 0) == 0) {
            target = scene.events[i].substr(6);
            break;
        }
    }
    ++scene.releases;
    Say("click %d at %d %d -> %s; stack %s", scene.releases, QRV::g_input->mouseX, QRV::g_input->mouseY, target.c_str(),
        scene.StackText().c_str());
    return 0;
}

bool ParseArguments(Scene& scene, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--work" && i + 1 < argc) {
            scene.workDir = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc) {
            if (!SceneEngine::ParseNumber(argv[++i], scene.seconds)) return false;
        } else if (arg == "--hold-fade" && i + 1 < argc) {
            if (!SceneEngine::ParseNumber(argv[++i], scene.holdFade)) return false;
        } else {
            return false;
        }
    }
    return !scene.workDir.empty() && scene.seconds > 0.0 && scene.holdFade > 0.0f && scene.holdFade < 1.0f;
}

}  // namespace

int main(int argc, char** argv) {
    auto scene = std::make_unique<Scene>();
    if (!ParseArguments(*scene, argc, argv)) {
        std::fprintf(stderr, "usage: %s --work DIR [--seconds N] [--hold-fade F (0 < F < 1)]\n", argv[0]);
        return 2;
    }
    g_scene = scene.get();

    Scene& shown = *scene;
    const int status = SceneEngine::Run(
        "Quorvel window scene", {SceneEngine::Ready, OnUpdate, OnRender, SceneEngine::StopRunning},
        {OnMouseMove, OnKeyDown, OnKeyUp}, kPaper, [&shown] { return LoadScene(shown); },
        [&shown] {
            shown.start = std::chrono::steady_clock::now();
            QRV::Engine::Run();
            Say("drew %d frames", shown.frames);
        },
        [&shown] { ReleaseScene(shown); });
    scene.reset();
    g_scene = nullptr;
    SceneEngine::Stop();
    return status;
}
