#pragma once
// Undoable commands and the owned history that keeps the executed ones (the board's undo stack).

#include <cstddef>
#include <list>
#include <string>

class JICommandBase {
public:
    JICommandBase() = default;
    JICommandBase(const JICommandBase&) = delete;
    JICommandBase& operator=(const JICommandBase&) = delete;
    virtual ~JICommandBase();

    // True when the command took effect and belongs in the history.
    virtual bool Execute() = 0;
    virtual void Undo() = 0;
    // True once the command may be undone (a command still at work answers false).
    virtual bool CanUndo() const = 0;

    std::string name;
};

// Told about every command that enters the history and every command undone. The command is
// deleted right after the undone notification.
class JICommandListener {
public:
    virtual ~JICommandListener();
    virtual void OnCommandAdded(JICommandBase* command);
    virtual void OnCommandUndone(JICommandBase* command);
};

class JCObjectList {
public:
    JCObjectList() = default;
    JCObjectList(const JCObjectList&) = delete;
    JCObjectList& operator=(const JCObjectList&) = delete;
    ~JCObjectList();

    // Executes the command and keeps it when Execute returns true (the listener hears of it);
    // otherwise deletes it at once. Returns Execute's result; false for null.
    bool Add(JICommandBase* command);

    // Undoes and deletes the newest command whose CanUndo is true, skipping newer ones that cannot
    // be undone yet. The listener is handed the undone command. False when none can be undone.
    // The command leaves the history before its Undo runs, so code reached from Undo sees the
    // history without it and may clear the history safely.
    bool UndoLast();

    // Deletes every command.
    void Clear();

    size_t Count() const { return commands.size(); }
    bool IsEmpty() const { return commands.empty(); }
    // Oldest first.
    const std::list<JICommandBase*>& Commands() const { return commands; }

    // Not owned; null for none.
    void SetListener(JICommandListener* newListener) { listener = newListener; }
    JICommandListener* Listener() const { return listener; }

private:
    std::list<JICommandBase*> commands;
    JICommandListener* listener = nullptr;
};
