// UTF-8 both ways, strictly: the change record and the signature file are UTF-8, and so may win.ini
// be.
#pragma once

#include <string>
#include <string_view>

namespace quellspur {

bool IsHighSurrogate(char32_t c);
bool IsLowSurrogate(char32_t c);

void AppendUtf8(std::string& bytes, char32_t c);
// A character as UTF-16 code units: a pair of surrogates beyond U+FFFF.
void AppendUtf16(std::wstring& text, char32_t c);
// Decodes the character at `at` and moves past it; false when the bytes there are not UTF-8.
bool NextUtf8Character(std::string_view bytes, std::size_t& at, char32_t& c);

// Whether the bytes are UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsUtf8(std::string_view bytes);
// The text of UTF-8 bytes; false when they are not UTF-8.
bool Utf8ToText(std::string_view bytes, std::wstring& text);
// The text as UTF-8; false when it holds half of a surrogate pair alone, which UTF-8 can't hold.
bool TextToUtf8(std::wstring_view text, std::string& bytes);

}  // namespace quellspur
