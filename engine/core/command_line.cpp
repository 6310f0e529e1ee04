#include "engine/core/command_line.h"

#include <string>

#include "engine/core/property_map.h"

namespace QRV {

JCPropertyMap* g_commandLine = nullptr;

void SetCommandLineValue(const char* key, const char* value) {
    if (g_commandLine != nullptr) g_commandLine->SetString(key, value);
}

void ReadCommandLine(int argc, const char* const* argv) {
    delete g_commandLine;
    g_commandLine = new JCPropertyMap();
    std::string pending;
    bool hasPending = false;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg == nullptr) continue;
        if (arg[0] == '-') {
            // A key still waiting for its value becomes a flag.
            if (hasPending) g_commandLine->SetBool(pending, 1);
            pending = arg + 1;
            hasPending = true;
        } else if (hasPending) {
            // The key has its value: it is no longer pending, so later plain arguments are ignored.
            SetCommandLineValue(pending.c_str(), arg);
            hasPending = false;
        }
    }
    // A key left without a value at the end is not stored.
}

}  // namespace QRV
