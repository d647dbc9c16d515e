// The scan engine: probes that look for running backdoors and the registry values that start
// them, and the findings they collect.
#pragma once

#include <cstdint>
#include <string>

#include "platform/message_pump.h"
#include "platform/os.h"
#include "scan/finding.h"

namespace quellspur {

inline const std::wstring kBackOrifice = L"Back Orifice";
inline const std::wstring kUnknownPath = L"-unknown-";

class Scanner {
 public:
  Scanner(platform::Os& os, platform::MessagePump& pump) : os_(os), pump_(pump) {}

  Findings findings;
  // The name of the backdoor being probed; every finding added meanwhile takes it.
  std::wstring currentBackdoorName;
  // The platform id read at start-up; only ever tested for Windows NT.
  std::int32_t windowsPlatform = 0;

  // Looks for every window signature in turn and records each window found.
  void FindByWindow();
  void CheckWindow(const std::wstring& windowClass, const std::wstring& caption);
  // The parent of a process from the process list; 0 on Windows NT or when it isn't listed.
  std::uint32_t GetParentProcessId(std::uint32_t processId);

  // Adds a start-entry finding for every value of the three start keys that starts an executable
  // named like `path`; true when it added any.
  bool FindStartEntries(const std::wstring& path);
  // Searches one key in one registry view (0: the program's own).
  bool SearchRunKey(platform::RegKey root, const std::wstring& keyPath, const std::wstring& path,
                    std::uint32_t view = 0);

  // Looks for "Back Orifice" among the running processes; one whose executable can't be read is
  // passed over.
  void FindByProcess();
  // Whether the file's own name stands in its last 101 bytes, in any case.
  bool NameInFileTail(const std::wstring& path);

  // The executable path of a process, "-unknown-" when it can't be found, or "" when Windows NT
  // opens the process but names no executable.
  std::wstring GetProcessPath(std::uint32_t processId);
  // The same for a process the caller holds open: on Windows NT read through that handle, so that
  // it names the very process the handle keeps alive.
  std::wstring GetProcessPath(platform::Handle process, std::uint32_t processId);

 private:
  // Value `index` of an open key, read whole however long its name or data.
  platform::Status ReadValue(platform::RegKey key, std::uint32_t index,
                             platform::EnumeratedValue& value);
  bool IsNt() const { return windowsPlatform == static_cast<std::int32_t>(platform::kPlatformNt); }
  // Adds a process finding; its start entries must be added before.
  void AddProcess(std::uint32_t processId, const std::wstring& path,
                  const std::wstring& parentPath);

  platform::Os& os_;
  platform::MessagePump& pump_;
};

}  // namespace quellspur
