#pragma once
#include <cstddef>
#include <cstdint>

// One input through the whole codec: scan, decode every frame (top-down and
// bottom-up in turn), write each decoded frame and decode that again. Traps
// when the second decoding differs from the first. Big files are only
// scanned, so that each run stays short.
void fuzzGifOnce(const std::uint8_t* data, std::size_t size);
