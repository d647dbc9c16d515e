// The simulated machine's owners and access lists, and the program's own rights; Windows 95/98
// has none of them.
#include "testing/sim_machine.h"

namespace quellspur::platform::sim {
namespace {

// What Wine reports for every file and folder of its prefix, and Windows for a path that no
// folder above passes a list on to.
AccessList UserDefaultList(bool isFolder) {
  const std::uint32_t flags = isFolder ? kObjectInherit | kContainerInherit : 0;
  return {kSimUserSid,
          true,
          false,
          {{true, flags, kFileAllAccess, kSidSystem},
           {true, flags, kFileAllAccess, kSimUserSid},
           {true, flags, kFileReadAndExecute, kSidEveryone}}};
}

}  // namespace

AccessList SimMachine::InheritedList(const std::wstring& key, bool isFolder) const {
  for (std::size_t slash = key.rfind(L'\\'); slash != std::wstring::npos && slash > 0;
       slash = key.rfind(L'\\', slash - 1)) {
    const auto above = accessLists_.find(key.substr(0, slash));
    if (above == accessLists_.end()) {
      continue;
    }
    AccessList list{above->second.owner, true, false, {}};
    for (const AccessEntry& entry : above->second.entries) {
      const std::uint32_t passesOn = isFolder ? kContainerInherit : kObjectInherit;
      if ((entry.flags & passesOn) != 0) {
        // A folder passes the entry on further as it got it; a file only uses it.
        const std::uint32_t kept = isFolder ? entry.flags & ~kInheritOnly : 0;
        list.entries.push_back({entry.allows, kept | kInherited, entry.rights, entry.sid});
      }
    }
    return list;
  }
  return UserDefaultList(isFolder);
}

bool SimMachine::CreateDirectoryWithAccess(const std::wstring& path, const AccessList& access) {
  if (platformId_ != kPlatformNt) {
    return Fail(kErrorCallNotImplemented);
  }
  if (!CreateDirectoryW(path)) {
    return false;
  }
  if (keepsAccessLists_) {
    std::wstring key = FileKey(path);
    while (!key.empty() && key.back() == L'\\') {
      key.pop_back();
    }
    accessLists_[key] = access;
  }
  return true;
}

Status SimMachine::GetNamedSecurityInfoW(const std::wstring& path, AccessList& access) {
  access = {};
  if (platformId_ != kPlatformNt) {
    return kErrorCallNotImplemented;
  }
  std::wstring key = FileKey(path);
  while (key.size() > 3 && key.back() == L'\\') {
    key.pop_back();
  }
  const bool isFolder = FolderExists(key);
  if (!isFolder && files_.count(key) == 0) {
    return Missing(key);
  }
  const auto own = accessLists_.find(key);
  if (own != accessLists_.end()) {
    access = own->second;
  } else {
    access = keepsAccessLists_ ? InheritedList(key, isFolder) : UserDefaultList(isFolder);
  }
  return kErrorSuccess;
}

bool SimMachine::CheckTokenMembership(const std::wstring& sid, bool& isMember) {
  isMember = false;
  if (platformId_ != kPlatformNt) {
    return Fail(kErrorCallNotImplemented);
  }
  isMember = sid == kSimUserSid || sid == kSidEveryone || (elevated_ && sid == kSidAdministrators);
  return true;
}

}  // namespace quellspur::platform::sim
