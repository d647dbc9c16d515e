// The simulated machine's registry: keys with per-key access denial and typed values of raw bytes.
#include <algorithm>

#include "testing/sim_machine.h"
#include "testing/windows_upper_case.h"

namespace quellspur::platform::sim {
namespace {

constexpr std::uint32_t kKeyQueryValue = 0x1;
constexpr std::uint32_t kKeySetValue = 0x2;

// Unit by unit, without building upper-case copies: tests fill keys with thousands of values.
template <typename Values>
auto FindValue(Values& values, const std::wstring& name) {
  return std::find_if(values.begin(), values.end(), [&](const SimValue& v) {
    return std::equal(
        v.name.begin(), v.name.end(), name.begin(), name.end(),
        [](wchar_t a, wchar_t b) { return WindowsUpperCase(a) == WindowsUpperCase(b); });
  });
}

// String-type data whose last character is not a zero gets one when the character behind the data
// is a zero, as Windows NT stores it; the caller's buffer always has zeros behind the data.
std::string Stored(std::uint32_t type, const std::string& data) {
  const std::string padded = data + std::string(3, '\0');
  const auto character = [&](std::size_t i) {
    return padded[2 * i] != 0 || padded[2 * i + 1] != 0;
  };
  const std::size_t behind = data.size() / 2;
  const bool addZero =
      IsStringType(type) && behind > 0 && character(behind - 1) && !character(behind);
  return addZero ? padded.substr(0, data.size() + 2) : data;
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

void SimMachine::SetRegistryValue(RegKey root, const std::wstring& subKey, const std::wstring& name,
                                  std::uint32_t type, const std::string& data) {
  StoreValue(CreateKeyPath(KeyPath(root, subKey)).values, name, type, data);
}

void SimMachine::SetRegistryText(RegKey root, const std::wstring& subKey, const std::wstring& name,
                                 const std::wstring& text) {
  SetRegistryValue(root, subKey, name, kRegSz, StringData(text));
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

std::wstring SimMachine::KeyPath(RegKey root, const std::wstring& subKey) const {
  std::wstring path = root == kHkeyCurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
  if (!subKey.empty()) {
    path += L"\\" + subKey;
  }
  return WindowsUpperCase(path);
}

std::wstring SimMachine::ViewedKeyPath(RegKey root, const std::wstring& subKey,
                                       std::uint32_t access) const {
  std::wstring path = KeyPath(root, subKey);
  const std::wstring software = L"HKEY_LOCAL_MACHINE\\SOFTWARE";
  const bool view32 = (access & kKeyWow64_64Key) == 0;  // a 32-bit program's own view
  if (wow64_ && view32 && (path == software || path.starts_with(software + L"\\"))) {
    path.insert(software.size(), L"\\WOW6432NODE");
  }
  return path;
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

Status SimMachine::RegOpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t,
                                 std::uint32_t access, RegKey& key) {
  key = 0;
  if (root != kHkeyCurrentUser && root != kHkeyLocalMachine) {
    return kErrorInvalidHandle;
  }
  const std::wstring path = ViewedKeyPath(root, subKey, access);
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

Status SimMachine::RegEnumValueW(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                                 std::uint32_t dataBytes, EnumeratedValue& value) {
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
  if (stored.name.size() >= nameChars || stored.data.size() > dataBytes) {
    return kErrorMoreData;
  }
  value.name = stored.name;
  value.type = stored.type;
  value.data = stored.data;
  return kErrorSuccess;
}

Status SimMachine::RegQueryValueExW(RegKey key, const std::wstring& valueName,
                                    std::uint32_t dataBytes, std::uint32_t& type,
                                    std::string& data) {
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
  return openKeys_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

Status SimMachine::RegCreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access,
                                   RegKey& key) {
  key = 0;
  if (root != kHkeyCurrentUser && root != kHkeyLocalMachine) {
    return kErrorInvalidHandle;
  }
  const std::wstring path = ViewedKeyPath(root, subKey, access);
  auto found = keys_.find(path);
  if (found != keys_.end() && (found->second.deniedRights & access) != 0) {
    return kErrorAccessDenied;
  }
  CreateKeyPath(path);
  key = nextKey_++;
  openKeys_[key] = OpenKey{path, access};
  return kErrorSuccess;
}

Status SimMachine::RegSetValueExW(RegKey key, const std::wstring& valueName, std::uint32_t type,
                                  const std::string& data) {
  Status status = kErrorSuccess;
  Key* found = FindKey(key, kKeySetValue, status);
  if (found == nullptr) {
    return status;
  }
  StoreValue(found->values, valueName, type, Stored(type, data));
  return kErrorSuccess;
}

Status SimMachine::RegDeleteValueW(RegKey key, const std::wstring& valueName) {
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

}  // namespace quellspur::platform::sim
