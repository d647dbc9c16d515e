#include "platform/sim/sim_machine.h"

#include <algorithm>
#include <cwchar>
#include <stdexcept>

#include "platform/sim/windows_1252.h"
#include "platform/text.h"
#include "platform/text_lines.h"

namespace quellspur::platform::sim {
namespace {

constexpr std::uint32_t kKeyQueryValue = 0x1;
constexpr std::uint32_t kKeySetValue = 0x2;
constexpr std::uint32_t kProcessTerminate = 0x1;

template <typename Values>
auto FindValue(Values& values, const std::wstring& name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const SimValue& v) { return UpperCase(v.name) == UpperCase(name); });
}

// Value names are case-insensitive; a value written again keeps its place.
void StoreValue(std::vector<SimValue>& values, const std::wstring& name, std::uint32_t type,
                const std::string& data) {
  const auto existing = FindValue(values, name);
  if (existing != values.end()) {
    existing->type = type;
    existing->data = data;
  } else {
    values.push_back(SimValue{name, type, data});
  }
}

}  // namespace

SimMachine::SimMachine() {
  // A desktop with its shell and the program itself running, as at any log-on.
  const std::uint32_t shell = StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  selfId_ = StartProcess(L"C:\\Program Files\\Quellspur\\Quellspur.exe", shell);
  PutFile(L"C:\\WINDOWS\\EXPLORER.EXE", std::string(2048, 'E'));
  PutFile(L"C:\\Program Files\\Quellspur\\Quellspur.exe", std::string(4096, 'Q'));
}

// --- Setting the scene ---

std::uint32_t SimMachine::StartProcess(const std::wstring& exeFile, std::uint32_t parentId) {
  SimProcess process;
  process.id = nextProcessId_;
  nextProcessId_ += 4;  // Windows hands out ids in steps of four
  process.parentId = parentId;
  process.exeFile = exeFile;
  process.modulePath = exeFile;
  processes_.push_back(process);
  return process.id;
}

SimProcess& SimMachine::Process(std::uint32_t id) {
  SimProcess* process = FindProcess(id);
  if (process == nullptr) {
    throw std::out_of_range("no such simulated process");
  }
  return *process;
}

void SimMachine::EndProcess(std::uint32_t id, std::uint32_t exitCode) {
  SimProcess& process = Process(id);
  process.running = false;
  process.exitCode = exitCode;
  std::erase_if(windows_, [id](const SimTopLevelWindow& window) { return window.processId == id; });
}

void SimMachine::SetRegistryValue(RegKey root, const std::wstring& subKey, const std::wstring& name,
                                  std::uint32_t type, const std::string& data) {
  StoreValue(CreateKeyPath(KeyPath(root, subKey)).values, name, type, data);
}

void SimMachine::SetRegistryText(RegKey root, const std::wstring& subKey, const std::wstring& name,
                                 const std::wstring& text) {
  SetRegistryValue(root, subKey, name, kRegSz, EncodeWindows1252(text) + '\0');
}

void SimMachine::DenyKeyRights(RegKey root, const std::wstring& subKey, std::uint32_t rights) {
  CreateKeyPath(KeyPath(root, subKey)).deniedRights = rights;
}

std::vector<SimValue> SimMachine::RegistryValues(RegKey root, const std::wstring& subKey) const {
  auto key = keys_.find(KeyPath(root, subKey));
  return key == keys_.end() ? std::vector<SimValue>{} : key->second.values;
}

void SimMachine::DeleteKeyTree(RegKey root, const std::wstring& subKey) {
  const std::wstring path = KeyPath(root, subKey);
  std::erase_if(keys_, [&](const auto& key) {
    return key.first == path || key.first.starts_with(path + L"\\");
  });
}

bool SimMachine::KeyExists(RegKey root, const std::wstring& subKey) const {
  return keys_.count(KeyPath(root, subKey)) != 0;
}

WindowHandle SimMachine::ShowWindow(const std::wstring& className, const std::wstring& caption,
                                    std::uint32_t processId) {
  const WindowHandle handle = nextWindow_;
  nextWindow_ += 0x10;
  windows_.insert(windows_.begin(),
                  SimTopLevelWindow{handle, className, caption, processId, processId + 1});
  return handle;
}

