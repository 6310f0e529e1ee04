#include "engine/windows/window.h"

#include <algorithm>

#include "engine/bots/actor_lerp.h"
#include "engine/bots/tween_color.h"
#include "engine/bots/tween_move.h"
#include "engine/bots/tween_sleep.h"
#include "engine/graphics/sprite.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/clock.h"
#include "engine/resources/repository_manager.h"
#include "engine/windows/bot_sleep_template.h"
#include "engine/windows/pointer_data.h"

using namespace QRV;

namespace {

// Where an instant show parks the window until its delay has run.
constexpr float kParkedPosition = -1000.0f;

void SetTreeAlpha(void* window, const float& alpha) { static_cast<JCWindow*>(window)->gui->SetAlpha(alpha); }

}  // namespace

JCWindow::JCWindow() : gui(new JC_GUI_ROOT()), windowTransform(new JS_TRANSFORM3_AUTO()) {
    gui->rootObject->transform->parent = windowTransform;
    hideFinished.argument = reinterpret_cast<uintptr_t>(this);
    hideFinished.name = "window_hide_finished";
    hideFinished.fn = &JCWindow::HideFinishedStep;
    showFinished.argument = reinterpret_cast<uintptr_t>(this);
    showFinished.name = "window_show_finished";
    showFinished.fn = &JCWindow::ShowFinishedStep;
}

JCWindow::~JCWindow() {
    for (JC_BASE* object : borrowedBots) windowBots.Remove(object);
    borrowedBots.clear();
    // The bots point into the tree and at the window transform: they go first.
    xmlBots.Clear();
    transitionBots.Clear();
    windowBots.Clear();
    delete gui;
    delete background;
    delete windowTransform;
}

JS_GUI_EVENT* JCWindow::TakenMarker() {
    static JS_GUI_EVENT taken{-1, GUI_EVENT::None};
    // Whoever wrote into it must not change what the next caller sees.
    taken = JS_GUI_EVENT{-1, GUI_EVENT::None};
    return &taken;
}

// --- drawing and input

void JCWindow::Draw() {
    if (background != nullptr) background->Draw();
    gui->Draw();
    windowBots.Draw();
    OnAfterDraw();
}

void JCWindow::SendToWindowBots(int32_t messageId, int32_t button) {
    windowBots.Broadcast(messageId, static_cast<float>(button), 0.0f, 0.0f, ButtonData(button), 0);
}

JS_GUI_EVENT* JCWindow::OnMouseDown(int32_t button) {
    if (animating != 0) return TakenMarker();
    lastEvent = gui->rootObject->DispatchMouseDown();
    SendToWindowBots(MSG::PointerPressed, button);
    if (lastEvent != nullptr && lastEvent->code == GUI_EVENT::Click) OnButton(lastEvent->id);
    return lastEvent;
}

JS_GUI_EVENT* JCWindow::OnMouseUp(int32_t button) {
    if (animating != 0) return nullptr;
    lastEvent = gui->rootObject->DispatchMouseUp();
    SendToWindowBots(MSG::PointerReleased, button);
    if (lastEvent != nullptr && lastEvent->code == GUI_EVENT::Click) {
        const int32_t id = lastEvent->id;
        if (cbControlSound) {
            const auto sound = sounds.find(id);
            cbControlSound(sound != sounds.end() ? sound->second : std::string());
        }
        OnButton(id);
        if (cbClick) cbClick(id);
    }
    return lastEvent;
}

JS_GUI_EVENT* JCWindow::OnMouseMove() {
    if (animating != 0) return nullptr;
    windowBots.Broadcast(MSG::PointerDragged, 0.0f, 0.0f, 0.0f, nullptr, 0);
    lastEvent = gui->rootObject->DispatchMouseMove();
    return lastEvent;
}

// --- the frame

int32_t JCWindow::Update() {
    if (closed != 0) return 0;
    xmlBots.Update();
    transitionBots.Update();
    gui->rootObject->DispatchUpdate();
    // A hide finished during the ticks above.
    if (closed != 0) return 0;
    OnUpdate();
    windowBots.Update();
    secondAccumulator += g_frameTime.load(std::memory_order_relaxed);
    if (secondAccumulator >= 1.0f) {
        OnSecond();
        secondAccumulator = 0.0f;
    }
    return 2;
}

// --- transitions

void JCWindow::PutWindowAt(const JS_TRANSFORM3_AUTO& placement) {
    windowTransform->fractionX = placement.fractionX;
    windowTransform->fractionY = placement.fractionY;
    windowTransform->positionX = placement.positionX;
    windowTransform->positionY = placement.positionY;
}

