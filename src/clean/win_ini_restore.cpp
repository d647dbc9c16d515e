// Putting win.ini's lines back where a clean-up took them out.
#include <algorithm>

#include "clean/file_replace.h"
#include "clean/restore.h"
#include "platform/text.h"

namespace quellspur {
namespace {

bool Exists(platform::Files& files, const std::wstring& path) {
  std::uint64_t length = 0;
  return files.GetFileLength(path, length);
}

}  // namespace

RestoreResult Restore::WinIni(const WinIniChange& change) {
  std::vector<std::wstring> lines;
  if (!os_.ReadTextLines(change.winIniPath, lines) && Exists(os_, change.winIniPath)) {
    return RestoreResult{RestoreOutcome::Failed, change.winIniPath + L" could not be read"};
  }
  const bool inPlace = std::all_of(change.lines.begin(), change.lines.end(), [&](const auto& line) {
    return line.lineNumber <= lines.size() && lines[line.lineNumber - 1] == line.text;
  });
  if (inPlace) {
    return RestoreResult{RestoreOutcome::AlreadyInPlace, L"the lines are in " + change.winIniPath};
  }
  // In ascending order each line lands where it stood, the ones before it being back already.
  for (const RemovedLine& line : change.lines) {
    const std::size_t at = std::min<std::size_t>(line.lineNumber - 1, lines.size());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line.text);
  }
  std::wstring text;
  for (const std::wstring& line : lines) {
    text += line + L"\r\n";
  }
  const std::wstring folder =
      change.winIniPath.substr(0, change.winIniPath.size() - FileNameOf(change.winIniPath).size());
  if (!ReplaceFileContent(os_, folder, change.winIniPath, os_.WideToAnsi(text))) {
    return RestoreResult{RestoreOutcome::Failed, change.winIniPath + L" could not be written"};
  }
  for (const RemovedLine& line : change.lines) {
    log_.WriteLog(L"Restoring: " + line.text + L" in win.ini");
  }
  return RestoreResult{
      RestoreOutcome::Restored,
      L"restored " + std::to_wstring(change.lines.size()) + L" line(s) of " + change.winIniPath};
}

}  // namespace quellspur
