// The start keys as a scan reads them: every value of each key, in each registry view, in the
// order they are searched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os.h"
#include "scan/yield_pacer.h"

namespace quellspur {

struct StartValue {
  std::wstring name;
  // The file name its command starts, as StartedFileName gives it: worked out once per scan,
  // not once for every executable found.
  std::wstring startedFile;
  // The same with its folder, as the command writes it: the file a hash signature reads.
  std::wstring startedPath;
};

struct StartKey {
  platform::RegKey root = 0;
  std::wstring subKey;
  std::uint32_t view = 0;  // kKeyWow64_64Key or kKeyWow64_32Key; 0 for the program's own
  std::vector<StartValue> values;
};

// The keys a scan reads, in its order, without their values: HKEY_LOCAL_MACHINE's RunServices and
// Run, each in the 64-bit and then the 32-bit view when `bothViews`, then HKEY_CURRENT_USER's Run.
std::vector<StartKey> StartKeyPlaces(bool bothViews);

// HKEY_LOCAL_MACHINE's RunServices and Run, each in the 64-bit and then the 32-bit view when
// `bothViews`, then HKEY_CURRENT_USER's Run. A key that can't be opened holds no values; the pacer
// gets its chance after each value read.
std::vector<StartKey> ReadStartKeys(platform::Os& os, YieldPacer& pacer, bool bothViews);

}  // namespace quellspur
