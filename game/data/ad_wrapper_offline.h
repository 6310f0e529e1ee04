#pragma once
// The advertising network of the desktop: it refuses to start, so the manager registers no network
// and every placement takes its no-ad path. It never contacts anything.

#include <cstdint>

#include "game/data/ad_wrapper.h"

class JCAdManager;

class JCAdWrapperTest : public JIAdWrapper {
public:
    explicit JCAdWrapperTest(JCAdManager* owner) : manager(owner) {}

    // False: not available.
    bool Init(const JCPropertyMap& values) override;
    void Start() override {}
    void Show(int32_t, const std::string&) override {}
    void Prepare(int32_t, const std::string&) override {}
    void Hide(int32_t, const std::string&) override {}
    void NotifyClosed() override {}
    void Command(const std::string&) override {}
    void Command2(const std::string&) override {}

    JCAdManager* manager = nullptr;
    int32_t state = 0;
};
