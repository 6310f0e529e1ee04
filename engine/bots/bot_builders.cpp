#include "engine/bots/bot_builders.h"

#include <new>
#include <string>

#include "engine/bots/actor_animation.h"
#include "engine/bots/actor_move.h"
#include "engine/core/conversions.h"
#include "engine/core/property_map.h"
#include "engine/core/transform.h"
#include "engine/core/value_types.h"

namespace QRV {

namespace {

float ReadFloat(const JCPropertyMap& properties, const std::string& key) {
    const JSProperty* property = properties.Find(key);
    return property != nullptr ? property->floatValue : 0.0f;
}

JS_VECTOR3 ReadPosition(const JCPropertyMap& properties, const std::string& key, const JS_TRANSFORM3* target) {
    JS_VECTOR3 p;
    if (const JSProperty* property = properties.Find(key)) {
        ParseVector3(property->text, p.x, p.y, p.z);
    } else if (target != nullptr) {
        p = {target->positionX, target->positionY, target->positionZ};
    }
    return p;
}

}  // namespace

JCBot_Move* CreateBotMove(const JCPropertyMap& properties, JS_TRANSFORM3* target) {
    const float delay = ReadFloat(properties, "delay");
    const float time = ReadFloat(properties, "time");
    const JS_VECTOR3 begin = ReadPosition(properties, "position_begin", target);
    const JS_VECTOR3 end = ReadPosition(properties, "position_end", target);
    return new (std::nothrow) JCBot_Move(target, begin, end, time, delay);
}

JCBot_MoveLoop* CreateBotMoveLoop(const JCPropertyMap& properties, JS_TRANSFORM3* target) {
    const float delayStep = ReadFloat(properties, "delay_step");
    const float delay = ReadFloat(properties, "delay");
    const float time = ReadFloat(properties, "time");
    const JS_VECTOR3 begin = ReadPosition(properties, "position_begin", target);
    const JS_VECTOR3 end = ReadPosition(properties, "position_end", target);
    return new (std::nothrow) JCBot_MoveLoop(delay, begin, end, time, delayStep, target);
}

JCBot_Animation* CreateBotAnimation(const JCPropertyMap& properties, G_ANIMATION* animation) {
    return new (std::nothrow) JCBot_Animation(animation, ReadFloat(properties, "delay"));
}

}  // namespace QRV
