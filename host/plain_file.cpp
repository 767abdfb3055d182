#include "host/plain_file.h"

#include "host/paths.h"

namespace fulmina {

namespace {

// The final path without the prefix that marks it as a long path; a UNC path
// keeps its two leading backslashes.
std::string withoutLongPrefix(const std::string& path) {
    const std::string unc = "\\\\?\\UNC\\";
    const std::string local = "\\\\?\\";
    if (path.compare(0, unc.size(), unc) == 0) return "\\\\" + path.substr(unc.size());
    if (path.compare(0, local.size(), local) == 0) return path.substr(local.size());
    return path;
}

}  // namespace

bool isPlainEntry(const EntryFacts& facts, bool wantDirectory, const std::string& expectedPath) {
    if (facts.reparsePoint || facts.directory != wantDirectory) return false;
    if (!wantDirectory && facts.links != 1) return false;
    return !expectedPath.empty() &&
           sameIgnoringAsciiCase(std::string_view(withoutLongPrefix(facts.finalPath)), std::string_view(expectedPath));
}

}  // namespace fulmina
