#pragma once
// One advertising network behind the advertising manager. A network is registered only when its
// Init accepts the values of its configuration; what it shows, prepares and hides it reports
// through the manager's delegate (JIAdDelegate).

#include <cstdint>
#include <string>

class JCPropertyMap;

// Ad types the game asks for.
constexpr int32_t kAdTypeBanner = 0;
constexpr int32_t kAdTypeInterstitial = 2;

class JIAdWrapper {
public:
    virtual ~JIAdWrapper() = default;

    // The network's configuration values ("name" among them): true accepts the network.
    virtual bool Init(const JCPropertyMap& values) = 0;
    virtual void Start() = 0;
    virtual void Show(int32_t adType, const std::string& placement) = 0;
    virtual void Prepare(int32_t adType, const std::string& placement) = 0;
    virtual void Hide(int32_t adType, const std::string& placement) = 0;
    // The game has taken the closing of the network's ad into account.
    virtual void NotifyClosed() = 0;
    virtual void Command(const std::string& command) = 0;
    virtual void Command2(const std::string& argument) = 0;
};
