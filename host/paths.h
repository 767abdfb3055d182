#pragma once
#include <bitset>
#include <string>
#include <string_view>

#include "common/path_compare.h"

namespace fulmina {

// Which bytes begin a two-byte character in an ANSI code page: none in a
// single-byte one (1252), 0x81-0x9F and 0xE0-0xFC in code page 932. The
// trail byte after a lead byte may be a '\' (ソ, 表, 能, 予 in 932) without
// being one, so every scan of ANSI text goes by characters.
class LeadBytes {
public:
    LeadBytes() = default;  // a single-byte code page
    static LeadBytes codePage932();
    void add(unsigned char first, unsigned char last);
    bool operator()(char c) const { return lead[static_cast<unsigned char>(c)]; }

private:
    std::bitset<256> lead;
};

// The folder part of an ANSI path, without a trailing backslash: C:\Music\a.mp3
// gives C:\Music, C:\a.mp3 gives C:, a.mp3 gives "".
std::string FolderOfPath(const std::string& path, const LeadBytes& lead);
// The same for a wide path, where every character is one unit.
std::wstring FolderOfPath(const std::wstring& path);

// The path with one trailing backslash dropped, if it has one.
std::string withoutTrailingBackslash(const std::string& path, const LeadBytes& lead);

// The last three characters of a file name, upper-cased ("WAV", "MP3").
std::string upperExtension3(const std::string& fileName, const LeadBytes& lead);

// What Windows tells of where the host program is.
struct HostPlace {
    std::wstring reported;   // the folder of the program's file as it was started
    std::wstring image;      // the folder of the file the system mapped, if known
    bool redirected = false;  // a 32-bit program on 64-bit Windows
    std::wstring system;     // the system folder (C:\Windows\System32)
    std::wstring sysnative;  // its alias that 32-bit programs reach it by, "" when there is none
};

// The folder through which the host reaches the files beside it. A 32-bit
// program's accesses to System32 go to SysWOW64; a 32-bit host that a 64-bit
// program (the control panel) started from the real System32 reaches its
// folder through the Sysnative alias instead. One the system mapped from
// SysWOW64 (started from System32 by a 32-bit program) is reached as named.
std::wstring reachableHostFolder(const HostPlace& place);

}  // namespace fulmina
