#include "engine/graphics/particle_system.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/core/random.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"
#include "engine/platform/clock.h"

namespace QRV {

namespace {

// A float as an int, clamped to the int range (0 for NaN): area values come from data.
int32_t ToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<float>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<float>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// A position on one axis of the emission rectangle.
float DrawBetween(float from, float to) {
    const int32_t lo = ToInt(from);
    const int32_t hi = ToInt(to);
    return static_cast<float>(JC_RANDOM::RandInt(lo, hi));
}

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!field.empty()) fields.push_back(field);
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

JS_COLORf ColorOf(const pugi::xml_node& node) { return JS_COLORf::FromARGB(ParseHex(node.child_value())); }

}  // namespace

JC_PARTICLE_SYSTEM::JC_PARTICLE_SYSTEM(JS_TEXTURE* texture) {
    SetTexture(texture);
    templateParticle.size = static_cast<float>(textureHeight);
    templateParticle.color = startColor.ToARGB();
    templateParticle.velocityX = velocityX;
    templateParticle.velocityY = velocityY;
    templateParticle.velocityZ = velocityZ;
}

JC_PARTICLE_SYSTEM::~JC_PARTICLE_SYSTEM() {
    DeleteList(live);
    DeleteList(retired);
}

bool JC_PARTICLE_SYSTEM::LoadDescription(const pugi::xml_node& element) {
    const pugi::xml_attribute textureAttribute = element.attribute("texture");
    if (!textureAttribute) return false;
    SetTexture(NoTexture());

    if (const auto a = element.attribute("multiply")) {
        if (a.as_bool()) {
            renderState |= 0x4u;
        } else {
            renderState &= ~0x4u;
        }
    }
    if (const auto a = element.attribute("maxCount")) maxCount = AsciiToInt(a.value());
    if (const auto a = element.attribute("spreadAngle")) spreadAngle = AsciiToFloat(a.value());
    if (const auto a = element.attribute("frequency")) SetFrequency(AsciiToFloat(a.value()));
    if (const auto a = element.attribute("gravity")) {
        ParseVector2(a.value(), gravityX, gravityY);
        gravityZ = 0.0f;
    }
    if (const auto a = element.attribute("area")) {
        const std::vector<std::string> fields = Fields(a.value());
        // The logical screen's centre.
        const int32_t width = g_render != nullptr ? static_cast<int32_t>(g_render->width) : 1024;
        const int32_t height = g_render != nullptr ? static_cast<int32_t>(g_render->height) : 768;
        const auto cx = static_cast<float>(width / 2);
        const auto cy = static_cast<float>(height / 2);
        if (fields.size() == 1) {
            areaLeft = cx;
            areaTop = cy;
            areaRight = 0.0f;
            areaBottom = 0.0f;
            areaRadius = AsciiToFloat(fields[0]);
        } else if (fields.size() >= 2) {
            const float w = AsciiToFloat(fields[0]);
            const float h = AsciiToFloat(fields[1]);
            areaLeft = cx - w / 2.0f;
            areaRight = cx + w / 2.0f;
            areaTop = cy - h / 2.0f;
            areaBottom = cy + h / 2.0f;
            areaRadius = 0.0f;
        }
    }

    if (const auto c = element.child("lifetime")) templateParticle.lifetime = AsciiToFloat(c.child_value());
    if (const auto c = element.child("velocity")) {
        ParseVector2(c.child_value(), velocityX, velocityY);
        velocityZ = 0.0f;
    }
    if (const auto c = element.child("startColor")) startColor = ColorOf(c);
    if (const auto c = element.child("averColor")) middleColor = ColorOf(c);
    if (const auto c = element.child("endColor")) endColor = ColorOf(c);
    return true;
}

void JC_PARTICLE_SYSTEM::Update() { Advance(g_frameTime.load(std::memory_order_relaxed)); }

void JC_PARTICLE_SYSTEM::InitParticle(JS_PARTICLE*) {}

void JC_PARTICLE_SYSTEM::UpdateParticle(JS_PARTICLE*, float) {}

void JC_PARTICLE_SYSTEM::Advance(float dt) {
    JS_PARTICLE* p = live;
    while (p != nullptr) {
        JS_PARTICLE* following = p->Next();
        // A lifetime of 0 or less would divide by zero: such a particle is over at once.
        if (p->life < 0.0f || p->lifetime <= 0.0f) {
            Retire(p);
            p = following;
            continue;
        }
        p->life -= dt / p->lifetime;

        JS_COLORf color;
        if (p->life > 0.5f) {
            const float t = (1.0f - p->life) * 2.0f;
            color = JS_COLORf(
                startColor.r + (middleColor.r - startColor.r) * t, startColor.g + (middleColor.g - startColor.g) * t,
                startColor.b + (middleColor.b - startColor.b) * t, startColor.a + (middleColor.a - startColor.a) * t);
        } else {
            const float t = 1.0f - 2.0f * p->life;
            color = JS_COLORf(
                middleColor.r + (endColor.r - middleColor.r) * t, middleColor.g + (endColor.g - middleColor.g) * t,
                middleColor.b + (endColor.b - middleColor.b) * t, middleColor.a + (endColor.a - middleColor.a) * t);
        }
        p->color = color.ToARGB();

        p->velocityX += gravityX * dt;
        p->velocityY += gravityY * dt;
        p->velocityZ += gravityZ * dt;
        p->x += p->velocityX * dt;
        p->y += p->velocityY * dt;
        p->z += p->velocityZ * dt;

        UpdateParticle(p, dt);
        p = following;
    }

    emissionTimer += dt;
    Emit();
    DeleteList(retired);

    if (emissionTimeLeft != 0.0f) {
        emissionTimeLeft -= dt;
        if (emissionTimeLeft <= 0.0f) {
            emitting = 0;
            emissionTimeLeft = 0.0f;
        }
    }
}

