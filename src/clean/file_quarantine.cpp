#include "clean/file_quarantine.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "clean/quarantine_folder.h"
#include "platform/same_name.h"
#include "platform/text.h"

namespace quellspur {
namespace {

// The copies the record accounts for, by copy name: each with the latest entry that names it,
// unless that entry was restored since.
using CopiesByName = std::map<std::wstring, FileChange, platform::NameOrder>;

CopiesByName RecordedCopies(platform::System& system, const ParsedRecord& record) {
  const std::set<std::uint64_t> restored = RestoredIds(record);
  CopiesByName copies(platform::NameOrder{&system});
  for (const ChangeEntry& entry : record.entries) {
    if (const auto* file = std::get_if<FileChange>(&entry.change)) {
      if (restored.contains(entry.id)) {
        copies.erase(file->copyName);
      } else {
        copies.insert_or_assign(file->copyName, *file);
      }
    }
  }
  return copies;
}

// Where the file's copy goes: the first of its names where no file stands, or one where its own
// copy does, left by a move whose delete failed.
struct CopyName {
  std::wstring name;
  bool own = false;
};

CopyName ChooseCopyName(platform::Os& os, ChangeRecord& record, const FileChange& source,
                        const std::vector<std::wstring>& namesInFolder) {
  const std::set<std::wstring, platform::NameOrder> taken(
      namesInFolder.begin(), namesInFolder.end(), platform::NameOrder{&os});
  std::optional<CopiesByName> copies;  // read when a copy could be its own
  for (unsigned number = 1;; ++number) {
    CopyName choice{QuarantineName(source.originalPath, number)};
    if (!taken.contains(choice.name)) {
      return choice;
    }
    // The bytes first: they rule out the other files' copies without reading the record.
    const std::wstring copy = record.CopyPath(choice.name);
    std::uint64_t size = 0;
    std::string sha256;
    if (os.GetFileLength(copy, size) && size == source.size && os.FileSha256(copy, sha256) &&
        sha256 == source.sha256) {
      if (!copies) {
        copies = RecordedCopies(os, record.Read());
      }
      const auto recorded = copies->find(choice.name);
      choice.own = recorded != copies->end() &&
                   platform::SameName(os, recorded->second.originalPath, source.originalPath);
    }
    if (choice.own) {
      return choice;
    }
  }
}

}  // namespace

bool HasQuarantineEnding(std::wstring_view name) {
  return name.size() >= kQuarantineEnding.size() &&
         UpperCase(name.substr(name.size() - kQuarantineEnding.size())) ==
             UpperCase(kQuarantineEnding);
}

std::wstring QuarantineName(const std::wstring& inFile, unsigned number) {
  std::wstring name = FileNameOf(inFile);
  // A path Windows did not produce may hold these; they would lead out of the folder.
  std::replace_if(
      name.begin(), name.end(), [](wchar_t c) { return c == L'/' || c == L':'; }, L'_');
  return Joined({name, number > 1 ? Joined({L".", DecimalText(number)}) : L"", kQuarantineEnding});
}

void MoveFile(platform::Os& os, ActivityLog& log, ChangeRecord& record,
              const std::wstring& backdoorName, const std::wstring& inFile) {
  FileChange change{inFile, {}, 0, {}};
  if (!os.GetFileLength(inFile, change.size) || !os.FileSha256(inFile, change.sha256)) {
    return;
  }
  MakeQuarantineFolder(os, record.Folder());  // most often it exists already
  std::vector<std::wstring> names;
  if (!os.ListFiles(record.Folder(), names)) {
    return;
  }
  const CopyName copy = ChooseCopyName(os, record, change, names);
  change.copyName = copy.name;
  const std::wstring target = record.CopyPath(copy.name);
  // A new copy never replaces anything: should the name be taken after all, the copy fails.
  if (!copy.own &&
      (!record.Append({0, {}, backdoorName, change}) || !os.CopyFileW(inFile, target, true))) {
    return;
  }
  if (!os.SetFileAttributesW(inFile, platform::kAttributeArchive) || !os.DeleteFileW(inFile)) {
    return;
  }
  log.WriteLog(Joined({L"Moving: ", inFile, L" to: ", target}));
}

}  // namespace quellspur
