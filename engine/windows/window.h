#pragma once
// The base of every screen, dialog and bar: a widget tree built from the window's XML file, an
// optional full-screen background, three placements (start, rest, end) and timed show and hide
// transitions. Windows are loaded, shown, stacked and hidden by the window manager
// (window_manager.h); game windows derive from JCWindow and override its hooks.
//
// Lifecycle: hidden (shown 0) -> Show -> showing (shown 1, animating 1) -> shown (animating 0)
// -> Hide -> hiding (animating 1) -> closed (closed 1, shown 0). Update reports 0 once closed,
// and the manager takes the window off its stack.
//
// Transitions (the bots of one transition live in the transition bots):
//   momental, an instant show, or a time of 0: the window is parked at (-1000, -1000) and put at
//     its rest placement when the delay has run (a hide puts it at its end placement, unparked);
//   fade: the alpha of the whole widget tree goes 0 -> 1 (hide 1 -> 0) over the time;
//   moves (and unknown names): the window transform moves to the rest (hide: end) placement.
// A show that does not fade in sets the tree's alpha to 1 first. A background whose start and
// end colours differ tweens between them (at once when the time is 0). A sleep of delay + time
// ends the transition with the show-finished or hide-finished step. A hide that begins during a
// show drops the show's bots, so neither its tweens nor its finished step run; a hide during a
// hide, and a show of a shown window, change nothing.
//
// Window XML: see Load. Placement: see PlaceTransforms.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/bots/bot_list.h"
#include "engine/core/callback.h"
#include "engine/core/closure.h"
#include "engine/core/property_map.h"
#include "engine/core/transform.h"
#include "engine/gui/gui_object.h"

namespace pugi {
class xml_node;
}

namespace QRV {
class G_SPRITE;
class JC_GUI_ROOT;
}  // namespace QRV

class JCWindowManager;

// Show and hide transition kinds ("_typeOpen", "_typeClose").
namespace WindowShow {
constexpr int32_t Momental = 0;   // "SH_MOMENTAL"
constexpr int32_t Fade = 1;       // "SH_FADE"
constexpr int32_t MoveUp = 2;     // "SH_MOVE_UP": enters from below, leaves above
constexpr int32_t MoveDown = 3;   // "SH_MOVE_DOWN": enters from above, leaves below
constexpr int32_t MoveLeft = 4;   // "SH_MOVE_LEFT": enters from the right, leaves to the left
constexpr int32_t MoveRight = 5;  // "SH_MOVE_RIGHT": enters from the left, leaves to the right
constexpr int32_t Other = 6;      // any other text: a move to the same placement
}  // namespace WindowShow

// How "_position" is read ("_typePos").
namespace WindowPos {
constexpr int32_t MiddleScreen = 0;  // "POS_MIDDLE_SCREEN": centred, "_position" ignored
constexpr int32_t InPixels = 1;      // "POS_IN_PIX"
constexpr int32_t Fractions = 2;     // any other text: fractions of the screen
}  // namespace WindowPos

// Exact, case-sensitive names; anything else gives Other (Fractions).
int32_t ParseWindowShowType(const char* text);
int32_t ParseWindowPositionType(const char* text);

class JCWindow {
public:
    JCWindow();
    // Frees the widget tree, the background and every bot list. Borrowed bots (AddBorrowedBot)
    // are handed back first, never deleted.
    virtual ~JCWindow();
    JCWindow(const JCWindow&) = delete;
    JCWindow& operator=(const JCWindow&) = delete;

    // --- the hooks, in slot order
    // The background, the widget tree, the window bots, then OnAfterDraw.
    virtual void Draw();
    // Input; the records are the widgets' event records, null when nothing happened. While a
    // transition runs a press is taken (TakenMarker) and reaches nothing, and a release or move
    // returns null.
    virtual QRV::JS_GUI_EVENT* OnMouseDown(int32_t button);
    virtual QRV::JS_GUI_EVENT* OnMouseUp(int32_t button);
    virtual QRV::JS_GUI_EVENT* OnMouseMove();
    virtual void LoadAttributes(const pugi::xml_node& /*root*/) {}
    virtual void OnGuiLoaded(QRV::JC_GUI_OBJECT* /*rootObject*/) {}
    virtual void LoadSettings(const pugi::xml_node& /*settings*/) {}
    virtual void OnShowBegin() {}
    virtual void OnShowStarted() {}
    virtual void OnShown() {}
    virtual void OnHideBegin() {}
    virtual void OnHideStarted() {}
    virtual void OnHidden() {}
    virtual void OnDeactivate() {}
    virtual void OnActivate() {}
    virtual void Refresh() {}
    virtual void OnLoadResources() {}
    virtual void OnUnloadResources() {}
    virtual void OnAfterDraw() {}
    virtual void OnUpdate() {}
    virtual void OnSecond() {}
    virtual void Reserved22(int32_t /*a*/, int32_t /*b*/) {}
    // A widget of the window was clicked (code 8).
    virtual void OnButton(int32_t id) = 0;
    // One frame: 0 once closed, else 2.
    virtual int32_t Update();

