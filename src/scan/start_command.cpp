#include "scan/start_command.h"

#include "platform/same_name.h"
#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {

StartedParts StartedPartsOf(std::wstring_view command) {
  // One walk back to the last backslash and on to the slash behind it serves both parts: a scan
  // works them out for thousands of start values.
  const wchar_t* const begin = command.data();
  const wchar_t* const end = begin + command.size();
  const wchar_t* name = end;
  while (name != begin && name[-1] != L'\\') {
    --name;
  }
  const wchar_t* slash = name;
  while (slash != end && *slash != L'/') {
    ++slash;
  }
  StartedParts parts{TrimmedPart({name, static_cast<std::size_t>(slash - name)}),
                     TrimmedPart({begin, static_cast<std::size_t>(slash - begin)})};
  // A quoted path runs to its closing quote, blanks and all, as Windows reads the command.
  const wchar_t* first = begin;
  while (first != end && *first == L' ') {
    ++first;
  }
  if (first != end && *first == L'"') {
    const wchar_t* closingQuote = first + 1;
    while (closingQuote != end && *closingQuote != L'"') {
      ++closingQuote;
    }
    if (closingQuote != end) {
      parts.path = {first + 1, static_cast<std::size_t>(closingQuote - first - 1)};
    }
  }
  return parts;
}

std::wstring_view StartedFileName(std::wstring_view command) {
  return StartedPartsOf(command).fileName;
}

std::wstring_view StartedFilePath(std::wstring_view command) {
  return StartedPartsOf(command).path;
}

std::wstring_view ComparableFileName(std::wstring_view path) {
  return TrimmedPart(FileNamePart(path));
}

bool StartsExecutable(platform::System& system, const std::wstring& command,
                      const std::wstring& path) {
  return NamesAFile(path) &&
         platform::SameName(system, StartedFileName(command), ComparableFileName(path));
}

bool StartsFile(platform::System& system, const std::wstring& command, const std::wstring& path) {
  return NamesAFile(path) && platform::SameName(system, StartedFilePath(command), path);
}

bool NamesAFile(const std::wstring& path) {
  return !ComparableFileName(path).empty() && path != kUnknownPath;
}

}  // namespace quellspur
