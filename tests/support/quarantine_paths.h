// Where the program keeps what it quarantines: a folder beside its executable, and the record of
// its changes in there.
#pragma once

#include <string>

namespace quellspur::testing {

// The simulated machine's program folder.
inline const std::wstring kProgramFolder = L"C:\\Program Files\\Quellspur";

inline std::wstring QuarantineFolder(const std::wstring& programFolder = kProgramFolder) {
  return programFolder + L"\\BackDoors";
}

// The path of a file in the quarantine folder.
inline std::wstring InQuarantine(const std::wstring& name,
                                 const std::wstring& programFolder = kProgramFolder) {
  return QuarantineFolder(programFolder) + L"\\" + name;
}

inline std::wstring ChangeRecordPath(const std::wstring& programFolder = kProgramFolder) {
  return InQuarantine(L"Changes.txt", programFolder);
}

}  // namespace quellspur::testing
