#include "host/setting_number.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace fulmina {

std::optional<std::int16_t> parseSettingNumber(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    const std::string number = text.substr(begin, end - begin);
    if (number.empty()) return std::nullopt;
    // Plain decimal notation only: no hexadecimal, no infinities, no NaN.
    for (char c : number)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' &&
            c != 'E')
            return std::nullopt;
    char* stop = nullptr;
    const double value = std::strtod(number.c_str(), &stop);
    if (stop != number.c_str() + number.size() || !std::isfinite(value)) return std::nullopt;
    const double whole = std::floor(value);
    if (whole < INT16_MIN || whole > INT16_MAX) return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

std::string formatSettingNumber(long value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string formatTrack(long value) { return value == 0 ? std::string() : std::to_string(value); }

std::int16_t repeatTrackFromText(const std::string& text, std::int16_t previous) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    const std::string number = text.substr(begin, end - begin);
    if (number.empty()) return 0;
    for (char c : number)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return 0;
    char* stop = nullptr;
    const double value = std::strtod(number.c_str(), &stop);
    if (stop != number.c_str() + number.size() || !std::isfinite(value)) return 0;
    const double rounded = std::nearbyint(value);  // halves to even
    if (rounded < INT16_MIN || rounded > INT16_MAX) return previous;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace fulmina
