#include "game/gameplay/control_base.h"

#include <algorithm>
#include <utility>

#include "engine/core/conversions.h"
#include "engine/core/property_map.h"
#include "engine/gui/gui_layout.h"
#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/window_manager.h"
#include "game/gameplay/command_open.h"
#include "game/gameplay/message_tokens.h"

gcControl_Base::gcControl_Base(std::string name, std::string configKey, const gcControlServices& services)
    : name(std::move(name)), configKey(std::move(configKey)), services(services) {
    if (services.dispatcher != nullptr) {
        Subscribe<&gcControl_Base::OnLevelStartedEvent>(gcBoardEvent::LevelStarted, this);
        services.dispatcher->AddListener(this);
    }
}

gcControl_Base::~gcControl_Base() {
    if (services.dispatcher != nullptr) services.dispatcher->RemoveListener(this);
    if (background) background->ReleaseResources();
}

bool gcControl_Base::Load() {
    std::string key;
    if (services.configuration != nullptr) {
        if (const JSProperty* entry = services.configuration->Find(configKey)) key = entry->text;
    }
    const pugi::xml_document* document = key.empty() ? nullptr : QRV::AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit("gameplay." + configKey, key);
    const bool loaded = LoadNode(document->document_element());
    QRV::ReleaseXml(document);
    return loaded;
}

bool gcControl_Base::LoadNode(const pugi::xml_node& node) {
    if (const pugi::xml_node place = node.child("TRANSFORM")) {
        QRV::JS_TRANSFORM3_AUTO read;
        ReadAutoTransform(read, place);
        transform.pivotX = read.pivotX;
        transform.pivotY = read.pivotY;
        transform.pivotZ = read.pivotZ;
        transform.rotationX = read.rotationX;
        transform.rotationY = read.rotationY;
        transform.rotationZ = read.rotationZ;
        transform.positionX = read.positionX;
        transform.positionY = read.positionY;
        transform.positionZ = read.positionZ;
        hasAutoX = static_cast<bool>(place.attribute("auto_x"));
        hasAutoY = static_cast<bool>(place.attribute("auto_y"));
        autoX = hasAutoX ? read.fractionX : 0.0f;
        autoY = hasAutoY ? read.fractionY : 0.0f;
    }
    transform.scaleX = transform.scaleY = transform.scaleZ = 1.0f;
    if (const pugi::xml_node back = node.child("background")) {
        background = std::make_unique<QRV::G_SPRITE>(back);
        background->transform->parent = &transform;
    }
    const bool loaded = LoadOwn(node);
    UpdatePlacement();
    return loaded;
}

void gcControl_Base::Render() {
    if (background) background->Draw();
}

void gcControl_Base::UpdatePlacement() {
    if (hasAutoX) transform.positionX = kLogicalWidth * autoX;
    if (hasAutoY) transform.positionY = kLogicalHeight * autoY;
}

void gcControl_Base::Activate() {
    if (active) return;
    if (background) background->RestoreResources();
    active = true;
}

void gcControl_Base::Deactivate() {
    if (background) background->ReleaseResources();
    active = false;
}

void gcControl_Base::OnMessageTokens(const std::vector<std::string>& tokens) {
    if (tokens.size() < 3 || tokens[0] != name) return;
    if (tokens[1] == "is_block") {
        SetBlocked(QRV::StringToBool(tokens[2]));
    } else if (tokens[1] == "visible") {
        visible = QRV::StringToBool(tokens[2]);
    }
}

void gcControl_Base::OnMessage(const std::string& message) { OnMessageTokens(gcSplitMessage(message)); }

void gcControl_Base::AddDelegate(gcControl_Delegate* delegate) {
    if (delegate == nullptr) return;
    if (std::find(delegates.begin(), delegates.end(), delegate) == delegates.end()) delegates.push_back(delegate);
}

void gcControl_Base::NotifyDelegates(int32_t controlId) {
    // A delegate may be added while the list is walked; walk by index.
    for (size_t i = 0; i < delegates.size(); ++i) delegates[i]->OnControl(controlId);
}

JCWindow* gcControl_Base::ShowWindow(const std::string& windowName) const {
    if (services.windows == nullptr || services.windows->FindWindow(windowName) == nullptr) return nullptr;
    return services.windows->ShowWindow(windowName, false);
}

void gcControl_Base::PlaySound(const std::string& soundName) const {
    if (services.sounds != nullptr) services.sounds->PlaySound(soundName);
}

void gcControl_Base::OnLevelStartedEvent() {
    OnLevelStarted();
    SetBlocked(false);
}
