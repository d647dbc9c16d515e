#include "scan/start_keys.h"

#include "platform/owners.h"
#include "platform/registry.h"
#include "scan/start_command.h"

namespace quellspur {
namespace {

constexpr wchar_t kRunServicesKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

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

void ReadStartKey(platform::Os& os, YieldPacer& pacer, StartKey& read) {
  platform::RegKey opened = 0;
  // Reading needs no more: an ordinary user may read the machine's keys but not change them.
  if (os.RegOpenKeyExW(read.root, read.subKey, 0, platform::kKeyRead | read.view, opened) !=
      platform::kErrorSuccess) {
    return;
  }
  const platform::UniqueKey key(os, opened);
  platform::EnumeratedValue value;
  platform::Status status = ReadValue(os, key.get(), 0, value);
  // Only the end of the list, or a real error, ends the walk; a value beyond any sense in size is
  // passed over.
  for (std::uint32_t index = 0;
       status == platform::kErrorSuccess || status == platform::kErrorMoreData;) {
    if (status == platform::kErrorSuccess) {
      read.Add(os, value.name, value.type, value.data);
    }
    status = ReadValue(os, key.get(), ++index, value);
    pacer.YieldAfterQuickStep();
  }
}

}  // namespace

void StartKey::Add(platform::System& system, std::wstring_view name, std::uint32_t type,
                   std::string_view data) {
  const std::size_t nameStart = text.size();
  text += name;
  const std::size_t commandStart = text.size();
  platform::AppendValueText(system, type, data, text);
  const std::wstring_view command(text.data() + commandStart, text.size() - commandStart);
  // An empty part may point anywhere.
  const auto partOf = [&](std::wstring_view part) {
    return part.empty() ? TextPart{}
                        : TextPart{static_cast<std::uint32_t>(part.data() - text.data()),
                                   static_cast<std::uint32_t>(part.size())};
  };
  const StartedParts started = StartedPartsOf(command);
  values.push_back(
      {TextPart{static_cast<std::uint32_t>(nameStart), static_cast<std::uint32_t>(name.size())},
       partOf(started.fileName), partOf(started.path)});
}

std::vector<StartKey> StartKeyPlaces(bool bothViews) {
  std::vector<StartKey> keys;
  for (const wchar_t* subKey : {kRunServicesKey, kRunKey}) {
    // 64-bit Windows keeps the machine's start keys twice, for 64-bit and for 32-bit programs.
    if (bothViews) {
      keys.push_back({platform::kHkeyLocalMachine, subKey, platform::kKeyWow64_64Key, {}, {}});
      keys.push_back({platform::kHkeyLocalMachine, subKey, platform::kKeyWow64_32Key, {}, {}});
    } else {
      keys.push_back({platform::kHkeyLocalMachine, subKey, 0, {}, {}});
    }
  }
  // The user's keys are one for programs of either kind.
  keys.push_back({platform::kHkeyCurrentUser, kRunKey, 0, {}, {}});
  return keys;
}

std::vector<StartKey> ReadStartKeys(platform::Os& os, YieldPacer& pacer, bool bothViews) {
  std::vector<StartKey> keys = StartKeyPlaces(bothViews);
  for (StartKey& key : keys) {
    ReadStartKey(os, pacer, key);
  }
  return keys;
}

}  // namespace quellspur
