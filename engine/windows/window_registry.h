#pragma once
// The program-wide registry of window classes by type key ("_type" of a window file). Classes
// register themselves from static initialisers; the window manager asks it before it falls back
// to the game's default factory. Created on first use, so registrations before main are safe.

#include <string>

class JCWindow;

using JCWindowCreator = JCWindow* (*)();

// Stores the creator under the key; a second registration of a key replaces the first. Returns
// true, so that a static initialiser can call it.
bool RegisterWindowType(const std::string& key, JCWindowCreator creator);

// A new window of the registered class, or null when the key is not registered.
JCWindow* CreateRegisteredWindow(const std::string& key);
