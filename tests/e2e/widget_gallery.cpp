// A gallery of the GUI widgets, built in code and driven through the engine's real window, input
// and OpenGL device; widgets_e2e.sh moves, clicks, drags and types with xdotool and checks what
// this program prints and what the screen shows. The engine's input hooks feed the GUI walks as a
// window manager does: every key or button press goes to DispatchMouseDown, every release to
// DispatchMouseUp, every pointer move to DispatchMouseMove, and each update step runs
// DispatchUpdate.
//
// In logical pixels (1024 x 768), on a nine-patch card 980 x 680 centred at (512, 400):
//   id 3   wide button "Play" at (260, 120)
//   id 4   small button "Help" at (180, 200); id 5 small button "Locked" at (340, 200), disabled
//   id 6   check box at (100, 270), unchecked ("Sound effects"); id 7 at (100, 320), checked
//   id 8   switch at (115, 380), on ("Fullscreen")
//   id 9   slider 0..100 in steps of 5, value 50, from (60, 480) to (460, 480) (decrease button
//          at 80, increase at 440, knob from 140 at 0 to 380 at 100: 2.4 px per unit)
//   id 10  simple slider (track 240 wide) at (260, 570), value 0.25; the progress bar id 11 at
//          (260, 640) shows its value
//   id 20  line box at (740, 130)
//   id 21  small button "Rename" at (630, 200): opens the name dialog; the accepted name is shown
//          beside it
//   id 22  list box 360 x 264 at (740, 420) with five rows (six rows of 44 px from y = 288)
//   id 23  a movable panel 240 x 44 at (740, 640) ("Drag me")
// The name dialog (its own GUI root, modal: it takes all input while open) is a nine-patch panel
// 460 x 230 at (512, 384) with a line box id 31 that keeps the focus (as the player-name box does)
// at (512, 384) and the buttons "OK" id 32 at (422, 450) and "Cancel" id 33 at (602, 450).
//
// Printed lines (each flushed at once):
//   ready                      the gallery has been drawn for a few frames
//   down VK -> ID CODE | none  what the press walk returned; likewise "up VK -> ..."
//   clicked ID                 a button's click callback ran
//   check ID 0|1, switch 0|1   a check box or the switch changed
//   slider N, simple N         the slider's value; the simple slider's value in percent
//   text T, name T             the gallery's line box text; the dialog's line box text (UTF-8)
//   selected T                 the list box selection
//   panel X Y                  the movable panel's position
//   dialog open|closed, accepted T, cancelled
// Usage: e2e_widget_gallery [--seconds N]

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/core/conversions.h"
#include "engine/graphics/render.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_checkbox5.h"
#include "engine/gui/gui_checkbox_ios.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_linebox.h"
#include "engine/gui/gui_listbox.h"
#include "engine/gui/gui_panel.h"
#include "engine/gui/gui_panel9.h"
#include "engine/gui/gui_progress_bar.h"
#include "engine/gui/gui_root.h"
#include "engine/gui/gui_simple_slider.h"
#include "engine/gui/gui_slider13.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "tests/e2e/scene_engine.h"

namespace {

using namespace QRV;

const std::string kGui = "data/share/gui ";
constexpr uint32_t kBackground = 0xFFF4EFE6;
constexpr uint32_t kInk = 0xFF2E3A59;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr int kFramesBeforeReady = 10;
// The characters the player-name box refuses.
const wchar_t* const kForbidden = L"\" \\*/.-+=_?&^!@#$%(){}[]|><,`~;:";

void Print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Number(int value) { return IntToString(value); }

std::array<std::string, JC_GUI_PANEL9::kPieceCount> PanelPieces() {
    std::array<std::string, JC_GUI_PANEL9::kPieceCount> names;
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 3; ++c) {
            names[static_cast<size_t>((r - 1) * 3 + c - 1)] = kGui + "panel9_" + Number(r) + "_" + Number(c) + ".png";
        }
    }
    return names;
}

template <typename Widget>
Widget* Place(JC_GUI_OBJECT* parent, Widget* widget, float x, float y) {
    widget->SetPosition(x, y, 0.0f);
    parent->AddChild(widget);
    return widget;
}

// A label centred (anchor 4) or starting (anchor 3) at the point.
JC_GUI_WLABEL* Label(JC_GUI_OBJECT* parent, const std::wstring& text, float x, float y, bool bold, uint32_t color,
                     int32_t anchor = 4) {
    const std::string font = bold ? "font_bold22" : "font_body18";
    auto* label = new JC_GUI_WLABEL(-1, kGui + font + ".xml", kGui + font + ".png", text);
    label->textObject.color = color;
    label->textObject.anchor = anchor;
    return Place(parent, label, x, y);
}

