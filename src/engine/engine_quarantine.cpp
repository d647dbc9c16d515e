// The engine's way back, in a file of its own: QuellScan's restore and the quarantine window use
// it.
#include "engine/engine.h"
#include "scan/start_keys.h"

#include "platform/change_rights.h"
#include "platform/text.h"
#include "scan/windows_platform.h"

namespace quellspur {
namespace {

constexpr wchar_t kChangedByOthers[] = L" can be changed by others than the administrators: ";

}  // namespace

std::optional<std::wstring> Engine::WhyRecordIsNotTrusted() {
  // A system whose family could not be read may well have access lists: it is asked.
  if (GetWindowsPlatform(os_) == WindowsPlatform::Windows9x) {
    return std::nullopt;
  }
  if (const auto why = platform::WhyOthersCanChange(os_, record_.Folder())) {
    return Joined({L"the quarantine folder ", record_.Folder(), kChangedByOthers, *why});
  }
  if (const auto why = platform::WhyOthersCanChange(os_, record_.Path())) {
    return Joined({L"the change record ", record_.Path(), kChangedByOthers, *why});
  }
  return std::nullopt;
}

RestorePlaces Engine::RestorablePlaces() {
  return {windowsFolder_,
          StartKeyPlaces(windowsPlatform() == WindowsPlatform::Nt && os_.Is64BitWindows())};
}

QuarantineList Engine::ListQuarantine() {
  return restore_.List(RestorablePlaces());
}

RestoreResult Engine::RestoreChange(const ChangeEntry& entry) {
  return restore_.Entry(entry, RestorablePlaces());
}

RestoreResult Engine::RestoreCopy(const std::wstring& copyName, const std::wstring& target) {
  return restore_.UnrecordedCopy(copyName, target);
}

}  // namespace quellspur
