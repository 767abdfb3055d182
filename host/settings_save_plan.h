#pragma once
// How a save of the settings file reaches the disk, decided from what the
// system tells of the file. The file is the user's: it is changed as that
// same file (its permissions, owner, attributes and links stay) and all of
// the new bytes or none of them take the place of the old.
#include <cstdint>
#include <string>
#include <vector>

namespace fulmina {

// What the system tells of the settings file, opened through any link at its
// name, as it is before a save.
struct SettingsFileFacts {
    bool exists = false;          // something is there (a folder, a file)
    bool writable = false;        // it opened as a file for reading and writing
    bool readOnly = false;        // it carries the read-only attribute
    unsigned long links = 1;      // its names: more than one is a hard link
    std::uint64_t size = 0;       // its length in bytes
    bool realPathKnown = false;   // the system gave the path of the file itself
    bool deletable = false;       // it opened for deleting: it may be renamed, and so replaced
};

// The ways to commit the new bytes.
enum class SaveWay {
    create,   // no file yet: a new file beside, written and flushed, then named
    replace,  // a new file beside, written, flushed and given the old file's
              // security and attributes, then put in the old one's place
    inPlace,  // the file itself rewritten: room made first, then written and flushed
};

// Longer than any settings file the dialog writes could grow to: a file
// beyond it is not one this program keeps, and is not read whole to be saved.
constexpr std::uint64_t settingsFileLimit = 1u << 20;

// The ways to try, in order, until one commits; each leaves the file as it
// was when it fails. None: the save cannot be done. A file with other names
// is written in place, so that every name shows the new bytes; so is a file
// this user may not rename, and one whose folder takes no new file.
std::vector<SaveWay> settingsSaveWays(const SettingsFileFacts& facts);

// The path in the form that takes the system beyond MAX_PATH ("\\?\C:\...",
// "\\?\UNC\server\share\...") when it is too long for the plain form, and as
// it is otherwise: the plain form keeps what the system's names mean (a
// 32-bit program's Sysnative).
std::wstring longPathWhereNeeded(const std::wstring& path);

}  // namespace fulmina
