#include "platform/registry.h"
#include "platform/text.h"

namespace quellspur::platform {

std::wstring ValueText(System& system, std::uint32_t type, std::string_view data) {
  std::wstring text;
  AppendValueText(system, type, data, text);
  return text;
}

void AppendValueText(System& system, std::uint32_t type, std::string_view data,
                     std::wstring& text) {
  if (IsStringType(type)) {
    AppendUtf16LeUpToZero(data, text);
  } else {
    text += system.AnsiToWide(UpToFirstZero(data));
  }
}

std::string StringData(std::wstring_view text) {
  return ToUtf16Le(text) + std::string(2, '\0');
}

}  // namespace quellspur::platform
