#pragma once
// Play times as "mm:ss", or "hh:mm:ss" from one hour on.

#include <string>

// Whole seconds count (the fraction is dropped); negative times show as "00:00".
std::string FormatTime(float seconds);
