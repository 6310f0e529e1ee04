#pragma once
// The game's screens driven without a screen: the whole shipped content, built once per test
// process by the content builder's own sequence into a temporary run folder, and per test the
// application singleton started as the game starts it (settings, edition, language, the game root,
// the start-up job run in place, the first screen), on the null renderer, with a save folder of
// its own, a scripted input fed through the game's input hooks, an injected frame time and
// calendar clock, and a recorder of the game events.
//
// Use: derive a fixture (its suite name carries the area, e.g. "ShopScreenTest") and drive the
// screens through the helpers below. BeforeStart lets a fixture change the edition or the user
// settings after they were read and before the game root starts (the platform letter, "inapp").

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/app/app_context.h"
#include "engine/core/event_dispatcher.h"
#include "engine/gui/gui_object.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/game_callbacks.h"
#include "game/app/global.h"
#include "game/data/ad_manager.h"
#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"
#include "game/data/igp_manager.h"
#include "game/data/trophy.h"
#include "game/data/trophy_list.h"
#include "game/data/tutorial_controller.h"
#include "game/gameplay/command_open.h"
#include "game/gameplay/element.h"
#include "game/gameplay/gameplay.h"
#include "game/screens/screen_windows.h"
#include "game/ui/loader_screen.h"
#include "tests/gui/gui_test_support.h"
#include "tests/test_kit/built_content.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/temp_folder.h"
#include "tools/content_builder/all_content.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/theme.h"

namespace ScreenTest {

inline constexpr float kFrame = 1.0f / 60.0f;

// The run folder holding "Resources" with everything the game ships (read only).
inline const std::filesystem::path& BuiltRunFolder() { return QRV::TestKit::BuiltContentFolder(); }

// One delivered game event: its id and its argument as text ("" without one; a cell as
// "column row"; a cell list as its cells joined by "|"; a trophy by its name).
struct RecordedEvent {
    int32_t id = 0;
    std::string argument;
    bool operator==(const RecordedEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RecordedEvent& e) {
    return out << "{" << e.id << ", \"" << e.argument << "\"}";
}

// Listens to the game events with the argument types their senders use (a send with other types
// would throw). Listeners hear an event in the order they joined: the recorder joins after the
// game root and the screens, so it hears what they did about it already.
class EventRecorder : public QRV::gListener {
public:
    explicit EventRecorder(QRV::gEventDispatcher* dispatcher) : dispatcher(dispatcher) {
        // Plain events: volumes, fullscreen, cursor, level start, end, finish window, pause,
        // resume, the cursor on the board, selection reset, hints, and the screens' own.
        for (int32_t id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 16, 17, 23, 24, 25, 26, 27}) Listen(id);
        for (int32_t id : {gcGameplay::kEventItemBought, kEventPlayerValue}) Listen<std::string>(id, Text);
        for (int32_t id : {gcBoardEvent::SelectionBegun, gcBoardEvent::FirstCellSelected,
                           gcBoardEvent::SelectionChanging, gcBoardEvent::SelectionChanged})
            Listen<gcElement*, int32_t>(id, CellAndMode);
        for (int32_t id : {gcBoardEvent::CellRight, gcBoardEvent::CellWrong}) Listen<gcElement*>(id, CellText);
        for (int32_t id : {gcBoardEvent::MoveRight, gcBoardEvent::MoveWrong, gcBoardEvent::MoveUndone})
            Listen<const std::vector<gcElement*>*>(id, CellsText);
        Listen<QRV::G_TROPHY*>(kTrophyAwardedEvent, TrophyText);
        if (dispatcher != nullptr) dispatcher->AddListener(this);
    }
    ~EventRecorder() override {
        if (dispatcher != nullptr) dispatcher->RemoveListener(this);
    }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    // Records the id with arguments of these types, written as text by format (replaces what the
    // id was recorded with before).
    template <class... A>
    void Listen(int32_t id, std::string (*format)(A...)) {
        auto slot = std::make_shared<Slot<A...>>(Slot<A...>{this, id, format});
        Subscribe(id, Closure<void(A...)>(slot.get(), [](void* s, A... args) {
                      auto* own = static_cast<Slot<A...>*>(s);
                      own->recorder->events.push_back({own->id, own->format(args...)});
                  }));
        slots.push_back(std::move(slot));
    }
    // Records a plain event.
    void Listen(int32_t id) {
        Listen<>(
            id, +[]() { return std::string(); });
    }

