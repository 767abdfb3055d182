// Every kept fuzzing input (the seeds and anything the fuzzer once found)
// through the same path as the fuzzer, under the sanitizers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/controls/gif/fuzz/gif_fuzz_target.h"

TEST(GifCorpus, EveryKeptInputPassesTheCodecUnharmed) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FULMINA_GIF_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fuzzGifOnce(bytes.data(), bytes.size());
        ++files;
    }
    EXPECT_GE(files, 9);
}
