// The window probe: most backdoors show a top-level window with a known class and caption.
#include <optional>

#include "scan/process_list.h"
#include "scan/scanner.h"
#include "scan/signature_table.h"

namespace quellspur {

Scanner::WindowLookUp Scanner::LookUpOf(std::wstring_view windowClass,
                                        std::wstring_view windowCaption) {
  WindowLookUp lookUp{std::nullopt, std::wstring(windowCaption.data(), windowCaption.size())};
  if (!windowClass.empty()) {
    lookUp.className.emplace(windowClass.data(), windowClass.size());
    if (windowCaption.empty()) {
      lookUp.windowName.reset();
    }
  }
  return lookUp;
}

void Scanner::FindByWindow() {
  if (builtInLookUps_.empty()) {
    for (const WindowSignatureText& signature : kWindowSignatures) {
      builtInLookUps_.push_back(LookUpOf(signature.windowClass, signature.windowCaption));
    }
  }
  for (std::size_t i = 0; i < kWindowSignatures.size(); ++i) {
    CheckWindow(kWindowSignatures[i].backdoorName, builtInLookUps_[i]);
  }
  FindAddedWindows();
}

void Scanner::CheckWindow(std::wstring_view backdoorName, const WindowLookUp& lookUp) {
  const platform::WindowHandle window = os_.FindWindowW(lookUp.className, lookUp.windowName);
  if (static_cast<std::int32_t>(window) <= 0) {
    return;
  }
  std::uint32_t processId = 0;
  os_.GetWindowThreadProcessId(window, processId);
  const std::wstring path = GetProcessPath(processId);
  const std::wstring name(backdoorName.data(), backdoorName.size());
  FindStartEntries(name, path);
  AddProcess(name, processId, path, GetProcessPath(GetParentProcessId(processId)));
}

std::uint32_t Scanner::GetParentProcessId(std::uint32_t processId) {
  if (IsNt()) {
    return 0;
  }
  const auto entry = FindProcessEntry(ProcessList(), processId);
  return entry ? entry->parentProcessId : 0;
}

}  // namespace quellspur
