// What a start value starts: the rule that ties a registry value to a running executable, shared
// by the scan that finds the value and the clean-up that looks at it again before deleting it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"
#include "platform/types.h"

namespace quellspur {

// The buffers a start value is read through: its name, and its data, with room for a command of
// 200 characters as UTF-16; data of another type is bounded by the same 400 bytes.
inline constexpr std::uint32_t kStartNameChars = 100;
inline constexpr std::uint32_t kStartDataBytes = 400;
// Room for the longest name Windows allows (16,383 characters), and for data far beyond what any
// start command needs.
inline constexpr std::uint32_t kLongestNameChars = 16384;
inline constexpr std::uint32_t kLargestValueBytes = 400 * 16 * 16 * 16 * 16;

// Reads a value through `read(dataBytes, grown)`, first with the usual data buffer, then, while
// the value does not fit, with ever larger ones (`grown` true), so that a long value is read
// whole instead of being passed over.
template <typename Read>
platform::Status ReadGrowing(Read read) {
  std::uint32_t dataBytes = kStartDataBytes;
  platform::Status status = read(dataBytes, false);
  while (status == platform::kErrorMoreData && dataBytes < kLargestValueBytes) {
    dataBytes *= 16;
    status = read(dataBytes, true);
  }
  return status;
}

// Whether the command starts an executable named like `path`: the command's file-name part, cut
// at a slash that begins a switch, without surrounding blanks, the same name as Windows takes
// names in any case.
bool StartsExecutable(platform::System& system, const std::wstring& command,
                      const std::wstring& path);
// The two sides of that comparison, for a scan that matches many commands against a few paths:
// the file name a command starts, and an executable's own, both as the rule compares them; each a
// part of the text it is given.
std::wstring_view StartedFileName(std::wstring_view command);
std::wstring_view ComparableFileName(std::wstring_view path);
// The path a command starts, cut and trimmed as StartedFileName cuts its file name but in the
// command's own case, so that its ComparableFileName is the command's StartedFileName; of a
// command that begins with a quoted path, that path. A part of the command.
std::wstring_view StartedFilePath(std::wstring_view command);
// StartedFileName and StartedFilePath of one command, worked out together.
struct StartedParts {
  std::wstring_view fileName;
  std::wstring_view path;
};
StartedParts StartedPartsOf(std::wstring_view command);
// Whether the command starts the file at `path` itself, by its StartedFilePath in any case.
bool StartsFile(platform::System& system, const std::wstring& command, const std::wstring& path);

// Whether a path names a file at all: an unreadable or unknown path stands for nothing.
bool NamesAFile(const std::wstring& path);

}  // namespace quellspur
