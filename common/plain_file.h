#pragma once
// Whether a file or folder in a place that any user of the machine may
// change (the texture folder) is one the programs may write, delete or read:
// only a plain entry at exactly its own path, never something reached
// through a link. The facts are what the system reports of an entry opened
// without following links.
#include <string>

namespace fulmina {

struct EntryFacts {
    bool directory = false;
    bool reparsePoint = false;  // a symbolic link, junction or other reparse point
    unsigned long links = 1;    // names of the file (more than one: a hard link)
    std::wstring finalPath;     // where the open really led, as the system resolves it
};

// True when the entry is a plain folder (wantDirectory) or a plain file with
// one name, and it resolves to expectedPath itself: a "\\?\" or "\\?\UNC\"
// prefix of the final path is ignored, letters compare without case.
bool isPlainEntry(const EntryFacts& facts, bool wantDirectory, const std::wstring& expectedPath);

}  // namespace fulmina
