#include "clean/record_text.h"

#include <charconv>

#include "platform/text.h"
#include "platform/utf8.h"

namespace quellspur {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// A digit as the hex fields have it, 0-9 and a-f; -1 for anything else.
int LowerHexValue(char digit) {
  const std::size_t value = std::string_view(kHexDigits).find(digit);
  return value == std::string_view::npos ? -1 : static_cast<int>(value);
}

// A digit of an escape, which may be read in either case.
int HexValue(char digit) {
  return LowerHexValue(digit >= 'A' && digit <= 'F' ? static_cast<char>(digit - 'A' + 'a') : digit);
}

// A backslash, the escape's letter and the unit in upper-case hex.
void AppendEscape(std::string& field, char letter, int digits, char32_t unit) {
  field += '\\';
  field += letter;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
    field += "0123456789ABCDEF"[unit >> shift & 0xF];
  }
}

// The escape's hex digits after "\x" or "\u" at `at`, moving past them; false when they are not.
bool EscapedUnit(std::string_view field, std::size_t& at, int digits, char32_t& unit) {
  if (field.size() - at < static_cast<std::size_t>(digits)) {
    return false;
  }
  unit = 0;
  for (int i = 0; i < digits; ++i) {
    const int value = HexValue(field[at++]);
    if (value < 0) {
      return false;
    }
    unit = unit << 4 | static_cast<char32_t>(value);
  }
  return true;
}

}  // namespace

std::string EscapeField(std::wstring_view text) {
  std::string field;
  field.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = static_cast<char16_t>(text[i]);
    const char32_t next = i + 1 < text.size() ? static_cast<char16_t>(text[i + 1]) : 0;
    if (IsHighSurrogate(c) && IsLowSurrogate(next)) {
      AppendUtf8(field, 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendEscape(field, 'u', 4, c);
    } else if (c == U'\\') {
      field += "\\\\";
    } else if (c == U'\t' || c == U'\r' || c == U'\n') {
      field += c == U'\t' ? "\\t" : c == U'\r' ? "\\r" : "\\n";
    } else if (IsControlCharacter(static_cast<wchar_t>(c))) {
      AppendEscape(field, 'x', 2, c);
    } else {
      AppendUtf8(field, c);
    }
  }
  return field;
}

bool UnescapeField(std::string_view field, std::wstring& text) {
  text.clear();
  text.reserve(field.size());
  for (std::size_t at = 0; at < field.size();) {
    char32_t c = 0;
    if (!NextUtf8Character(field, at, c) ||
        (c < 0xA0 && IsControlCharacter(static_cast<wchar_t>(c)))) {
      return false;
    }
    if (c == U'\\') {
      const char kind = at < field.size() ? field[at++] : '\0';
      if (kind == 't' || kind == 'r' || kind == 'n' || kind == '\\') {
        c = kind == 't' ? U'\t' : kind == 'r' ? U'\r' : kind == 'n' ? U'\n' : U'\\';
      } else if (!((kind == 'x' || kind == 'u') &&
                   EscapedUnit(field, at, kind == 'x' ? 2 : 4, c))) {
        return false;
      }
    }
    AppendUtf16(text, c);
  }
  return true;
}

std::string ToHex(std::string_view bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char byte : bytes) {
    hex.push_back(kHexDigits[static_cast<unsigned char>(byte) >> 4]);
    hex.push_back(kHexDigits[static_cast<unsigned char>(byte) & 0xF]);
  }
  return hex;
}

bool FromHex(std::string_view hex, std::string& bytes) {
  bytes.clear();
  if (hex.size() % 2 != 0) {
    return false;
  }
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    // Upper-case digits are refused: a digest is compared as text.
    const int high = LowerHexValue(hex[i]);
    const int low = LowerHexValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      return false;
    }
    bytes.push_back(static_cast<char>(high << 4 | low));
  }
  return true;
}

bool ParseDecimal(std::string_view digits, std::uint64_t largest, std::uint64_t& value) {
  // No sign, blank or other digits: what from_chars takes for an unsigned number.
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() && value <= largest;
}

}  // namespace quellspur
