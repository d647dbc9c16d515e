#include "settings/registry_helpers.h"

#include <cstdint>

#include "platform/owners.h"
#include "platform/text.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kKeyWrite = 0x20006;
// 1024 characters of text.
constexpr std::uint32_t kReadBufferBytes = 2048;

// The four bytes of a number, least significant first; missing bytes count as zero.
std::uint32_t LittleEndian(const std::string& bytes) {
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) {
    number |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  }
  return number;
}

}  // namespace

bool GetRegValue(platform::Os& os, platform::RegKey root, const std::wstring& subKey,
                 const std::wstring& valueName, std::wstring& text) {
  platform::RegKey opened = 0;
  if (os.RegOpenKeyExW(root, subKey, 0, platform::kKeyRead, opened) != platform::kErrorSuccess) {
    text.clear();
    return false;
  }
  const platform::UniqueKey key(os, opened);
  std::uint32_t type = 0;
  std::string data;
  if (os.RegQueryValueExW(key.get(), valueName, kReadBufferBytes, type, data) !=
      platform::kErrorSuccess) {
    text.clear();
    return false;
  }
  if (type == platform::kRegSz) {
    text = platform::ValueText(os, type, data);
  } else if (type == platform::kRegDword) {
    text = DecimalText(LittleEndian(data));
  }
  return true;
}

void SetRegValue(platform::Os& os, platform::RegKey root, const std::wstring& subKey,
                 const std::wstring& valueName, const std::wstring& text) {
  platform::RegKey opened = 0;
  platform::Status status = os.RegOpenKeyExW(root, subKey, 0, kKeyWrite, opened);
  if (status == platform::kErrorFileNotFound) {
    status = os.RegCreateKeyExW(root, subKey, kKeyWrite, opened);
  }
  const platform::UniqueKey key(os, opened);
  if (status == platform::kErrorSuccess) {
    os.RegSetValueExW(key.get(), valueName, platform::kRegSz, platform::StringData(text));
  }
}

bool DeleteRegValue(platform::Os& os, platform::RegKey root, const std::wstring& subKey,
                    const std::wstring& valueName) {
  platform::RegKey opened = 0;
  if (os.RegOpenKeyExW(root, subKey, 0, platform::kKeyAllButDelete, opened) !=
      platform::kErrorSuccess) {
    return false;
  }
  const platform::UniqueKey key(os, opened);
  os.RegDeleteValueW(key.get(), valueName);
  return true;
}

}  // namespace quellspur
