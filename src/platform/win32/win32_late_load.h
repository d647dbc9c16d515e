// Functions of DLLs that the programs do not import: a DLL named in the import table is loaded,
// with all it imports, before the program's first line runs, although a console scan never shows
// a save dialog and newer Windows rarely needs psapi. These are loaded on their first use instead.
#pragma once

#include <windows.h>

namespace quellspur::platform::win32 {

// `name` in the system folder's `dll`, loaded on first use and kept for the program's life;
// nullptr when the DLL or the function is missing.
FARPROC SystemDllFunction(const wchar_t* dll, const char* name);

// `name` in comctl32, the version the program's manifest asks for (looked up by name, which the
// manifest's dependency redirects); nullptr when missing.
FARPROC CommonControlsFunction(const char* name);

// A function of a DLL that is loaded already (kernel32, ntdll), or nullptr where this Windows
// lacks it.
FARPROC LoadedDllFunction(const wchar_t* dll, const char* name);

// The function pointer as the caller's type, which GetProcAddress cannot know.
template <typename Function>
Function As(FARPROC function) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

}  // namespace quellspur::platform::win32
