// Text rules that the scan, the report and the clean-up share.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quellspur {

// The text after the last backslash, or the whole text when it holds none.
std::wstring FileNameOf(std::wstring_view text);
// The same as a part of the given text, for a caller that keeps no copy.
std::wstring_view FileNamePart(std::wstring_view text);

// Upper case as Windows has it for the ANSI (Windows-1252) range: ASCII, the Latin-1 letters and
// the three Windows-1252 pairs (Š, Œ, Ž) and ÿ.
std::wstring UpperCase(std::wstring_view text);

// A path from a drive's root ("C:\\...") or a network share ("\\\\server\\..."), not relative to
// whatever folder is current.
bool IsAbsolutePath(std::wstring_view path);

// Control characters (C0, DEL and C1), which a one-line text must not hold as they are.
bool IsControlCharacter(wchar_t c);
// A character as a visible escape: "\x" and two hex digits for a control character, "\u" and
// four for any other.
std::wstring EscapedCharacter(wchar_t c);

// A whole number in decimal, zeros in front up to `leastDigits` digits; with a minus sign when
// signed and below zero. The programs format numbers with these rather than the C runtime's
// printf family, which would add its whole formatting engine to each program.
std::wstring DecimalText(std::uint64_t value, int leastDigits = 1);
std::wstring SignedDecimalText(std::int64_t value);
// A number in hexadecimal, `digits` digits with zeros in front.
std::wstring HexText(std::uint32_t value, int digits, bool upperCase);
std::string LowerHexDigits(std::uint32_t value, int digits);

// The parts one after another, made in one allocation: a chain of `+` makes, moves and destroys a
// string at every step, and each step's clean-up is code at every place that builds a message.
std::wstring Joined(std::initializer_list<std::wstring_view> parts);

// Removes leading and trailing blanks; only the space character counts.
std::wstring TrimBlanks(std::wstring_view text);
// The same as a part of the given text.
std::wstring_view TrimmedPart(std::wstring_view text);

// The text before the first zero character, or all of it when there is none.
std::wstring_view UpToFirstZero(std::wstring_view text);
std::string_view UpToFirstZero(std::string_view bytes);

// Text as the little-endian UTF-16 bytes the "W" calls exchange (one code unit per character, as
// Windows' wide strings hold them), and back; a last odd byte is no character and is dropped.
std::string ToUtf16Le(std::wstring_view text);
std::wstring FromUtf16Le(std::string_view bytes);
// Appends the text of the bytes up to their first zero character, or all of them, without a copy
// in between: a scan decodes thousands of registry values this way.
void AppendUtf16LeUpToZero(std::string_view bytes, std::wstring& text);

}  // namespace quellspur
