// The system's save dialog, in a file of its own: only a program that shows it imports comdlg32.
#include <windows.h>
// After windows.h, which it builds on.
#include <commdlg.h>

#include <string>

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
  if (!::GetSaveFileNameW(&dialog)) {
    return std::nullopt;
  }
  return std::wstring(path.c_str());
}

}  // namespace quellspur::platform::win32
