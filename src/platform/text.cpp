#include "platform/text.h"

#include <bit>
#include <cstring>

namespace quellspur {
namespace {

// `value` in the given base, with zeros in front up to `leastDigits` digits.
template <typename Char>
std::basic_string<Char> Digits(std::uint64_t value, unsigned base, int leastDigits,
                               const char* digitSet) {
  Char reversed[64];
  int count = 0;
  do {
    reversed[count++] = static_cast<Char>(digitSet[value % base]);
    value /= base;
  } while ((value != 0 || count < leastDigits) && count < 64);
  std::basic_string<Char> text;
  text.reserve(static_cast<std::size_t>(count));
  while (count > 0) {
    text += reversed[--count];
  }
  return text;
}

}  // namespace

std::wstring_view FileNamePart(std::wstring_view text) {
  const std::size_t slash = text.rfind(L'\\');
  return slash == std::wstring_view::npos ? text : text.substr(slash + 1);
}

std::wstring FileNameOf(std::wstring_view text) {
  return std::wstring(FileNamePart(text));
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
      c = static_cast<wchar_t>(c - 0x20);
    } else if (c == 0x161 || c == 0x153 || c == 0x17E) {  // š œ ž
      c = static_cast<wchar_t>(c - 1);
    } else if (c == 0xFF) {  // ÿ
      c = 0x178;
    }
  }
  return upper;
}

bool IsAbsolutePath(std::wstring_view path) {
  return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || path.starts_with(L"\\\\");
}

bool IsControlCharacter(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::wstring EscapedCharacter(wchar_t c) {
  return IsControlCharacter(c) ? L"\\x" + HexText(c, 2, true) : L"\\u" + HexText(c, 4, true);
}

std::wstring DecimalText(std::uint64_t value, int leastDigits) {
  return Digits<wchar_t>(value, 10, leastDigits, "0123456789");
}

std::wstring SignedDecimalText(std::int64_t value) {
  // The magnitude in unsigned arithmetic, where the lowest number has one as well.
  return value < 0 ? L"-" + DecimalText(0 - static_cast<std::uint64_t>(value))
                   : DecimalText(static_cast<std::uint64_t>(value));
}

std::wstring HexText(std::uint32_t value, int digits, bool upperCase) {
  return Digits<wchar_t>(value, 16, digits, upperCase ? "0123456789ABCDEF" : "0123456789abcdef");
}

std::string LowerHexDigits(std::uint32_t value, int digits) {
  return Digits<char>(value, 16, digits, "0123456789abcdef");
}

std::wstring_view TrimmedPart(std::wstring_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first != last && text[first] == L' ') {
    ++first;
  }
  if (first == last) {
    return {};
  }
  while (text[last - 1] == L' ') {
    --last;
  }
  return {text.data() + first, last - first};
}

std::wstring Joined(std::initializer_list<std::wstring_view> parts) {
  std::size_t length = 0;
  for (const std::wstring_view part : parts) {
    length += part.size();
  }
  std::wstring text;
  text.reserve(length);
  for (const std::wstring_view part : parts) {
    text.append(part);
  }
  return text;
}

std::wstring TrimBlanks(std::wstring_view text) {
  return std::wstring(TrimmedPart(text));
}

// A plain loop rather than the library's search, which goes through three calls and a range check
// each time: a scan cuts thousands of short registry values this way.
template <typename Char>
std::basic_string_view<Char> PartBeforeZero(std::basic_string_view<Char> text) {
  std::size_t length = 0;
  while (length != text.size() && text[length] != Char{}) {
    ++length;
  }
  return {text.data(), length};
}

std::wstring_view UpToFirstZero(std::wstring_view text) {
  return PartBeforeZero(text);
}

std::string_view UpToFirstZero(std::string_view bytes) {
  return PartBeforeZero(bytes);
}

std::string ToUtf16Le(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (wchar_t c : text) {
    const auto unit = static_cast<char16_t>(c);
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::wstring FromUtf16Le(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

void AppendUtf16LeUpToZero(std::string_view bytes, std::wstring& text) {
  const std::size_t units = bytes.size() / 2;
  if constexpr (sizeof(wchar_t) == 2 && std::endian::native == std::endian::little) {
    // Windows' own wide characters. A short text goes through a buffer on the stack, where its
    // zero is found, so that the string grows by what it keeps alone rather than being filled
    // first and cut back.
    wchar_t buffer[512];
    if (units <= std::size(buffer)) {
      std::memcpy(buffer, bytes.data(), units * 2);
      text += UpToFirstZero(std::wstring_view(buffer, units));
      return;
    }
  }
  const std::size_t start = text.size();
  text.resize(start + units);
  wchar_t* const to = text.data() + start;
  if constexpr (sizeof(wchar_t) == 2 && std::endian::native == std::endian::little) {
    std::memcpy(to, bytes.data(), units * 2);  // Windows' own wide characters
  } else {
    for (std::size_t i = 0; i < units; ++i) {
      to[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
  }
  text.resize(start + UpToFirstZero(std::wstring_view(to, units)).size());
}

}  // namespace quellspur
