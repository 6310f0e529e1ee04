#include "engine/app/entry.h"

#include <cstdio>
#include <cstdlib>

#include "engine/core/callback.h"
#include "engine/core/command_line.h"
#include "engine/core/result_codes.h"
#include "engine/platform/heap_trim.h"

namespace QRV {

int RunStartHook(int argc, const char* const* argv) {
    Platform::SetHeapPolicy();
    ReadCommandLine(argc, argv);
    return CallHook(cbAppStart);
}

int ExitStatusFor(int result) {
    if (result == RESULT::NormalEnd) return 0;
    std::fprintf(stderr, "quorvel: finished with code %d\n", result);
    return 1;
}

int DefaultCloseHandler(uintptr_t) {
    std::fflush(nullptr);
    std::_Exit(ExitStatusFor(RESULT::DefaultClose));
}

}  // namespace QRV
