#include "scan/start_command.h"

#include "platform/same_name.h"
#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {

std::wstring StartedFileName(const std::wstring& command) {
  std::wstring candidate = FileNameOf(command);
  const std::size_t slash = candidate.find(L'/');
  if (slash != std::wstring::npos) {
    candidate = TrimBlanks(candidate.substr(0, slash));
  }
  return TrimBlanks(candidate);
}

std::wstring StartedFilePath(const std::wstring& command) {
  // A quoted path runs to its closing quote, blanks and all, as Windows reads the command.
  const std::wstring trimmed = TrimBlanks(command);
  const std::size_t closingQuote = trimmed.starts_with(L'"') ? trimmed.find(L'"', 1) : 0;
  if (closingQuote != 0 && closingQuote != std::wstring::npos) {
    return trimmed.substr(1, closingQuote - 1);
  }
  const std::size_t nameStart = command.size() - FileNameOf(command).size();
  const std::size_t slash = command.find(L'/', nameStart);
  return TrimBlanks(command.substr(0, slash));
}

std::wstring ComparableFileName(const std::wstring& path) {
  return TrimBlanks(FileNameOf(path));
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
  return !TrimBlanks(FileNameOf(path)).empty() && path != kUnknownPath;
}

}  // namespace quellspur
