#pragma once
// Sets the engine's global service pointers (g_render, g_soundManager, g_repositoryManager,
// g_input, g_window, g_clock, ...) and other process-wide values for a test, and puts every one
// back as it was when the guard goes, the last one set first.

#include <atomic>
#include <functional>
#include <type_traits>
#include <vector>

namespace QRV::TestKit {

class GlobalGuard {
public:
    GlobalGuard() = default;
    GlobalGuard(const GlobalGuard&) = delete;
    GlobalGuard& operator=(const GlobalGuard&) = delete;
    ~GlobalGuard() { Restore(); }

    // global = value until the guard goes or Restore runs.
    template <typename T>
    void Set(T& global, std::type_identity_t<T> value) {
        restores.push_back([&global, saved = global] { global = saved; });
        global = value;
    }
    template <typename T>
    void Set(std::atomic<T>& global, std::type_identity_t<T> value) {
        restores.push_back([&global, saved = global.load()] { global.store(saved); });
        global.store(value);
    }
    // Leaves the value as it is; whatever the test does to it is undone.
    template <typename T>
    void Save(T& global) {
        Set(global, global);
    }
    template <typename T>
    void Save(std::atomic<T>& global) {
        Set(global, global.load());
    }

    // Puts every value back now, the last one set first.
    void Restore() {
        while (!restores.empty()) {
            restores.back()();
            restores.pop_back();
        }
    }

private:
    std::vector<std::function<void()>> restores;
};

}  // namespace QRV::TestKit
