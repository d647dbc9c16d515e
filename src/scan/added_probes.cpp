// The probes of the signatures an administrator adds: windows, like the built-in ones, and files
// by their SHA-256, running or only named by a start value. This program is never a finding.
#include <algorithm>

#include "platform/same_name.h"
#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {
namespace {

const wchar_t* const kProgramFileNames[] = {L"Quellspur.exe", L"QuellScan.exe"};

}  // namespace

void Scanner::MarkAdded(std::size_t first, const std::string& listedSha256) {
  for (std::size_t index = first; index < findings_.size(); ++index) {
    findings_[index].addedSignature = true;
    findings_[index].listedSha256 = listedSha256;
  }
}

bool Scanner::IsOwnExecutable(std::wstring_view path) {
  std::wstring folder = os_.GetProgramFolder();
  if (folder.empty() || folder.back() != L'\\') {
    folder += L'\\';
  }
  // Either program, so that neither acts on the other either.
  return platform::SameName(os_, path, Joined({folder, os_.GetProgramExeName(), L".exe"})) ||
         std::any_of(
             std::begin(kProgramFileNames), std::end(kProgramFileNames),
             [&](const wchar_t* name) { return platform::SameName(os_, path, folder + name); });
}

void Scanner::FindAddedWindows() {
  for (const AddedWindowSignature& added : signatures_.windows()) {
    const std::size_t first = findings_.size();
    const WindowSignature& signature = added.signature;
    CheckWindow(signature.backdoorName, LookUpOf(signature.windowClass, signature.windowCaption));
    if (findings_.size() == first) {
      continue;
    }
    const Finding& process = findings_.back();
    if (process.processId == os_.GetCurrentProcessId() || IsOwnExecutable(process.filePath)) {
      findings_.resize(first);
    } else {
      MarkAdded(first, "");
    }
  }
}

const AddedHashSignature* Scanner::ListedFile(const std::wstring& path, bool* read) {
  platform::FileStamp stamp;
  // A path without its folder would be looked for in whatever folder is current.
  if (!IsAbsolutePath(path) || !os_.GetFileAttributesExW(path, stamp)) {
    return nullptr;
  }
  if (!signatures_.MayMatchLength(stamp.length)) {
    *read = true;
    return nullptr;
  }
  const auto sha256 = hashCache_.Sha256(os_, path, stamp);
  *read = sha256.has_value();
  return sha256 ? signatures_.Match(*sha256, stamp.length) : nullptr;
}

void Scanner::FindByHash() {
  if (!signatures_.HasHashes()) {
    return;
  }
  FindRunningByHash();
  FindStartedByHash();
  hashCache_.ForgetUnused();
}

void Scanner::FindRunningByHash() {
  const std::uint32_t self = os_.GetCurrentProcessId();
  std::map<ListedProcess, RunningFile> seen;
  // A copy: outside a scan, each parent looked up below reads the list anew.
  const std::vector<platform::ProcessEntry> processes = ProcessList();
  for (const platform::ProcessEntry& entry : processes) {
    const bool found = std::any_of(findings_.begin(), findings_.end(), [&](const Finding& f) {
      return f.processId == entry.processId;
    });
    if (entry.processId != self && !found) {
      const ListedProcess listed{entry.processId, entry.parentProcessId, entry.exeFile};
      const auto known = runningFiles_.find(listed);
      RunningFile file;
      bool read = false;
      if (known != runningFiles_.end()) {
        file = known->second;
        read = true;
      } else {
        file.path = IsNt() ? GetProcessPath(entry.processId) : entry.exeFile;
        read = IsOwnExecutable(file.path);
        file.signature = read ? nullptr : ListedFile(file.path, &read);
      }
      // An executable that could not be read this time is looked at again in the next scan.
      if (read) {
        seen.emplace(listed, file);
      }
      if (file.signature != nullptr) {
        const std::size_t first = findings_.size();
        FindStartEntries(file.signature->backdoorName, file.path);
        AddProcess(file.signature->backdoorName, entry.processId, file.path,
                   GetProcessPath(GetParentProcessId(entry.processId)));
        MarkAdded(first, file.signature->sha256);
      }
    }
    pacer_.Yield();
  }
  runningFiles_ = std::move(seen);
}

void Scanner::FindStartedByHash() {
  for (const StartKey& key : StartKeys()) {
    for (const StartValue& value : key.values) {
      const bool found = std::any_of(findings_.begin(), findings_.end(), [&](const Finding& f) {
        return f.rootKey == key.root && f.subKey == key.subKey && f.view == key.view &&
               f.valueName == key.Text(value.name);
      });
      bool read = false;
      const std::wstring path(key.Text(value.startedPath));
      const AddedHashSignature* signature =
          found || IsOwnExecutable(path) ? nullptr : ListedFile(path, &read);
      if (signature != nullptr) {
        Finding& finding = findings_.emplace_back();
        finding.backdoorName = signature->backdoorName;
        finding.filePath = path;
        finding.rootKey = static_cast<std::uint32_t>(key.root);
        finding.subKey = key.subKey;
        finding.valueName = key.Text(value.name);
        finding.view = key.view;
        finding.addedSignature = true;
        finding.listedSha256 = signature->sha256;
      }
      pacer_.Yield();
    }
  }
}

}  // namespace quellspur
