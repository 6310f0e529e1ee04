// The "gameplay" message vocabulary.
#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/core/property_map.h"
#include "game/data/game_player.h"
#include "game/data/level.h"
#include "game/data/tutorial_controller.h"
#include "game/gameplay/gameplay.h"
#include "game/gameplay/message_tokens.h"

void gcGameplay::SendMessage(const std::string& message) { HandleMessage(gcSplitMessage(message)); }

void gcGameplay::HandleMessage(const std::vector<std::string>& tokens) {
    if (tokens.empty()) return;
    const std::string& command = tokens[0];
    const std::vector<std::string> rest(tokens.begin() + 1, tokens.end());
    if (command == "pause") {
        if (running) Pause();
    } else if (command == "resume") {
        Resume();
    } else if (command == "close") {
        Close();
    } else if (command == "restart") {
        Restart();
    } else if (command == "buy") {
        if (rest.empty()) return;
        const std::string& item = rest[0];
        if (services.dispatcher != nullptr) services.dispatcher->Send<std::string>(kEventItemBought, item);
        if (item == "refill_hint") {
            if (!result.inapp) result.hints += 4;
            ShowHintCount();
        } else if (item == "error") {
            if (const gcPlayer* player = CurrentPlayer()) {
                allowedErrors = baseAllowedErrors = player->GetItemCount("error");
                ambient.ErrorPanel().SetAllowance(allowedErrors);
            }
        } else if (item == "secondchance") {
            OnSecondChanceBought();
        }
    } else if (command == "add_money") {
        if (rest.empty()) return;
        const JCLevel* level = SelectedLevel();
        const JSProperty* plays = level != nullptr ? level->GetProperty("play_count") : nullptr;
        gcPlayer* player = CurrentPlayer();
        if (plays != nullptr && plays->intValue == 1 && player != nullptr) {
            player->IncrementStatistic("money", QRV::AsciiToInt(rest[0]));
        }
    } else if (command == "control") {
        controls.HandleMessage(rest);
    } else if (command == "ambient") {
        ambient.HandleMessage(rest);
    } else if (command == "process") {
        process.OnMessage(rest);
    } else if (command == "tutorial") {
        if (!rest.empty() && rest[0] == "next_step" && services.tutorials != nullptr &&
            !services.tutorials->GetCurrentKey().empty()) {
            services.tutorials->ShowStep(services.tutorials->GetCurrentKey(),
                                         services.tutorials->GetCurrentIndex() + 1);
        }
    } else if (command == "max_hint") {
        if (!rest.empty()) maxHints = QRV::AsciiToInt(rest[0]);
    }
}
