#pragma once
#include <windows.h>

#include <string>

namespace fulmina {

// Where an open file really is, as the system resolves every link on the
// way to it: a "\\?\" path, or "" where the system cannot say (a volume
// without a drive letter).
std::wstring finalPathOf(HANDLE file);

}  // namespace fulmina