    // --- driven by the manager and by game code
    // Reads the window XML (the root element): the root's attributes, LoadAttributes, then the
    // children "GUI", "background", "bots", "sounds" and "settings" (or "SETTINGS").
    void Load(const pugi::xml_node& root);
    // Computes the start, rest and end placements and puts the window at its start.
    void PlaceTransforms();
    void Show(bool instant);
    void Hide(bool instant);
    // Once until the next unload: the tree's, the background's and the window bots' resources.
    void LoadResources();
    // Gives them back and sweeps unused resources; during a transition, unless forced, only
    // notes the request, which then runs when the transition's hide finishes.
    void UnloadResources(bool force);

    // Adds an object owned elsewhere to the window bots; it gets the window bots' messages but is
    // handed back, not deleted, when the window goes. RemoveBorrowedBot hands it back earlier.
    void AddBorrowedBot(QRV::JC_BASE* object);
    void RemoveBorrowedBot(QRV::JC_BASE* object);

    bool IsShowing() const { return shown != 0 && animating != 0 && !hiding; }
    bool IsHiding() const { return shown != 0 && animating != 0 && hiding; }

    // The non-null record a press on an animating window returns: id -1, code 0.
    static QRV::JS_GUI_EVENT* TakenMarker();

    JCWindowManager* manager = nullptr;
    // Owned. Its root object's transform has the window transform as parent.
    QRV::JC_GUI_ROOT* gui = nullptr;
    QRV::JS_GUI_EVENT* lastEvent = nullptr;
    // Owned, may be null. Centred on the screen; it does not follow the window's moves.
    QRV::G_SPRITE* background = nullptr;
    std::string name = "gWidnow";
    // Owned: the widget tree's transforms hang on it.
    QRV::JS_TRANSFORM3_AUTO* windowTransform = nullptr;
    QRV::JS_TRANSFORM3_AUTO startPlacement;
    QRV::JS_TRANSFORM3_AUTO restPlacement;
    QRV::JS_TRANSFORM3_AUTO endPlacement;
    // Built from the bot descriptions at every show; ticked, never drawn.
    QRV::JC_BOT_LIST xmlBots;
    // Added by subclasses: ticked, drawn, and given the mouse and resource messages (47 and 48
    // carry the button in a and in data, pointer_data.h).
    QRV::JC_BOT_LIST windowBots;
    int32_t openType = WindowShow::MoveDown;
    int32_t closeType = WindowShow::MoveDown;
    int32_t positionType = WindowPos::MiddleScreen;
    uint8_t closed = 0;
    uint8_t modal = 0;
    uint8_t shown = 0;
    uint8_t loaded = 0;
    uint8_t focused = 0;
    uint8_t animating = 0;
    uint8_t unloadPending = 0;
    int32_t layer = 0;
    float showTime = 0.5f;
    float hideTime = 0.5f;
    float showDelay = 0.0f;
    float hideDelay = 0.0f;
    uint32_t startColor = 0xFFFFFFFFu;
    uint32_t endColor = 0xFFFFFFFFu;
    std::vector<JCPropertyMap> botDescriptions;
    // The running transition's bots; ticked, never drawn.
    QRV::JC_BOT_LIST transitionBots;
    // Argument: this window. Handed to the sleeps that end a hide or a show.
    QRV::JS_CALLBACK hideFinished;
    QRV::JS_CALLBACK showFinished;
    // Control id -> sound name, from "sounds".
    std::map<int32_t, std::string> sounds;
    float secondAccumulator = 0.0f;

    // Set by their users; unset ones are skipped.
    Closure<void(int32_t)> cbClick;
    Closure<void()> cbShowBegin;
    Closure<void()> cbShowStarted;
    Closure<void()> cbShown;
    Closure<void()> cbHideBegin;
    Closure<void()> cbHideStarted;
    Closure<void()> cbHidden;
    Closure<void()> cbFocusLost;
    Closure<void()> cbFocusGained;
    // Gets the sound name of a clicked control ("" when it has none).
    Closure<void(std::string)> cbControlSound;

private:
    static int ShowFinishedStep(uintptr_t window);
    static int HideFinishedStep(uintptr_t window);

    void LoadRootAttributes(const pugi::xml_node& root);
    void LoadBackground(const pugi::xml_node& element);
    void LoadSounds(const pugi::xml_node& element);
    // Clears the XML bots and builds one set from the descriptions.
    void RebuildXmlBots();
    // Adds the bots of a show (to the rest placement) or a hide (to the end placement).
    void StartTransition(bool showing, bool instant);
    // The window transform at a placement's fractions and position.
    void PutWindowAt(const QRV::JS_TRANSFORM3_AUTO& placement);
    void SendToWindowBots(int32_t messageId, int32_t button);

    bool hiding = false;
    std::vector<QRV::JC_BASE*> borrowedBots;
};
