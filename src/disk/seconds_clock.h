#pragma once
// A monotonic clock in seconds, passed to what measures time so that tests can drive it.
#include <chrono>
#include <functional>

namespace lumbra {

using SecondsClock = std::function<double()>;

inline SecondsClock SteadySeconds() {
    return [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
}

}  // namespace lumbra
