#include "clean/win_ini_text.h"

#include <algorithm>

#include "platform/text.h"
#include "platform/utf8.h"

namespace quellspur {
namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Lines end at CR LF, CR or LF, each keeping its end; a last line needs none.
std::vector<IniLine> SplitIniLines(std::wstring_view text) {
  std::vector<IniLine> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
    const std::size_t next = end + (text.substr(end, 2) == L"\r\n" ? 2 : end < text.size());
    lines.push_back({std::wstring(text.substr(start, end - start)),
                     std::wstring(text.substr(end, next - end))});
    start = next;
  }
  return lines;
}

}  // namespace

std::optional<IniText> DecodeIniText(platform::Os& os, std::string_view bytes) {
  std::wstring whole;
  TextEncoding encoding = TextEncoding::Ansi;
  if (bytes.starts_with(kUtf16Mark)) {
    encoding = TextEncoding::Utf16Le;
    if (bytes.size() % 2 != 0) {
      return std::nullopt;
    }
    whole = FromUtf16Le(bytes.substr(kUtf16Mark.size()));
  } else if (bytes.starts_with(kUtf8Mark)) {
    encoding = TextEncoding::Utf8;
    if (!Utf8ToText(bytes.substr(kUtf8Mark.size()), whole)) {
      return std::nullopt;
    }
  } else {
    whole = os.AnsiToWide(bytes);
    // A code page with two-byte characters has byte sequences that are none.
    if (os.WideToAnsi(whole) != bytes) {
      return std::nullopt;
    }
  }
  return IniText{encoding, SplitIniLines(whole)};
}

std::optional<std::string> EncodeIniText(platform::Os& os, const IniText& text) {
  std::wstring whole;
  for (std::size_t index = 0; index < text.lines.size(); ++index) {
    const IniLine& line = text.lines[index];
    // A lone CR before an empty line ending in LF would read as one CR LF with it: two lines,
    // once others between them are dropped, would become one.
    const bool runsIntoNext = line.end == L"\r" && index + 1 < text.lines.size() &&
                              text.lines[index + 1].text.empty() &&
                              text.lines[index + 1].end == L"\n";
    whole += line.text;
    whole += runsIntoNext ? L"\r\n" : line.end;
  }
  switch (text.encoding) {
    case TextEncoding::Utf16Le:
      return std::string(kUtf16Mark) + ToUtf16Le(whole);
    case TextEncoding::Utf8: {
      std::string bytes;
      if (!TextToUtf8(whole, bytes)) {
        return std::nullopt;
      }
      return std::string(kUtf8Mark) + bytes;
    }
    case TextEncoding::Ansi:
      break;
  }
  std::string bytes = os.WideToAnsi(whole);
  // A character the code page lacks would come back as another, and a text that begins like a
  // byte-order mark would be read in another encoding.
  if (os.AnsiToWide(bytes) != whole || bytes.starts_with(kUtf16Mark) ||
      bytes.starts_with(kUtf8Mark)) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::wstring> SectionName(std::wstring_view line) {
  const std::wstring trimmed = TrimBlanks(line);
  const std::size_t close = trimmed.rfind(L']');
  if (!trimmed.starts_with(L'[') || close == std::wstring::npos) {
    return std::nullopt;
  }
  return UpperCase(TrimBlanks(std::wstring_view(trimmed).substr(1, close - 1)));
}

bool ReadWholeFile(platform::Os& os, const std::wstring& path, std::string& bytes) {
  // Read in parts until one comes short, without asking for its length first.
  constexpr std::uint32_t kPart = 64 * 1024;
  bytes.clear();
  std::string part;
  do {
    if (bytes.size() > 0x7FFFFFFF - kPart || !os.ReadFileAt(path, bytes.size(), kPart, part)) {
      return false;
    }
    bytes += part;
  } while (part.size() == kPart);
  return true;
}

IniRead ReadIniText(platform::Os& os, const std::wstring& path, std::string& bytes, IniText& text) {
  if (!ReadWholeFile(os, path, bytes)) {
    return platform::NotFound(os.GetLastError()) ? IniRead::Missing : IniRead::Unreadable;
  }
  std::optional<IniText> decoded = DecodeIniText(os, bytes);
  if (!decoded) {
    return IniRead::NotInItsEncoding;
  }
  text = std::move(*decoded);
  return IniRead::Read;
}

}  // namespace quellspur
