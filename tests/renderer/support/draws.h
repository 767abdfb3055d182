#pragma once
// Counts the draws an operation took from the shared generator, by replaying
// an independent copy of the generator from the state before the operation.
#include <cstdint>

#include "renderer/crt_rand.h"

namespace draws {

inline std::uint32_t advance(std::uint32_t state) { return state * 214013u + 2531011u; }

// The value the generator returns from a state (after stepping it).
inline int valueAfter(std::uint32_t state) { return static_cast<int>((advance(state) >> 16) & 0x7FFF); }

// Number of draws between two states; -1 when more than limit.
inline int between(std::uint32_t before, std::uint32_t after, int limit = 100000) {
    for (int n = 0; n <= limit; ++n) {
        if (before == after) return n;
        before = advance(before);
    }
    return -1;
}

// Runs op and returns how many draws it consumed.
template <typename Op>
int counted(Op op) {
    const std::uint32_t before = fulmina::randState();
    op();
    return between(before, fulmina::randState());
}

// The first state at or after start from which the next draws satisfy pred,
// which is given the generator's next values through a replaying callable.
template <typename Pred>
std::uint32_t findState(Pred pred, std::uint32_t start = 1) {
    for (std::uint32_t s = start;; s = advance(s)) {
        std::uint32_t probe = s;
        auto next = [&probe]() {
            probe = advance(probe);
            return static_cast<int>((probe >> 16) & 0x7FFF);
        };
        if (pred(next)) return s;
    }
}

}  // namespace draws
