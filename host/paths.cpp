#include "host/paths.h"

#include <cctype>
#include <vector>

namespace fulmina {

namespace {

bool isLeadByte932(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Where each character of the text begins; a lead byte at the very end
// counts as a character of its own.
std::vector<size_t> characterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); i += isLeadByte932(text[i]) && i + 1 < text.size() ? 2 : 1)
        starts.push_back(i);
    return starts;
}

bool endsWithBackslash(const std::string& path) {
    const std::vector<size_t> starts = characterStarts(path);
    return !starts.empty() && starts.back() == path.size() - 1 && path.back() == '\\';
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
    size_t last = 0;  // bytes up to and including the last ':' or '\' character
    for (size_t i : characterStarts(path))
        if (path[i] == ':' || path[i] == '\\') last = i + 1;
    return withoutTrailingBackslash(path.substr(0, last));
}

std::string withoutTrailingBackslash(const std::string& path) {
    return endsWithBackslash(path) ? path.substr(0, path.size() - 1) : path;
}

std::string upperExtension3(const std::string& fileName) {
    const std::vector<size_t> starts = characterStarts(fileName);
    std::string tail = starts.size() > 3 ? fileName.substr(starts[starts.size() - 3]) : fileName;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (isLeadByte932(tail[i])) ++i;  // a trail byte is no letter
        else tail[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(tail[i])));
    }
    return tail;
}

}  // namespace fulmina
