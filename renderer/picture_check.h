#pragma once
// Which picture files the renderer hands to the system's picture decoder.
// The decoder trusts a BMP's headers and reads as much as they promise, past
// the end of the bytes it was given: the renderer hands it a BMP only when
// its headers promise no more than the file holds, besides JPEG and GIF
// files (their decoders stop where the bytes end) and nothing else (an
// icon's or a metafile's offsets would be trusted as well).
#include <cstddef>
#include <cstdint>

namespace fulmina {

// The most pixels a BMP may have: more than any texture is made of.
constexpr std::uint64_t maxBmpPixels = std::uint64_t{1} << 24;

// True for an uncompressed BMP of 1, 4, 8, 16, 24 or 32 bits per pixel (bit
// fields at 16 and 32; the core header's 1, 4, 8 and 24) whose headers,
// masks, colour table and rows all lie within its size bytes, whose sides
// are at least one pixel and whose pixels number at most maxBmpPixels.
bool isWholeBmp(const std::uint8_t* bytes, std::size_t size);

// True for a whole BMP, and for bytes that begin as a JPEG or a GIF file.
bool isDecodablePicture(const std::uint8_t* bytes, std::size_t size);

}  // namespace fulmina