int OnButtonClicked(uintptr_t widget);

JC_GUI_BUTTON5* Button(JC_GUI_OBJECT* parent, int32_t id, bool wide, const std::wstring& caption, float x, float y) {
    auto* button = new JC_GUI_BUTTON5(id, kGui + (wide ? "button_wide.png" : "button_small.png"));
    button->clickCallback = JS_CALLBACK::Create(&OnButtonClicked);
    Place(parent, button, x, y);
    Label(button, caption, x, y, true, kWhite);
    return button;
}

struct Gallery {
    double seconds = 120.0;
    std::chrono::steady_clock::time_point start;
    int frames = 0;
    bool ready = false;

    JC_GUI_ROOT root;
    JC_GUI_ROOT dialogRoot;
    bool dialogOpen = false;
    // Set by click callbacks, acted on after the walk.
    int32_t pendingClick = 0;

    JC_GUI_CHECKBOX5* sound = nullptr;
    JC_GUI_CHECKBOX5* music = nullptr;
    JC_GUI_CHECKBOX_IOS* fullscreen = nullptr;
    JC_GUI_SLIDER13* volume = nullptr;
    JC_GUI_WLABEL* volumeLabel = nullptr;
    JC_GUI_SIMPLE_SLIDER* brightness = nullptr;
    JC_GUI_WLABEL* brightnessLabel = nullptr;
    JC_GUI_PROGRESS_BAR* progress = nullptr;
    JC_GUI_LINEBOX* lineBox = nullptr;
    JC_GUI_WLABEL* playerLabel = nullptr;
    JC_GUI_LISTBOX* list = nullptr;
    JC_GUI_PANEL* movable = nullptr;
    JC_GUI_LINEBOX* nameBox = nullptr;

    // What was printed last.
    int lastSound = -1, lastMusic = -1, lastSwitch = -1, lastSlider = -1, lastSimple = -1;
    std::wstring lastText, lastName, lastSelected;
    int lastPanelX = 0, lastPanelY = 0;

    void Build();
    void BuildDialog();
    void Report();
    void ActOnClicks();
    JC_GUI_OBJECT& Target() { return dialogOpen ? *dialogRoot.rootObject : *root.rootObject; }
};

Gallery* g_gallery = nullptr;

int OnButtonClicked(uintptr_t widget) {
    const int32_t id = reinterpret_cast<JC_GUI_OBJECT*>(widget)->GetId();
    Print("clicked " + Number(id));
    if (g_gallery != nullptr) g_gallery->pendingClick = id;
    return 0;
}

