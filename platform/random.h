#pragma once

#include <cstdint>
#include <random>

#include "platform/ports.h"

namespace velmo {

class StandardRandom : public RandomPort {
  public:
    StandardRandom();
    // A fixed seed, for repeatable runs.
    explicit StandardRandom(std::uint64_t seed) : engine_(seed) {}
    int Between(int lo, int hi) override;

  private:
    std::mt19937_64 engine_;
};

}  // namespace velmo
