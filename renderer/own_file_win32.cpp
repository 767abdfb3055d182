#include "renderer/own_file_win32.h"

#include <windows.h>
#include <aclapi.h>

#include <vector>

#include "common/file_bytes_win32.h"
#include "common/handles_win32.h"
#include "common/plain_file_win32.h"
#include "common/process_user_win32.h"

namespace fulmina {

namespace {

// Rights that let their holder change what the file holds, at once or by
// giving themselves the right first.
constexpr ACCESS_MASK changeRights =
    FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// The file's owner is the user (or the default owner of what the user
// makes), and its access list grants a right to change it to nobody but
// them and the system. An entry of a kind not read here counts as granting
// everything.
bool isTheUsersAlone(HANDLE file) {
    PSID owner = nullptr;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                        nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const handles::LocalMemory owned(descriptor);
    const ProcessUser user;
    std::vector<std::uint8_t> system = localSystemSid();
    if (owner == nullptr || !user.is(owner) || list == nullptr || system.empty()) return false;  // no list: all may
    for (DWORD i = 0; i < list->AceCount; ++i) {
        ACE_HEADER* entry = nullptr;
        if (!GetAce(list, i, reinterpret_cast<void**>(&entry))) return false;
        if (entry->AceType == ACCESS_DENIED_ACE_TYPE || (entry->AceFlags & INHERIT_ONLY_ACE) != 0) continue;
        if (entry->AceType != ACCESS_ALLOWED_ACE_TYPE) return false;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(entry);
        const PSID trustee = &allowed->SidStart;
        if ((allowed->Mask & changeRights) != 0 && !user.is(trustee) && !EqualSid(trustee, system.data())) return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readOwnFile(const std::wstring& path, std::uint64_t limit) {
    // Sharing reading and deleting only: the saver holds the file open to
    // delete it, and no one may hold it open to write it.
    const handles::KernelObject file = openEntry(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file || !isPlainEntry(file.get(), false, path) || !isTheUsersAlone(file.get())) return std::nullopt;
    return readWholeFile(file.get(), limit).bytes;
}

}  // namespace fulmina
