// What the contract tests need besides the boundary itself: the machine they run on, and ways to
// set a scene on it that the program never needs (scratch files, removing a test key).
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"

namespace quellspur::contract {

class Environment {
 public:
  virtual ~Environment() = default;
  virtual platform::Os& os() = 0;
  // Whether the program under test is a 64-bit one: its own registry view is then the 64-bit one.
  virtual bool ProgramIs64Bit() = 0;
  // A folder of this run that tests may fill, ending in a backslash.
  virtual std::wstring ScratchFolder() = 0;
  virtual void WriteFile(const std::wstring& path, const std::string& bytes) = 0;
  virtual void RemoveFile(const std::wstring& path) = 0;
  // Removes an empty folder.
  virtual void RemoveFolder(const std::wstring& path) = 0;
  // Removes a key with everything below it, named by its real path (on 64-bit Windows the 64-bit
  // view); no error when it is missing.
  virtual void DeleteKeyTree(platform::RegKey root, const std::wstring& subKey) = 0;
  // A hidden top-level window of this process, and its end.
  virtual platform::WindowHandle ShowTestWindow(const std::wstring& className,
                                                const std::wstring& caption) = 0;
  virtual void CloseTestWindow(platform::WindowHandle window) = 0;
  // Starts a harmless child program that waits to be ended, from an executable named
  // kChildFileName in the scratch folder, and keeps a handle to it, as the program that starts a
  // backdoor does; returns its process id.
  virtual std::uint32_t StartChild() = 0;
  // Lets go of the child's handle.
  virtual void ReleaseChild() = 0;
  // Lets some time pass: things that happen by themselves on a real machine get their chance.
  virtual void Pause() = 0;
  // The date and time now in UTC, as GetSystemTime gives them.
  virtual platform::LocalTime UtcNow() = 0;
  // Locks every byte of the file, as another program may, until released.
  virtual void HoldLock(const std::wstring& path) = 0;
  virtual void ReleaseLock() = 0;
};

// A name outside the ANSI code page.
inline const std::wstring kChildFileName = L"\u0108hild.exe";

// The one environment of the test run: the real Windows (or Wine), or the simulated machine.
Environment& TheEnvironment();

}  // namespace quellspur::contract
