// The simulated machine's files, with Windows' path rules: case-insensitive, either slash, a
// running program's executable that cannot be deleted or replaced, read-only files that only
// change when their attributes do, and folders that are no files.
#include <algorithm>
#include <cwchar>

#include "platform/sha256.h"
#include "platform/text_lines.h"
#include "testing/sim_machine.h"

namespace quellspur::platform::sim {

void SimMachine::PutFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring key = FileKey(path);
  AddFolders(key.substr(0, key.rfind(L'\\')));
  File& file = FileAt(path);
  file.bytes = bytes;
  file.attributes = kAttributeArchive;
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

bool SimMachine::GetFileLength(const std::wstring& path, std::uint64_t& length) {
  auto file = files_.find(FileKey(path));
  if (file == files_.end()) {
    return false;
  }
  length = file->second.bytes.size();
  return true;
}

bool SimMachine::ReadFileAt(const std::wstring& path, std::uint64_t offset, std::uint32_t count,
                            std::string& bytes) {
  bytes.clear();
  auto file = files_.find(FileKey(path));
  if (file == files_.end()) {
    return false;
  }
  if (offset < file->second.bytes.size()) {
    bytes = file->second.bytes.substr(static_cast<std::size_t>(offset), count);
  }
  return true;
}

bool SimMachine::AppendToFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring key = FileKey(path);
  if (!Writable(key)) {
    return false;
  }
  FileAt(path).bytes += bytes;
  return true;
}

bool SimMachine::FileSha256(const std::wstring& path, std::string& hexDigest) {
  hexDigest.clear();
  const File* file = FindFile(path);
  if (file == nullptr) {
    return false;
  }
  hexDigest = Sha256Hex(file->bytes);
  return true;
}

bool SimMachine::ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) {
  names.clear();
  std::wstring key = FileKey(folder);
  while (!key.empty() && key.back() == L'\\') {
    key.pop_back();
  }
  if (!FolderExists(key)) {
    return false;
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

bool SimMachine::Writable(const std::wstring& key) const {
  const auto file = files_.find(key);
  return ParentExists(key) && folders_.count(key) == 0 && !InUse(key) &&
         (file == files_.end() || (file->second.attributes & kAttributeReadOnly) == 0);
}

SimMachine::File* SimMachine::FindFile(const std::wstring& path) {
  auto file = files_.find(FileKey(path));
  return file == files_.end() ? nullptr : &file->second;
}

bool SimMachine::ParentExists(const std::wstring& key) const {
  const std::size_t slash = key.rfind(L'\\');
  return slash != std::wstring::npos && FolderExists(key.substr(0, slash));
}

bool SimMachine::ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines) {
  lines.clear();
  const File* file = FindFile(path);
  if (file == nullptr) {
    return false;
  }
  const std::string& bytes = file->bytes;
  for (std::string_view line : SplitLines(bytes)) {
    lines.push_back(AnsiToWide(line));
  }
  return true;
}

bool SimMachine::WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring key = FileKey(path);
  if (!Writable(key)) {
    return false;
  }
  FileAt(path).bytes = bytes;
  return true;
}

bool SimMachine::CopyFileW(const std::wstring& existing, const std::wstring& target,
                           bool failIfExists) {
  const File* source = FindFile(existing);
  const std::wstring key = FileKey(target);
  if (source == nullptr || !Writable(key) || (failIfExists && FindFile(target) != nullptr)) {
    return false;
  }
  // The copy takes the source's attributes: a read-only file's copy is read-only too. (Wine gives
  // a file it replaces no new attributes.) A file it replaces keeps its name.
  File& copy = FileAt(target);
  copy.bytes = source->bytes;
  copy.attributes = source->attributes;
  return true;
}

bool SimMachine::SetFileAttributesW(const std::wstring& path, std::uint32_t attributes) {
  File* file = FindFile(path);
  if (file == nullptr) {
    return false;
  }
  file->attributes = attributes;
  return true;
}

bool SimMachine::DeleteFileW(const std::wstring& path) {
  const File* file = FindFile(path);
  const std::wstring key = FileKey(path);
  if (file == nullptr || (file->attributes & kAttributeReadOnly) != 0 || InUse(key)) {
    return false;
  }
  files_.erase(key);
  return true;
}

bool SimMachine::CreateDirectoryW(const std::wstring& path) {
  std::wstring key = FileKey(path);
  while (!key.empty() && key.back() == L'\\') {
    key.pop_back();
  }
  if (FolderExists(key) || files_.count(key) != 0 || !ParentExists(key)) {
    return false;
  }
  folders_.insert(key);
  return true;
}

bool SimMachine::MoveFileExW(const std::wstring& existing, const std::wstring& target) {
  const File* source = FindFile(existing);
  const std::wstring from = FileKey(existing);
  const std::wstring to = FileKey(target);
  // Windows refuses to replace a read-only file here (Wine does not).
  if (source == nullptr || InUse(from) || !Writable(to)) {
    return false;
  }
  const File moved = *source;
  files_.erase(from);
  files_.erase(to);
  File& renamed = FileAt(target);  // named as the target now
  renamed.bytes = moved.bytes;
  renamed.attributes = moved.attributes;
  return true;
}

bool SimMachine::GetTempFileNameW(const std::wstring& folder, const std::wstring& prefix,
                                  std::wstring& path) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') {
    base += L'\\';
  }
  if (!FolderExists(FileKey(base.substr(0, base.size() - 1)))) {
    return false;
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
