// Start-entry discovery: the values of the start-up keys that start a hit's executable.
#include "platform/owners.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "scan/scanner.h"
#include "scan/start_command.h"

namespace quellspur {
namespace {

const std::wstring kRunServicesKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

bool Scanner::FindStartEntries(const std::wstring& path) {
  if (!NamesAFile(path)) {
    return false;  // an unreadable path would match every value that names no file
  }
  bool found = false;
  for (const std::wstring& key : {kRunServicesKey, kRunKey}) {
    // 64-bit Windows (always of the NT family) keeps the machine's start keys twice, for 64-bit
    // and for 32-bit programs.
    if (IsNt() && os_.Is64BitWindows()) {
      found |= SearchRunKey(platform::kHkeyLocalMachine, key, path, platform::kKeyWow64_64Key);
      found |= SearchRunKey(platform::kHkeyLocalMachine, key, path, platform::kKeyWow64_32Key);
    } else {
      found |= SearchRunKey(platform::kHkeyLocalMachine, key, path);
    }
  }
  // The user's keys are one for programs of either kind.
  return SearchRunKey(platform::kHkeyCurrentUser, kRunKey, path) || found;
}

platform::Status Scanner::ReadValue(platform::RegKey key, std::uint32_t index,
                                    platform::EnumeratedValue& value) {
  // A value too long for the usual buffers is read again through ones that fit it, so that it
  // is looked at like any other and the walk goes on behind it.
  std::uint32_t dataBytes = kStartDataBytes;
  platform::Status status = os_.RegEnumValueW(key, index, kStartNameChars, dataBytes, value);
  while (status == platform::kErrorMoreData && dataBytes < kLargestValueBytes) {
    dataBytes *= 16;
    status = os_.RegEnumValueW(key, index, kLongestNameChars, dataBytes, value);
  }
  return status;
}

bool Scanner::SearchRunKey(platform::RegKey root, const std::wstring& keyPath,
                           const std::wstring& path, std::uint32_t view) {
  platform::RegKey opened = 0;
  // Reading needs no more: an ordinary user may read the machine's keys but not change them.
  if (os_.RegOpenKeyExW(root, keyPath, 0, platform::kKeyRead | view, opened) !=
      platform::kErrorSuccess) {
    return false;
  }
  const platform::UniqueKey key(os_, opened);
  bool found = false;

  platform::EnumeratedValue value;
  platform::Status status = ReadValue(key.get(), 0, value);
  // Only the end of the list, or a real error, ends the walk; a value beyond any sense in size is
  // passed over.
  for (std::uint32_t index = 0;
       status == platform::kErrorSuccess || status == platform::kErrorMoreData;) {
    if (status == platform::kErrorSuccess &&
        StartsExecutable(platform::ValueText(os_, value.type, value.data), path)) {
      Finding& finding = findings.emplace_back();
      finding.backdoorName = currentBackdoorName;
      finding.filePath = path;
      finding.rootKey = static_cast<std::uint32_t>(root);
      finding.subKey = keyPath;
      finding.valueName = value.name;
      finding.view = view;
      found = true;
    }
    status = ReadValue(key.get(), ++index, value);
    pump_.ProcessPendingMessages();
  }
  return found;
}

}  // namespace quellspur
