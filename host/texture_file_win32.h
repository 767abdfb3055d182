#pragma once
// The glow texture file, in a folder that any user of the machine may make
// or change. The saver makes the file anew in each run, for the user alone
// (see UserOnlySecurity), and from the moment it has written it until it
// deletes it holds it open so that nobody else may write, delete or rename
// it, while the renderer may still read it. It never acts through a symbolic
// link, a junction or a hard link, so that no one can make it overwrite or
// delete another file, and it deletes the file it made through the handle
// it holds, not by the name again.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/handles_win32.h"

namespace fulmina {

class TextureFile {
public:
    // folder and file as full paths (UTF-8), the file inside the folder.
    TextureFile(const std::string& folder, const std::string& file);
    ~TextureFile() = default;
    TextureFile(const TextureFile&) = delete;
    TextureFile& operator=(const TextureFile&) = delete;

    // Removes a plain file left at the name, makes the file new with bytes
    // and holds it, when the folder is a plain folder; false, with nothing
    // written, when a link, a folder or a file that cannot be removed is in
    // the way, or another program keeps coming in the way (what it made and
    // could not hold it deletes where it can).
    bool write(const std::vector<std::uint8_t>& bytes);
    // Deletes the file that write made; nothing when write made none.
    void remove();
    bool written() const { return static_cast<bool>(held); }

private:
    enum class Step { done, again, refused };
    Step removeLeftover() const;
    Step makeAndHold(const std::vector<std::uint8_t>& bytes, SECURITY_ATTRIBUTES* security);

    std::wstring folder;
    std::wstring file;
    // The file made, open for reading and deleting and shared for reading
    // alone: others may not open it to write, delete or rename it, and no
    // handle that may write it is open.
    handles::KernelObject held;
};

}  // namespace fulmina
