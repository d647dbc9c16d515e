// Owners and access lists of files and folders, and the program's own rights (advapi32).
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {
namespace {

// Memory that the security calls hand out, given back with LocalFree on every path.
class LocalMemory {
 public:
  LocalMemory() = default;
  ~LocalMemory() { ::LocalFree(memory_); }
  LocalMemory(const LocalMemory&) = delete;
  LocalMemory& operator=(const LocalMemory&) = delete;
  void** out() { return &memory_; }
  void* get() const { return memory_; }

 private:
  void* memory_ = nullptr;
};

std::wstring SidText(PSID sid) {
  LocalMemory text;
  if (sid == nullptr || !::ConvertSidToStringSidW(sid, reinterpret_cast<LPWSTR*>(text.out()))) {
    return L"";
  }
  return static_cast<const wchar_t*>(text.get());
}

// An entry that can't be read, or of a kind that is not for files, counts as one that allows
// everything to an account not known.
const AccessEntry kUnknownEntry{true, 0, GENERIC_ALL, L"unknown"};

// Allowing and denying entries, plain or with a condition, keep the account right after their
// rights.
AccessEntry EntryOf(PACL list, DWORD index) {
  void* found = nullptr;
  if (!::GetAce(list, index, &found)) {
    return kUnknownEntry;
  }
  const auto& header = *static_cast<const ACE_HEADER*>(found);
  const auto& entry = reinterpret_cast<const ACCESS_ALLOWED_ACE&>(header);
  switch (header.AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE: {
      const bool allows = header.AceType == ACCESS_ALLOWED_ACE_TYPE ||
                          header.AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
      return {allows, header.AceFlags, entry.Mask, SidText(const_cast<DWORD*>(&entry.SidStart))};
    }
    default:
      return kUnknownEntry;
  }
}

}  // namespace

bool Win32Os::CreateDirectoryWithAccess(const std::wstring& path, const AccessList& access) {
  bool created = false;
  DWORD error = ERROR_SUCCESS;
  {
    LocalMemory descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            SecurityDescriptorText(access).c_str(), SDDL_REVISION_1, descriptor.out(), nullptr)) {
      return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
    created = ::CreateDirectoryW(Unredirected(path).c_str(), &attributes) != FALSE;
    error = ::GetLastError();
  }
  ::SetLastError(error);  // as the folder's creation left it, past the memory's release
  return created;
}

Status Win32Os::GetNamedSecurityInfoW(const std::wstring& path, AccessList& access) {
  access = {};
  PSID owner = nullptr;
  PACL list = nullptr;
  LocalMemory descriptor;
  const DWORD status =
      ::GetNamedSecurityInfoW(Unredirected(path).c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &list, nullptr, descriptor.out());
  if (status != ERROR_SUCCESS) {
    return static_cast<Status>(status);
  }
  access.owner = SidText(owner);
  access.present = list != nullptr;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (::GetSecurityDescriptorControl(descriptor.get(), &control, &revision)) {
    access.isProtected = (control & SE_DACL_PROTECTED) != 0;
  }
  for (DWORD index = 0; list != nullptr && index < list->AceCount; ++index) {
    access.entries.push_back(EntryOf(list, index));
  }
  return kErrorSuccess;
}

bool Win32Os::CheckTokenMembership(const std::wstring& sid, bool& isMember) {
  isMember = false;
  LocalMemory account;
  BOOL member = FALSE;
  if (!::ConvertStringSidToSidW(sid.c_str(), account.out()) ||
      !::CheckTokenMembership(nullptr, account.get(), &member)) {
    return false;
  }
  isMember = member != FALSE;
  return true;
}

}  // namespace quellspur::platform::win32
