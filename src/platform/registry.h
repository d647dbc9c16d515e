// The registry, through the 8-bit calls of advapi32.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace quellspur::platform {

// One value as RegEnumValueW delivers it.
struct EnumeratedValue {
  std::wstring name;  // the name buffer up to its first zero
  std::uint32_t type = 0;
  std::string data;  // exactly the bytes delivered, in the ANSI code page for text types
};

class Registry {
 public:
  virtual ~Registry() = default;

  virtual Status RegOpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& key) = 0;
  // Delivers value `index` into buffers of nameChars characters and dataBytes bytes. A name or data
  // that does not fit gives kErrorMoreData; past the last value kErrorNoMoreItems.
  virtual Status RegEnumValueW(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                               std::uint32_t dataBytes, EnumeratedValue& value) = 0;
  virtual Status RegCloseKey(RegKey key) = 0;
  // Delivers the named value's type and data into a buffer of dataBytes bytes; data that does not
  // fit gives kErrorMoreData, a missing value kErrorFileNotFound.
  virtual Status RegQueryValueExW(RegKey key, const std::wstring& valueName,
                                  std::uint32_t dataBytes, std::uint32_t& type,
                                  std::string& data) = 0;

  // Creates the key and any missing keys above it, or opens it when it exists.
  virtual Status RegCreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access,
                                 RegKey& key) = 0;
  virtual Status RegSetValueExW(RegKey key, const std::wstring& valueName, std::uint32_t type,
                                const std::string& data) = 0;
  virtual Status RegDeleteValueW(RegKey key, const std::wstring& valueName) = 0;
};

}  // namespace quellspur::platform
