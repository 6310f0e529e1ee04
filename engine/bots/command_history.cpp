#include "engine/bots/command_history.h"

#include <iterator>
#include <memory>
#include <utility>

JICommandBase::~JICommandBase() = default;

JICommandListener::~JICommandListener() = default;
void JICommandListener::OnCommandAdded(JICommandBase*) {}
void JICommandListener::OnCommandUndone(JICommandBase*) {}

JCObjectList::~JCObjectList() { Clear(); }

bool JCObjectList::Add(JICommandBase* command) {
    if (command == nullptr) return false;
    std::unique_ptr<JICommandBase> owned(command);
    if (!owned->Execute()) return false;
    commands.push_back(owned.release());
    if (listener != nullptr) listener->OnCommandAdded(command);
    return true;
}

bool JCObjectList::UndoLast() {
    for (auto it = commands.rbegin(); it != commands.rend(); ++it) {
        if (!(*it)->CanUndo()) continue;
        std::unique_ptr<JICommandBase> undone(*it);
        commands.erase(std::next(it).base());
        undone->Undo();
        if (listener != nullptr) listener->OnCommandUndone(undone.get());
        return true;
    }
    return false;
}

void JCObjectList::Clear() {
    // Taken out first: a destructor that reaches back into the history finds it empty.
    std::list<JICommandBase*> doomed = std::move(commands);
    commands.clear();
    for (JICommandBase* command : doomed) delete command;
}