void SimMachine::CloseWindow(WindowHandle window) {
  std::erase_if(windows_, [window](const SimTopLevelWindow& w) { return w.handle == window; });
}

void SimMachine::PutFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring key = FileKey(path);
  AddFolders(key.substr(0, key.rfind(L'\\')));
  files_[key] = File{bytes, kAttributeArchive};
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

// --- Processes ---

SimProcess* SimMachine::FindProcess(std::uint32_t id) {
  auto found = std::find_if(processes_.begin(), processes_.end(),
                            [id](const SimProcess& p) { return p.id == id; });
  return found == processes_.end() ? nullptr : &*found;
}

bool SimMachine::HeldByProgram(std::uint32_t processId) const {
  return std::any_of(handles_.begin(), handles_.end(), [processId](const auto& entry) {
    return entry.second.kind == KernelObject::Kind::Process && entry.second.processId == processId;
  });
}

// An ended process lives on as an object for as long as anyone holds a handle to it.
bool SimMachine::Reachable(const SimProcess& process) const {
  return process.running || process.outsideHolders > 0 || HeldByProgram(process.id);
}

Handle SimMachine::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t) {
  if (faults_.Fails(Call::CreateToolhelp32Snapshot) || (flags & kSnapProcess) == 0) {
    return 0;
  }
  KernelObject snapshot;
  for (const SimProcess& process : processes_) {
    if (process.running) {
      snapshot.entries.push_back(ProcessEntry{process.id, process.parentId, process.exeFile});
    }
  }
  const Handle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = std::move(snapshot);
  return handle;
}

bool SimMachine::NextEntry(Handle snapshot, ProcessEntry& entry, bool first) {
  auto object = handles_.find(snapshot);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Snapshot) {
    return false;
  }
  KernelObject& walk = object->second;
  if (first) {
    walk.next = 0;
  }
  if (walk.next >= walk.entries.size()) {
    return false;
  }
  entry = walk.entries[walk.next++];
  return true;
}

bool SimMachine::Process32First(Handle snapshot, ProcessEntry& entry) {
  return !faults_.Fails(Call::Process32First) && NextEntry(snapshot, entry, true);
}

bool SimMachine::Process32Next(Handle snapshot, ProcessEntry& entry) {
  return !faults_.Fails(Call::Process32Next) && NextEntry(snapshot, entry, false);
}

Handle SimMachine::OpenProcess(std::uint32_t desiredAccess, bool, std::uint32_t processId) {
  if (faults_.Fails(Call::OpenProcess)) {
    return 0;
  }
  const SimProcess* process = FindProcess(processId);
  if (process == nullptr || process->refusesOpen || !Reachable(*process)) {
    return 0;
  }
  KernelObject object;
  object.kind = KernelObject::Kind::Process;
  object.processId = processId;
  object.access = desiredAccess;
  const Handle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = object;
  return handle;
}

std::uint32_t SimMachine::GetModuleFileNameExA(Handle process, std::uint32_t bufferChars,
                                               std::wstring& path) {
  path.clear();
  if (faults_.Fails(Call::GetModuleFileNameExA) || bufferChars == 0) {
    return 0;
  }
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process ||
      (object->second.access & kProcessQueryAndRead) != kProcessQueryAndRead) {
    return 0;
  }
  const SimProcess* target = FindProcess(object->second.processId);
  if (target == nullptr || !target->running) {
    return 0;  // an ended process has no modules left to name
  }
  // A path cut to the buffer keeps room for its terminating zero, and the count then is the
  // whole buffer.
  if (target->modulePath.size() >= bufferChars) {
    path = target->modulePath.substr(0, bufferChars - 1);
    return bufferChars;
  }
  path = target->modulePath;
  return static_cast<std::uint32_t>(path.size());
}

bool SimMachine::TerminateProcess(Handle process, std::uint32_t exitCode) {
  if (faults_.Fails(Call::TerminateProcess)) {
    return false;
  }
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process ||
      (object->second.access & kProcessTerminate) == 0) {
    return false;
  }
  SimProcess* target = FindProcess(object->second.processId);
  if (target == nullptr || target->refusesTermination) {
    return false;
  }
  if (target->running) {
    EndProcess(target->id, exitCode);
  }
  return true;
}

