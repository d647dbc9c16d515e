#include "testing/windows_upper_case.h"

#include <clocale>
#include <cwctype>
#include <stdexcept>
#include <vector>

namespace quellspur::platform::sim {
namespace {

// Windows' table holds Unicode's simple upper-case mappings of the basic plane that go both ways:
// a letter whose upper case turns back into it. Those that do not (the micro sign, dotless i,
// long s, the title-case digraphs, the Greek symbol forms) stay as they are. A contract case holds
// every unit of this table against the real one.
std::vector<wchar_t> MakeTable() {
  const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (unicode == locale_t{}) {
    throw std::runtime_error("the simulated machine's upper case needs the C.UTF-8 locale");
  }
  std::vector<wchar_t> table(0x10000);
  for (std::size_t unit = 0; unit < table.size(); ++unit) {
    const auto c = static_cast<wint_t>(unit);
    const wint_t upper = towupper_l(c, unicode);
    const bool pair = upper <= 0xFFFF && towlower_l(upper, unicode) == c;
    table[unit] = static_cast<wchar_t>(pair ? upper : c);
  }
  freelocale(unicode);
  return table;
}

}  // namespace

wchar_t WindowsUpperCase(wchar_t unit) {
  static const std::vector<wchar_t> table = MakeTable();
  return table[static_cast<std::size_t>(unit) & 0xFFFF];
}

std::wstring WindowsUpperCase(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& unit : upper) {
    unit = WindowsUpperCase(unit);
  }
  return upper;
}

}  // namespace quellspur::platform::sim
