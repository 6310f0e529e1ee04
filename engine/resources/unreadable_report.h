#pragma once
// A file that content names and that cannot be read (missing, or not what its reader takes): the
// caller goes on without it, and the file is reported once per run, on stderr
// ("quorvel: cannot read Resources/<path>") and to the trace hook (TraceReport::UnreadableFile).
// Any thread may report.

#include <string>

namespace QRV {

// The file a resource key names, below the resource folder: "folder file" is "folder/file".
std::string ResourceKeyPath(const std::string& key);

// Reports the key's file once; nothing for an empty key.
void ReportUnreadableResource(const std::string& key);

}  // namespace QRV
