#include "host/paths.h"

#include <cctype>

namespace fulmina {

std::string FolderOfPath(const std::string& path) {
    size_t last = 0;  // 1-based position of the last ':' or '\', 0 for none
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] == ':' || path[i] == '\\') last = i + 1;
    return withoutTrailingBackslash(path.substr(0, last));
}

std::string withoutTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

std::string upperExtension3(const std::string& fileName) {
    std::string tail = fileName.size() > 3 ? fileName.substr(fileName.size() - 3) : fileName;
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail;
}

}  // namespace fulmina
