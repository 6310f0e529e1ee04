#include "game/gameplay/fly_effect.h"

#include <cmath>

#include "engine/bots/actor_lerp.h"
#include "engine/bots/actor_tick.h"
#include "engine/bots/tween_bezier.h"
#include "engine/core/conversions.h"
#include "engine/core/format_wide_checked.h"

namespace {

// The font reference: "font", or the first child that names a font.
pugi::xml_node FontNode(const pugi::xml_node& element) {
    if (const pugi::xml_node named = element.child("font")) return named;
    for (const pugi::xml_node child : element.children()) {
        if (child.attribute("fntName")) return child;
    }
    return {};
}

}  // namespace

bool gcFlyEffect::Load(const pugi::xml_node& element, const QRV::G_ANIMATION* money,
                       const QRV::JCFontCatalogue* fonts) {
    loaded = 0;
    if (!element || !element.attribute("endpos")) return false;
    speed = QRV::AsciiToFloat(element.attribute("speed").as_string());
    deflection = QRV::AsciiToFloat(element.attribute("deflection").as_string());
    endX = endY = 0.0f;
    QRV::ParseVector2(element.attribute("endpos").as_string(), endX, endY);

    const pugi::xml_node fontNode = FontNode(element);
    const pugi::xml_node motion = fontNode.child("motion");
    if (!fontNode || !fontNode.attribute("fntName") || !motion) return false;
    // A font missing from the catalogue leaves the text undrawn, not the fly.
    font.Load(fontNode, fonts);
    motionTime = QRV::AsciiToFloat(motion.attribute("time").as_string());
    motionStartX = motionStartY = motionEndOffsetX = motionEndOffsetY = 0.0f;
    QRV::ParseVector2(motion.attribute("start").as_string(), motionStartX, motionStartY);
    QRV::ParseVector2(motion.attribute("endoffset").as_string(), motionEndOffsetX, motionEndOffsetY);

    const pugi::xml_attribute value = element.child("text").attribute("value");
    if (!value) return false;
    format = QRV::Utf8ToWide(value.as_string());

    if (!particles.Load(element.child("particles_follow"))) return false;
    particles.BindTexture();

    coin.ReleaseResources();
    coin = money != nullptr ? *money : QRV::G_ANIMATION();
    loaded = 1;
    return true;
}

std::unique_ptr<gcFlyEffect> gcFlyEffect::Launch(const gcElement& cell, int32_t value, ArrivalCallback arrival) const {
    if (!loaded) return nullptr;
    auto fly = std::make_unique<gcFlyEffect>();
    fly->speed = speed;
    fly->deflection = deflection;
    fly->endX = endX;
    fly->endY = endY;
    fly->font = font;
    fly->motionTime = motionTime;
    fly->motionStartX = motionStartX;
    fly->motionStartY = motionStartY;
    fly->motionEndOffsetX = motionEndOffsetX;
    fly->motionEndOffsetY = motionEndOffsetY;
    fly->format = format;
    fly->particles.system.CopySettings(particles.system);
    fly->particles.textureName = particles.textureName;
    fly->particles.BindTexture();
    fly->coin = coin;
    fly->coin.RestoreResources();
    fly->amount = value;
    fly->onArrival = arrival;
    fly->loaded = 1;

    // The flight: a quadratic curve whose control point lies off the chord's middle by deflection.
    const float x0 = cell.CentreX(), y0 = cell.CentreY();
    QRV::JS_TRANSFORM3* target = fly->coin.transform;
    target->positionX = x0;
    target->positionY = y0;
    gcStartAnimation(fly->coin);
    const float dx = endX - x0, dy = endY - y0;
    const float chord = std::sqrt(dx * dx + dy * dy);
    QRV::JS_VECTOR3 control{x0 + dx * 0.5f, y0 + dy * 0.5f, 0.0f};
    if (chord > 0.0f) {
        control.x += -dy / chord * deflection;
        control.y += dx / chord * deflection;
    }
    gcFlyEffect* self = fly.get();
    fly->steps.Add(new QRV::JC_BOT_MOVE_QUADBEZIER(target, control, {endX, endY, 0.0f}, 0.0f, speed, 0.0f),
                   {self, &gcFlyEffect::Arrived}, self);

    // The arrival: the amount rises from endpos + start by endoffset.
    const QRV::JS_VECTOR2 textFrom{endX + motionStartX, endY + motionStartY};
    const QRV::JS_VECTOR2 textTo{textFrom.x + motionEndOffsetX, textFrom.y + motionEndOffsetY};
    fly->textPosition = textFrom;
    fly->steps.Add(
        new QRV::JCBot_LerpTick<QRV::JS_VECTOR2>(textFrom, textTo, 0.0f, self, &gcFlyEffect::MoveText, motionTime), {},
        self);
    // The removal.
    fly->steps.Add(new QRV::JCBot_Tick(0.0f, 0.0f), {self, &gcFlyEffect::Removed}, self);

    fly->particles.system.Reset();
    fly->particles.system.SetPosition(x0, y0);
    fly->particles.system.Start();
    return fly;
}

void gcFlyEffect::Arrived(void*, gcFlyEffect* fly) {
    fly->phase = kShowing;
    fly->particles.system.Stop();
    const QRV::FormatArg argument{fly->amount};
    fly->text = QRV::FormatWideChecked(fly->format, &argument, 1);
    const ArrivalCallback callback = fly->onArrival;
    if (callback) callback(fly->amount);
}

void gcFlyEffect::Removed(void*, gcFlyEffect* fly) { fly->phase = kDone; }

void gcFlyEffect::MoveText(void* self, const QRV::JS_VECTOR2& point) {
    static_cast<gcFlyEffect*>(self)->textPosition = point;
}

bool gcFlyEffect::Update() {
    if (phase == kDone) return false;
    const bool finished = steps.Update();
    if (phase == kFlying) particles.system.SetPosition(coin.transform->positionX, coin.transform->positionY);
    coin.Update();
    particles.Update();
    if (finished) phase = kDone;
    return phase != kDone;
}

void gcFlyEffect::Draw() {
    particles.Draw();
    if (phase == kFlying) {
        coin.Draw();
    } else if (phase == kShowing) {
        font.DrawText(nullptr, textPosition.x, textPosition.y, text);
    }
}
