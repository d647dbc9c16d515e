// A scan engine on a fresh simulated machine, through a fault injector, with the start keys at
// hand.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_message_pump.h"
#include "scan/backdoors.h"

namespace quellspur::testing {

inline const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kRunServicesKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
inline constexpr platform::RegKey kHklm = platform::kHkeyLocalMachine;
inline constexpr platform::RegKey kHkcu = platform::kHkeyCurrentUser;

class ScanTest : public ::testing::Test {
 protected:
  // An executable of `length` bytes whose last bytes hold `tail`.
  static std::string Image(std::size_t length, const std::string& tail) {
    std::string bytes(length, '\x90');
    bytes.replace(length - tail.size(), tail.size(), tail);
    return bytes;
  }

  void UseWindows98() {
    sim.SetPlatformId(platform::kPlatformWindows);
    backdoors.windowsPlatform = static_cast<std::int32_t>(platform::kPlatformWindows);
  }
  void UseWindowsNt() {
    sim.SetPlatformId(platform::kPlatformNt);
    backdoors.windowsPlatform = static_cast<std::int32_t>(platform::kPlatformNt);
  }

  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  platform::sim::SimMessagePump pump;
  Backdoors backdoors{os, pump};
};

}  // namespace quellspur::testing
