#include "host/paths.h"

#include <cctype>
#include <vector>

namespace fulmina {

namespace {

// Where each character of the text begins; a lead byte at the very end
// counts as a character of its own.
std::vector<size_t> characterStarts(const std::string& text, const LeadBytes& lead) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); i += lead(text[i]) && i + 1 < text.size() ? 2 : 1) starts.push_back(i);
    return starts;
}

bool endsWithBackslash(const std::string& path, const LeadBytes& lead) {
    const std::vector<size_t> starts = characterStarts(path, lead);
    return !starts.empty() && starts.back() == path.size() - 1 && path.back() == '\\';
}

// True when path is folder or lies below it (file names compare without case).
bool within(const std::wstring& path, const std::wstring& folder) {
    if (folder.empty() || path.size() < folder.size()) return false;
    if (!sameIgnoringAsciiCase(std::wstring_view(path).substr(0, folder.size()), std::wstring_view(folder)))
        return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\';
}

}  // namespace

LeadBytes LeadBytes::codePage932() {
    LeadBytes l;
    l.add(0x81, 0x9F);
    l.add(0xE0, 0xFC);
    return l;
}

void LeadBytes::add(unsigned char first, unsigned char last) {
    for (unsigned b = first; b <= last; ++b) lead.set(b);
}

std::string FolderOfPath(const std::string& path, const LeadBytes& lead) {
    size_t last = 0;  // bytes up to and including the last ':' or '\' character
    for (size_t i : characterStarts(path, lead))
        if (path[i] == ':' || path[i] == '\\') last = i + 1;
    return withoutTrailingBackslash(path.substr(0, last), lead);
}

std::wstring FolderOfPath(const std::wstring& path) {
    const size_t last = path.find_last_of(L":\\");
    if (last == std::wstring::npos) return {};
    return path.substr(0, path[last] == L'\\' ? last : last + 1);
}

std::string withoutTrailingBackslash(const std::string& path, const LeadBytes& lead) {
    return endsWithBackslash(path, lead) ? path.substr(0, path.size() - 1) : path;
}

std::string upperExtension3(const std::string& fileName, const LeadBytes& lead) {
    const std::vector<size_t> starts = characterStarts(fileName, lead);
    std::string tail = starts.size() > 3 ? fileName.substr(starts[starts.size() - 3]) : fileName;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (lead(tail[i])) ++i;  // a trail byte is no letter
        else tail[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(tail[i])));
    }
    return tail;
}

std::wstring reachableHostFolder(const HostPlace& place) {
    if (!place.redirected || place.sysnative.empty() || !within(place.reported, place.system)) return place.reported;
    if (!place.image.empty() && !within(place.image, place.system)) return place.reported;
    return place.sysnative + place.reported.substr(place.system.size());
}

}  // namespace fulmina
