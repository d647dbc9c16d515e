// The simulated machine's files, with Windows' path rules: case-insensitive, either slash, a
// running program's executable that cannot be deleted or replaced, read-only files that only
// change when their attributes do, and folders that are no files.
#include <algorithm>
#include <cwchar>
#include <limits>
#include <map>

#include "platform/sha256.h"
#include "testing/sim_machine.h"

namespace quellspur::platform::sim {
namespace {

// The sweeps hash the same large files thousands of times, and hashing is slow under the
// sanitizers: the digests of large contents are remembered, by content.
std::string RememberedSha256(const std::string& bytes) {
  constexpr std::size_t kLarge = 4096;
  if (bytes.size() < kLarge) {
    return Sha256Hex(bytes);
  }
  static std::map<std::string, std::string> digests;
  auto [digest, added] = digests.try_emplace(bytes);
  if (added) {
    digest->second = Sha256Hex(bytes);
  }
  return digest->second;
}

}  // namespace

void SimMachine::PutFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring key = FileKey(path);
  AddFolders(key.substr(0, key.rfind(L'\\')));
  File& file = FileAt(path);
  file.bytes = bytes;
  file.attributes = kAttributeArchive;
  Written(file);
}

void SimMachine::MakeFolder(const std::wstring& path) {
  AddFolders(FileKey(path));
}

// Adds the folder and every folder above it, up to the drive.
void SimMachine::AddFolders(const std::wstring& key) {
  std::wstring folder = key;
  while (!folder.empty() && folder.back() == L'\\') {
    folder.pop_back();
  }
  for (std::size_t slash = folder.find(L'\\'); slash != std::wstring::npos;
       slash = folder.find(L'\\', slash + 1)) {
    folders_.insert(folder.substr(0, slash));
  }
  folders_.insert(folder);
}

bool SimMachine::FolderExists(const std::wstring& key) const {
  return (key.size() == 2 && key[1] == L':') || folders_.count(key) != 0;
}

void SimMachine::RemoveFile(const std::wstring& path) {
  files_.erase(FileKey(path));
}

bool SimMachine::FileExists(const std::wstring& path) const {
  return files_.count(FileKey(path)) != 0;
}

std::string SimMachine::FileContent(const std::wstring& path) const {
  auto file = files_.find(FileKey(path));
  return file == files_.end() ? std::string() : file->second.bytes;
}

std::uint32_t SimMachine::FileAttributes(const std::wstring& path) const {
  auto file = files_.find(FileKey(path));
  return file == files_.end() ? 0 : file->second.attributes;
}

// Paths are case-insensitive, take either slash, and a relative one starts in the current folder.
std::wstring SimMachine::FileKey(const std::wstring& path) const {
  std::wstring full = path;
  std::replace(full.begin(), full.end(), L'/', L'\\');
  const bool absolute = (full.size() >= 2 && full[1] == L':') || full.rfind(L"\\\\", 0) == 0;
  if (!absolute) {
    std::wstring folder = currentDirectory_;
    if (folder.empty() || folder.back() != L'\\') {
      folder += L'\\';
    }
    full = folder + full;
  }
  return UpperCase(full);
}

SimMachine::File& SimMachine::FileAt(const std::wstring& path) {
  File& file = files_[FileKey(path)];
  if (file.name.empty()) {
    std::wstring name = path;
    std::replace(name.begin(), name.end(), L'/', L'\\');
    file.name = FileNameOf(name);
  }
  return file;
}

const SimMachine::File* SimMachine::Opened(const std::wstring& path) {
  const std::wstring key = FileKey(path);
  const File* file = FindFile(path);
  if (file == nullptr) {
    // A folder opened as a file refuses access.
    Fail(FolderExists(key) ? kErrorAccessDenied : Missing(key));
  }
  return file;
}

bool SimMachine::GetFileLength(const std::wstring& path, std::uint64_t& length) {
  const File* file = Opened(path);
  if (file == nullptr) {
    return false;
  }
  length = file->bytes.size();
  return true;
}

bool SimMachine::GetFileAttributesExW(const std::wstring& path, FileStamp& stamp) {
  stamp = {};
  const File* file = Opened(path);
  if (file == nullptr) {
    return false;
  }
  stamp = {file->bytes.size(), file->lastWriteTime};
  return true;
}

