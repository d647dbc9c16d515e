// The Windows-1252 code page, the simulated machine's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace quellspur::platform::sim {

std::wstring DecodeWindows1252(std::string_view bytes);
// Characters the code page lacks become '?', as WideCharToMultiByte's default character.
std::string EncodeWindows1252(std::wstring_view text);

}  // namespace quellspur::platform::sim