bool SimMachine::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  if (faults_.Fails(Call::GetExitCodeProcess)) {
    return false;
  }
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process) {
    return false;
  }
  const SimProcess* target = FindProcess(object->second.processId);
  if (target == nullptr) {
    return false;
  }
  exitCode = target->running ? kStillActive : target->exitCode;
  return true;
}

bool SimMachine::CloseHandle(Handle handle) {
  if (faults_.Fails(Call::CloseHandle)) {
    return false;
  }
  return handles_.erase(handle) == 1;
}

// --- Registry ---

std::wstring SimMachine::KeyPath(RegKey root, const std::wstring& subKey) const {
  std::wstring path = root == kHkeyCurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
  if (!subKey.empty()) {
    path += L"\\" + subKey;
  }
  return UpperCase(path);
}

SimMachine::Key& SimMachine::CreateKeyPath(const std::wstring& path) {
  // Every key above it exists as well, as after RegCreateKeyEx.
  for (std::size_t slash = path.find(L'\\'); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    keys_.try_emplace(path.substr(0, slash));
  }
  return keys_[path];
}

SimMachine::Key* SimMachine::FindKey(RegKey key, std::uint32_t requiredRights, Status& status) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) {
    status = kErrorInvalidHandle;
    return nullptr;
  }
  if ((open->second.access & requiredRights) != requiredRights) {
    status = kErrorAccessDenied;
    return nullptr;
  }
  status = kErrorSuccess;
  return &keys_[open->second.path];
}

Status SimMachine::RegOpenKeyExA(RegKey root, const std::wstring& subKey, std::uint32_t,
                                 std::uint32_t access, RegKey& key) {
  key = 0;
  if (faults_.Fails(Call::RegOpenKeyExA)) {
    return kErrorAccessDenied;
  }
  if (root != kHkeyCurrentUser && root != kHkeyLocalMachine) {
    return kErrorInvalidHandle;
  }
  const std::wstring path = KeyPath(root, subKey);
  auto found = keys_.find(path);
  if (found == keys_.end() && !subKey.empty()) {
    return kErrorFileNotFound;
  }
  if (found != keys_.end() && (found->second.deniedRights & access) != 0) {
    return kErrorAccessDenied;
  }
  keys_.try_emplace(path);
  key = nextKey_++;
  openKeys_[key] = OpenKey{path, access};
  return kErrorSuccess;
}

Status SimMachine::RegEnumValueA(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                                 std::uint32_t dataBytes, EnumeratedValue& value) {
  if (faults_.Fails(Call::RegEnumValueA)) {
    return kErrorAccessDenied;
  }
  Status status = kErrorSuccess;
  const Key* found = FindKey(key, kKeyQueryValue, status);
  if (found == nullptr) {
    return status;
  }
  if (index >= found->values.size()) {
    return kErrorNoMoreItems;
  }
  const SimValue& stored = found->values[index];
  // The name buffer must hold the name and its terminating zero.
  if (EncodeWindows1252(stored.name).size() >= nameChars || stored.data.size() > dataBytes) {
    return kErrorMoreData;
  }
  value = EnumeratedValue{stored.name, stored.type, stored.data};
  return kErrorSuccess;
}

Status SimMachine::RegQueryValueExA(RegKey key, const std::wstring& valueName,
                                    std::uint32_t dataBytes, std::uint32_t& type,
                                    std::string& data) {
  if (faults_.Fails(Call::RegQueryValueExA)) {
    return kErrorAccessDenied;
  }
  Status status = kErrorSuccess;
  const Key* found = FindKey(key, kKeyQueryValue, status);
  if (found == nullptr) {
    return status;
  }
  const auto value = FindValue(found->values, valueName);
  if (value == found->values.end()) {
    return kErrorFileNotFound;
  }
  if (value->data.size() > dataBytes) {
    return kErrorMoreData;
  }
  type = value->type;
  data = value->data;
  return kErrorSuccess;
}

