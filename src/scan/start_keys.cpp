#include "scan/start_keys.h"

#include "platform/owners.h"
#include "platform/registry.h"
#include "scan/start_command.h"

namespace quellspur {
namespace {

const std::wstring kRunServicesKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Value `index` of an open key, read whole however long its name or data.
platform::Status ReadValue(platform::Os& os, platform::RegKey key, std::uint32_t index,
                           platform::EnumeratedValue& value) {
  // A value too long for the usual buffers is read again through ones that fit it, so that it
  // is looked at like any other and the walk goes on behind it.
  return ReadGrowing([&](std::uint32_t dataBytes, bool grown) {
    return os.RegEnumValueW(key, index, grown ? kLongestNameChars : kStartNameChars, dataBytes,
                            value);
  });
}

StartKey ReadStartKey(platform::Os& os, YieldPacer& pacer, platform::RegKey root,
                      const std::wstring& subKey, std::uint32_t view) {
  StartKey read{root, subKey, view, {}};
  platform::RegKey opened = 0;
  // Reading needs no more: an ordinary user may read the machine's keys but not change them.
  if (os.RegOpenKeyExW(root, subKey, 0, platform::kKeyRead | view, opened) !=
      platform::kErrorSuccess) {
    return read;
  }
  const platform::UniqueKey key(os, opened);
  platform::EnumeratedValue value;
  platform::Status status = ReadValue(os, key.get(), 0, value);
  // Only the end of the list, or a real error, ends the walk; a value beyond any sense in size is
  // passed over.
  for (std::uint32_t index = 0;
       status == platform::kErrorSuccess || status == platform::kErrorMoreData;) {
    if (status == platform::kErrorSuccess) {
      const std::wstring command = platform::ValueText(os, value.type, value.data);
      read.values.push_back({value.name, StartedFileName(command), StartedFilePath(command)});
    }
    status = ReadValue(os, key.get(), ++index, value);
    pacer.Yield();
  }
  return read;
}

}  // namespace

std::vector<StartKey> StartKeyPlaces(bool bothViews) {
  std::vector<StartKey> keys;
  for (const std::wstring& subKey : {kRunServicesKey, kRunKey}) {
    // 64-bit Windows keeps the machine's start keys twice, for 64-bit and for 32-bit programs.
    if (bothViews) {
      keys.push_back({platform::kHkeyLocalMachine, subKey, platform::kKeyWow64_64Key, {}});
      keys.push_back({platform::kHkeyLocalMachine, subKey, platform::kKeyWow64_32Key, {}});
    } else {
      keys.push_back({platform::kHkeyLocalMachine, subKey, 0, {}});
    }
  }
  // The user's keys are one for programs of either kind.
  keys.push_back({platform::kHkeyCurrentUser, kRunKey, 0, {}});
  return keys;
}

std::vector<StartKey> ReadStartKeys(platform::Os& os, YieldPacer& pacer, bool bothViews) {
  std::vector<StartKey> keys = StartKeyPlaces(bothViews);
  for (StartKey& key : keys) {
    key = ReadStartKey(os, pacer, key.root, key.subKey, key.view);
  }
  return keys;
}

}  // namespace quellspur
