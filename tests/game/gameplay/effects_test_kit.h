#pragma once
// Boards for the effect and decoration tests: a layout and a process loaded from a picture ('1'
// picture cell, '0' empty cell), with a null renderer, an injected frame time and the effect
// animations in the layout's table.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/platform/clock.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/process.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"

namespace EffectsTestKit {

// An animation description: `frames` frames at `fps`, playing once.
inline std::string AnimationXml(const std::string& element, int frames, float fps, const std::string& extra = "") {
    return "<" + element + " TEXTURE='fx.png' " + extra + "><SIZE>24 24</SIZE><ANIMATION grid='1 1' frames='" +
           std::to_string(frames) + "' fps='" + std::to_string(fps) + "' loop='false'/></" + element + ">";
}

// 30 px cells in 5 x 5 blocks with 4 px gaps, the board centred on the screen.
// `extra`: more attributes of "settings".
inline std::string LevelXml(const std::vector<std::string>& picture, const std::string& extra = "") {
    return BoardTestKit::LevelText(picture,
                                   "elSize='30 30' block='5 5' shiftBlock='-4 -4' position='512 384' bonuses='0'" +
                                       extra,
                                   "<block TEXTURE='b.png' HOT_SPOT='HS_UL'><SIZE>158 158</SIZE></block>"
                                   "<selection_yes TEXTURE='y.png'/><selection_no TEXTURE='n.png'/>");
}

using BoardTestKit::kStyle;

struct Board {
    explicit Board(const std::vector<std::string>& picture, const std::string& extraSettings = "") {
        guard.Save(QRV::g_frameTime);
        QRV::TestKit::ParsedXml level(LevelXml(picture, extraSettings));
        QRV::TestKit::ParsedXml style(kStyle);
        loaded =
            layout.Load(level.Root().child("settings")) && process.Load(level.Root().child("gElements"), style.Root());
        // "pop": 4 frames at 8 fps, half a second; "still": no frame rate.
        QRV::TestKit::ParsedXml animations("<animations>" + AnimationXml("a", 4, 8.0f, "name='pop'") +
                                           AnimationXml("a", 4, 0.0f, "name='still'") + "</animations>");
        layout.LoadAnimations(animations.Root());
    }

    gcElement* At(int32_t column, int32_t row) { return process.CellAt(column, row); }
    const QRV::G_ANIMATION& Pop() const { return *layout.FindAnimation("pop"); }

    // Frames of dt seconds through the effect list and the cells.
    void Run(int32_t frames, float dt = 0.125f) {
        QRV::g_frameTime.store(dt);
        for (int32_t i = 0; i < frames; ++i) process.Update();
    }

    // Cells whose effect flag is set, in row-major order.
    std::vector<gcCell> Lit() const {
        std::vector<gcCell> out;
        for (const gcElement* cell : process.List(gcProcess::kListAll))
            if (cell->effectRunning) out.push_back(cell->Position());
        return out;
    }
    void ClearLit() {
        for (gcElement* cell : process.List(gcProcess::kListAll)) cell->effectRunning = 0;
    }

    // Declared first: the textures are given back while the renderer still stands.
    QRV::TestKit::NullRenderer renderer{1000.0f};
    QRV::TestKit::GlobalGuard guard;
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    gcProcess process{&layout, &dispatcher};
    bool loaded = false;
};

// Counts completion calls of an actor bot.
struct Completions {
    int calls = 0;
    static void Bump(void* self) { ++static_cast<Completions*>(self)->calls; }
    Closure<void()> Make() { return {this, &Completions::Bump}; }
};

}  // namespace EffectsTestKit
