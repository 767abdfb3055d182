#pragma once
#include <string>

namespace forms {

// UTF-8 text for the wide-character Windows calls, and back.
std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);

// UTF-8 text as code page 932 (Shift-JIS) bytes, for what is stored or sent
// as ANSI text: settings keys, MCI commands.
std::string ansi932(const std::string& utf8);

}  // namespace forms
