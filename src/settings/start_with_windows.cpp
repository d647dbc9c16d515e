#include "settings/start_with_windows.h"

#include "platform/change_rights.h"
#include "platform/text.h"

namespace quellspur {

std::optional<std::wstring> WhyNotStartWithWindows(platform::Security& security,
                                                   const std::wstring& folder,
                                                   const std::wstring& fileName, bool accessLists) {
  if (!accessLists) {
    return std::nullopt;
  }
  std::wstring place = folder;
  auto why = platform::WhyOthersCanChange(security, folder);
  if (!why) {
    // A drive's root folder ends in its backslash already.
    const std::wstring executable =
        Joined({folder, folder.ends_with(L'\\') ? L"" : L"\\", fileName});
    place = executable;
    why = platform::WhyOthersCanChange(security, executable);
  }
  if (!why) {
    return std::nullopt;
  }
  return Joined({L"Quellspur does not start with Windows from ", place, L": ", *why,
                 L". Whoever may change it could have their own program started when any user logs "
                 L"on. Install Quellspur with its setup, or move its folder to one that only "
                 L"administrators can change, such as Program Files."});
}

}  // namespace quellspur
