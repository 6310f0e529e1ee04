#pragma once
// A particle effect as the game uses it: a description read from XML, a texture of the resource
// cache by name, and the system that runs it.

#include <string>

#include <pugixml.hpp>

#include "engine/graphics/particle_system_ex.h"

namespace QRV {

class G_PARTICLES {
public:
    // No texture name; the system unbound.
    G_PARTICLES();
    // Every setting of the template's system and its texture name, no particles. The copy does
    // not share the template's texture: it starts unbound and, when the template is bound, binds
    // and counts a reference of its own.
    G_PARTICLES(const G_PARTICLES& from);
    G_PARTICLES& operator=(const G_PARTICLES&) = delete;
    // Gives the texture back.
    virtual ~G_PARTICLES();

    // The description into the system, then the attribute "texture" as the texture name (empty
    // when absent). A description that names a texture gives back the one bound before.
    // False when the element had no "texture" (the system is then unchanged).
    bool Load(const pugi::xml_node& element);

    // When unbound and named: the named texture with one user counted on its record, or the
    // renderer's default texture when it is missing or unreadable.
    void BindTexture();
    // One user less on the bound texture's record; the system becomes unbound.
    void ReleaseTexture();

    void Update() { system.Update(); }
    void Draw() { system.Draw(); }

    std::string textureName;
    JC_PARTICLE_SYSTEM_EX system;
};

}  // namespace QRV
