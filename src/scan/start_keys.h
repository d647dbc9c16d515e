// The start keys as a scan reads them: every value of each key, in each registry view, in the
// order they are searched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "scan/yield_pacer.h"

namespace quellspur {

// A stretch of a start key's text.
struct TextPart {
  std::uint32_t start = 0;
  std::uint32_t length = 0;
};

// One value of a start key, as parts of the key's text.
struct StartValue {
  TextPart name;
  // The file name its command starts, as StartedFileName gives it: worked out once per scan,
  // not once for every executable found.
  TextPart startedFile;
  // The same with its folder, as the command writes it: the file a hash signature reads.
  TextPart startedPath;
};

struct StartKey {
  platform::RegKey root = 0;
  std::wstring subKey;
  std::uint32_t view = 0;  // kKeyWow64_64Key or kKeyWow64_32Key; 0 for the program's own
  std::vector<StartValue> values;
  // Every value's name and command, one after another: a scan reads thousands of values, and one
  // string for them all spares the heap a block for each.
  std::wstring text;

  // Adds a value by its name and the text its data holds as platform::ValueText gives it.
  void Add(platform::System& system, std::wstring_view name, std::uint32_t type,
           std::string_view data);
  std::wstring_view Text(TextPart part) const { return {text.data() + part.start, part.length}; }
};

// The keys a scan reads, in its order, without their values: HKEY_LOCAL_MACHINE's RunServices and
// Run, each in the 64-bit and then the 32-bit view when `bothViews`, then HKEY_CURRENT_USER's Run.
std::vector<StartKey> StartKeyPlaces(bool bothViews);

// HKEY_LOCAL_MACHINE's RunServices and Run, each in the 64-bit and then the 32-bit view when
// `bothViews`, then HKEY_CURRENT_USER's Run. A key that can't be opened holds no values; each value
// read is a quick step of the pacer.
std::vector<StartKey> ReadStartKeys(platform::Os& os, YieldPacer& pacer, bool bothViews);

}  // namespace quellspur
