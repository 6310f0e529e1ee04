// The two progress transfers of JCPacks: a player's records into the packs when the player
// becomes current, and the packs into the player's records before a save.

#include "engine/core/property_map.h"
#include "game/data/packs.h"
#include "game/data/player.h"

namespace {

const JSProperty* FindValue(const JCPropertyMap* record, const char* key) {
    return record != nullptr ? record->Find(key) : nullptr;
}

void ApplyLevel(JCLevel& level, int32_t kind, const JCPropertyMap* record) {
    const JSProperty* open = FindValue(record, "is_open");
    const JSProperty* stars = FindValue(record, "stars");
    const JSProperty* score = FindValue(record, "score");
    const JSProperty* time = FindValue(record, "time");
    level.properties.SetBool("is_open", open != nullptr ? open->intValue != 0 : kind == kPackTutorial);
    level.properties.SetInt("stars", stars != nullptr ? stars->intValue : 0);
    level.properties.SetInt("score", score != nullptr ? score->intValue : 0);
    level.properties.SetFloat("time", time != nullptr ? time->floatValue : kLevelNoTime);
}

// The text form of a property ("" when absent).
std::string TextOf(const JCPropertyMap& map, const char* key) {
    const JSProperty* value = map.Find(key);
    return value != nullptr ? value->text : std::string();
}

}  // namespace

void JCPacks::ApplyPlayerProgress(const JCPlayer* player) {
    for (auto& [kind, list] : packsByKind) {
        for (JCPack* pack : list) {
            const JCPropertyMap* packRecord = player != nullptr ? player->FindPackRecord(pack->GetName()) : nullptr;
            const JSProperty* lock = FindValue(packRecord, "is_lock");
            pack->properties.SetString("is_lock", lock != nullptr ? lock->text : pack->GetDescribedLock());

            bool anyOpen = false;
            for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
                JCLevel* level = pack->LevelAt(i);
                if (JCLevel::IsDefault(level)) continue;
                const JCPropertyMap* record = player != nullptr ? player->FindLevelRecord(level->GetName()) : nullptr;
                ApplyLevel(*level, pack->GetKind(), record);
                anyOpen = anyOpen || level->properties.Find("is_open")->intValue != 0;
            }
            pack->properties.SetBool("is_open", anyOpen ? 1 : 0);
        }
    }
}

void JCPacks::StorePlayerProgress(JCPlayer* player) const {
    if (player == nullptr) return;
    for (const auto& [kind, list] : packsByKind) {
        for (const JCPack* pack : list) {
            JCPropertyMap packRecord;
            packRecord.SetString("is_lock", TextOf(pack->properties, "is_lock"));
            player->SetPackRecord(pack->GetName(), packRecord);

            for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
                const JCLevel* level = pack->LevelAt(i);
                if (JCLevel::IsDefault(level)) continue;
                JCPropertyMap record;
                for (const char* key : {"is_open", "stars", "score", "time"}) {
                    record.SetString(key, TextOf(level->properties, key));
                }
                player->SetLevelRecord(level->GetName(), record);
            }
        }
    }
}
