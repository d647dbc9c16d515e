// The engine's way back, in a file of its own: a program that never restores (the main window)
// links none of the restore.
#include "engine/engine.h"

#include "platform/change_rights.h"
#include "scan/windows_platform.h"

namespace quellspur {

std::optional<std::wstring> Engine::WhyRecordIsNotTrusted() {
  if (GetWindowsPlatform(os_) != WindowsPlatform::Nt) {
    return std::nullopt;
  }
  if (const auto why = platform::WhyOthersCanChange(os_, record_.Folder())) {
    return L"the quarantine folder " + record_.Folder() +
           L" can be changed by others than the "
           L"administrators: " +
           *why;
  }
  if (const auto why = platform::WhyOthersCanChange(os_, record_.Path())) {
    return L"the change record " + record_.Path() +
           L" can be changed by others than the "
           L"administrators: " +
           *why;
  }
  return std::nullopt;
}

QuarantineList Engine::ListQuarantine() {
  return restore_.List();
}

RestoreResult Engine::RestoreChange(const ChangeEntry& entry) {
  return restore_.Entry(entry);
}

RestoreResult Engine::RestoreCopy(const std::wstring& copyName, const std::wstring& target) {
  return restore_.UnrecordedCopy(copyName, target);
}

}  // namespace quellspur
