#pragma once
// Entries in a place that any user of the machine may change, opened and
// looked at as themselves: never what a link at their name leads to.
#include <windows.h>

#include <optional>
#include <string>

#include "common/handles_win32.h"
#include "common/plain_file.h"

namespace fulmina {

// CreateFileW on the entry itself (a link is opened as the link).
handles::KernelObject openEntry(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                SECURITY_ATTRIBUTES* security = nullptr);

// Where an open file really is, as the system resolves every link on the
// way to it: a "\\?\" path, or "" where the system cannot say (a volume
// without a drive letter).
std::wstring finalPathOf(HANDLE file);

// What the system reports of an open entry; nothing when it reports nothing.
std::optional<EntryFacts> entryFacts(HANDLE entry);

// isPlainEntry on what the system reports of the open entry.
bool isPlainEntry(HANDLE entry, bool wantDirectory, const std::wstring& path);

}  // namespace fulmina
