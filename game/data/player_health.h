#pragma once
// A player's hearts: how many there are, and for each missing one the calendar time (seconds) at
// which its refill began. Refills run one after another, one period each; the maximum is the
// owner's item "life".

#include <cstdint>
#include <deque>
#include <iosfwd>

namespace pugi {
class xml_node;
}

class JCPlayer;

class gcPlayerHealth {
public:
    // The default refill period of one heart, in seconds.
    static constexpr int64_t kDefaultRefillPeriod = 1800;
    // The most hearts a full supply holds, whatever the owner's item "life" says.
    static constexpr int32_t kMostHearts = 100;
    // The most refill entries that Update adds at once for hearts missing without one; more follow
    // as these run out.
    static constexpr size_t kMaxFilledEntries = 1u << 16;

    explicit gcPlayerHealth(const JCPlayer& owner) : owner(&owner) {}
    // The record belongs to one player: copies go through CopyValuesFrom.
    gcPlayerHealth(const gcPlayerHealth&) = delete;
    gcPlayerHealth& operator=(const gcPlayerHealth&) = delete;

    // Every value and the lost list; the owner stays.
    void CopyValuesFrom(const gcPlayerHealth& other);

    // Takes one heart (false at 0); its refill starts now, or when the last queued one ends.
    bool LoseHeart();
    // Gives one heart back (false at the maximum), dropping the oldest refill entry.
    bool AddHeart();
    // Catches up with the calendar: gives back every heart whose refill has run out and sets the
    // countdown to the next one. Returns the increment flag (a refill is running).
    bool Update();
    // One frame of the running countdown: subtracts the frame time and, when the countdown reaches
    // 0 or less, gives a heart back. Nothing while no refill runs.
    void StepCountdown(float frameTime);
    // Empties the refill queue.
    void ClearLost() { lost.clear(); }

    int32_t GetCount() const { return count; }
    double GetCountdown() const { return countdown; }
    bool IsIncrementing() const { return increment; }
    int64_t GetRefillPeriod() const { return timeRefillHeart; }
    const std::deque<int64_t>& GetLost() const { return lost; }

    // The "health" element's attributes and its "lost_name" children. Reading a null element
    // gives every value as missing; lost times are appended. The owner's items must be read
    // first: the count is kept to 0 .. the maximum, and the refill entries to at most the hearts
    // missing (the newest ones beyond go).
    void LoadXml(const pugi::xml_node& node);
    void SaveXml(pugi::xml_node node) const;
    // Increment, count, countdown, period, then the lost times after their count. Lost times are
    // appended as they are read; count and entries are kept to their range as LoadXml keeps them.
    void ReadBinary(std::istream& in);
    void WriteBinary(std::ostream& out) const;

private:
    // The owner's item "life", kept to 0 .. kMostHearts.
    int32_t Maximum() const;
    // Count to 0 .. Maximum(), the lost list to at most the missing hearts.
    void KeepInRange();
    // Adds refill entries for missing hearts that have none, each starting where the one before
    // ends (the first at firstStart, when there are none).
    void FillMissingEntries(int64_t firstStart);

    bool increment = false;
    int32_t count = 0;
    int64_t timeRefillHeart = kDefaultRefillPeriod;
    double countdown = 0.0;
    const JCPlayer* owner;
    std::deque<int64_t> lost;
};
