#pragma once
// Files read whole into memory, and pictures decoded from the bytes read, so
// that what is decoded is exactly what was read through the handle at hand.
#include <windows.h>
#include <ocidl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/handles_win32.h"

namespace fulmina {

// An open file read whole, from its first byte: no bytes when it cannot be
// read. A file of more than limit bytes is refused before
// anything is read (tooLarge).
struct FileBytes {
    std::optional<std::vector<std::uint8_t>> bytes;
    bool tooLarge = false;
};
FileBytes readWholeFile(HANDLE file, std::uint64_t limit);

// All of size bytes written into an open file from its first byte; false
// when a write fails.
bool writeWholeFile(HANDLE file, const void* bytes, std::size_t size);

// The platform's picture object decoded from bytes in memory; empty when the
// platform refuses them.
handles::ComRef<IPicture> pictureFromBytes(const std::vector<std::uint8_t>& bytes);

}  // namespace fulmina
