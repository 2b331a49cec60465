#include "app/admin_check.h"

#include <windows.h>

#include <vector>

namespace {
struct HandleCloser {
  HANDLE handle = nullptr;
  ~HandleCloser() {
    if (handle) ::CloseHandle(handle);
  }
};

struct SidFreer {
  PSID sid = nullptr;
  ~SidFreer() {
    if (sid) ::FreeSid(sid);
  }
};

// Impersonation token of the thread, or of the process when the thread has none.
bool OpenCallerToken(HANDLE* token) {
  if (::OpenThreadToken(::GetCurrentThread(), TOKEN_DUPLICATE | TOKEN_QUERY, TRUE, token))
    return true;
  if (::GetLastError() != ERROR_NO_TOKEN) return false;
  return ::OpenProcessToken(::GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, token);
}
}  // namespace

bool IsRunningAsAdministrator() {
  HandleCloser token;
  if (!OpenCallerToken(&token.handle)) return false;
  HandleCloser impersonation;
  if (!::DuplicateToken(token.handle, SecurityImpersonation, &impersonation.handle)) return false;

  SidFreer administrators;
  SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
  if (!::AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators.sid))
    return false;

  constexpr DWORD kAccessRead = 1;
  constexpr DWORD kAccessWrite = 2;
  constexpr DWORD kAccessAll = kAccessRead | kAccessWrite;
  const DWORD acl_size = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) +
                         ::GetLengthSid(administrators.sid) - sizeof(DWORD);
  std::vector<BYTE> acl_buffer(acl_size);
  auto* acl = reinterpret_cast<PACL>(acl_buffer.data());
  SECURITY_DESCRIPTOR descriptor = {};
  if (!::InitializeAcl(acl, acl_size, ACL_REVISION2) ||
      !::AddAccessAllowedAce(acl, ACL_REVISION2, kAccessAll, administrators.sid) ||
      !::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
      !::SetSecurityDescriptorGroup(&descriptor, administrators.sid, FALSE) ||
      !::SetSecurityDescriptorOwner(&descriptor, administrators.sid, FALSE) ||
      !::IsValidSecurityDescriptor(&descriptor))
    return false;

  GENERIC_MAPPING mapping = {kAccessRead, kAccessWrite, 0, kAccessAll};
  PRIVILEGE_SET privileges = {};
  DWORD privileges_size = sizeof(privileges);
  DWORD granted = 0;
  BOOL status = FALSE;
  if (!::AccessCheck(&descriptor, impersonation.handle, kAccessRead, &mapping, &privileges,
                     &privileges_size, &granted, &status))
    return false;
  return status != FALSE;
}
