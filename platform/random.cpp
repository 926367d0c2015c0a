#include "platform/random.h"

namespace velmo {

StandardRandom::StandardRandom() {
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
    engine_.seed(seed);
}

int StandardRandom::Between(int lo, int hi) {
    if (hi <= lo)
        return lo;
    return std::uniform_int_distribution<int>(lo, hi)(engine_);
}

}  // namespace velmo