void JC_PARTICLE_SYSTEM::Emit() {
    if (emitting == 0 || particleCount >= maxCount || !(interval <= emissionTimer)) return;

    auto* p = new JS_PARTICLE(templateParticle);
    p->next = nullptr;
    p->previous = nullptr;
    p->color = startColor.ToARGB();

    if (areaRight == 0.0f) {
        // Disc mode: left and top hold the centre. Both draws are made, radius 0 or not.
        const float r = JC_RANDOM::Rand01() * areaRadius;
        const float a = JC_RANDOM::Rand01() * 2.0f * std::numbers::pi_v<float>;
        p->x = areaLeft + std::cos(a) * r;
        p->y = areaTop + std::sin(a) * r;
    } else {
        p->x = DrawBetween(areaLeft, areaRight);
        p->y = DrawBetween(areaTop, areaBottom);
    }

    // Turned by +spread/2, then back by a uniform part of the spread.
    const float angle = spreadAngle * 0.5f - JC_RANDOM::Rand01() * spreadAngle;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    p->velocityX = velocityX * c - velocityY * s;
    p->velocityY = velocityX * s + velocityY * c;
    p->velocityZ = templateParticle.velocityZ;

    InitParticle(p);
    emissionTimer = 0.0f;
    if (p->lifetime <= 0.0f) {
        // Over before it is ever drawn.
        delete p;
        return;
    }
    p->next = live;
    if (live != nullptr) live->previous = p;
    live = p;
    ++particleCount;
}

void JC_PARTICLE_SYSTEM::Retire(JS_PARTICLE* p) {
    JS_PARTICLE* following = p->Next();
    if (p->previous != nullptr) {
        p->previous->next = following;
    } else {
        live = following;
    }
    if (following != nullptr) following->previous = p->previous;
    --particleCount;
    p->previous = nullptr;
    p->next = retired;
    retired = p;
}

void JC_PARTICLE_SYSTEM::DeleteList(JS_PARTICLE*& first) {
    while (first != nullptr) {
        JS_PARTICLE* following = first->Next();
        delete first;
        first = following;
    }
}

void JC_PARTICLE_SYSTEM::Draw() {
    if (g_render == nullptr || !IsBound()) return;
    LoadWorldMatrix(transform);
    if (live != nullptr) g_render->DrawPoints(live, texture, renderState);
}

void JC_PARTICLE_SYSTEM::Start(float seconds) {
    emitting = 1;
    emissionTimeLeft = seconds > 0.0f ? seconds : 0.0f;
}

void JC_PARTICLE_SYSTEM::Stop() {
    emitting = 0;
    emissionTimeLeft = 0.0f;
}

void JC_PARTICLE_SYSTEM::Reset() {
    DeleteList(live);
    DeleteList(retired);
    particleCount = 0;
    emitting = 0;
    emissionTimer = 0.0f;
    emissionTimeLeft = 0.0f;
}

void JC_PARTICLE_SYSTEM::SetPosition(float x, float y) {
    if (areaRight == 0.0f) {
        areaLeft = x;
        areaTop = y;
        return;
    }
    const float halfWidth = (areaRight - areaLeft) * 0.5f;
    const float halfHeight = (areaBottom - areaTop) * 0.5f;
    areaLeft = x - halfWidth;
    areaRight = x + halfWidth;
    areaTop = y - halfHeight;
    areaBottom = y + halfHeight;
}

void JC_PARTICLE_SYSTEM::SetTexture(JS_TEXTURE* newTexture) {
    texture = newTexture;
    textureHeight = newTexture != nullptr ? static_cast<int32_t>(newTexture->height) : 0;
}

void JC_PARTICLE_SYSTEM::SetFrequency(float perSecond) {
    frequency = perSecond;
    interval = perSecond > 0.0f ? 1.0f / perSecond : std::numeric_limits<float>::infinity();
}

void JC_PARTICLE_SYSTEM::CopySettings(const JC_PARTICLE_SYSTEM& other) {
    if (&other == this) return;
    maxCount = other.maxCount;
    gravityX = other.gravityX;
    gravityY = other.gravityY;
    gravityZ = other.gravityZ;
    velocityX = other.velocityX;
    velocityY = other.velocityY;
    velocityZ = other.velocityZ;
    spreadAngle = other.spreadAngle;
    startColor = other.startColor;
    middleColor = other.middleColor;
    endColor = other.endColor;
    renderState = other.renderState;
    templateParticle = other.templateParticle;
    templateParticle.next = nullptr;
    templateParticle.previous = nullptr;
    transform = other.transform;
    emissionTimeLeft = other.emissionTimeLeft;
    emitting = other.emitting;
    frequency = other.frequency;
    interval = other.interval;
    emissionTimer = other.emissionTimer;
    areaLeft = other.areaLeft;
    areaTop = other.areaTop;
    areaRight = other.areaRight;
    areaBottom = other.areaBottom;
    areaRadius = other.areaRadius;
}

bool JC_PARTICLE_SYSTEM::IsBound() const { return IsRealTexture(texture); }

}  // namespace QRV
