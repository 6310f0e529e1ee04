#pragma once
// Actor bots built from the property maps of a window's "bots" entries. Times and delays are
// seconds ("delay", "time", "delay_step"); positions are three blank-separated numbers x y z
// ("position_begin", "position_end"). A missing time or delay reads as 0, a missing position as
// the target's position at the time of the call. Each builder returns null when the allocation
// fails.

class JCPropertyMap;

namespace QRV {

struct JS_TRANSFORM3;
class G_ANIMATION;
class JCBot_Animation;
class JCBot_Move;
class JCBot_MoveLoop;

// Keys "delay", "time", "position_begin", "position_end".
JCBot_Move* CreateBotMove(const JCPropertyMap& properties, JS_TRANSFORM3* target);
// Keys "delay_step", "delay", "time", "position_begin", "position_end".
JCBot_MoveLoop* CreateBotMoveLoop(const JCPropertyMap& properties, JS_TRANSFORM3* target);
// Key "delay".
JCBot_Animation* CreateBotAnimation(const JCPropertyMap& properties, G_ANIMATION* animation);

}  // namespace QRV
