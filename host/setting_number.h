#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace fulmina {

// A number read from the settings file: the text as a number, its integer
// part rounded toward negative infinity, as a 16-bit value. Text that is not
// a number, or a number outside the 16-bit range, gives nothing.
std::optional<std::int16_t> parseSettingNumber(const std::string& text);

// The number-to-text form that reserves a sign position: " 3", "-3".
std::string formatSettingNumber(long value);

}  // namespace fulmina
