#include "clean/restore.h"

#include <algorithm>
#include <set>

#include "clean/file_replace.h"
#include "platform/owners.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kLargestData = 16 * 1024 * 1024;
const std::wstring kCopyExtension = L".BACKDOOR";

bool Exists(platform::Files& files, const std::wstring& path) {
  std::uint64_t length = 0;
  return files.GetFileLength(path, length);
}

// Whether Windows says the file is not there: one it can't look at may still be.
bool Missing(platform::Os& os, const std::wstring& path) {
  return !Exists(os, path) && platform::NotFound(os.GetLastError());
}

RestoreResult Result(RestoreOutcome outcome, std::wstring message) {
  return {outcome, std::move(message)};
}

// Makes the folders above `path` that are missing, from the top: the original's folder may have
// gone with the backdoor.
void MakeFoldersAbove(platform::Files& files, const std::wstring& path) {
  for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    files.CreateDirectoryW(path.substr(0, slash));
  }
}

}  // namespace

QuarantineList Restore::List() {
  ParsedRecord record = record_.Read();
  QuarantineList list;
  list.damaged = std::move(record.damaged);
  const std::set<std::uint64_t> restored = RestoredIds(record);
  std::set<std::wstring> recordedCopies;
  for (const ChangeEntry& entry : record.entries) {
    if (std::holds_alternative<Restored>(entry.change)) {
      continue;
    }
    QuarantineItem& item = list.items.emplace_back();
    item.entry = entry;
    if (restored.contains(entry.id)) {
      item.state = QuarantineState::Restored;
    } else if (const auto* file = std::get_if<FileChange>(&entry.change)) {
      item.state = Missing(os_, record_.Folder() + L"\\" + file->copyName)
                       ? QuarantineState::NoCopy
                       : QuarantineState::Quarantined;
    } else {
      item.state = QuarantineState::Removed;
    }
    if (const auto* file = std::get_if<FileChange>(&entry.change)) {
      recordedCopies.insert(UpperCase(file->copyName));
    }
  }
  std::vector<std::wstring> names;
  os_.ListFiles(record_.Folder(), names);
  std::sort(names.begin(), names.end());
  for (const std::wstring& name : names) {
    const std::wstring upper = UpperCase(name);
    if (upper.ends_with(kCopyExtension) && !recordedCopies.contains(upper)) {
      list.items.push_back({std::nullopt, name, QuarantineState::Unrecorded});
    }
  }
  return list;
}

RestoreResult Restore::Entry(const ChangeEntry& entry) {
  if (const auto* file = std::get_if<FileChange>(&entry.change)) {
    return File(entry, *file);
  }
  if (const auto* value = std::get_if<RegistryChange>(&entry.change)) {
    return Registry(entry, *value);
  }
  if (const auto* winIni = std::get_if<WinIniChange>(&entry.change)) {
    return WinIni(entry, *winIni);
  }
  return Result(RestoreOutcome::Refused, L"it marks a restore, not a change");
}

RestoreResult Restore::CopyBack(const std::wstring& copyPath, const std::string& sha256,
                                const std::wstring& target,
                                const std::function<bool()>& afterCopy) {
  std::string copyHash;
  if (!os_.FileSha256(copyPath, copyHash)) {
    return Result(RestoreOutcome::Refused, L"its quarantine copy " + copyPath + L" is missing");
  }
  if (copyHash != sha256) {
    return Result(RestoreOutcome::Refused,
                  L"its quarantine copy " + copyPath + L" no longer matches the record");
  }
  // Never over a file that stands there: it may be the user's own by now.
  if (!Exists(os_, target)) {
    MakeFoldersAbove(os_, target);
  }
  if (!os_.CopyFileW(copyPath, target, true)) {
    return Result(Exists(os_, target) ? RestoreOutcome::Refused : RestoreOutcome::Failed,
                  Exists(os_, target) ? target + L" exists already"
                                      : L"it could not be copied back to " + target);
  }
  // Ours, and not known to be whole until checked: on any way out before, it goes again and the
  // copy stays the only good one.
  bool whole = false;
  try {
    std::string placedHash;
    whole = os_.FileSha256(target, placedHash) && placedHash == sha256;
  } catch (...) {
    os_.DeleteFileW(target);
    throw;
  }
  if (!whole) {
    os_.DeleteFileW(target);
    return Result(RestoreOutcome::Failed, L"it did not arrive whole at " + target);
  }
  log_.WriteLog(L"Restoring: " + target + L" from: " + copyPath);
  if (afterCopy()) {
    os_.SetFileAttributesW(copyPath, platform::kAttributeArchive);
    os_.DeleteFileW(copyPath);
  }
  return Result(RestoreOutcome::Restored, L"restored " + target);
}

RestoreResult Restore::File(const ChangeEntry& entry, const FileChange& change) {
  std::string standing;
  if (os_.FileSha256(change.originalPath, standing)) {
    // The clean-up may have stopped after its record line, before the file left.
    return standing == change.sha256
               ? Result(RestoreOutcome::AlreadyInPlace, change.originalPath + L" is in place")
               : Result(RestoreOutcome::Refused, change.originalPath + L" exists already");
  }
  // The copy goes only once the record says the file is back: should that line fail, the next
  // restore finds the file in place and the copy still there.
  return CopyBack(record_.Folder() + L"\\" + change.copyName, change.sha256, change.originalPath,
                  [&] {
                    return record_.Append({0, {}, entry.backdoorName, Restored{entry.id}});
                  });
}

RestoreResult Restore::UnrecordedCopy(const std::wstring& copyName, const std::wstring& target) {
  const std::wstring copyPath = record_.Folder() + L"\\" + copyName;
  std::string sha256;
  if (FileNameOf(copyName) != copyName || !os_.FileSha256(copyPath, sha256)) {
    return Result(RestoreOutcome::Refused, L"there is no quarantine copy " + copyPath);
  }
  return CopyBack(copyPath, sha256, target, [] { return true; });
}

RestoreResult Restore::Registry(const ChangeEntry& entry, const RegistryChange& change) {
  const std::wstring where =
      RootKeyName(change.rootKey) + L"\\" + change.subKey + L"," + change.valueName;
  platform::RegKey created = 0;
  if (os_.RegCreateKeyExW(change.rootKey, change.subKey, platform::kKeyAllButDelete | change.view,
                          created) != platform::kErrorSuccess) {
    return Result(RestoreOutcome::Failed, L"the key of " + where + L" could not be opened");
  }
  const platform::UniqueKey key(os_, created);
  std::uint32_t type = 0;
  std::string data;
  const platform::Status read =
      os_.RegQueryValueExW(key.get(), change.valueName, kLargestData, type, data);
  if (read == platform::kErrorSuccess) {
    return type == change.type && data == change.data
               ? Result(RestoreOutcome::AlreadyInPlace, where + L" is in place")
               : Result(RestoreOutcome::Refused, where + L" exists already with other data");
  }
  if (read != platform::kErrorFileNotFound) {
    return Result(RestoreOutcome::Failed, where + L" could not be read");
  }
  if (os_.RegSetValueExW(key.get(), change.valueName, change.type, change.data) !=
      platform::kErrorSuccess) {
    return Result(RestoreOutcome::Failed, where + L" could not be written");
  }
  log_.WriteLog(L"Restoring: start in registry: " + where);
  record_.Append({0, {}, entry.backdoorName, Restored{entry.id}});
  return Result(RestoreOutcome::Restored, L"restored " + where);
}

}  // namespace quellspur
