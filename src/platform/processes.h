// The process list and process handles (kernel32 Toolhelp, kernel32, psapi).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace quellspur::platform {

// The parts of the PROCESSENTRY32W record the program reads.
struct ProcessEntry {
  std::uint32_t processId = 0;
  std::uint32_t parentProcessId = 0;
  std::wstring exeFile;  // up to its first zero
};

class Processes {
 public:
  virtual ~Processes() = default;

  // A snapshot of the given kind (kSnapProcess); 0 when none is obtained.
  virtual Handle CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) = 0;
  // Read the first or next entry of a snapshot; false at the end of the list or on failure.
  virtual bool Process32FirstW(Handle snapshot, ProcessEntry& entry) = 0;
  virtual bool Process32NextW(Handle snapshot, ProcessEntry& entry) = 0;

  // A handle to the process with the given rights; 0 on failure.
  virtual Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                             std::uint32_t processId) = 0;
  // Writes the executable path of the process into a buffer of bufferChars (UTF-16) characters and
  // hands back its text. Returns the number of characters written: 0 on failure, and the whole
  // buffer size when the path had to be cut (the text then holds one character less).
  virtual std::uint32_t GetModuleFileNameExW(Handle process, std::uint32_t bufferChars,
                                             std::wstring& path) = 0;

  // The full path of the process's executable, of a 64-bit process seen from a 32-bit program
  // too; false when the system lacks the call (before Windows Vista) or the path can't be read.
  virtual bool QueryFullProcessImageNameW(Handle process, std::wstring& path) = 0;

  // Ends the process with the given exit code.
  virtual bool TerminateProcess(Handle process, std::uint32_t exitCode) = 0;
  // The exit code of an ended process, or kStillActive while it runs.
  virtual bool GetExitCodeProcess(Handle process, std::uint32_t& exitCode) = 0;

  virtual bool CloseHandle(Handle handle) = 0;
  virtual std::uint32_t GetCurrentProcessId() = 0;
};

}  // namespace quellspur::platform