bool SimMachine::ReadFileAt(const std::wstring& path, std::uint64_t offset, std::uint32_t count,
                            std::string& bytes) {
  bytes.clear();
  const File* file = Opened(path);
  if (file == nullptr) {
    return false;
  }
  if (offset < file->bytes.size()) {
    bytes = file->bytes.substr(static_cast<std::size_t>(offset), count);
  }
  return true;
}

void SimMachine::HoldFileLock(const std::wstring& path, std::uint64_t microseconds) {
  File& file = FileAt(path);
  file.lockedUntil = microseconds > std::numeric_limits<std::uint64_t>::max() - steadyNow_
                         ? std::numeric_limits<std::uint64_t>::max()
                         : steadyNow_ + microseconds;
}

void SimMachine::ReleaseFileLock(const std::wstring& path) {
  if (File* file = FindFile(path)) {
    file->lockedUntil = 0;
  }
}

bool SimMachine::WaitForLock(const std::wstring& path, std::uint64_t microseconds) {
  const File* file = FindFile(path);
  if (file == nullptr || file->lockedUntil <= steadyNow_) {
    return true;
  }
  if (file->lockedUntil - steadyNow_ <= microseconds) {
    steadyNow_ = file->lockedUntil;
    return true;
  }
  steadyNow_ += microseconds;
  return false;
}

// As under Wine, another program's lock on the bytes only keeps other writers from the writers'
// lock; the change record's append then writes without it after its second.
bool SimMachine::AppendToFile(const std::wstring& path, const std::string& bytes) {
  const Status refusal = WriteRefusal(FileKey(path));
  if (refusal != kErrorSuccess) {
    return Fail(refusal);
  }
  WaitForLock(path, 1'000'000);
  File& file = FileAt(path);
  file.bytes += bytes;
  Written(file);
  return true;
}

bool SimMachine::AppendToFileUnlessLocked(const std::wstring& path, const std::string& bytes,
                                          std::uint32_t waitMilliseconds) {
  const Status refusal = WriteRefusal(FileKey(path));
  if (refusal != kErrorSuccess) {
    return Fail(refusal);
  }
  if (!WaitForLock(path, std::uint64_t{waitMilliseconds} * 1000)) {
    return Fail(kErrorLockViolation);
  }
  File& file = FileAt(path);
  file.bytes += bytes;
  Written(file);
  return true;
}

bool SimMachine::FileSha256(const std::wstring& path, std::string& hexDigest) {
  hexDigest.clear();
  const File* file = Opened(path);
  if (file == nullptr) {
    return false;
  }
  hexDigest = RememberedSha256(file->bytes);
  return true;
}

bool SimMachine::ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) {
  names.clear();
  std::wstring key = FileKey(folder);
  while (!key.empty() && key.back() == L'\\') {
    key.pop_back();
  }
  if (!FolderExists(key)) {
    return Fail(kErrorPathNotFound);
  }
  const std::wstring prefix = key + L'\\';
  for (auto file = files_.lower_bound(prefix);
       file != files_.end() && file->first.starts_with(prefix); ++file) {
    if (file->first.find(L'\\', prefix.size()) == std::wstring::npos) {
      names.push_back(file->second.name);
    }
  }
  return true;
}

bool SimMachine::InUse(const std::wstring& key) const {
  return std::any_of(processes_.begin(), processes_.end(), [&](const SimProcess& process) {
    return process.running &&
           (FileKey(process.modulePath) == key || FileKey(process.exeFile) == key);
  });
}

// A running program's executable is open without sharing its writes.
Status SimMachine::WriteRefusal(const std::wstring& key) const {
  const auto file = files_.find(key);
  if (!ParentExists(key)) {
    return kErrorPathNotFound;
  }
  if (InUse(key)) {
    return kErrorSharingViolation;
  }
  const bool readOnly = file != files_.end() && (file->second.attributes & kAttributeReadOnly) != 0;
  return readOnly || folders_.count(key) != 0 ? kErrorAccessDenied : kErrorSuccess;
}

Status SimMachine::Missing(const std::wstring& key) const {
  return ParentExists(key) ? kErrorFileNotFound : kErrorPathNotFound;
}

SimMachine::File* SimMachine::FindFile(const std::wstring& path) {
  auto file = files_.find(FileKey(path));
  return file == files_.end() ? nullptr : &file->second;
}

bool SimMachine::ParentExists(const std::wstring& key) const {
  const std::size_t slash = key.rfind(L'\\');
  return slash != std::wstring::npos && FolderExists(key.substr(0, slash));
}

