#include "game/data/tutorial_controller.h"

#include <cstdio>
#include <set>

#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/data/packs.h"
#include "game/data/tutorial_step.h"

gcTutorialController& gcTutorialController::Instance() {
    static gcTutorialController controller;
    return controller;
}

bool gcTutorialController::BelongsToVariant(const std::string& key, const std::string& postfix) {
    const size_t underscore = key.find('_');
    if (underscore == std::string::npos) return true;
    const size_t dot = key.find('.', underscore);
    return key.compare(underscore, dot == std::string::npos ? std::string::npos : dot - underscore, postfix) == 0;
}

void gcTutorialController::Load(const JCPacks& packs, JCWindowManager* windowManager, const std::string& postfix) {
    manager = windowManager;
    if (manager == nullptr) return;
    for (const JCPack* pack : packs.GetKindList(kPackTutorial)) {
        for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
            const JCLevel* level = pack->LevelAt(i);
            if (JCLevel::IsDefault(level)) continue;
            std::set<std::string> names;
            for (const std::string& key : level->GetTutorialKeys()) {
                if (!BelongsToVariant(key, postfix)) continue;
                JCWindow* window = manager->LoadWindow(key);
                if (window == nullptr) continue;
                auto* step = dynamic_cast<JITutorialStep*>(window);
                if (step == nullptr) {
                    std::fprintf(stderr, "Tutorial step %s: window \"%s\" is no tutorial step, left out\n", key.c_str(),
                                 window->name.c_str());
                    continue;
                }
                step->SetTutorialController(this);
                names.insert(window->name);
            }
            if (!names.empty()) tutorials[level->GetName()] = std::vector<std::string>(names.begin(), names.end());
        }
    }
}

void gcTutorialController::LeaveCurrentStep() {
    JCWindow* leaving = currentStep;
    currentStep = nullptr;
    if (leaving == nullptr || manager == nullptr) return;
    // A queued step may wait behind other windows or be about to open: either way it must not
    // come up after the player moved on.
    manager->RemoveFromQueue(leaving);
    if (leaving->shown != 0) leaving->Hide(true);
}

void gcTutorialController::ShowStep(const std::string& key, uint32_t index) {
    const auto found = tutorials.find(key);
    if (found == tutorials.end() || index >= found->second.size() || manager == nullptr) {
        LeaveCurrentStep();
        return;
    }
    const std::string& name = found->second[index];
    JCWindow* window = manager->FindWindow(name);
    if (window != nullptr && window == currentStep) {
        if (auto* step = dynamic_cast<JITutorialStep*>(window)) step->RestartStep();
    } else {
        LeaveCurrentStep();
        if (window == nullptr) return;
        const auto* step = dynamic_cast<const JITutorialStep*>(window);
        if (step != nullptr && step->IsInStack()) {
            manager->QueueWindow(name);
        } else {
            manager->ShowWindow(name, false);
        }
    }
    currentStep = window;
    currentKey = key;
    currentIndex = index;
}

void gcTutorialController::CloseCurrentStep() {
    LeaveCurrentStep();
    currentKey.clear();
    currentIndex = 0;
}
