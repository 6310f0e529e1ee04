#pragma once
// The base of the five in-game controls beside the board. A control reads its layout (a document
// named in the gameplay configuration under the control's configuration key; its first element is
// the control's node) with an optional "background" sprite and a "TRANSFORM" (with "auto_x" and
// "auto_y", fractions of the 1024 x 768 logical screen). It hears event 4 (level started): its
// OnLevelStarted runs, then it is unblocked. A blocked control ignores presses.
//
// Input answers: 0 not taken, -109 taken (the engine's stop-this-pass code).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/core/event_dispatcher.h"
#include "engine/core/transform.h"
#include "engine/graphics/sprite.h"
#include "game/gameplay/control_delegate.h"
#include "game/gameplay/control_services.h"

class JCWindow;

class gcControl_Base : public QRV::gListener {
public:
    static constexpr int32_t kTaken = -109;
    static constexpr float kLogicalWidth = 1024.0f;
    static constexpr float kLogicalHeight = 768.0f;

    // The name addresses the control in messages; the configuration key names its layout.
    gcControl_Base(std::string name, std::string configKey, const gcControlServices& services);
    ~gcControl_Base() override;
    gcControl_Base(const gcControl_Base&) = delete;
    gcControl_Base& operator=(const gcControl_Base&) = delete;

    // Fetches the layout through the resource cache and reads it (LoadNode). A layout that cannot
    // be had ends the program with the load error "gameplay.<configuration key>". The document's
    // reference is given back afterwards.
    bool Load();
    // Reads the common part and then the control's own; placement follows once, from "auto_x" and
    // "auto_y" when present. False when the control's own part refuses.
    bool LoadNode(const pugi::xml_node& node);

    virtual void SetBlocked(bool blocked) { this->blocked = blocked; }
    // The background sprite, if any.
    virtual void Render();
    virtual int32_t Update() { return 0; }
    virtual int32_t OnMouseMove() { return 0; }
    virtual int32_t OnMouseUp(int32_t /*button*/) { return 0; }
    virtual int32_t OnMouseDown(int32_t /*button*/) { return 0; }
    // Position from the screen fractions, only along the axes whose attribute was present.
    virtual void UpdatePlacement();
    // Once until Deactivate: the background's resources.
    virtual void Activate();
    virtual void Deactivate();
    // Acts only when the first token is the control's name: "is_block" and "visible" with a
    // boolean third token.
    virtual void OnMessageTokens(const std::vector<std::string>& tokens);
    // Splits at "::" and hands the tokens on.
    virtual void OnMessage(const std::string& message);
    virtual void OnLevelStarted() {}

    // Adds the delegate unless it is there already; null is ignored.
    void AddDelegate(gcControl_Delegate* delegate);

    const std::string& Name() const { return name; }
    const std::string& ConfigKey() const { return configKey; }
    bool IsBlocked() const { return blocked; }
    bool IsVisible() const { return visible; }
    bool IsActive() const { return active; }
    const QRV::JS_TRANSFORM3& Transform() const { return transform; }
    float AutoX() const { return autoX; }
    float AutoY() const { return autoY; }
    const QRV::G_SPRITE* Background() const { return background.get(); }
    const std::vector<gcControl_Delegate*>& Delegates() const { return delegates; }

protected:
    // The control's own children of its node.
    virtual bool LoadOwn(const pugi::xml_node& node) = 0;
    // OnControl(id) on every delegate.
    void NotifyDelegates(int32_t controlId);
    // Shows the window by name (not instant); null when there is no window manager or no such
    // window.
    JCWindow* ShowWindow(const std::string& windowName) const;
    void PlaySound(const std::string& soundName) const;

    const std::string name;
    const std::string configKey;
    gcControlServices services;
    bool blocked = false;
    QRV::JS_TRANSFORM3 transform;
    float autoX = 0.0f;
    float autoY = 0.0f;
    bool hasAutoX = false;
    bool hasAutoY = false;
    std::unique_ptr<QRV::G_SPRITE> background;
    bool active = false;
    bool visible = true;
    std::vector<gcControl_Delegate*> delegates;

private:
    void OnLevelStartedEvent();
};

// A position in logical pixels.
struct gcPoint {
    float x = 0.0f;
    float y = 0.0f;
};
