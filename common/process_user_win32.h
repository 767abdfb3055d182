#pragma once
// Who this process runs as, from its token: the user, and the default owner
// the system gives what the process makes (the user, or for an elevated
// administrator the Administrators group).
#include <windows.h>

#include <cstdint>
#include <vector>

namespace fulmina {

class ProcessUser {
public:
    ProcessUser();
    // Null when the token could not be read.
    PSID user() const;
    PSID defaultOwner() const;
    // Whether sid is the user or the default owner.
    bool is(PSID sid) const;

private:
    std::vector<std::uint8_t> userInfo;   // TOKEN_USER
    std::vector<std::uint8_t> ownerInfo;  // TOKEN_OWNER
};

// The local system's SID (S-1-5-18), in a buffer of its own.
std::vector<std::uint8_t> localSystemSid();

}  // namespace fulmina
