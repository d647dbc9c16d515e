// Values that cross the platform boundary: handles, registry roots and status codes as Windows has
// them.
#pragma once

#include <cstdint>

namespace quellspur::platform {

// A kernel object handle (process, snapshot); 0 means none.
using Handle = std::uintptr_t;

// A registry key handle; the predefined roots keep their 32-bit values.
using RegKey = std::uintptr_t;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;

// Windows error codes the program tells apart.
using Status = long;
inline constexpr Status kErrorSuccess = 0;
inline constexpr Status kErrorFileNotFound = 2;
inline constexpr Status kErrorPathNotFound = 3;
inline constexpr Status kErrorAccessDenied = 5;
inline constexpr Status kErrorInvalidHandle = 6;
inline constexpr Status kErrorNoMoreFiles = 18;
inline constexpr Status kErrorSharingViolation = 32;
inline constexpr Status kErrorLockViolation = 33;
inline constexpr Status kErrorFileExists = 80;
inline constexpr Status kErrorInvalidParameter = 87;
inline constexpr Status kErrorInsufficientBuffer = 122;
inline constexpr Status kErrorAlreadyExists = 183;
inline constexpr Status kErrorMoreData = 234;
inline constexpr Status kErrorNoMoreItems = 259;
inline constexpr Status kErrorInvalidWindowHandle = 1400;

// Whether the status says that the file, or the folder on its way, is not there.
inline bool NotFound(Status status) {
  return status == kErrorFileNotFound || status == kErrorPathNotFound;
}

// Registry access rights as the program asks for them.
inline constexpr std::uint32_t kKeyAllButDelete = 0x2003F;  // READ_CONTROL and the six key rights
inline constexpr std::uint32_t kKeyRead = 0x20019;          // KEY_READ: query, enumerate, notify
// On 64-bit Windows, HKEY_LOCAL_MACHINE\Software has a view for 64-bit and one for 32-bit
// programs; a program sees its own unless it names one of these with the access it asks for.
inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x200;

// Process access rights.
inline constexpr std::uint32_t kProcessQueryAndRead = 0x410;  // PROCESS_QUERY_INFORMATION | VM_READ
inline constexpr std::uint32_t kProcessAllAccess = 0x1F0FFF;
inline constexpr std::uint32_t kStillActive = 259;

// File attributes.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeArchive = 0x20;

// What GetFileAttributesExW tells of a file: enough to see whether it changed since it was read.
struct FileStamp {
  std::uint64_t length = 0;
  std::uint64_t lastWriteTime = 0;  // in 100-ns ticks since 1601, as Windows keeps it

  bool operator==(const FileStamp&) const = default;
};

// Toolhelp snapshot kind: processes.
inline constexpr std::uint32_t kSnapProcess = 2;

// A top-level window; 0 means none.
using WindowHandle = std::uintptr_t;

// Registry value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// Platform ids of the version record.
inline constexpr std::uint32_t kPlatformWindows = 1;
inline constexpr std::uint32_t kPlatformNt = 2;

}  // namespace quellspur::platform
