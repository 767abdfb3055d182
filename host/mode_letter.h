#pragma once
#include <string>

namespace fulmina {

// The host's mode: the second character of its command line, upper-cased;
// 0 when the line is shorter. "/s", "-S" and "xs" all mean 'S'.
char modeLetter(const std::string& commandLine);

// What this start is: the mode letter, and 'C' for an empty command line,
// which Explorer's "Configure" gives (a double click on the file adds /S).
char hostMode(const std::string& commandLine);

// The number after "/p ": from the fourth character on, leading blanks
// skipped, digits read as far as they go (none gives 0), as a 32-bit value.
long previewHandleNumber(const std::string& commandLine);

}  // namespace fulmina
