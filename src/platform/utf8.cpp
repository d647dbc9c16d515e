#include "platform/utf8.h"

namespace quellspur {

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& bytes, char32_t c) {
  if (c < 0x80) {
    bytes.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    bytes.push_back(static_cast<char>(0xC0 | c >> 6));
    bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    bytes.push_back(static_cast<char>(0xE0 | c >> 12));
    bytes.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    bytes.push_back(static_cast<char>(0xF0 | c >> 18));
    bytes.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    bytes.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(std::wstring& text, char32_t c) {
  if (c >= 0x10000) {
    text.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
    text.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    text.push_back(static_cast<wchar_t>(c));
  }
}

bool NextUtf8Character(std::string_view bytes, std::size_t& at, char32_t& c) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  const int following = lead < 0x80    ? 0
                        : lead >= 0xF8 ? -1
                        : lead >= 0xF0 ? 3
                        : lead >= 0xE0 ? 2
                        : lead >= 0xC0 ? 1
                                       : -1;
  if (following < 0 || bytes.size() - at <= static_cast<std::size_t>(following)) {
    return false;
  }
  c = following == 0 ? lead : lead & (0x3F >> following);
  for (int i = 1; i <= following; ++i) {
    const auto next = static_cast<unsigned char>(bytes[at + i]);
    if ((next & 0xC0) != 0x80) {
      return false;
    }
    c = c << 6 | (next & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  at += following + 1;
  return c >= kSmallest[following] && c <= 0x10FFFF && !IsHighSurrogate(c) && !IsLowSurrogate(c);
}

bool IsUtf8(std::string_view bytes) {
  char32_t c = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++at;  // most text is ASCII
    } else if (!NextUtf8Character(bytes, at, c)) {
      return false;
    }
  }
  return true;
}

bool Utf8ToText(std::string_view bytes, std::wstring& text) {
  text.clear();
  text.reserve(bytes.size());
  char32_t c = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    if (!NextUtf8Character(bytes, at, c)) {
      return false;
    }
    AppendUtf16(text, c);
  }
  return true;
}

bool TextToUtf8(std::wstring_view text, std::string& bytes) {
  bytes.clear();
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = static_cast<char16_t>(text[i]);
    const char32_t next = i + 1 < text.size() ? static_cast<char16_t>(text[i + 1]) : 0;
    if (IsHighSurrogate(c) && IsLowSurrogate(next)) {
      AppendUtf8(bytes, 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      return false;
    } else {
      AppendUtf8(bytes, c);
    }
  }
  return true;
}

}  // namespace quellspur
