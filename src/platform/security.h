// Who may change a file or folder (advapi32): its owner and access list, as Windows of the NT
// family keeps them, and whether this program runs with its administrators' rights.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os_calls.h"
#include "platform/types.h"

namespace quellspur::platform {

// Accounts by their security identifiers in text form, as ConvertSidToStringSidW writes them.
inline constexpr wchar_t kSidAdministrators[] = L"S-1-5-32-544";
inline constexpr wchar_t kSidSystem[] = L"S-1-5-18";
inline constexpr wchar_t kSidTrustedInstaller[] =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
inline constexpr wchar_t kSidEveryone[] = L"S-1-1-0";

// Entry flags (ACE header flags).
inline constexpr std::uint32_t kObjectInherit = 0x1;
inline constexpr std::uint32_t kContainerInherit = 0x2;
inline constexpr std::uint32_t kInheritOnly = 0x8;
inline constexpr std::uint32_t kInherited = 0x10;

// What Windows 95/98 answers to every one of these calls.
inline constexpr Status kErrorCallNotImplemented = 120;

// File and folder rights.
inline constexpr std::uint32_t kFileAllAccess = 0x1F01FF;
inline constexpr std::uint32_t kFileReadAndExecute = 0x1200A9;

// One entry of an access list.
struct AccessEntry {
  bool allows = true;  // an allowing entry; false for a denying one
  std::uint32_t flags = 0;
  std::uint32_t rights = 0;
  std::wstring sid;
  bool operator==(const AccessEntry&) const = default;
};

// A file's or folder's owner and access list.
struct AccessList {
  std::wstring owner;        // a security identifier in text form
  bool present = true;       // false: no list at all, which lets everyone do everything
  bool isProtected = false;  // the entries of the folders above are not inherited
  std::vector<AccessEntry> entries;
  bool operator==(const AccessList&) const = default;
};

// The list, which must be present, as the security descriptor language writes it, owner and
// entries included.
std::wstring SecurityDescriptorText(const AccessList& list);

// The calls and their documentation: QUELLSPUR_SECURITY_CALLS in os_calls.h.
class Security {
 public:
  virtual ~Security() = default;
  QUELLSPUR_SECURITY_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
