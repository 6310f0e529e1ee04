#pragma once
// The tutorial controller: the step windows of every tutorial level, by tutorial key (the level's
// "name"), and the one step shown now.
//
// Step files: the files of a tutorial level's folder ("<pack>/tutorial/<level>", see pack.h), each
// one window whose type implements JITutorialStep. A file's whole resource key ("folder file")
// decides its variant: a key without "_" belongs to every variant, a key with "_" to the one named
// by the text from its first "_" to the first "." after it ("_pc" for "step01_pc.xml"), so no "_"
// may appear in tutorial folder or level names. The steps of a level run in the byte order of
// their windows' names, not of their files.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class JCPacks;
class JCWindow;
class JCWindowManager;

class gcTutorialController {
public:
    // The one controller, made on first use and destroyed at exit.
    static gcTutorialController& Instance();

    // Idle, no tutorials. Tests make their own.
    gcTutorialController() = default;
    gcTutorialController(const gcTutorialController&) = delete;
    gcTutorialController& operator=(const gcTutorialController&) = delete;

    // Loads the step windows of every level of the tutorial packs that belong to the variant into
    // the window manager, and keeps their names by tutorial key. A file whose window is no
    // tutorial step is left out with a line on stderr.
    void Load(const JCPacks& packs, JCWindowManager* windowManager, const std::string& postfix);

    // Shows step `index` of the tutorial `key`. Asking for the step shown now restarts it. Any
    // other request first closes the step shown now: hidden at once, and taken out of the window
    // manager's queue if it still waits there. An unknown key or an index past the last step
    // leaves no step current (and the key and index as they were); so does a step whose window
    // the manager does not know. A step marked "is_in_stack" is queued, any other shown.
    void ShowStep(const std::string& key, uint32_t index);

    // Closes the step shown now at once (as ShowStep does before another step) and forgets the
    // tutorial key.
    void CloseCurrentStep();

    // True when a step file of that resource key belongs to the variant.
    static bool BelongsToVariant(const std::string& key, const std::string& postfix);

    const std::string& GetCurrentKey() const { return currentKey; }
    uint32_t GetCurrentIndex() const { return currentIndex; }
    // Null while no step is current.
    JCWindow* GetCurrentStep() const { return currentStep; }
    // Step window names by tutorial key, each list in name order.
    const std::map<std::string, std::vector<std::string>>& Tutorials() const { return tutorials; }

private:
    // Hides the current step, takes it out of the queue, and leaves no step current.
    void LeaveCurrentStep();

    JCWindowManager* manager = nullptr;
    JCWindow* currentStep = nullptr;
    std::map<std::string, std::vector<std::string>> tutorials;
    std::string currentKey;
    uint32_t currentIndex = 0;
};
