#pragma once
// Text messages are tokens joined by the two characters "::" ("control::hint::visible::true").

#include <string>
#include <vector>

// Cuts at every "::"; a single ':' stays inside its token and empty tokens are kept ("a::" gives
// "a" and ""). An empty text gives no token.
std::vector<std::string> gcSplitMessage(const std::string& message);
