#include "engine/windows/window_simple.h"

JCWindow_Simple::~JCWindow_Simple() = default;
