// The board's frame animations drawn in code, one strip of equal frames each (theme.h,
// BoardAnimation): the marks of opened cells ("square", "cross"), the cell effects ("shine",
// "pulse"), the flies ("hint", "money"), the clues' strike and the error panel's mark and locked
// slot. Every frame keeps a transparent border of at least one pixel.
#pragma once

#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// The sheet of one of kEffectAnimations, kStrikeAnimation, kErrorMarkAnimation or
// kErrorLockAnimation (by its name). Throws std::invalid_argument for any other.
TextureImage DrawBoardAnimation(const Theme::BoardAnimation& animation);

}  // namespace ContentBuilder
