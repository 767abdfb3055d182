#include "host/settings_save_plan.h"

namespace fulmina {

std::vector<SaveWay> settingsSaveWays(const SettingsFileFacts& facts) {
    if (!facts.exists) return {SaveWay::create};
    if (!facts.writable || facts.readOnly || facts.size > settingsFileLimit) return {};
    if (facts.links != 1 || !facts.realPathKnown || !facts.deletable) return {SaveWay::inPlace};
    return {SaveWay::replace, SaveWay::inPlace};
}

std::wstring longPathWhereNeeded(const std::wstring& path) {
    constexpr std::size_t plainLimit = 259;  // MAX_PATH less its NUL
    if (path.size() <= plainLimit || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    return path;  // relative: the long form names no such file
}

}  // namespace fulmina
