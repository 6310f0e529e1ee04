#pragma once
// A window without behaviour of its own (type "G_WINDOW_SIMPLE"): its looks come from its XML,
// its clicks go only to the click callback.

#include <cstdint>

#include "engine/windows/window.h"

class JCWindow_Simple : public JCWindow {
public:
    ~JCWindow_Simple() override;

    void OnButton(int32_t /*id*/) override {}
};
