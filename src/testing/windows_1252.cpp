#include "testing/windows_1252.h"

#include <array>

namespace quellspur::platform::sim {
namespace {

// Bytes 0x80 to 0x9F; the five unassigned ones map to the C1 control of the same value, as
// Windows' own table does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

wchar_t Decode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) {
    return static_cast<wchar_t>(kHighControls[byte - 0x80]);
  }
  return static_cast<wchar_t>(byte);
}

char Encode(wchar_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    return static_cast<char>(c);
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (static_cast<wchar_t>(kHighControls[i]) == c) {
      return static_cast<char>(0x80 + i);
    }
  }
  return '?';
}

}  // namespace

std::wstring DecodeWindows1252(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (char byte : bytes) {
    text.push_back(Decode(static_cast<unsigned char>(byte)));
  }
  return text;
}

std::string EncodeWindows1252(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) {
    bytes.push_back(Encode(c));
  }
  return bytes;
}

}  // namespace quellspur::platform::sim
