#include "engine/bots/command_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Record {
    std::vector<std::string> events;
    int deleted = 0;
};

class FakeCommand : public JICommandBase {
public:
    FakeCommand(Record& record, std::string label, bool executes = true, bool undoable = true)
        : record(record), executes(executes), undoable(undoable) {
        name = std::move(label);
    }
    ~FakeCommand() override {
        ++record.deleted;
        record.events.push_back("~" + name);
    }
    bool Execute() override {
        record.events.push_back("x" + name);
        return executes;
    }
    void Undo() override {
        record.events.push_back("u" + name);
        if (onUndo) onUndo();
    }
    bool CanUndo() const override { return undoable; }

    Record& record;
    bool executes;
    bool undoable;
    std::function<void()> onUndo;
};

class FakeListener : public JICommandListener {
public:
    void OnCommandAdded(JICommandBase* command) override { added.push_back(command->name); }
    void OnCommandUndone(JICommandBase* command) override { undone.push_back(command->name); }
    std::vector<std::string> added, undone;
};

std::string Names(const JCObjectList& history) {
    std::string out;
    for (const JICommandBase* c : history.Commands()) out += c->name;
    return out;
}

TEST(CommandHistory, AddKeepsOnlyCommandsThatTookEffect) {
    Record record;
    FakeListener listener;
    JCObjectList history;
    history.SetListener(&listener);

    EXPECT_FALSE(history.Add(nullptr));
    EXPECT_TRUE(history.Add(new FakeCommand(record, "a")));
    EXPECT_FALSE(history.Add(new FakeCommand(record, "r", false)));
    EXPECT_TRUE(history.Add(new FakeCommand(record, "b")));

    EXPECT_EQ(Names(history), "ab");
    EXPECT_EQ(history.Count(), 2u);
    EXPECT_EQ(record.events, (std::vector<std::string>{"xa", "xr", "~r", "xb"}));
    EXPECT_EQ(listener.added, (std::vector<std::string>{"a", "b"}));
}

TEST(CommandHistory, UndoLastSkipsCommandsStillAtWork) {
    Record record;
    FakeListener listener;
    JCObjectList history;
    history.SetListener(&listener);
    auto* busy = new FakeCommand(record, "c", true, false);
    history.Add(new FakeCommand(record, "a"));
    history.Add(new FakeCommand(record, "b"));
    history.Add(busy);
    record.events.clear();

    EXPECT_TRUE(history.UndoLast());
    EXPECT_EQ(record.events, (std::vector<std::string>{"ub", "~b"}));
    // The listener hears of the command that was undone, not of the newest one.
    EXPECT_EQ(listener.undone, (std::vector<std::string>{"b"}));
    EXPECT_EQ(Names(history), "ac");

    busy->undoable = true;
    EXPECT_TRUE(history.UndoLast());
    EXPECT_EQ(Names(history), "a");
    EXPECT_EQ(listener.undone, (std::vector<std::string>{"b", "c"}));
}

TEST(CommandHistory, UndoLastWithNothingUndoable) {
    Record record;
    JCObjectList history;
    EXPECT_FALSE(history.UndoLast());
    history.Add(new FakeCommand(record, "a", true, false));
    history.Add(new FakeCommand(record, "b", true, false));
    record.events.clear();
    EXPECT_FALSE(history.UndoLast());
    EXPECT_TRUE(record.events.empty());
    EXPECT_EQ(Names(history), "ab");
}

TEST(CommandHistory, UndoThatClearsTheHistory) {
    // Code reached from Undo (events of the board) may start a new level and clear the history.
    Record record;
    JCObjectList history;
    history.Add(new FakeCommand(record, "a"));
    auto* b = new FakeCommand(record, "b");
    b->onUndo = [&] { history.Clear(); };
    history.Add(b);
    EXPECT_TRUE(history.UndoLast());
    EXPECT_EQ(record.deleted, 2);
    EXPECT_TRUE(history.IsEmpty());
}

TEST(CommandHistory, ClearDeletesEverything) {
    Record record;
    JCObjectList history;
    history.Add(new FakeCommand(record, "a"));
    history.Add(new FakeCommand(record, "b"));
    history.Clear();
    EXPECT_EQ(record.deleted, 2);
    EXPECT_TRUE(history.IsEmpty());
}

}  // namespace