Status SimMachine::RegCloseKey(RegKey key) {
  if (faults_.Fails(Call::RegCloseKey)) {
    return kErrorInvalidHandle;
  }
  return openKeys_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

Status SimMachine::RegCreateKeyExA(RegKey root, const std::wstring& subKey, std::uint32_t access,
                                   RegKey& key) {
  key = 0;
  if (faults_.Fails(Call::RegCreateKeyExA)) {
    return kErrorAccessDenied;
  }
  if (root != kHkeyCurrentUser && root != kHkeyLocalMachine) {
    return kErrorInvalidHandle;
  }
  const std::wstring path = KeyPath(root, subKey);
  auto found = keys_.find(path);
  if (found != keys_.end() && (found->second.deniedRights & access) != 0) {
    return kErrorAccessDenied;
  }
  CreateKeyPath(path);
  key = nextKey_++;
  openKeys_[key] = OpenKey{path, access};
  return kErrorSuccess;
}

Status SimMachine::RegSetValueExA(RegKey key, const std::wstring& valueName, std::uint32_t type,
                                  const std::string& data) {
  if (faults_.Fails(Call::RegSetValueExA)) {
    return kErrorAccessDenied;
  }
  Status status = kErrorSuccess;
  Key* found = FindKey(key, kKeySetValue, status);
  if (found == nullptr) {
    return status;
  }
  // Text that does not end in a zero gets one, as Windows NT stores it: the caller's buffer always
  // has one just past the data.
  const bool text = type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
  StoreValue(found->values, valueName, type,
             text && !data.empty() && data.back() != '\0' ? data + '\0' : data);
  return kErrorSuccess;
}

Status SimMachine::RegDeleteValueA(RegKey key, const std::wstring& valueName) {
  if (faults_.Fails(Call::RegDeleteValueA)) {
    return kErrorAccessDenied;
  }
  Status status = kErrorSuccess;
  Key* found = FindKey(key, kKeySetValue, status);
  if (found == nullptr) {
    return status;
  }
  const auto existing = FindValue(found->values, valueName);
  if (existing == found->values.end()) {
    return kErrorFileNotFound;
  }
  found->values.erase(existing);
  return kErrorSuccess;
}

// --- Files ---

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

bool SimMachine::GetFileLength(const std::wstring& path, std::uint64_t& length) {
  if (faults_.Fails(Call::GetFileLength)) {
    return false;
  }
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
  if (faults_.Fails(Call::ReadFileAt)) {
    return false;
  }
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
  if (faults_.Fails(Call::AppendToFile)) {
    return false;
  }
  const std::wstring key = FileKey(path);
  if (!FolderExists(key.substr(0, key.rfind(L'\\')))) {
    return false;
  }
  files_[key].bytes += bytes;
  if (appendJournal_ != nullptr) {
    appendJournal_->Record(L"Append " + FileNameOf(path));
  }
  return true;
}

bool SimMachine::InUse(const std::wstring& key) const {
  return std::any_of(processes_.begin(), processes_.end(), [&](const SimProcess& process) {
    return process.running &&
           (FileKey(process.modulePath) == key || FileKey(process.exeFile) == key);
  });
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
  const File* file = faults_.Fails(Call::ReadTextLines) ? nullptr : FindFile(path);
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
  if (faults_.Fails(Call::WriteWholeFile) || !ParentExists(key) || InUse(key)) {
    return false;
  }
  File* existing = FindFile(path);
  if (existing != nullptr && (existing->attributes & kAttributeReadOnly) != 0) {
    return false;
  }
  files_[key].bytes = bytes;
  return true;
}

bool SimMachine::CopyFileA(const std::wstring& existing, const std::wstring& target,
                           bool failIfExists) {
  const File* source = faults_.Fails(Call::CopyFileA) ? nullptr : FindFile(existing);
  const std::wstring key = FileKey(target);
  if (source == nullptr || !ParentExists(key) || InUse(key)) {
    return false;
  }
  if (failIfExists && FindFile(target) != nullptr) {
    return false;
  }
  // As under Wine: a read-only target is replaced all the same, and the copy is not read-only.
  files_[key] = File{source->bytes, kAttributeArchive};
  return true;
}

bool SimMachine::SetFileAttributesA(const std::wstring& path, std::uint32_t attributes) {
  File* file = faults_.Fails(Call::SetFileAttributesA) ? nullptr : FindFile(path);
  if (file == nullptr) {
    return false;
  }
  file->attributes = attributes;
  return true;
}

bool SimMachine::DeleteFileA(const std::wstring& path) {
  const File* file = faults_.Fails(Call::DeleteFileA) ? nullptr : FindFile(path);
  const std::wstring key = FileKey(path);
  if (file == nullptr || (file->attributes & kAttributeReadOnly) != 0 || InUse(key)) {
    return false;
  }
  files_.erase(key);
  return true;
}

bool SimMachine::CreateDirectoryA(const std::wstring& path) {
  std::wstring key = FileKey(path);
  while (!key.empty() && key.back() == L'\\') {
    key.pop_back();
  }
  if (faults_.Fails(Call::CreateDirectoryA) || FolderExists(key) || files_.count(key) != 0 ||
      !ParentExists(key)) {
    return false;
  }
  folders_.insert(key);
  return true;
}

bool SimMachine::MoveFileExA(const std::wstring& existing, const std::wstring& target) {
  const File* source = faults_.Fails(Call::MoveFileExA) ? nullptr : FindFile(existing);
  const std::wstring from = FileKey(existing);
  const std::wstring to = FileKey(target);
  if (source == nullptr || InUse(from) || InUse(to) || !ParentExists(to)) {
    return false;
  }
  const File* replaced = FindFile(target);
  if (replaced != nullptr && (replaced->attributes & kAttributeReadOnly) != 0) {
    return false;
  }
  File moved = *source;
  files_.erase(from);
  files_[to] = std::move(moved);
  return true;
}

bool SimMachine::GetTempFileNameA(const std::wstring& folder, const std::wstring& prefix,
                                  std::wstring& path) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') {
    base += L'\\';
  }
  if (faults_.Fails(Call::GetTempFileNameA) ||
      !FolderExists(FileKey(base.substr(0, base.size() - 1)))) {
    return false;
  }
  do {
    wchar_t unique[8];
    std::swprintf(unique, 8, L"%X", nextTempName_++);
    path = base + prefix.substr(0, 3) + unique + L".tmp";
  } while (FindFile(path) != nullptr);
  files_[FileKey(path)] = File{};
  return true;
}

