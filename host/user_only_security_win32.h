#pragma once
// A security descriptor for a file that is the user's alone, given at the
// file's creation so that it never has other permissions, not for a moment:
// the user its owner, and a protected access list (nothing inherited from
// the folder, which another account may have made) that grants the user and
// the system all rights and nobody else any.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/process_user_win32.h"

namespace fulmina {

class UserOnlySecurity {
public:
    UserOnlySecurity();
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

    // For CreateFile; null when the user could not be told.
    SECURITY_ATTRIBUTES* attributes() { return made ? &security : nullptr; }

private:
    ProcessUser user;
    std::vector<std::uint8_t> system;
    std::vector<std::uint8_t> list;  // the ACL, in memory of its own
    SECURITY_DESCRIPTOR descriptor{};
    SECURITY_ATTRIBUTES security{};
    bool made = false;
};

}  // namespace fulmina
