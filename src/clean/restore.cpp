#include "clean/restore.h"

#include <algorithm>
#include <set>

#include "clean/file_quarantine.h"
#include "platform/owners.h"
#include "platform/registry.h"
#include "platform/same_name.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kLargestData = 16 * 1024 * 1024;

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

std::wstring StateName(QuarantineState state) {
  switch (state) {
    case QuarantineState::Quarantined:
      return L"quarantined";
    case QuarantineState::Removed:
      return L"removed";
    case QuarantineState::Restored:
      return L"restored";
    case QuarantineState::NoCopy:
      return L"no copy";
    case QuarantineState::Refused:
      return L"refused";
    case QuarantineState::Unrecorded:
      break;
  }
  return L"unrecorded";
}

std::wstring Restore::TemporaryName(const std::wstring& target) {
  return Joined({target, L".quellspur-restore"});
}

QuarantineList Restore::List(const RestorePlaces& places) {
  ParsedRecord record = record_.Read();
  QuarantineList list;
  list.damaged = std::move(record.damaged);
  const std::set<std::uint64_t> restored = RestoredIds(record);
  std::set<std::wstring, platform::NameOrder> recordedCopies(platform::NameOrder{&os_});
  for (ChangeEntry& recorded : record.entries) {
    if (std::holds_alternative<Restored>(recorded.change)) {
      continue;
    }
    QuarantineItem& item = list.items.emplace_back();
    // The record was read for this list alone: its entries move into the items.
    const ChangeEntry& entry = item.entry.emplace(std::move(recorded));
    const auto* file = std::get_if<FileChange>(&entry.change);
    if (restored.contains(entry.id)) {
      item.state = QuarantineState::Restored;
    } else if (const auto refusal = EntryRefusal(entry, places)) {
      item.state = QuarantineState::Refused;
      item.refusal = *refusal;
      continue;  // its copy name is not taken for a copy's
    } else if (file != nullptr) {
      item.state = Missing(os_, record_.CopyPath(file->copyName)) ? QuarantineState::NoCopy
                                                                  : QuarantineState::Quarantined;
    } else {
      item.state = QuarantineState::Removed;
    }
    if (file != nullptr) {
      recordedCopies.insert(file->copyName);
    }
  }
  std::vector<std::wstring> names;
  os_.ListFiles(record_.Folder(), names);
  std::sort(names.begin(), names.end());
  for (const std::wstring& name : names) {
    if (HasQuarantineEnding(name) && !recordedCopies.contains(name)) {
      list.items.push_back({std::nullopt, name, QuarantineState::Unrecorded, {}});
    }
  }
  return list;
}

RestoreResult Restore::Entry(const ChangeEntry& entry, const RestorePlaces& places) {
  if (const auto refusal = EntryRefusal(entry, places)) {
    return Result(RestoreOutcome::Refused, Joined({L"refused: ", *refusal}));
  }
  RestoreResult result = Result(RestoreOutcome::Refused, L"it marks a restore, not a change");
  if (const auto* file = std::get_if<FileChange>(&entry.change)) {
    result = File(*file);
  } else if (const auto* value = std::get_if<RegistryChange>(&entry.change)) {
    result = Registry(*value);
  } else if (const auto* winIni = std::get_if<WinIniChange>(&entry.change)) {
    result = WinIni(*winIni);
  }
  // The mark comes last: a restore stopped before it finds the change in place next time, and
  // marks it then.
  if (result.outcome == RestoreOutcome::Restored ||
      result.outcome == RestoreOutcome::AlreadyInPlace) {
    Mark(entry);
  }
  return result;
}

void Restore::Mark(const ChangeEntry& entry) {
  record_.Append({0, {}, entry.backdoorName, Restored{entry.id}});
}

void Restore::RemoveOwnFile(const std::wstring& path) {
  os_.SetFileAttributesW(path, platform::kAttributeArchive);
  os_.DeleteFileW(path);
}

RestoreResult Restore::PlaceCopy(const std::wstring& copyPath, const std::string& sha256,
                                 const std::wstring& target) {
  std::string copyHash;
  if (!os_.FileSha256(copyPath, copyHash)) {
    return platform::NotFound(os_.GetLastError())
               ? Result(RestoreOutcome::Refused,
                        Joined({L"its quarantine copy ", copyPath, L" is missing"}))
               : Result(RestoreOutcome::Failed,
                        Joined({L"its quarantine copy ", copyPath, L" could not be read"}));
  }
  if (copyHash != sha256) {
    return Result(RestoreOutcome::Refused,
                  Joined({L"its quarantine copy ", copyPath, L" no longer matches the record"}));
  }
  const std::wstring temporary = TemporaryName(target);
  MakeFoldersAbove(os_, target);
  if (!os_.CopyFileW(copyPath, temporary, true)) {
    return Result(RestoreOutcome::Failed, Joined({L"it could not be copied to ", temporary}));
  }
  // Ours, and not known to be whole until checked: on any way out before it has its name, it goes
  // again and the quarantine copy stays the only good one.
  bool placed = false;
  try {
    std::string placedHash;
    if (!os_.FileSha256(temporary, placedHash) || placedHash != sha256) {
      RemoveOwnFile(temporary);
      return Result(RestoreOutcome::Failed, Joined({L"it did not arrive whole at ", temporary}));
    }
    // Never over a file that stands there: it may be the user's own by now.
    placed = os_.MoveFileW(temporary, target);
  } catch (...) {
    RemoveOwnFile(temporary);
    throw;
  }
  if (!placed) {
    const bool taken = os_.GetLastError() == platform::kErrorAlreadyExists;
    RemoveOwnFile(temporary);
    return taken ? Result(RestoreOutcome::Refused, Joined({target, L" exists already"}))
                 : Result(RestoreOutcome::Failed, Joined({L"it could not be moved to ", target}));
  }
  log_.WriteLog(Joined({L"Restoring: ", target, L" from: ", copyPath}));
  return Result(RestoreOutcome::Restored, Joined({L"restored ", target}));
}

