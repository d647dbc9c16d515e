#include "platform/win32/win32_late_load.h"

#include <string>

namespace quellspur::platform::win32 {
namespace {

// Never freed: the functions handed out stay valid for the program's life.
FARPROC FromLoaded(HMODULE module, const char* name) {
  return module == nullptr ? nullptr : ::GetProcAddress(module, name);
}

}  // namespace

FARPROC SystemDllFunction(const wchar_t* dll, const char* name) {
  // A full path: a DLL of the same name in the current or the program's folder is never loaded.
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return nullptr;
  }
  const std::wstring path = std::wstring(folder, length) + L'\\' + dll;
  HMODULE module = ::GetModuleHandleW(path.c_str());
  if (module == nullptr) {
    module = ::LoadLibraryW(path.c_str());
  }
  return FromLoaded(module, name);
}

FARPROC CommonControlsFunction(const char* name) {
  return FromLoaded(::LoadLibraryW(L"comctl32.dll"), name);
}

FARPROC LoadedDllFunction(const wchar_t* dll, const char* name) {
  return FromLoaded(::GetModuleHandleW(dll), name);
}

}  // namespace quellspur::platform::win32
