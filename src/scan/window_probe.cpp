// The window probe: most backdoors show a top-level window with a known class and caption.
#include <optional>

#include "scan/process_list.h"
#include "scan/scanner.h"
#include "scan/signature_table.h"

namespace quellspur {

void Scanner::FindByWindow() {
  for (const WindowSignature& signature : kWindowSignatures) {
    CheckWindow(signature.backdoorName, signature.windowClass, signature.windowCaption);
  }
  FindAddedWindows();
}

void Scanner::CheckWindow(const std::wstring& backdoorName, const std::wstring& windowClass,
                          const std::wstring& caption) {
  std::optional<std::wstring> className;
  std::optional<std::wstring> windowName = caption;
  if (!windowClass.empty()) {
    className = windowClass;
    if (caption.empty()) {
      windowName.reset();
    }
  }
  const platform::WindowHandle window = os_.FindWindowW(className, windowName);
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
