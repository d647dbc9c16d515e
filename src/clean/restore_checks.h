// What a restore may act on: only what a clean-up on this machine can have made. The change record
// is a text file; a line added or altered by hand could otherwise move any file anywhere, write a
// value that starts or hijacks a program, or insert lines into any text file, all with the rights
// of the administrator who runs the restore.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clean/change_record.h"
#include "scan/start_keys.h"

namespace quellspur {

// The places a clean-up on this machine changes.
struct RestorePlaces {
  std::wstring windowsFolder;       // with its trailing backslash: win.ini lives there
  std::vector<StartKey> startKeys;  // root, key and view as the scan reads them; values unused
};

// Why the path is no place a clean-up takes a file from, or nothing when it is one: an absolute
// local path (a drive letter, then backslashes) without "." or ".." folders, streams, devices or
// characters that Windows allows in no file name.
std::optional<std::wstring> PathRefusal(const std::wstring& path);

// Why the name is no copy in the quarantine folder, or nothing when it is one: a plain file name
// ending in ".Backdoor", naming no device.
std::optional<std::wstring> CopyNameRefusal(const std::wstring& copyName);

// Why the entry is none a clean-up can have made, or nothing when it is one: a file's path and
// copy name as above, the copy named as the clean-up names that file's copies; a registry value
// in one of the start keys; win.ini in the Windows folder. A restored mark is never refused.
std::optional<std::wstring> EntryRefusal(const ChangeEntry& entry, const RestorePlaces& places);

}  // namespace quellspur
