#include "engine/bots/bot_list.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace QRV {

// Counts nested passes over one list; the outermost one settles the list when it ends, whether it
// returns early or a message throws.
class JC_BOT_LIST::WalkScope {
public:
    explicit WalkScope(JC_BOT_LIST& list) : list(list) { ++list.walkDepth; }
    ~WalkScope() {
        if (--list.walkDepth == 0) list.Settle();
    }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

private:
    JC_BOT_LIST& list;
};

bool PassesLevelFilter(int32_t filterMode, uint8_t objectLevel, uint8_t listLevel) {
    switch (filterMode) {
        case 2: return objectLevel <= listLevel;
        case 3: return objectLevel == listLevel;
        case 5: return objectLevel >= listLevel;
        case 6: return objectLevel != listLevel;
        default: return true;
    }
}

namespace {

// A NaN priority would break the sort's ordering; it sorts with the lowest.
float SortKey(const JC_BASE* object) {
    const float p = object->priority;
    return std::isnan(p) ? -std::numeric_limits<float>::infinity() : p;
}

}  // namespace

JC_BOT_LIST::~JC_BOT_LIST() {
    std::deque<JC_BASE*> doomed = std::move(objects);
    objects.clear();
    std::vector<JC_BASE*> pending = std::move(pendingDelete);
    pendingDelete.clear();
    for (JC_BASE* object : doomed) delete object;
    for (JC_BASE* object : pending) delete object;
}

void JC_BOT_LIST::Add(JC_BASE* object) {
    if (object != nullptr) objects.push_back(object);
}

void JC_BOT_LIST::Update() {
    if (objects.empty() || paused != 0) return;
    inDrawPass = 0;
    current = nullptr;
    WalkScope scope(*this);

    // Priority of the object ticked before, compared before filtering; an object that finished
    // (or an emptied slot) starts a new comparison.
    bool havePrevious = false;
    float previousPriority = 0.0f;

    size_t i = 0;
    while (i < objects.size()) {
        JC_BASE* object = objects[i];
        if (object == nullptr) {
            havePrevious = false;
            ++i;
            continue;
        }
        if (havePrevious && object->priority > previousPriority &&
            outOfOrderCount < std::numeric_limits<uint32_t>::max()) {
            ++outOfOrderCount;
        }
        havePrevious = true;
        previousPriority = object->priority;
        current = object;

        if (!PassesLevelFilter(filterMode, object->updateLevel, updateLevel)) {
            ++i;
            continue;
        }

        const int32_t result = object->Message(MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
        if (result == MSG_RESULT::Stop) {
            current = nullptr;
            return;  // no sort this frame; the count waits for the next pass
        }
        if (result != MSG_RESULT::Finished) {
            ++i;
            continue;
        }

        current = nullptr;
        havePrevious = false;
        // The tick may have handed the object back (Remove) or cleared the list; then its slot
        // is empty and it is no longer ours to delete.
        if (objects[i] != object) {
            ++i;
            continue;
        }
        if (walkDepth == 1) {
            // Only this pass is walking the list: delete and erase now, the next object moves
            // into this index.
            objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
            delete object;
        } else {
            // An outer pass may still be inside this object's Message.
            objects[i] = nullptr;
            pendingDelete.push_back(object);
            ++i;
        }
    }
    current = nullptr;
    sortDue = true;
}

void JC_BOT_LIST::Draw() {
    if (objects.empty()) return;
    inDrawPass = 1;
    WalkScope scope(*this);
    for (size_t i = objects.size(); i-- > 0;) {
        JC_BASE* object = objects[i];
        if (object == nullptr) continue;
        if (!PassesLevelFilter(filterMode, object->drawLevel, drawLevel)) continue;
        if (object->Message(MSG::Draw, 0.0f, 0.0f, 0.0f, nullptr) == MSG_RESULT::Stop) break;
    }
}

int32_t JC_BOT_LIST::Broadcast(int32_t messageId, float a, float b, float c, void* data, uint32_t idWord) {
    int32_t result = 0;
    if (objects.empty()) return result;
    WalkScope scope(*this);
    for (size_t i = 0; i < objects.size(); ++i) {
        JC_BASE* object = objects[i];
        if (object == nullptr) continue;
        if (idWord != 0 && object->id != idWord) continue;
        result = object->Message(messageId, a, b, c, data);
    }
    return result;
}

bool JC_BOT_LIST::Remove(JC_BASE* object) {
    if (object == nullptr || objects.empty()) return false;
    const auto found = std::find(objects.begin(), objects.end(), object);
    if (found == objects.end()) return false;
    if (walkDepth > 0) {
        *found = nullptr;
    } else {
        objects.erase(found);
    }
    object->ownerLink = 0;
    return true;
}

void JC_BOT_LIST::Clear() {
    if (walkDepth > 0) {
        for (JC_BASE*& slot : objects) {
            if (slot == nullptr) continue;
            pendingDelete.push_back(slot);
            slot = nullptr;
        }
        return;
    }
    // Taken out first: a destructor that looks at this list finds it empty.
    std::deque<JC_BASE*> doomed = std::move(objects);
    objects.clear();
    for (JC_BASE* object : doomed) delete object;
}

size_t JC_BOT_LIST::Count() const {
    return static_cast<size_t>(
        std::count_if(objects.begin(), objects.end(), [](const JC_BASE* o) { return o != nullptr; }));
}

void JC_BOT_LIST::Settle() {
    std::erase(objects, nullptr);
    if (sortDue && outOfOrderCount != 0) {
        // Stable, so objects of equal priority keep their draw and message order.
        std::stable_sort(objects.begin(), objects.end(),
                         [](const JC_BASE* x, const JC_BASE* y) { return SortKey(x) > SortKey(y); });
        outOfOrderCount = 0;
    }
    sortDue = false;
    if (pendingDelete.empty()) return;
    std::vector<JC_BASE*> doomed = std::move(pendingDelete);
    pendingDelete.clear();
    for (JC_BASE* object : doomed) delete object;
}

}  // namespace QRV
