#include "game/data/igp_wrapper.h"

namespace QRV {

bool JC_IGP_WRAPPER_I::Init(const std::string& appKey, void*, JCIgpManager* owner) {
    manager = owner;
    key = appKey;
    return true;
}

}  // namespace QRV
