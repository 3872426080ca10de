#pragma once
// Random numbers for the rotation shuffle: reseeded from the clock, uniform single-precision
// values in [0, 1). Behind an interface so that tests can fix the draws.
#include <chrono>
#include <random>

namespace tolvane::platform {

class Random {
public:
    virtual ~Random() = default;
    virtual void reseed() = 0;
    // A value x with 0 <= x < 1.
    virtual float next() = 0;
};

class SystemRandom : public Random {
public:
    void reseed() override {
        generator_.seed(static_cast<std::mt19937::result_type>(
            std::chrono::steady_clock::now().time_since_epoch().count()));
    }
    float next() override {
        // 24 random bits give every float of [0, 1) on an even grid, never 1 itself.
        return static_cast<float>(generator_() >> 8) / 16777216.0f;
    }

private:
    std::mt19937 generator_{std::random_device{}()};
};

}  // namespace tolvane::platform
