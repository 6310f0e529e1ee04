#include "engine/resources/unreadable_report.h"

#include <cstdio>
#include <mutex>
#include <set>

#include "engine/core/trace_hook.h"

namespace QRV {

namespace {

std::mutex g_reportedLock;
std::set<std::string> g_reported;

}  // namespace

std::string ResourceKeyPath(const std::string& key) {
    const size_t blank = key.find(' ');
    if (blank == std::string::npos || key.find(' ', blank + 1) != std::string::npos) return key;
    return key.substr(0, blank) + "/" + key.substr(blank + 1);
}

void ReportUnreadableResource(const std::string& key) {
    if (key.empty()) return;
    const std::string path = "Resources/" + ResourceKeyPath(key);
    {
        std::lock_guard<std::mutex> lock(g_reportedLock);
        if (!g_reported.insert(path).second) return;
    }
    // The path is data: written as it stands, never used as a format.
    std::fputs(("quorvel: cannot read " + path + "\n").c_str(), stderr);
    ReportTrace(TraceReport::UnreadableFile, path);
}

}  // namespace QRV
