#pragma once
#include <cstdint>

namespace fulmina {

// The renderer's only source of randomness: the classic C runtime generator,
// implemented here so that every build draws the same sequence. Never seeded:
// the state starts at 1, so every run animates alike.
int rand();

// The generator's state, for tests that count or replay draws.
std::uint32_t randState();
void setRandState(std::uint32_t state);

}  // namespace fulmina
