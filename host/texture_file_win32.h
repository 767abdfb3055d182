#pragma once
// The glow texture file, in a folder that any user of the machine may make
// or change. The saver writes and deletes only a plain file at exactly that
// path: never through a symbolic link, a junction or a hard link, so that no
// one can make it overwrite or delete another file. What it wrote it deletes
// through the handle it kept, not by the name again.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/handles_win32.h"

namespace fulmina {

class TextureFile {
public:
    // folder and file as full paths, the file inside the folder.
    TextureFile(std::string folder, std::string file);
    ~TextureFile() = default;
    TextureFile(const TextureFile&) = delete;
    TextureFile& operator=(const TextureFile&) = delete;

    // Writes bytes as the file when the folder is a plain folder and the file
    // is new or a plain file of one name; false, with nothing written and
    // nothing left behind, otherwise.
    bool write(const std::vector<std::uint8_t>& bytes);
    // Deletes the file that write wrote, wherever its name now is; nothing
    // when write wrote none.
    void remove();
    bool written() const { return static_cast<bool>(kept); }

private:
    std::string folder;
    std::string file;
    // The written file, opened for its attributes alone, so that the renderer
    // may still open it in whatever share mode its picture loader uses.
    handles::KernelObject kept;
};

}  // namespace fulmina