void Gallery::Build() {
    JC_GUI_OBJECT* top = root.rootObject;
    Label(top, L"Widget gallery", 512, 32, true, kInk);
    auto* card = Place(top, new JC_GUI_PANEL9(1, PanelPieces()), 512, 400);
    card->SetSize(980, 680);

    // The clickable widgets are the card's children, so that the walks reach them before it.
    Button(card, 3, true, L"Play", 260, 120);
    Button(card, 4, false, L"Help", 180, 200);
    Button(card, 5, false, L"Locked", 340, 200)->SetEnabled(false);

    sound = Place(card, new JC_GUI_CHECKBOX5(6, kGui + "checkbox.png"), 100, 270);
    Label(card, L"Sound effects", 130, 270, false, kInk, 3);
    music = Place(card, new JC_GUI_CHECKBOX5(7, kGui + "checkbox.png"), 100, 320);
    music->SetChecked(true, true);
    Label(card, L"Music", 130, 320, false, kInk, 3);
    fullscreen = Place(card, new JC_GUI_CHECKBOX_IOS(8, kGui + "switch_panel.png", kGui + "switch_knob.png"), 115, 380);
    Label(card, L"Fullscreen", 160, 380, false, kInk, 3);

    volumeLabel = Label(card, L"Volume 50", 60, 445, false, kInk, 3);
    volume = new JC_GUI_SLIDER13(9, kGui + "slider13.png", 1.5f, 0.0f, 100.0f, 5.0f, 50.0f, 60.0f, 480.0f, 460.0f,
                                 480.0f, 20.0f);
    card->AddChild(volume);

    brightnessLabel = Label(card, L"Brightness 25%", 140, 540, false, kInk, 3);
    brightness = Place(
        card, new JC_GUI_SIMPLE_SLIDER(10, kGui + "simple_slider.png", kGui + "simple_slider_runner.png"), 260, 570);
    brightness->SetValue(0.25f);

    Label(card, L"Progress", 110, 610, false, kInk, 3);
    pugi::xml_document bar;
    bar.load_string(
        ("<PROGRESS_BAR ID=\"11\" TEXTURE=\"" + kGui + "progress_bar.png\"><POS>260 640</POS></PROGRESS_BAR>").c_str());
    progress = new JC_GUI_PROGRESS_BAR();
    progress->Load(bar.document_element());
    card->AddChild(progress);

    Label(card, L"Your name", 560, 90, false, kInk, 3);
    lineBox =
        Place(card, new JC_GUI_LINEBOX(20, kGui + "linebox.png", kGui + "font_body18.png", kGui + "font_body18.xml"),
              740, 130);
    lineBox->SetTextColor(kInk);
    lineBox->maxLength = 20;
    Button(card, 21, false, L"Rename", 630, 200);
    playerLabel = Label(card, L"Player: -", 710, 200, false, kInk, 3);

    Label(card, L"Players", 560, 270, false, kInk, 3);
    list =
        Place(card,
              new JC_GUI_LISTBOX(22, kGui + "listbox_list.png", kGui + "listbox_panel.png", kGui + "listbox_slider.png",
                                 kGui + "font_body18.xml", kGui + "font_body18.png", 1.5f),
              740, 420);
    list->SetVisibleCount(6);
    list->SetRowTexture(kGui + "listbox_row.png", 6);
    list->SetMaxRows(6);
    list->SetColors(kInk);
    list->SetSelectedColor(kWhite);
    for (const char* name : {"Alice", "Bob", "Carol", "Dave", "Eve"}) list->AddItem(std::string(name));

    movable = Place(card, new JC_GUI_PANEL(23, kGui + "listbox_row.png"), 740, 640);
    movable->movable = 1;
    movable->SetSize(240, 44);
    Label(movable, L"Drag me", 740, 640, true, kWhite);
    // The label rides on the panel.
    movable->children.back()->SetPosition(0.0f, 0.0f, 0.0f);
    movable->children.back()->transform->parent = movable->transform;

    root.RestoreResources();
    root.RebuildLevels();
    BuildDialog();
    lastText = lineBox->GetText();
    lastPanelX = static_cast<int>(movable->transform->positionX);
    lastPanelY = static_cast<int>(movable->transform->positionY);
}

void Gallery::BuildDialog() {
    auto* panel = Place(dialogRoot.rootObject, new JC_GUI_PANEL9(30, PanelPieces()), 512, 384);
    panel->SetSize(460, 230);
    Label(panel, L"Enter your name", 512, 310, true, kInk);
    // The box comes before the buttons, as in the player-name dialog: it keeps the focus, and the
    // buttons after it must still see the pointer.
    nameBox =
        Place(panel, new JC_GUI_LINEBOX(31, kGui + "linebox.png", kGui + "font_body18.png", kGui + "font_body18.xml"),
              512, 375);
    nameBox->SetTextColor(kInk);
    nameBox->keepsFocus = 1;
    nameBox->maxLength = 20;
    nameBox->forbiddenCharacters = kForbidden;
    Button(panel, 32, false, L"OK", 422, 450);
    Button(panel, 33, false, L"Cancel", 602, 450);
    dialogRoot.RestoreResources();
    dialogRoot.RebuildLevels();
}

// Prints every effect since the last call.
void Gallery::Report() {
    const auto flag = [](int& last, bool now, const std::string& what) {
        if (last != static_cast<int>(now)) Print(what + (now ? " 1" : " 0"));
        last = now ? 1 : 0;
    };
    flag(lastSound, sound->IsChecked(), "check 6");
    flag(lastMusic, music->IsChecked(), "check 7");
    flag(lastSwitch, fullscreen->IsChecked(), "switch");

    const int slider = static_cast<int>(std::lround(volume->GetValue()));
    if (slider != lastSlider) {
        lastSlider = slider;
        Print("slider " + Number(slider));
        volumeLabel->SetText(L"Volume " + IntToWString(slider));
    }
    const int simple = static_cast<int>(std::lround(brightness->GetValue() * 100.0f));
    if (simple != lastSimple) {
        lastSimple = simple;
        Print("simple " + Number(simple));
        brightnessLabel->SetText(L"Brightness " + IntToWString(simple) + L"%");
        progress->value = brightness->GetValue();
        progress->complete = simple >= 100 ? 1 : 0;
        progress->ApplyValue();
    }
    if (lineBox->GetText() != lastText) {
        lastText = lineBox->GetText();
        Print("text " + WideToUtf8(lastText));
    }
    if (nameBox->GetText() != lastName) {
        lastName = nameBox->GetText();
        Print("name " + WideToUtf8(lastName));
    }
    const wchar_t* selected = list->GetSelectedText();
    const std::wstring selection = selected != nullptr ? selected : L"";
    if (selection != lastSelected) {
        lastSelected = selection;
        Print("selected " + WideToUtf8(selection));
    }
    const int px = static_cast<int>(std::lround(movable->transform->positionX));
    const int py = static_cast<int>(std::lround(movable->transform->positionY));
    if (px != lastPanelX || py != lastPanelY) {
        lastPanelX = px;
        lastPanelY = py;
        Print("panel " + Number(px) + " " + Number(py));
    }
}

