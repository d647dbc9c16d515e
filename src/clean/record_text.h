// The change record's field rules: text as UTF-8 with visible escapes, bytes as hex, numbers in
// decimal; each undone exactly, and refused when it is not what the writing side makes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quellspur {

// The text (UTF-16 code units) as one field: "\\", "\t", "\r", "\n" for backslash, TAB, CR, LF,
// "\xNN" for any other control character, "\uXXXX" for a lone surrogate, UTF-8 for the rest.
std::string EscapeField(std::wstring_view text);
// The field's text back; false on a bad escape, a control character as it is, or bytes that are
// not UTF-8.
bool UnescapeField(std::string_view field, std::wstring& text);

// Bytes as lower-case hex, and back; false for anything but pairs of 0-9 and a-f.
std::string ToHex(std::string_view bytes);
bool FromHex(std::string_view hex, std::string& bytes);

// A decimal number of digits only, no larger than `largest`.
bool ParseDecimal(std::string_view digits, std::uint64_t largest, std::uint64_t& value);

}  // namespace quellspur
