#pragma once
// What the board screen asks of the game root. The root implements it and hands itself to the
// screen (gcGameplay::SetHost); the screen never includes the root. Without a host the screen
// skips these calls.

#include <string>

class gcGameplayHost {
public:
    virtual ~gcGameplayHost() = default;

    // Runs a text command through the root's router ("gameplay::pause", "windows::open::Shop").
    virtual void ExecuteCommand(const std::string& command) = 0;
    // Stores the packs' progress into the current player and writes the save files.
    virtual void Save() = 0;
    // Takes a heart after a lost level (the root decides whether hearts are in use).
    virtual void LoseHeart() = 0;
    // Tests one trophy against the current player's values; true when this call awarded it.
    virtual bool CheckTrophy(const std::string& name) = 0;
    // Pays, announces and follows up an awarded trophy (the all-trophies award included).
    virtual void CheckAllTrophies(const std::string& name) = 0;
    // The statistics of a finished level and the trophies they award.
    virtual void CheckLevelTrophies() = 0;
    // The level list, instantly or with its transitions.
    virtual void ShowLevels(bool instant) = 0;
};