void JCWindow::StartTransition(bool showing, bool instant) {
    const int32_t type = showing ? openType : closeType;
    const float delay = showing ? showDelay : hideDelay;
    float time = showing ? showTime : hideTime;
    const JS_TRANSFORM3_AUTO& target = showing ? restPlacement : endPlacement;
    // A time of 0 (or a broken negative one) is a momental transition: no tween would end with it.
    const bool immediate = type == WindowShow::Momental || instant || !(time > 0.0f);

    // A tree left at alpha 0 by a fade-out must be seen again.
    if (showing && (immediate || type != WindowShow::Fade)) gui->SetAlpha(1.0f);

    if (immediate) {
        time = 0.0f;
        if (showing) {
            windowTransform->positionX = kParkedPosition;
            windowTransform->positionY = kParkedPosition;
            windowTransform->positionZ = 0.0f;
        }
        transitionBots.Add(new JT_BOT_SLEEP<JS_TRANSFORM3_AUTO>(windowTransform, target, delay));
    } else if (type == WindowShow::Fade) {
        if (showing) gui->SetAlpha(0.0f);
        transitionBots.Add(
            new JCBot_LerpTick<float>(showing ? 0.0f : 1.0f, showing ? 1.0f : 0.0f, delay, this, &SetTreeAlpha, time));
    } else {
        transitionBots.Add(
            new JC_BOT_MOVE(windowTransform, target.positionX, target.positionY, 0.0f, delay, time, 0.0f));
    }

    if (background != nullptr && startColor != endColor) {
        const uint32_t from = showing ? startColor : endColor;
        const uint32_t to = showing ? endColor : startColor;
        if (time == 0.0f) {
            SetMeshColor(background, to);
        } else {
            SetMeshColor(background, from);
            transitionBots.Add(new JC_BOT_COLOR(background, to, delay, time));
        }
    }

    transitionBots.Add(new JC_BOT_SLEEP(showing ? &showFinished : &hideFinished, delay + time));
}

void JCWindow::Show(bool instant) {
    if (shown != 0) return;
    transitionBots.Clear();
    OnShowBegin();
    if (cbShowBegin) cbShowBegin();
    closed = 0;
    shown = 1;
    animating = 1;
    hiding = false;
    StartTransition(true, instant);
    RebuildXmlBots();
    OnShowStarted();
    if (cbShowStarted) cbShowStarted();
}

void JCWindow::Hide(bool instant) {
    if (shown == 0 || hiding) return;
    OnHideBegin();
    if (cbHideBegin) cbHideBegin();
    // A show still running stops where it stands: its tweens and its finished step are dropped.
    if (animating != 0) transitionBots.Clear();
    animating = 1;
    hiding = true;
    StartTransition(false, instant);
    OnHideStarted();
    if (cbHideStarted) cbHideStarted();
}

int JCWindow::ShowFinishedStep(uintptr_t argument) {
    auto* window = reinterpret_cast<JCWindow*>(argument);
    window->animating = 0;
    window->OnShown();
    if (window->cbShown) window->cbShown();
    return 0;
}

int JCWindow::HideFinishedStep(uintptr_t argument) {
    auto* window = reinterpret_cast<JCWindow*>(argument);
    window->closed = 1;
    window->animating = 0;
    window->shown = 0;
    window->hiding = false;
    window->PutWindowAt(window->startPlacement);
    window->OnHidden();
    if (window->cbHidden) window->cbHidden();
    if (window->unloadPending != 0) window->UnloadResources(false);
    return 0;
}

// --- resources

void JCWindow::LoadResources() {
    if (loaded != 0) return;
    loaded = 1;
    gui->RestoreResources();
    if (background != nullptr) background->RestoreResources();
    windowBots.Broadcast(MSG::LoadResources, 0.0f, 0.0f, 0.0f, nullptr, 0);
    OnLoadResources();
}

void JCWindow::UnloadResources(bool force) {
    if (loaded == 0) return;
    if (animating != 0 && !force) {
        unloadPending = 1;
        return;
    }
    unloadPending = 0;
    loaded = 0;
    gui->ReleaseResources();
    if (background != nullptr) background->ReleaseResources();
    windowBots.Broadcast(MSG::ReleaseResources, 0.0f, 0.0f, 0.0f, nullptr, 0);
    OnUnloadResources();
    SweepUnusedResources();
}

// --- borrowed bots

void JCWindow::AddBorrowedBot(JC_BASE* object) {
    if (object == nullptr) return;
    windowBots.Add(object);
    borrowedBots.push_back(object);
}

void JCWindow::RemoveBorrowedBot(JC_BASE* object) {
    const auto found = std::find(borrowedBots.begin(), borrowedBots.end(), object);
    if (found == borrowedBots.end()) return;
    borrowedBots.erase(found);
    windowBots.Remove(object);
}
