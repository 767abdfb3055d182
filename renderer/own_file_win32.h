#pragma once
// The renderer reads its texture from a folder that any user of the machine
// may change: only from a file that is the user's own.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fulmina {

// The bytes of the file at path when it is a plain file at exactly that path
// (no link of any kind, one name), owned by the user this program runs as,
// and that nobody else may change (only the user and the system are granted
// any right to); read whole through the handle those checks were made on,
// opened so that nobody may write it meanwhile. Nothing when it is not, or
// when it holds more than limit bytes.
std::optional<std::vector<std::uint8_t>> readOwnFile(const std::wstring& path, std::uint64_t limit);

}  // namespace fulmina
