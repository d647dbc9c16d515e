// The registry through advapi32's UTF-16 calls.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "platform/text.h"
#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

static_assert(sizeof(RegKey) == sizeof(HKEY));
static_assert(sizeof(Status) == sizeof(LONG));

namespace {

// The predefined roots are 32-bit negative numbers that a 64-bit HKEY holds sign-extended, while
// RegKey keeps them as 0x8000000x.
bool IsPredefinedRoot(RegKey key) {
  return key >= 0x80000000u && key <= 0x800000FFu;
}

HKEY ToHkey(RegKey key) {
  if (IsPredefinedRoot(key)) {
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(key));
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(low));
  }
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) {
  return reinterpret_cast<RegKey>(key);
}

}  // namespace

Status Win32Os::RegOpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t options,
                              std::uint32_t access, RegKey& key) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExW(ToHkey(root), subKey.c_str(), options, access, &opened);
  key = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
  return status;
}

Status Win32Os::RegEnumValueW(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                              std::uint32_t dataBytes, EnumeratedValue& value) {
  // A scan reads thousands of values, nearly all of them short: these go through buffers on the
  // stack and into the caller's strings, which keep their room from one value to the next.
  wchar_t shortName[256];
  char shortData[1024];
  std::wstring longName;
  std::string longData;
  wchar_t* name = shortName;
  char* data = shortData;
  if (nameChars > std::size(shortName)) {
    longName.resize(nameChars);
    name = longName.data();
  }
  if (dataBytes > sizeof(shortData)) {
    longData.resize(dataBytes);
    data = longData.data();
  }
  DWORD nameLength = nameChars;
  DWORD dataLength = dataBytes;
  DWORD type = 0;
  const LONG status = ::RegEnumValueW(ToHkey(key), index, name, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &dataLength);
  if (status != ERROR_SUCCESS) {
    return status;
  }
  value.name = UpToFirstZero(std::wstring_view(name, std::min<std::size_t>(nameLength, nameChars)));
  value.type = type;
  value.data.assign(data, std::min<std::size_t>(dataLength, dataBytes));
  return status;
}

Status Win32Os::RegCloseKey(RegKey key) {
  return ::RegCloseKey(ToHkey(key));
}

Status Win32Os::RegCreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access,
                                RegKey& key) {
  wchar_t noClass[] = L"";
  SECURITY_ATTRIBUTES security{};
  HKEY created = nullptr;
  DWORD disposition = 0;
  const LONG status = ::RegCreateKeyExW(ToHkey(root), subKey.c_str(), 0, noClass, 0, access,
                                        &security, &created, &disposition);
  key = status == ERROR_SUCCESS ? FromHkey(created) : 0;
  return status;
}

Status Win32Os::RegQueryValueExW(RegKey key, const std::wstring& valueName, std::uint32_t dataBytes,
                                 std::uint32_t& type, std::string& data) {
  std::string buffer(dataBytes, '\0');
  DWORD length = dataBytes;
  DWORD delivered = 0;
  const LONG status = ::RegQueryValueExW(ToHkey(key), valueName.c_str(), nullptr, &delivered,
                                         reinterpret_cast<BYTE*>(buffer.data()), &length);
  if (status != ERROR_SUCCESS) {
    return status;
  }
  type = delivered;
  buffer.resize(std::min<std::size_t>(length, buffer.size()));
  data = std::move(buffer);
  return status;
}

Status Win32Os::RegSetValueExW(RegKey key, const std::wstring& valueName, std::uint32_t type,
                               const std::string& data) {
  // Windows stores one more character for text whose last character is not a zero when the
  // character behind it is one; two zero bytes behind the data make that so for every text.
  const std::string padded = data + std::string(2, '\0');
  return ::RegSetValueExW(ToHkey(key), valueName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(padded.data()),
                          static_cast<DWORD>(data.size()));
}

Status Win32Os::RegDeleteValueW(RegKey key, const std::wstring& valueName) {
  return ::RegDeleteValueW(ToHkey(key), valueName.c_str());
}

}  // namespace quellspur::platform::win32