RestoreResult Restore::File(const FileChange& change) {
  const std::wstring copyPath = record_.CopyPath(change.copyName);
  // Left by a restore that was killed, and never whole enough to count, whatever stands in place.
  RemoveOwnFile(TemporaryName(change.originalPath));
  std::string standing;
  if (os_.FileSha256(change.originalPath, standing)) {
    if (standing != change.sha256) {
      return Result(RestoreOutcome::Refused, Joined({change.originalPath, L" exists already"}));
    }
    // Back already: the clean-up stopped after its record line, or a restore before its mark.
    // A copy that still holds the file goes; one that does not is no copy of it.
    std::string copyHash;
    if (os_.FileSha256(copyPath, copyHash) && copyHash == change.sha256) {
      RemoveOwnFile(copyPath);
    }
    return Result(RestoreOutcome::AlreadyInPlace, Joined({change.originalPath, L" is in place"}));
  }
  if (!platform::NotFound(os_.GetLastError())) {
    return Result(RestoreOutcome::Failed, Joined({change.originalPath, L" could not be read"}));
  }
  RestoreResult result = PlaceCopy(copyPath, change.sha256, change.originalPath);
  if (result.outcome == RestoreOutcome::Restored) {
    // Whole at its place: the copy is no longer the only one. Should the mark fail after this,
    // the next restore finds the file in place and marks it.
    RemoveOwnFile(copyPath);
  }
  return result;
}

RestoreResult Restore::UnrecordedCopy(const std::wstring& copyName, const std::wstring& target) {
  if (const auto refusal = CopyNameRefusal(copyName)) {
    return Result(RestoreOutcome::Refused, Joined({L"refused: ", *refusal}));
  }
  if (const auto refusal = PathRefusal(target)) {
    return Result(RestoreOutcome::Refused, Joined({L"refused: ", *refusal}));
  }
  const std::wstring copyPath = record_.CopyPath(copyName);
  RemoveOwnFile(TemporaryName(target));
  std::string sha256;
  if (!os_.FileSha256(copyPath, sha256)) {
    return Result(RestoreOutcome::Refused, Joined({L"there is no quarantine copy ", copyPath}));
  }
  RestoreResult result = PlaceCopy(copyPath, sha256, target);
  if (result.outcome == RestoreOutcome::Restored) {
    RemoveOwnFile(copyPath);
  }
  return result;
}

RestoreResult Restore::Registry(const RegistryChange& change) {
  const std::wstring where =
      Joined({RootKeyName(change.rootKey), L"\\", change.subKey, L",", change.valueName});
  platform::RegKey created = 0;
  if (os_.RegCreateKeyExW(change.rootKey, change.subKey, platform::kKeyAllButDelete | change.view,
                          created) != platform::kErrorSuccess) {
    return Result(RestoreOutcome::Failed, Joined({L"the key of ", where, L" could not be opened"}));
  }
  const platform::UniqueKey key(os_, created);
  std::uint32_t type = 0;
  std::string data;
  const platform::Status read =
      os_.RegQueryValueExW(key.get(), change.valueName, kLargestData, type, data);
  if (read == platform::kErrorSuccess) {
    return type == change.type && data == change.data
               ? Result(RestoreOutcome::AlreadyInPlace, Joined({where, L" is in place"}))
               : Result(RestoreOutcome::Refused,
                        Joined({where, L" exists already with other data"}));
  }
  if (read != platform::kErrorFileNotFound) {
    return Result(RestoreOutcome::Failed, Joined({where, L" could not be read"}));
  }
  if (os_.RegSetValueExW(key.get(), change.valueName, change.type, change.data) !=
      platform::kErrorSuccess) {
    return Result(RestoreOutcome::Failed, Joined({where, L" could not be written"}));
  }
  log_.WriteLog(Joined({L"Restoring: start in registry: ", where}));
  return Result(RestoreOutcome::Restored, Joined({L"restored ", where}));
}

}  // namespace quellspur
