// libFuzzer's entry to the GIF codec.
#include "tests/controls/gif/fuzz/gif_fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzGifOnce(data, size);
    return 0;
}
