#pragma once
// The command line as a property map: "-key value" pairs.

class JCPropertyMap;

namespace QRV {

extern JCPropertyMap* g_commandLine;

// Builds g_commandLine from the arguments (argument 0, the program path, included).
void ReadCommandLine(int argc, const char* const* argv);

void SetCommandLineValue(const char* key, const char* value);

}  // namespace QRV
