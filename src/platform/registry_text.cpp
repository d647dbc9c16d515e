#include "platform/registry.h"
#include "platform/text.h"

namespace quellspur::platform {

std::wstring ValueText(System& system, std::uint32_t type, std::string_view data) {
  if (IsStringType(type)) {
    return std::wstring(UpToFirstZero(FromUtf16Le(data)));
  }
  return system.AnsiToWide(UpToFirstZero(data));
}

std::string StringData(std::wstring_view text) {
  return ToUtf16Le(text) + std::string(2, '\0');
}

}  // namespace quellspur::platform
