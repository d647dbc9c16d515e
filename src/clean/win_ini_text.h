// win.ini's text in whichever encoding Windows reads it: the ANSI code page, or UTF-16 LE or UTF-8
// after their byte-order mark. Its lines keep their own line ends, so that whatever is not changed
// is written back byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace quellspur {

enum class TextEncoding { Ansi, Utf16Le, Utf8 };

struct IniLine {
  std::wstring text;
  std::wstring end;  // CR LF, LF or CR; empty for a last line without one
};

struct IniText {
  TextEncoding encoding = TextEncoding::Ansi;
  std::vector<IniLine> lines;
};

// The text of a file's bytes; none when they are not valid in their encoding, so that writing the
// text back would not give the same bytes (an odd byte of UTF-16, bytes that are not UTF-8, or not
// characters of the code page).
std::optional<IniText> DecodeIniText(platform::Os& os, std::string_view bytes);
// The text's bytes in its encoding, its byte-order mark first, each line kept apart from the next;
// none when a line holds a character that the encoding can't hold, or when ANSI text would begin
// like a byte-order mark and so be read in another encoding.
std::optional<std::string> EncodeIniText(platform::Os& os, const IniText& text);

// The name of the section that a header line ("[windows]") begins, in upper case, as Windows
// finds sections whatever their case; none for any other line.
std::optional<std::wstring> SectionName(std::wstring_view line);

enum class IniRead {
  Read,
  Missing,
  Unreadable,
  NotInItsEncoding,  // its bytes are not valid in the encoding they are in
};

// The file's bytes, read whole; false when it can't be.
bool ReadWholeFile(platform::Os& os, const std::wstring& path, std::string& bytes);
// Reads and decodes the file, handing back its bytes as well.
IniRead ReadIniText(platform::Os& os, const std::wstring& path, std::string& bytes, IniText& text);

}  // namespace quellspur