    const std::vector<RecordedEvent>& Events() const { return events; }
    void Clear() { events.clear(); }
    // How many times the id came (with that argument, when one is given).
    int Count(int32_t id) const {
        int n = 0;
        for (const RecordedEvent& e : events) n += e.id == id ? 1 : 0;
        return n;
    }
    int Count(int32_t id, const std::string& argument) const {
        int n = 0;
        for (const RecordedEvent& e : events) n += e.id == id && e.argument == argument ? 1 : 0;
        return n;
    }
    // The ids in the order they came.
    std::vector<int32_t> Ids() const {
        std::vector<int32_t> ids;
        for (const RecordedEvent& e : events) ids.push_back(e.id);
        return ids;
    }

    static std::string Text(std::string text) { return text; }
    static std::string CellText(gcElement* cell) {
        return cell == nullptr ? std::string("-") : std::to_string(cell->column) + " " + std::to_string(cell->row);
    }
    static std::string CellAndMode(gcElement* cell, int32_t mode) {
        return CellText(cell) + " " + std::to_string(mode);
    }
    static std::string CellsText(const std::vector<gcElement*>* cells) {
        std::string text;
        if (cells == nullptr) return text;
        for (gcElement* cell : *cells) text += (text.empty() ? "" : "|") + CellText(cell);
        return text;
    }
    static std::string TrophyText(QRV::G_TROPHY* trophy) { return trophy != nullptr ? trophy->name : std::string(); }

private:
    template <class... A>
    struct Slot {
        EventRecorder* recorder;
        int32_t id;
        std::string (*format)(A...);
    };

    QRV::gEventDispatcher* dispatcher;
    std::vector<RecordedEvent> events;
    std::vector<std::shared_ptr<void>> slots;
};

// Runs the loader job of the game's start on the calling thread when the loader starts, and is
// done at once: the hand-over of the first frame then runs as the game's own.
class InPlaceLoader : public gcLoaderScreen {
public:
    explicit InPlaceLoader(JCWindowManager* windows) : gcLoaderScreen(&GameCallback_LoaderJob, windows) {}
    ~InPlaceLoader() override = default;
    bool Start() override {
        result = job(this);
        return true;
    }
    bool IsDone() override { return true; }
    int result = 0;
};

// The calendar's seconds in the test's hands.
inline int64_t g_sceneNow = 1'000'000;
inline int64_t SceneCalendarClock() { return g_sceneNow; }

// Destroys the process-wide instance and makes a fresh one in its place.
template <class T>
void Renew(T& instance) {
    instance.~T();
    new (&instance) T();
}

class ScreenScene : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path& run = BuiltRunFolder();
        ASSERT_TRUE(std::filesystem::is_directory(run / "Resources"));
        previousDir = std::filesystem::current_path();
        // The paths service sets itself up on its first use: that use comes before the move.
        QRV::JC_PATHS::Instance();
        std::filesystem::current_path(run);
        QRV::JC_PATHS::Instance()->Setup();

        if (const char* old = std::getenv("XDG_DATA_HOME")) oldXdg = old;
        setenv("XDG_DATA_HOME", (saves.Path() / "xdg").c_str(), 1);
        g_sceneNow = 1'000'000;
        Game::SetCalendarClock(&SceneCalendarClock);

        QRV::JS_APP_CONTEXT& app = *QRV::g_app;
        for (int32_t* value : {&app.desktopWidth, &app.desktopHeight, &app.width, &app.height}) globals.Save(*value);
        globals.Save(app.fullscreen);
        globals.Save(app.stretch);
        globals.Save(app.running);
        app.desktopWidth = 1280;
        app.desktopHeight = 1024;
        app.running = 1;
        globals.Set(QRV::g_repositoryManager, &repositories);
        repositories.password = std::string(ContentBuilder::Theme::kZipPassword);
        QRV::g_frameTime = kFrame;

        ResetGameFrameState();
        RenewSingletons();
        JCWindow_Confirm::RegisterType();
        RegisterScreenWindows();

