// Names compared as Windows compares them: CompareStringOrdinal where Windows has it, the same
// upper-case table through ntdll before Windows Vista.
#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {
namespace {

using CompareOrdinal = int(WINAPI*)(LPCWCH, int, LPCWCH, int, BOOL);
using UpcaseCharacter = WCHAR(WINAPI*)(WCHAR);

template <typename Function>
Function Lookup(const char* module, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA(module), name)));
}

// The Vista call's own rule: unit by unit, each upper-cased by the table the system's object and
// file names are compared by (RtlUpcaseUnicodeChar, in every Windows of the NT family; the
// locale's CharUpperBuffW differs from it for some letters), the shorter text first on a tie.
int CompareUpperCased(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
  static const auto upcase = Lookup<UpcaseCharacter>("ntdll.dll", "RtlUpcaseUnicodeChar");
  const auto unit = [&](wchar_t c) {
    return ignoreCase && upcase != nullptr ? upcase(c) : static_cast<WCHAR>(c);
  };
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const WCHAR left = unit(a[i]);
    const WCHAR right = unit(b[i]);
    if (left != right) {
      return left < right ? kCstrLessThan : kCstrGreaterThan;
    }
  }
  return a.size() == b.size() ? kCstrEqual : a.size() < b.size() ? kCstrLessThan : kCstrGreaterThan;
}

}  // namespace

int Win32Os::CompareStringOrdinal(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
  static const auto compare = Lookup<CompareOrdinal>("kernel32.dll", "CompareStringOrdinal");
  if (compare == nullptr || a.size() > INT_MAX || b.size() > INT_MAX) {
    return CompareUpperCased(a, b, ignoreCase);
  }
  return compare(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                 ignoreCase ? TRUE : FALSE);
}

}  // namespace quellspur::platform::win32
