#include "clean/quarantine_folder.h"

#include "scan/windows_platform.h"

namespace quellspur {
namespace {

platform::AccessList QuarantineAccessList() {
  using namespace platform;
  constexpr std::uint32_t kInheritsDown = kObjectInherit | kContainerInherit;
  return {kSidAdministrators,
          true,
          true,
          {{true, kInheritsDown, kFileAllAccess, kSidAdministrators},
           {true, kInheritsDown, kFileAllAccess, kSidSystem},
           {true, kInheritsDown, kFileReadAndExecute, kSidEveryone}}};
}

}  // namespace

void MakeQuarantineFolder(platform::Os& os, const std::wstring& folder) {
  bool elevated = false;
  if (GetWindowsPlatform(os) == WindowsPlatform::Nt &&
      os.CheckTokenMembership(platform::kSidAdministrators, elevated) && elevated) {
    os.CreateDirectoryWithAccess(folder, QuarantineAccessList());
  } else {
    os.CreateDirectoryW(folder);
  }
}

}  // namespace quellspur