        gcGlobal& global = Global();
        ASSERT_TRUE(global.Startup());
        BeforeStart();
        auto* loader = new InPlaceLoader(&Windows());
        loader->LoadSpriteResources();
        // Runs the start job now; the next frame hands over to the game.
        AdoptGameLoader(loader);
        ASSERT_GT(loader->result, 0) << "the start job failed";
        RunFrame(kFrame);
        ASSERT_EQ(GameFrameState(), kFrameRunning);
        recorder = std::make_unique<EventRecorder>(Context().eventDispatcher);
    }

    void TearDown() override {
        recorder.reset();
        gcTutorialController::Instance().CloseCurrentStep();
        Global().Shutdown();
        ResetGameFrameState();
        RenewSingletons();
        QRV::SweepUnusedResources();
        repositories.Destroy();
        Game::SetCalendarClock(nullptr);
        if (oldXdg) {
            setenv("XDG_DATA_HOME", oldXdg->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        globals.Restore();
        std::filesystem::current_path(previousDir);
    }

    // After the settings and the edition were read, before the game root starts.
    virtual void BeforeStart() {}

    // --- the game
    static gcGlobal& Global() { return gcGlobal::Instance(); }
    static gcContext& Context() { return *Global().GetContext(); }
    static gcGame& Root() { return *Context().game; }
    static JCWindowManager& Windows() { return Context().windowManager; }
    // The current player (null without one).
    static gcPlayer* Player() { return dynamic_cast<gcPlayer*>(Context().playerManager.GetCurrentPlayer()); }
    EventRecorder& Events() { return *recorder; }

    // --- frames: each an update step and a drawn frame through the game's hooks, dt seconds long
    void Frames(int count = 1, float dt = kFrame) {
        for (int i = 0; i < count; ++i) RunFrame(dt);
    }
    // Frames of 1/60 s until no stacked window is in a transition and none waits to open (at most
    // maxSeconds of game time); false when that time ran out first.
    bool Settle(float maxSeconds = 3.0f) {
        for (float t = 0.0f; t < maxSeconds; t += kFrame) {
            RunFrame(kFrame);
            const auto& stack = Windows().Stack();
            const bool moving =
                std::any_of(stack.begin(), stack.end(), [](const JCWindow* w) { return w->animating != 0; });
            if (!moving && Windows().Pending().empty()) return true;
        }
        return false;
    }
    // Frames of 1/60 s for that many seconds of game time.
    void Seconds(float seconds) { Frames(static_cast<int>(std::ceil(seconds / kFrame)), kFrame); }

    // --- windows
    static JCWindow* Window(const std::string& name) { return Windows().FindWindow(name); }
    template <class T>
    static T* WindowAs(const std::string& name) {
        return dynamic_cast<T*>(Window(name));
    }
    static bool Shown(const std::string& name) { return Windows().FindShownWindow(name) != nullptr; }
    // Shown and done with its show: takes input.
    static bool Settled(const std::string& name) {
        JCWindow* window = Windows().FindShownWindow(name);
        return window != nullptr && window->animating == 0;
    }
    // The control of that id in the window's widget tree, or null.
    static QRV::JC_GUI_OBJECT* Control(const std::string& window, int32_t id) {
        JCWindow* w = Window(window);
        if (w == nullptr || w->gui == nullptr || w->gui->rootObject == nullptr) return nullptr;
        return w->gui->rootObject->FindChildById(id);
    }
    // The centre of what the control draws now (its subtree), in screen pixels; none when the
    // control is missing or draws nothing.
    std::optional<std::pair<int32_t, int32_t>> ControlCentre(const std::string& window, int32_t id) {
        QRV::JC_GUI_OBJECT* control = Control(window, id);
        if (control == nullptr) return std::nullopt;
        const std::vector<QRV::JS_VERTEX> vertices = renderer.DrawnVertices([&] { control->DrawTree(); });
        if (vertices.empty()) return std::nullopt;
        float left = vertices[0].x, right = left, top = vertices[0].y, bottom = top;
        for (const QRV::JS_VERTEX& v : vertices) {
            left = std::min(left, v.x);
            right = std::max(right, v.x);
            top = std::min(top, v.y);
            bottom = std::max(bottom, v.y);
        }
        return std::make_pair(static_cast<int32_t>(std::lround((left + right) / 2.0f)),
                              static_cast<int32_t>(std::lround((top + bottom) / 2.0f)));
    }

    // --- input, through the game's input hooks (so the manager's stacking, modal and hit rules
    // apply), one event per update step as the platform delivers them
    void MoveMouse(int32_t x, int32_t y) {
        input.Get().OnMouseMove(x, y);
        GameCallback_MouseMove();
    }
    void ButtonDown(int32_t button = QRV::VK_LBUTTON) {
        input.Get().OnButtonDown(button);
        GameCallback_KeyDown(static_cast<uintptr_t>(button));
    }
    void ButtonUp(int32_t button = QRV::VK_LBUTTON) {
        input.Get().OnKeyUp(button);
        GameCallback_KeyUp(static_cast<uintptr_t>(button));
    }
    // Move there, a frame of 0.1 s (buttons test the hover then), press, a frame, release, a frame.
    void ClickAt(int32_t x, int32_t y, int32_t button = QRV::VK_LBUTTON) {
        MoveMouse(x, y);
        Frames(1, 0.1f);
        ButtonDown(button);
        Frames(1);
        ButtonUp(button);
        Frames(1);
    }
    // A click at the centre of the control; false (and nothing clicked) when it draws nothing.
    bool ClickControl(const std::string& window, int32_t id) {
        const auto centre = ControlCentre(window, id);
        if (!centre) return false;
        ClickAt(centre->first, centre->second);
        return true;
    }
    // A key press and release that types the character (0: none), a frame after each.
    void PressKey(int32_t vk, wchar_t typed = 0) {
        input.Get().OnKeyDown(vk, typed);
        GameCallback_KeyDown(static_cast<uintptr_t>(vk));
        Frames(1);
        input.Get().OnKeyUp(vk);
        GameCallback_KeyUp(static_cast<uintptr_t>(vk));
        Frames(1);
    }
    // Types the text key by key (letters and digits on their own keys, a blank on the space bar,
    // anything else on a punctuation key).
    void Type(const std::wstring& text) {
        for (const wchar_t c : text) {
            int32_t vk = QRV::VK_OEM_7;
            if (c == L' ') {
                vk = QRV::VK_SPACE;
            } else if (c < 128 && std::iswalnum(static_cast<wint_t>(c))) {
                vk = static_cast<int32_t>(std::towupper(static_cast<wint_t>(c)));
            }
            PressKey(vk, c);
        }
    }

    // --- saves
    static std::string SaveFolder() { return Global().GetSaveFolder(); }
    // The text of a save file ("players.xml", "game.xml"); empty when there is none.
    static std::string ReadSave(const std::string& file) {
        return QRV::TestKit::ReadFileText(std::filesystem::path(SaveFolder()) / file);
    }
    // The parsed save file; false when it is missing or does not parse.
    static bool LoadSave(const std::string& file, pugi::xml_document& document) {
        const std::string text = ReadSave(file);
        return !text.empty() && document.load_string(text.c_str());
    }

    // --- time
    static void SetCalendarNow(int64_t seconds) { g_sceneNow = seconds; }

private:
    void RunFrame(float dt) {
        QRV::g_frameTime = dt;
        GameCallback_Update();
        input.Get().AgeKeys();
        ASSERT_EQ(renderer.render->BeginFrame(), 1);
        GameCallback_Frame();
        renderer.render->EndFrame();
    }
    static void RenewSingletons() {
        Renew(gcTutorialController::Instance());
        Renew(JCIgpManager::Instance());
        Renew(JCAdManager::Instance());
        gcGlobal& global = gcGlobal::Instance();
        if (global.GetContext() != nullptr && global.GetContext()->game != nullptr) global.Shutdown();
        Renew(global);
    }

protected:
    // Declared first, gone last: the globals it set are given back after everything below.
    QRV::TestKit::GlobalGuard globals;
    QRV::TestKit::TempFolder saves{"quorvel-screen-saves"};
    QRV::TestKit::NullRenderer renderer{1000.0f};
    QRV::GuiTest::ScriptedInput input;
    QRV::JC_REPOSITORY_MANAGER repositories;
    std::unique_ptr<EventRecorder> recorder;
    std::filesystem::path previousDir;
    std::optional<std::string> oldXdg;
};

}  // namespace ScreenTest
