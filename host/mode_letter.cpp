#include "host/mode_letter.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace fulmina {

char modeLetter(const std::string& commandLine) {
    if (commandLine.size() < 2) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(commandLine[1])));
}

char hostMode(const std::string& commandLine) { return commandLine.empty() ? 'C' : modeLetter(commandLine); }

long previewHandleNumber(const std::string& commandLine) {
    if (commandLine.size() < 4) return 0;
    size_t i = 3;
    while (i < commandLine.size() && commandLine[i] == ' ') ++i;
    double value = 0;
    while (i < commandLine.size() && std::isdigit(static_cast<unsigned char>(commandLine[i]))) {
        value = value * 10 + (commandLine[i] - '0');
        ++i;
    }
    // Nearest 32-bit value; a number beyond the range is no handle at all.
    if (value > INT32_MAX) return 0;
    return static_cast<long>(std::lround(value));
}

}  // namespace fulmina
