// The window probe: most backdoors show a top-level window with a known class and caption.
#include <optional>

#include "scan/process_list.h"
#include "scan/scanner.h"
#include "scan/signature_table.h"

namespace quellspur {

Scanner::WindowLookUp Scanner::LookUpOf(const WindowSignature& signature) {
  WindowLookUp lookUp{std::nullopt, signature.windowCaption};
  if (!signature.windowClass.empty()) {
    lookUp.className = signature.windowClass;
    if (signature.windowCaption.empty()) {
      lookUp.windowName.reset();
    }
  }
  return lookUp;
}

void Scanner::FindByWindow() {
  if (builtInLookUps_.empty()) {
    for (const WindowSignature& signature : kWindowSignatures) {
      builtInLookUps_.push_back(LookUpOf(signature));
    }
  }
  for (std::size_t i = 0; i < kWindowSignatures.size(); ++i) {
    CheckWindow(kWindowSignatures[i].backdoorName, builtInLookUps_[i]);
  }
  FindAddedWindows();
}

void Scanner::CheckWindow(const std::wstring& backdoorName, const WindowLookUp& lookUp) {
  const platform::WindowHandle window = os_.FindWindowW(lookUp.className, lookUp.windowName);
  if (static_cast<std::int32_t>(window) <= 0) {
    return;
  }
  std::uint32_t processId = 0;
  os_.GetWindowThreadProcessId(window, processId);
  const std::wstring path = GetProcessPath(processId);
  FindStartEntries(backdoorName, path);
  AddProcess(backdoorName, processId, path, GetProcessPath(GetParentProcessId(processId)));
}

std::uint32_t Scanner::GetParentProcessId(std::uint32_t processId) {
  if (IsNt()) {
    return 0;
  }
  const auto entry = FindProcessEntry(ProcessList(), processId);
  return entry ? entry->parentProcessId : 0;
}

}  // namespace quellspur
