// The system's save dialog. comdlg32 (and what it loads: shell32, comctl32, the print spooler) is
// loaded when the dialog is first asked for, not when the program starts.
#include <windows.h>
// After windows.h, which it builds on.
#include <commdlg.h>

#include <string>

#include "platform/win32/win32_late_load.h"
#include "platform/win32/win32_toolkit.h"

namespace quellspur::platform::win32 {

std::optional<std::wstring> Win32Desktop::SaveFileName(const std::wstring& title,
                                                       const std::wstring& folder,
                                                       const std::wstring& suggestedName) {
  // Room for a long path; the dialog writes the chosen one over the suggested name.
  std::wstring path(32768, L'\0');
  path.replace(0, suggestedName.size(), suggestedName);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ::GetActiveWindow();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto saveDialog =
      As<SaveDialog>(SystemDllFunction(L"comdlg32.dll", "GetSaveFileNameW"));
  if (saveDialog == nullptr || !saveDialog(&dialog)) {
    return std::nullopt;
  }
  return std::wstring(path.c_str());
}

}  // namespace quellspur::platform::win32
