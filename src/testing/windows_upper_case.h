// The upper-case table Windows compares file and registry names by, as the simulated machine
// holds it.
#pragma once

#include <string>
#include <string_view>

namespace quellspur::platform::sim {

wchar_t WindowsUpperCase(wchar_t unit);
std::wstring WindowsUpperCase(std::wstring_view text);

}  // namespace quellspur::platform::sim