// --- System ---

bool SimMachine::GetVersionExA(OsVersionInfo& info) {
  // The call accepts the record's two published sizes only.
  if (faults_.Fails(Call::GetVersionExA) || (info.size != kOsVersionInfoSize && info.size != 156)) {
    return false;
  }
  const bool nt = platformId_ == kPlatformNt;
  info.majorVersion = nt ? 6 : 4;
  info.minorVersion = nt ? 1 : 10;
  info.buildNumber = nt ? 7601 : 2222;
  info.platformId = platformId_;
  return true;
}

std::uint32_t SimMachine::GetWindowsDirectoryA(std::uint32_t bufferChars, std::wstring& folder) {
  const auto length = static_cast<std::uint32_t>(windowsDirectory_.size());
  if (length >= bufferChars) {
    return length + 1;  // the size a buffer needs, its zero included
  }
  folder = windowsDirectory_;
  return length;
}

bool SimMachine::CreateMutexA(const std::wstring& name, bool& alreadyExists) {
  alreadyExists = !mutexes_.insert(UpperCase(name)).second;
  return true;
}

std::wstring SimMachine::AnsiToWide(std::string_view ansi) {
  return DecodeWindows1252(ansi);
}

std::string SimMachine::WideToAnsi(std::wstring_view text) {
  return EncodeWindows1252(text);
}

}  // namespace quellspur::platform::sim

namespace quellspur::platform::sim {

// --- Windows ---

// Class names and captions are compared without regard to case, as Windows does.
WindowHandle SimMachine::FindWindowA(const std::optional<std::wstring>& className,
                                     const std::optional<std::wstring>& windowName) {
  if (faults_.Fails(Call::FindWindowA)) {
    return 0;
  }
  auto matches = [&](const SimTopLevelWindow& window) {
    return (!className || UpperCase(*className) == UpperCase(window.className)) &&
           (!windowName || UpperCase(*windowName) == UpperCase(window.caption));
  };
  auto found = std::find_if(windows_.begin(), windows_.end(), matches);
  return found == windows_.end() ? 0 : found->handle;
}

std::uint32_t SimMachine::GetWindowThreadProcessId(WindowHandle window, std::uint32_t& processId) {
  if (faults_.Fails(Call::GetWindowThreadProcessId)) {
    return 0;
  }
  auto found = std::find_if(windows_.begin(), windows_.end(),
                            [window](const SimTopLevelWindow& w) { return w.handle == window; });
  if (found == windows_.end()) {
    return 0;
  }
  processId = found->processId;
  return found->threadId;
}

}  // namespace quellspur::platform::sim
