#pragma once
// The paths service: fixes the "Resources" folder below the current directory and makes it the
// working directory, so that relative paths elsewhere resolve below it.

#include <string>

namespace QRV {

// The engine status text; receives the messages of the resource start-up.
extern std::string g_engineStatus;

class JC_PATHS {
public:
    // The one service, set up on the first call.
    static JC_PATHS* Instance();

    // Reads the current directory, creates "Resources" below it when missing (calling the
    // repository-loaded hook either way) and makes it the working directory. Instance does this
    // once; calling it again starts over from the directory that is current now.
    void Setup();

    std::string appDir;        // the start-up directory with "/" separators, plus "/"
    std::string resourcesDir;  // the start-up directory plus "/Resources/"
    std::string workDir;       // the resources directory once set up
    std::string userDir;       // filled by the game for its save folder
};

}  // namespace QRV
