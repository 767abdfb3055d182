#pragma once
#include <string>

namespace fulmina {

// Paths here are ANSI text in code page 932: a character is one byte, or a
// lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it, which may be a
// '\' (ソ, 表, 能, 予 ...) without being one. Every scan goes by characters.

// The folder part of a path, without a trailing backslash: C:\Music\a.mp3
// gives C:\Music, C:\a.mp3 gives C:, a.mp3 gives "".
std::string FolderOfPath(const std::string& path);

// The path with one trailing backslash dropped, if it has one.
std::string withoutTrailingBackslash(const std::string& path);

// The last three characters of a file name, upper-cased ("WAV", "MP3").
std::string upperExtension3(const std::string& fileName);

}  // namespace fulmina
