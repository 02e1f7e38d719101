// The host's random sequence: numbers a session script lists come first, then a seeded generator.
#ifndef ZZ_HOST_BASE_RANDOM_SOURCE_H
#define ZZ_HOST_BASE_RANDOM_SOURCE_H

#include <cstdint>
#include <deque>
#include <random>

namespace zz {

class RandomSource {
  public:
    void seed(uint32_t seed) {
        seeded_ = seed;
        engine_.seed(seed);
    }
    // The seed last given (0 before any).
    uint32_t seeded() const { return seeded_; }
    void queue(float value) { queued_.push_back(value); }
    // The next number, uniform in 0 to 1.
    float next() {
        if (!queued_.empty()) {
            float value = queued_.front();
            queued_.pop_front();
            return value;
        }
        return static_cast<float>(engine_() >> 8) * (1.0f / 16777215.0f);
    }

  private:
    std::deque<float> queued_;
    uint32_t seeded_ = 0;
    std::mt19937 engine_{0};
};

} // namespace zz

#endif
