#include "platform/change_rights.h"

#include <cstdint>

#include "platform/text.h"

namespace quellspur::platform {
namespace {

// Write data (add file), append (add folder), write attributes, delete child, delete, write DAC,
// write owner, generic write and generic all.
constexpr std::uint32_t kRightsToChange =
    0x2 | 0x4 | 0x100 | 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x40000000 | 0x10000000;

bool IsAdministrators(const std::wstring& sid) {
  return sid == kSidAdministrators || sid == kSidSystem || sid == kSidTrustedInstaller;
}

// The account as the user knows it, when it is one that everybody has.
std::wstring AccountName(const std::wstring& sid) {
  if (sid == kSidEveryone) {
    return L"Everyone";
  }
  if (sid == L"S-1-5-11") {
    return L"Authenticated Users";
  }
  if (sid == L"S-1-5-32-545") {
    return L"Users";
  }
  return L"the account " + sid;
}

}  // namespace

std::optional<std::wstring> WhyOthersCanChange(Security& security, const std::wstring& path) {
  AccessList list;
  const Status status = security.GetNamedSecurityInfoW(path, list);
  if (NotFound(status)) {
    return std::nullopt;
  }
  if (status != kErrorSuccess) {
    return L"its owner and access list could not be read (error " + SignedDecimalText(status) +
           L")";
  }
  if (!IsAdministrators(list.owner)) {
    return L"it belongs to " + AccountName(list.owner);
  }
  if (!list.present) {
    return std::wstring(L"it has no access list, which lets everyone change it");
  }
  for (const AccessEntry& entry : list.entries) {
    // An inherit-only entry is for what the folder holds, which is asked about on its own.
    if (entry.allows && (entry.flags & kInheritOnly) == 0 &&
        (entry.rights & kRightsToChange) != 0 && !IsAdministrators(entry.sid)) {
      return AccountName(entry.sid) + L" may change it";
    }
  }
  return std::nullopt;
}

}  // namespace quellspur::platform
