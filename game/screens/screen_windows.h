#pragma once
// The game's window classes join the window-type registry and the default factory here. Called
// once at start-up, before the window list loads (a static initialiser in a library object file
// that nothing references would be dropped by the linker). Calling it again changes nothing.

void RegisterScreenWindows();