bool SimMachine::WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const Status refusal = WriteRefusal(FileKey(path));
  if (refusal != kErrorSuccess) {
    return Fail(refusal);
  }
  File& file = FileAt(path);
  file.bytes = bytes;
  Written(file);
  return true;
}

bool SimMachine::CopyFileW(const std::wstring& existing, const std::wstring& target,
                           bool failIfExists) {
  const File* source = Opened(existing);
  if (source == nullptr) {
    return false;
  }
  if (failIfExists && FindFile(target) != nullptr) {
    return Fail(kErrorFileExists);
  }
  const Status refusal = WriteRefusal(FileKey(target));
  if (refusal != kErrorSuccess) {
    return Fail(refusal);
  }
  // The copy takes the source's attributes: a read-only file's copy is read-only too. (Wine gives
  // a file it replaces no new attributes.) A file it replaces keeps its name.
  File& copy = FileAt(target);
  copy.bytes = source->bytes;
  copy.attributes = source->attributes;
  copy.lastWriteTime = source->lastWriteTime;  // a copy keeps the time of what it copies
  if (damageCopies_) {
    copy.bytes += '\x01';
  }
  return true;
}

bool SimMachine::SetFileAttributesW(const std::wstring& path, std::uint32_t attributes) {
  File* file = FindFile(path);
  if (file == nullptr) {
    return Fail(Missing(FileKey(path)));
  }
  file->attributes = attributes;
  return true;
}

bool SimMachine::DeleteFileW(const std::wstring& path) {
  const File* file = Opened(path);
  const std::wstring key = FileKey(path);
  if (file == nullptr) {
    return false;
  }
  // Windows refuses to delete a read-only file or a running program's executable.
  if ((file->attributes & kAttributeReadOnly) != 0 || InUse(key)) {
    return Fail(kErrorAccessDenied);
  }
  files_.erase(key);
  return true;
}

bool SimMachine::CreateDirectoryW(const std::wstring& path) {
  std::wstring key = FileKey(path);
  while (!key.empty() && key.back() == L'\\') {
    key.pop_back();
  }
  if (FolderExists(key) || files_.count(key) != 0) {
    return Fail(kErrorAlreadyExists);
  }
  if (!ParentExists(key)) {
    return Fail(kErrorPathNotFound);
  }
  folders_.insert(key);
  return true;
}

bool SimMachine::MoveFileExW(const std::wstring& existing, const std::wstring& target) {
  const File* source = Opened(existing);
  const std::wstring from = FileKey(existing);
  const std::wstring to = FileKey(target);
  if (source == nullptr) {
    return false;
  }
  if (InUse(from)) {
    return Fail(kErrorSharingViolation);
  }
  // Windows refuses to replace a read-only file here (Wine does not).
  const Status refusal = WriteRefusal(to);
  if (refusal != kErrorSuccess) {
    return Fail(refusal);
  }
  const File moved = *source;
  files_.erase(from);
  files_.erase(to);
  File& renamed = FileAt(target);  // named as the target now
  renamed.bytes = moved.bytes;
  renamed.attributes = moved.attributes;
  renamed.lastWriteTime = moved.lastWriteTime;
  return true;
}

bool SimMachine::MoveFileW(const std::wstring& existing, const std::wstring& target) {
  const File* source = Opened(existing);
  if (source == nullptr) {
    return false;
  }
  const std::wstring to = FileKey(target);
  if (files_.count(to) != 0 || FolderExists(to)) {
    return Fail(kErrorAlreadyExists);
  }
  if (!ParentExists(to)) {
    return Fail(kErrorPathNotFound);
  }
  const File moved = *source;
  files_.erase(FileKey(existing));
  File& renamed = FileAt(target);  // named as the target now
  renamed.bytes = moved.bytes;
  renamed.attributes = moved.attributes;
  renamed.lastWriteTime = moved.lastWriteTime;
  return true;
}

bool SimMachine::GetTempFileNameW(const std::wstring& folder, const std::wstring& prefix,
                                  std::wstring& path) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') {
    base += L'\\';
  }
  if (!FolderExists(FileKey(base.substr(0, base.size() - 1)))) {
    return Fail(kErrorPathNotFound);
  }
  do {
    wchar_t unique[8];
    std::swprintf(unique, 8, L"%X", nextTempName_++);
    path = base + prefix.substr(0, 3) + unique + L".tmp";
  } while (FindFile(path) != nullptr);
  FileAt(path);
  return true;
}

}  // namespace quellspur::platform::sim
