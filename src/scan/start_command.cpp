#include "scan/start_command.h"

#include "platform/same_name.h"
#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {

std::wstring_view StartedFileName(std::wstring_view command) {
  const std::wstring_view name = FileNamePart(command);
  return TrimmedPart(name.substr(0, name.find(L'/')));
}

std::wstring_view StartedFilePath(std::wstring_view command) {
  // A quoted path runs to its closing quote, blanks and all, as Windows reads the command.
  const std::wstring_view trimmed = TrimmedPart(command);
  const std::size_t closingQuote = trimmed.starts_with(L'"') ? trimmed.find(L'"', 1) : 0;
  if (closingQuote != 0 && closingQuote != std::wstring_view::npos) {
    return trimmed.substr(1, closingQuote - 1);
  }
  const std::size_t nameStart = command.size() - FileNamePart(command).size();
  return TrimmedPart(command.substr(0, command.find(L'/', nameStart)));
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
