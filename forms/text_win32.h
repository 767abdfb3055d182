#pragma once
#include <optional>
#include <string>

namespace forms {

// UTF-8 text for the wide-character Windows calls, and back.
std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);

// The code page 932 (Shift-JIS) spelling of a text, as the settings file's
// keys are stored; nothing when a character has none of its own (no
// best-fit look-alike, no '?' stands in for it).
std::optional<std::string> exactAnsi932(const std::wstring& text);

// The program's own UTF-8 texts as code page 932 bytes; each has a spelling.
std::string ansi932(const std::string& utf8);

// Text in the system's ANSI code page (file names the ANSI calls read), as
// the user reads it; and the code page's exact spelling of a text, nothing
// when a character has none of its own.
std::wstring fromAnsi(const std::string& ansi);
std::optional<std::string> exactAnsi(const std::wstring& text);

}  // namespace forms
