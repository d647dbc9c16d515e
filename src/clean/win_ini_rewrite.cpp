#include "clean/win_ini_rewrite.h"

#include <cstdint>
#include <vector>

#include "clean/file_replace.h"
#include "clean/win_ini_text.h"
#include "platform/text.h"

namespace quellspur {
namespace {

// The nearest line not dropped in the direction `step` from `index`; none at the file's end.
std::optional<std::wstring> KeptNeighbour(const IniText& text, const std::vector<char>& dropped,
                                          std::size_t index, std::ptrdiff_t step) {
  for (auto at = static_cast<std::ptrdiff_t>(index) + step;
       at >= 0 && at < static_cast<std::ptrdiff_t>(text.lines.size()); at += step) {
    if (!dropped[static_cast<std::size_t>(at)]) {
      return text.lines[static_cast<std::size_t>(at)].text;
    }
  }
  return std::nullopt;
}

// The lines that hold the path, each with where it stood; header lines stay, or their sections'
// lines would fall into the section above.
std::vector<RemovedLine> LinesNaming(const IniText& text, const std::wstring& filePath,
                                     std::vector<char>& dropped) {
  const std::wstring wanted = UpperCase(filePath);
  dropped.assign(text.lines.size(), false);
  for (std::size_t index = 0; index < text.lines.size(); ++index) {
    const std::wstring& line = text.lines[index].text;
    dropped[index] = !SectionName(line) && UpperCase(line).find(wanted) != std::wstring::npos;
  }
  std::vector<RemovedLine> removed;
  std::wstring section;
  for (std::size_t index = 0; index < text.lines.size(); ++index) {
    const std::wstring& line = text.lines[index].text;
    if (SectionName(line)) {
      section = line;
    } else if (dropped[index]) {
      removed.push_back({static_cast<std::uint32_t>(index + 1), line, section,
                         KeptNeighbour(text, dropped, index, -1),
                         KeptNeighbour(text, dropped, index, 1)});
    }
  }
  return removed;
}

}  // namespace

bool RewriteWinIni(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                   const std::wstring& backdoorName, const std::wstring& windowsDir,
                   const std::wstring& filePath) {
  // An empty path names nothing; it would be found in every line and empty the file.
  if (filePath.empty()) {
    return true;
  }
  const std::wstring winIni = Joined({windowsDir, L"win.ini"});
  const std::wstring winBac = Joined({windowsDir, L"win.bac"});
  // win.ini is read before the backup is touched: without it, the old backup stays as it was.
  std::string oldBytes;
  IniText text;
  const IniRead read = ReadIniText(os, winIni, oldBytes, text);
  if (read != IniRead::Read) {
    return read == IniRead::Missing;  // no win.ini starts nothing
  }
  std::vector<char> dropped;  // a flag per line, in bytes: less code than a vector of bits
  WinIniChange removed{winIni, LinesNaming(text, filePath, dropped)};
  if (removed.lines.empty()) {
    return true;
  }
  IniText kept{text.encoding, {}};
  for (std::size_t index = 0; index < text.lines.size(); ++index) {
    if (!dropped[index]) {
      kept.lines.push_back(text.lines[index]);
    }
  }
  const std::optional<std::string> newBytes = EncodeIniText(os, kept);
  if (!newBytes) {
    return false;
  }

  // Neither would be replaced while read-only, win.bac then not at any later rewrite either.
  os.SetFileAttributesW(winIni, platform::kAttributeArchive);
  os.SetFileAttributesW(winBac, platform::kAttributeArchive);
  if (!os.CopyFileW(winIni, winBac, false) || !record.Append({0, {}, backdoorName, removed})) {
    return false;
  }
  // Whatever changed win.ini since it was read would be lost: then it stays as it is.
  std::string nowBytes;
  if (!ReadWholeFile(os, winIni, nowBytes) || nowBytes != oldBytes ||
      !ReplaceFileContent(os, windowsDir, winIni, *newBytes)) {
    return false;
  }
  for (const RemovedLine& line : removed.lines) {
    log.WriteLog(Joined({L"Removing start: ", line.text, L" in win.ini"}));
  }
  return true;
}

}  // namespace quellspur
