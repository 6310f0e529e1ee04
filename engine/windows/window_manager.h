#pragma once
// The owner of every window: loads them from a window list, keeps the stack of shown windows
// (index 0 is the top), gives them the mouse top first, runs their frames, draws them bottom
// first, and reports "open.<name>", "close.<name>" and "click.<name>.<id>" to its sound event.
//
// Stacking: a window opens at the top of its layer; higher layers stand above lower ones (a
// stable sort, so windows of one layer keep their opening order). A modal window takes every
// press and release, and the windows below it lose the focus until it closes.
//
// Walks: every walk over the stack (update, input, focus, draw) goes over a copy of the stack
// taken when it starts. A window shown during a walk waits in the pending list and opens when
// the outermost walk ends, so the walk never sees it. The update walk ends at the first window
// that closes: at most one window leaves the stack per frame.
//
// Showing a window that is already shown returns it and changes nothing, also while it is
// hiding (the request is lost, and the window leaves the stack when its hide ends).

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engine/core/closure.h"

namespace pugi {
class xml_document;
}

namespace QRV {
class JC_STRING_TABLE;
struct JS_GUI_EVENT;
}  // namespace QRV

class JCWindow;

class JCWindowManager {
public:
    // The game's factory for types the registry does not know: a new window, loaded and placed,
    // or null.
    using Factory = JCWindow* (*)(const pugi::xml_document& document);

    // The table localises the label texts of every loaded window (null: texts stay keys).
    explicit JCWindowManager(const QRV::JC_STRING_TABLE* stringTable);
    // Deletes every window.
    ~JCWindowManager();
    JCWindowManager(const JCWindowManager&) = delete;
    JCWindowManager& operator=(const JCWindowManager&) = delete;

    // Every child of the list's root element with a "file" attribute is one window file. False
    // without a default factory. A list or window file that cannot be loaded ends the program
    // with the load-error message; a window file of a type nobody knows is skipped.
    bool LoadWindows(const std::string& listKey);
    // Creates the window of one file (registry first, then the factory), adopts it and
    // localises its labels; null when its type is unknown.
    JCWindow* LoadWindow(const std::string& key);

    // Shows the window and opens it on the stack (after the running walk, if one runs); null for
    // an unknown name.
    JCWindow* ShowWindow(const std::string& name, bool instant);
    // ShowWindow, then the window's second answer callback when it is a confirm window.
    void ShowConfirm(const std::string& name, Closure<void(int32_t)> answer);
    // Shows the window now when the queue is empty; either way appends it, so queued windows
    // come one after another, each when the one before has closed.
    void QueueWindow(const std::string& name);
    // Takes every entry of the window out of the queue (a window that must not come up any more).
    // When it was the first entry, the one shown from the queue, the next queued window shows now
    // instead of when it closes. False when the window was not queued.
    bool RemoveFromQueue(const JCWindow* window);
    // Empties the queue; the window shown from it stays shown.
    void ClearQueue() { queue.clear(); }
    // The first window of that name among all windows, or among the stacked ones; null if none.
    JCWindow* FindWindow(const std::string& name) const;
    JCWindow* FindShownWindow(const std::string& name) const;

    // One frame of the stacked windows.
    void Update();
    // Input, top window first; true when a window took it.
    bool OnMouseDown(int32_t button);
    bool OnMouseUp(int32_t button);
    bool OnMouseMove();
    // Bottom window first, so the top one is drawn last.
    void Draw();

    // Deletes every window and empties the stack, the queue and the pending list.
    void DeleteAllWindows();

    // The game's one sound callback goes into both the sound event and the control sound (set it
    // before LoadWindows: windows take the control sound when they are loaded).
    void SetSoundCallback(Closure<void(std::string)> callback);

    bool IsBusy() const { return busy > 0; }
    const std::vector<JCWindow*>& Stack() const { return stack; }
    const std::vector<JCWindow*>& Windows() const { return windows; }
    const std::deque<JCWindow*>& Queue() const { return queue; }
    const std::deque<JCWindow*>& Pending() const { return pending; }

    const QRV::JC_STRING_TABLE* stringTable = nullptr;
    Factory defaultFactory = nullptr;
    // "open.<name>", "close.<name>", "click.<name>.<id>".
    Closure<void(std::string)> soundEvent;
    // Copied into every window it loads, as the window's control-sound callback.
    Closure<void(std::string)> controlSound;

private:
    class Walk;
    using WindowInput = QRV::JS_GUI_EVENT* (JCWindow::*)(int32_t);

    // ShowWindow of that window (null gives null).
    JCWindow* Show(JCWindow* window, bool instant);
    // Puts the window on the stack: at the top, sorted by layer, then the focus walk when it is
    // modal, then "open.<name>".
    void Open(JCWindow* window);
    // Opens the pending windows in order, once no walk runs.
    void OpenPending();
    // From the top: focus until the first modal window, no focus below it.
    void FocusWalk();
    bool InputWalk(WindowInput input, int32_t button, bool reportClicks);
    void Emit(const std::string& event) const;

    std::vector<JCWindow*> stack;
    // Owned, in load order.
    std::vector<JCWindow*> windows;
    std::deque<JCWindow*> queue;
    std::deque<JCWindow*> pending;
    // Nested walks running now.
    int32_t busy = 0;
};
