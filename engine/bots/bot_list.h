#pragma once
// The per-frame list of owned objects: ticks them, draws them, filters them by level, keeps them in
// priority order and deletes the ones that report that they have finished.
//
// Ticks, draws and broadcast messages run arbitrary code (completion callbacks show and hide
// windows), so the list may be changed from inside its own passes. While a pass of the list runs,
// Remove and Clear only empty the objects' slots: the pass skips empty slots, the slots are
// compacted and the cleared objects deleted when the outermost pass ends. Owners therefore change
// a list only through Add (or objects.push_back), Remove and Clear; never insert at the front.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "engine/bots/object_base.h"

namespace QRV {

class JC_BOT_LIST {
public:
    JC_BOT_LIST() = default;
    // The list owns raw pointers: a copy would delete them twice.
    JC_BOT_LIST(const JC_BOT_LIST&) = delete;
    JC_BOT_LIST& operator=(const JC_BOT_LIST&) = delete;
    // Deletes whatever the owner left in it.
    ~JC_BOT_LIST();

    // Appends an object (null is ignored); its place is settled by the next update pass.
    void Add(JC_BASE* object);

    // Ticks every object whose update level passes the filter, in order; deletes the finished
    // ones; a Stop result ends the pass. Afterwards restores priority order (highest first,
    // equal priorities keep their order) when an object was seen ahead of a higher one.
    void Update();

    // Draws every object whose draw level passes the filter, from the last to the first, so the
    // highest priority ends up on top. A Stop result ends the pass. Deletes nothing.
    void Draw();

    // Sends the message to every object, or only to those whose id word equals idWord when it is
    // not zero. Returns the last receiver's result (0 when none received it); results are not
    // acted upon.
    int32_t Broadcast(int32_t messageId, float a, float b, float c, void* data, uint32_t idWord);

    // Hands an object back to the caller without deleting it and clears its owner link. False
    // when it is not in the list.
    bool Remove(JC_BASE* object);

    // Deletes every object (deferred to the end of the pass when called from inside one).
    void Clear();

    // Objects held, not counting slots emptied during a pass.
    size_t Count() const;
    bool IsEmpty() const { return Count() == 0; }
    bool InPass() const { return walkDepth > 0; }

    // The sequential-queue use of a bare queue: only the front object is ticked; when it finishes
    // it is deleted and the new front runs at once, so several objects that finish in the same
    // frame all go in that frame. False when the queue is empty. The front's tick may clear the
    // queue with ClearQueue (even before the queue's owner destroys it): the running object is
    // then deleted when its tick returns and the queue is not touched again.
    static bool UpdateQueue(std::deque<JC_BASE*>& queue);
    // Deletes and pops every object of the queue.
    static void ClearQueue(std::deque<JC_BASE*>& queue);

    // The object being ticked (null outside the update pass). For inspection only: it may be
    // handed back and deleted by its own tick.
    JC_BASE* current = nullptr;
    // Times an object was seen ahead of a higher priority since the last sort; saturates.
    uint32_t outOfOrderCount = 0;
    uint8_t updateLevel = 1;
    // Level filter of both passes: 2 <=, 3 ==, 4 always, 5 >= (default), 6 !=, other always,
    // comparing the object's level with the list's.
    int32_t filterMode = 5;
    uint8_t drawLevel = 1;
    uint8_t inDrawPass = 0;
    // Owned. May hold null slots while a pass runs.
    std::deque<JC_BASE*> objects;
    // While set the update pass does nothing; the draw pass still draws.
    uint8_t paused = 0;

private:
    class WalkScope;

    // Called when the outermost pass ends: compacts emptied slots, sorts when due, deletes what
    // Clear left behind.
    void Settle();

    int32_t walkDepth = 0;
    bool sortDue = false;
    std::vector<JC_BASE*> pendingDelete;
};

// True when an object of the given level takes part in a pass of a list with the given level.
bool PassesLevelFilter(int32_t filterMode, uint8_t objectLevel, uint8_t listLevel);

}  // namespace QRV
