#include "renderer/crt_rand.h"

namespace fulmina {

namespace {
std::uint32_t state = 1;
}

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

std::uint32_t randState() { return state; }

void setRandState(std::uint32_t value) { state = value; }

}  // namespace fulmina
