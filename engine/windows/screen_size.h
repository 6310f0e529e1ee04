#pragma once
// The logical screen size that windows are placed on, as floats (1024 x 768 without a renderer).

#include "engine/graphics/render.h"

namespace QRV {

inline float LogicalScreenWidth() {
    return g_render != nullptr ? static_cast<float>(static_cast<int32_t>(g_render->width)) : 1024.0f;
}
inline float LogicalScreenHeight() {
    return g_render != nullptr ? static_cast<float>(static_cast<int32_t>(g_render->height)) : 768.0f;
}

}  // namespace QRV
