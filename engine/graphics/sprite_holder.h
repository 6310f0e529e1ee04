#pragma once
// A sprite described by an XML resource whose root names the texture in its child "file" (the
// game cursor).

#include <memory>
#include <string>

#include "engine/graphics/sprite.h"

namespace QRV {

// Holds the sprite LoadSpriteFromResource makes and deletes it with itself.
struct JS_SPRITE_HOLDER {
    std::unique_ptr<G_SPRITE> sprite;
};

// Reads the XML resource `key`: the text of its root's child "file" names the texture. Makes the
// holder's sprite (or renames the one it has), anchored at hot spot 0. The XML record's user is
// counted only while reading. True when the holder then has a sprite with a texture name; a
// missing or unreadable resource, or one without a "file" text, leaves the holder unchanged and
// gives false.
bool LoadSpriteFromResource(JS_SPRITE_HOLDER& holder, const std::string& key);

}  // namespace QRV
