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

// The settings dialog's "##" pattern: 0 gives "", 7 gives "7".
std::string formatTrack(long value);

// The repeat track that a repeat box's text saves: a number rounded to the
// nearest integer, halves to even (2.5 gives 2); 0 for a text that is no
// number; previous for a number beyond 16 bits, which cannot be converted.
std::int16_t repeatTrackFromText(const std::string& text, std::int16_t previous);

}  // namespace fulmina
