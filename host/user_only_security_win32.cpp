#include "host/user_only_security_win32.h"

namespace fulmina {

UserOnlySecurity::UserOnlySecurity() : system(localSystemSid()) {
    PSID owner = user.user();
    if (owner == nullptr || system.empty()) return;
    const auto entrySize = [](PSID sid) { return sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid); };
    list.resize(sizeof(ACL) + entrySize(owner) + entrySize(system.data()));
    auto* acl = reinterpret_cast<PACL>(list.data());
    made = InitializeAcl(acl, static_cast<DWORD>(list.size()), ACL_REVISION) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, owner) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, system.data()) &&
           InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorOwner(&descriptor, owner, FALSE) &&
           SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
           SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    security = {sizeof(security), &descriptor, FALSE};
}

}  // namespace fulmina
