#include "renderer/crt_rand.h"

#include "renderer/renderer_state.h"

namespace fulmina {

int rand() {
    std::uint32_t& state = rendererState.randState;
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

std::uint32_t randState() { return rendererState.randState; }

void setRandState(std::uint32_t value) { rendererState.randState = value; }

}  // namespace fulmina
