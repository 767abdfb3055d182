#include "common/plain_file.h"

#include "common/path_compare.h"

namespace fulmina {

namespace {

// The final path without the prefix that marks it as a long path; a UNC path
// keeps its two leading backslashes.
std::wstring withoutLongPrefix(const std::wstring& path) {
    const std::wstring unc = L"\\\\?\\UNC\\";
    const std::wstring local = L"\\\\?\\";
    if (path.compare(0, unc.size(), unc) == 0) return L"\\\\" + path.substr(unc.size());
    if (path.compare(0, local.size(), local) == 0) return path.substr(local.size());
    return path;
}

}  // namespace

bool isPlainEntry(const EntryFacts& facts, bool wantDirectory, const std::wstring& expectedPath) {
    if (facts.reparsePoint || facts.directory != wantDirectory) return false;
    if (!wantDirectory && facts.links != 1) return false;
    return !expectedPath.empty() && sameIgnoringAsciiCase(std::wstring_view(withoutLongPrefix(facts.finalPath)),
                                                          std::wstring_view(expectedPath));
}

}  // namespace fulmina
