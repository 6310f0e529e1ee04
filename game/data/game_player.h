#pragma once
// The profile the game creates: a player with a purchase flag, play statistics (each "<name>_max"
// partner keeps its statistic's highest value) and hearts.

#include <cstdint>
#include <string>

#include "engine/core/property_map.h"
#include "game/data/player.h"
#include "game/data/player_health.h"

class gcPlayer : public JCPlayer {
public:
    gcPlayer();
    // The copy owns its own hearts record, never the original's.
    gcPlayer(const gcPlayer& other);
    gcPlayer& operator=(const gcPlayer& other);
    ~gcPlayer() override = default;

    // The player's form, then "inapp_bought", "health" and "statistic".
    bool LoadXml(const pugi::xml_node& node) override;
    void SaveXml(pugi::xml_node node) const override;
    // The player's form, then the purchase flag and the hearts (statistics are not part of it).
    void ReadBinary(std::istream& in) override;
    void WriteBinary(std::ostream& out) const override;

    // The ten statistics at their starting values (money, runs and their maxima at 0,
    // "level_time_min" at 9999).
    void SetDefaultStatistics();
    // Statistics of a name that does not exist yet are created at 0 first. Counts wrap around at
    // 32 bits.
    void ResetStatistic(const std::string& name);
    void IncrementStatistic(const std::string& name, int32_t amount);
    // Does not stop at 0: callers check first.
    void DecrementStatistic(const std::string& name, int32_t amount);
    void SetStatisticFloat(const std::string& name, float value);
    // Null when there is no statistic of that name.
    const JSProperty* GetStatistic(const std::string& name) const;
    const JCPropertyMap& GetStatistics() const { return statistic; }
    // Told of every change of a statistic with its name and property.
    void SetChangeCallback(uintptr_t context, JCPropertyMap::Listener listener) {
        statistic.SetListener(context, listener);
    }

    gcPlayerHealth& GetHealth() { return health; }
    const gcPlayerHealth& GetHealth() const { return health; }

    bool IsInappBought() const { return inappBought; }
    void SetInappBought(bool value) { inappBought = value; }

protected:
    bool IsFormChild(const std::string& childName) const override;

private:
    JSProperty& Statistic(const std::string& name);

    JCPropertyMap statistic;
    gcPlayerHealth health;
    bool inappBought = false;
};
