// A simulated machine with the start keys at hand, and a scan engine on it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "scan/scanner.h"
#include "testing/fault_injection.h"
#include "testing/sim_machine.h"
#include "testing/sim_message_pump.h"

namespace quellspur::testing {

inline const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kRunServicesKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
inline constexpr platform::RegKey kHklm = platform::kHkeyLocalMachine;
inline constexpr platform::RegKey kHkcu = platform::kHkeyCurrentUser;

class MachineTest : public ::testing::Test {
 protected:
  // An executable of `length` bytes whose last bytes hold `tail`.
  static std::string Image(std::size_t length, const std::string& tail) {
    std::string bytes(length, '\x90');
    bytes.replace(length - tail.size(), tail.size(), tail);
    return bytes;
  }

  // The machine and the engine both run as the given family of Windows.
  static void UsePlatform(platform::sim::SimMachine& sim, Scanner& scanner, std::uint32_t id) {
    sim.SetPlatformId(id);
    scanner.SetWindowsPlatform(GetWindowsPlatform(sim));
  }

  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  platform::sim::SimMessagePump pump;
};

class ScanTest : public MachineTest {
 protected:
  void UseWindows98() { UsePlatform(sim, scanner, platform::kPlatformWindows); }
  void UseWindowsNt() { UsePlatform(sim, scanner, platform::kPlatformNt); }

  Scanner scanner{os, pump};
};

}  // namespace quellspur::testing
