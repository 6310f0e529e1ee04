#include "game/data/ad_wrapper_offline.h"

bool JCAdWrapperTest::Init(const JCPropertyMap&) { return false; }
