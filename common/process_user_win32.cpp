#include "common/process_user_win32.h"

#include "common/handles_win32.h"

namespace fulmina {

namespace {

std::vector<std::uint8_t> tokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    std::vector<std::uint8_t> info(size);
    if (size == 0 || !GetTokenInformation(token, kind, info.data(), size, &size)) info.clear();
    return info;
}

}  // namespace

ProcessUser::ProcessUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    const handles::KernelObject owned(token);
    userInfo = tokenInformation(token, TokenUser);
    ownerInfo = tokenInformation(token, TokenOwner);
}

PSID ProcessUser::user() const {
    return userInfo.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(userInfo.data())->User.Sid;
}

PSID ProcessUser::defaultOwner() const {
    return ownerInfo.empty() ? nullptr : reinterpret_cast<const TOKEN_OWNER*>(ownerInfo.data())->Owner;
}

bool ProcessUser::is(PSID sid) const {
    if (sid == nullptr || !IsValidSid(sid)) return false;
    return (user() != nullptr && EqualSid(sid, user())) || (defaultOwner() != nullptr && EqualSid(sid, defaultOwner()));
}

std::vector<std::uint8_t> localSystemSid() {
    std::vector<std::uint8_t> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, sid.data(), &size)) return {};
    sid.resize(size);
    return sid;
}

}  // namespace fulmina
