#include "engine/windows/window_manager.h"

#include <algorithm>
#include <cstdio>

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/core/trace_hook.h"
#include "engine/gui/gui_layout.h"
#include "engine/gui/gui_root.h"
#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"
#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_registry.h"

using namespace QRV;

// One walk over the stack: a copy of the stack as it stood when the walk began, and the busy
// count that sends windows shown meanwhile to the pending list. The outermost walk opens them
// when it ends.
class JCWindowManager::Walk {
public:
    explicit Walk(JCWindowManager& manager) : manager(manager), windows(manager.stack) { ++manager.busy; }
    ~Walk() {
        if (--manager.busy == 0) manager.OpenPending();
    }
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;

    JCWindowManager& manager;
    const std::vector<JCWindow*> windows;
};

JCWindowManager::JCWindowManager(const JC_STRING_TABLE* stringTable) : stringTable(stringTable) {}

JCWindowManager::~JCWindowManager() { DeleteAllWindows(); }

// --- loading

bool JCWindowManager::LoadWindows(const std::string& listKey) {
    if (defaultFactory == nullptr) return false;
    pugi::xml_document* list = AcquireXmlResource(listKey);
    if (list == nullptr) ShowLoadErrorAndExit(listKey);
    for (const pugi::xml_node entry : list->document_element().children()) {
        if (entry.type() != pugi::node_element) continue;
        if (const pugi::xml_attribute file = entry.attribute("file")) LoadWindow(file.as_string());
    }
    ReleaseXml(list);
    return true;
}

JCWindow* JCWindowManager::LoadWindow(const std::string& key) {
    pugi::xml_document* document = AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    const pugi::xml_node root = document->document_element();
    const std::string type = root.attribute("_type").as_string();

    JCWindow* window = CreateRegisteredWindow(type);
    if (window != nullptr) {
        window->Load(root);
        window->PlaceTransforms();
    } else if (defaultFactory != nullptr) {
        window = defaultFactory(*document);
    }
    ReleaseXml(document);
    if (window == nullptr) {
        std::fprintf(stderr, "Window file %s: unknown window type \"%s\" (or no \"_name\"), skipped\n", key.c_str(),
                     type.c_str());
        ReportTrace(TraceReport::UnknownWindowType, type, key);
        return nullptr;
    }

    window->manager = this;
    window->cbControlSound = controlSound;
    LocaliseGuiTree(window->gui->rootObject, stringTable);
    windows.push_back(window);
    return window;
}

// --- showing

JCWindow* JCWindowManager::FindWindow(const std::string& name) const {
    for (JCWindow* window : windows) {
        if (window->name == name) return window;
    }
    ReportTrace(TraceReport::UnknownWindow, name);
    return nullptr;
}

JCWindow* JCWindowManager::FindShownWindow(const std::string& name) const {
    for (JCWindow* window : stack) {
        if (window->name == name) return window;
    }
    // A name that no window has at all is reported (hidden windows are asked after all the time).
    if (GetTraceHook() != nullptr) FindWindow(name);
    return nullptr;
}

JCWindow* JCWindowManager::ShowWindow(const std::string& name, bool instant) { return Show(FindWindow(name), instant); }

JCWindow* JCWindowManager::Show(JCWindow* window, bool instant) {
    if (window == nullptr || window->shown != 0) return window;
    if (window->loaded == 0) window->LoadResources();
    window->Show(instant);
    if (IsBusy()) pending.push_back(window);
    else Open(window);
    return window;
}

void JCWindowManager::ShowConfirm(const std::string& name, Closure<void(int32_t)> answer) {
    if (auto* confirm = dynamic_cast<JCWindow_Confirm*>(ShowWindow(name, false))) confirm->cbSecondAnswer = answer;
}

void JCWindowManager::QueueWindow(const std::string& name) {
    JCWindow* window = FindWindow(name);
    if (window == nullptr) return;
    if (queue.empty()) Show(window, false);
    queue.push_back(window);
}

bool JCWindowManager::RemoveFromQueue(const JCWindow* window) {
    if (window == nullptr || queue.empty()) return false;
    const bool wasFirst = queue.front() == window;
    if (std::erase(queue, window) == 0) return false;
    if (wasFirst && !queue.empty()) Show(queue.front(), false);
    return true;
}

void JCWindowManager::Open(JCWindow* window) {
    // A window shown again before its last close was noticed stands on the stack once.
    std::erase(stack, window);
    stack.insert(stack.begin(), window);
    std::stable_sort(stack.begin(), stack.end(),
                     [](const JCWindow* a, const JCWindow* b) { return a->layer > b->layer; });
    if (window->modal != 0) FocusWalk();
    Emit("open." + window->name);
}

void JCWindowManager::OpenPending() {
    while (!pending.empty() && !IsBusy()) {
        JCWindow* window = pending.front();
        pending.pop_front();
        Open(window);
    }
}

void JCWindowManager::FocusWalk() {
    Walk walk(*this);
    bool active = true;
    for (JCWindow* window : walk.windows) {
        if (active) {
            window->focused = 1;
            window->OnMouseMove();
            window->OnActivate();
            if (window->cbFocusGained) window->cbFocusGained();
        } else {
            window->focused = 0;
            window->OnDeactivate();
            if (window->cbFocusLost) window->cbFocusLost();
        }
        if (window->modal != 0) active = false;
    }
}

// --- the frame

void JCWindowManager::Update() {
    Walk walk(*this);
    for (JCWindow* window : walk.windows) {
        const int32_t state = window->Update();
        if (state == 1) break;
        if (state != 0) continue;
        std::erase(stack, window);
        Emit("close." + window->name);
        if (window->modal != 0) FocusWalk();
        if (!queue.empty() && queue.front() == window) {
            queue.pop_front();
            if (!queue.empty()) Show(queue.front(), false);
        }
        break;
    }
}

bool JCWindowManager::InputWalk(WindowInput input, int32_t button, bool reportClicks) {
    Walk walk(*this);
    for (JCWindow* window : walk.windows) {
        if (const JS_GUI_EVENT* record = (window->*input)(button)) {
            if (reportClicks) Emit("click." + window->name + "." + IntToString(record->id));
            return true;
        }
        if (window->modal != 0) return true;
    }
    return false;
}

bool JCWindowManager::OnMouseDown(int32_t button) { return InputWalk(&JCWindow::OnMouseDown, button, false); }

bool JCWindowManager::OnMouseUp(int32_t button) { return InputWalk(&JCWindow::OnMouseUp, button, true); }

bool JCWindowManager::OnMouseMove() {
    Walk walk(*this);
    for (JCWindow* window : walk.windows) {
        if (window->OnMouseMove() != nullptr || window->modal != 0) return true;
    }
    return false;
}

void JCWindowManager::Draw() {
    Walk walk(*this);
    for (auto it = walk.windows.rbegin(); it != walk.windows.rend(); ++it) (*it)->Draw();
}

// --- the rest

void JCWindowManager::DeleteAllWindows() {
    std::vector<JCWindow*> doomed = std::move(windows);
    windows.clear();
    stack.clear();
    queue.clear();
    pending.clear();
    for (JCWindow* window : doomed) delete window;
}

void JCWindowManager::SetSoundCallback(Closure<void(std::string)> callback) {
    soundEvent = callback;
    controlSound = callback;
}

void JCWindowManager::Emit(const std::string& event) const {
    if (soundEvent) soundEvent(event);
}
