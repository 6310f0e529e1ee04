#pragma once
// The listener of the player list (the game root).

class JCPlayer;
class JCPlayerManager;

class JIPlayerManagerDelegate {
public:
    virtual ~JIPlayerManagerDelegate() = default;
    // A player has become current (also when it already was).
    virtual void OnPlayerSelected(JCPlayerManager* manager, JCPlayer* player) = 0;
    // The current player is about to be replaced by a different one: the last moment to store
    // anything into the outgoing player.
    virtual void OnPlayerChanging(JCPlayerManager* manager, JCPlayer* outgoing) = 0;
    // The list has been read from the save folder (it may be empty).
    virtual void OnPlayersLoaded(JCPlayerManager* manager) = 0;
};
