#pragma once
// The settings file as the settings dialog saves it.
#include <string>
#include <utility>
#include <vector>

#include "host/settings_file.h"

namespace fulmina {

// Writes all keys or none into the file the user has, by its wide path. The
// new bytes are what the profile API makes of the old ones (in the system's
// ANSI code page; the keys are code page 932 bytes on every Windows, passed
// as the text the ANSI code page reads them as). They go to the file that a
// link at its name leads to, which stays that same file: its security,
// attributes and other names are kept, and the bytes are on the disk before
// they take the old ones' place. A file this user may not change
// (read-only, denied, a folder, held by another program) is left as it is.
class Win32SettingsStore : public SettingsStore {
public:
    explicit Win32SettingsStore(std::wstring file) : file(std::move(file)) {}
    bool WriteIniValues(const std::string& section,
                        const std::vector<std::pair<std::string, std::string>>& keysAndValues) override;

private:
    std::wstring file;
};

}  // namespace fulmina