// What a click means once the walk is over.
void Gallery::ActOnClicks() {
    const int32_t id = pendingClick;
    pendingClick = 0;
    switch (id) {
        case 21:
            dialogOpen = true;
            nameBox->SetText(L"");
            lastName.clear();
            Print("dialog open");
            break;
        case 32:
            playerLabel->SetText(L"Player: " + nameBox->GetText());
            Print("accepted " + WideToUtf8(nameBox->GetText()));
            dialogOpen = false;
            Print("dialog closed");
            break;
        case 33:
            Print("cancelled");
            dialogOpen = false;
            Print("dialog closed");
            break;
        default: break;
    }
}

void PrintWalk(const char* what, uintptr_t key, const JS_GUI_EVENT* record) {
    std::string line = std::string(what) + " " + Number(static_cast<int>(key)) + " -> ";
    line += record != nullptr ? Number(record->id) + " " + Number(record->code) : std::string("none");
    Print(line);
}

int OnKeyDown(uintptr_t key) {
    Gallery& g = *g_gallery;
    PrintWalk("down", key, g.Target().DispatchMouseDown());
    g.Report();
    g.ActOnClicks();
    return 0;
}

int OnKeyUp(uintptr_t key) {
    Gallery& g = *g_gallery;
    PrintWalk("up", key, g.Target().DispatchMouseUp());
    g.Report();
    g.ActOnClicks();
    return 0;
}

int OnMouseMove(uintptr_t) {
    Gallery& g = *g_gallery;
    g.Target().DispatchMouseMove();
    g.Report();
    g.ActOnClicks();
    return 0;
}

int OnUpdate(uintptr_t) {
    Gallery& g = *g_gallery;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - g.start).count();
    if (elapsed >= g.seconds) g_app->running = 0;
    g.Target().DispatchUpdate();
    g.Report();
    g.ActOnClicks();
    return 0;
}

int OnRender(uintptr_t) {
    Gallery& g = *g_gallery;
    g.root.Draw();
    if (g.dialogOpen) g.dialogRoot.Draw();
    if (!g.ready && ++g.frames >= kFramesBeforeReady) {
        g.ready = true;
        Print("ready");
    }
    return 0;
}

bool ParseArguments(Gallery& gallery, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (std::from_chars(value.data(), value.data() + value.size(), gallery.seconds).ec != std::errc())
                return false;
        } else {
            return false;
        }
    }
    return gallery.seconds > 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    auto gallery = std::make_unique<Gallery>();
    if (!ParseArguments(*gallery, argc, argv)) {
        std::fprintf(stderr, "usage: %s [--seconds N]\n", argv[0]);
        return 2;
    }
    g_gallery = gallery.get();

    int status = 0;
    if (!SceneEngine::Start("Quorvel widget gallery",
                            {SceneEngine::Ready, OnUpdate, OnRender, SceneEngine::StopRunning})) {
        status = 1;
    } else {
        g_render->clearColor = kBackground;
        JC_PATHS::Instance();
        if (!LoadRepository("data/share/gui")) {
            std::fprintf(stderr, "no repository data/share/gui\n");
            status = 1;
        } else {
            gallery->Build();
            gallery->Report();
            InstallHook(cbKeyDown, &OnKeyDown);
            InstallHook(cbKeyUp, &OnKeyUp);
            InstallHook(cbMouseMove, &OnMouseMove);
            gallery->start = std::chrono::steady_clock::now();
            Engine::Run();
            ReleaseHook(cbKeyDown);
            ReleaseHook(cbKeyUp);
            ReleaseHook(cbMouseMove);
            std::printf("drew %d frames\n", gallery->frames);
        }
        gallery->root.ReleaseResources();
        gallery->dialogRoot.ReleaseResources();
    }
    // The widgets give their textures back before the engine's caches go.
    gallery.reset();
    g_gallery = nullptr;
    SceneEngine::Stop();
    return status;
}
