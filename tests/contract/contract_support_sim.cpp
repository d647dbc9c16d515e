// The contract's environment on the host: the simulated machine.
#include "contract_support.h"
#include "testing/sim_machine.h"

namespace quellspur::contract {
namespace {

class SimEnvironment final : public Environment {
 public:
  platform::Os& os() override { return machine_; }
  bool ProgramIs64Bit() override { return false; }

  // As the test prefix under Wine: 64-bit Windows, the tests a 32-bit program; its clock in
  // Central European summer time. Its steady clock moves on by a microsecond a reading, and by
  // what the calls wait.
  SimEnvironment() {
    machine_.MakeFolder(ScratchFolder());
    machine_.UseWow64();
    machine_.SetClock({2026, 7, 1, 1, 30, 0});
    machine_.SetTimeZone(platform::kTimeZoneIdDaylight, {-60, 0, -60});
    machine_.SetSteadyClockStep(1);
  }

  std::wstring ScratchFolder() override { return L"C:\\Temp\\QuellspurContract\\"; }

  void WriteFile(const std::wstring& path, const std::string& bytes) override {
    machine_.PutFile(path, bytes);
  }

  void RemoveFile(const std::wstring& path) override { machine_.RemoveFile(path); }
  void RemoveFolder(const std::wstring& path) override { machine_.RemoveFolder(path); }

  platform::WindowHandle ShowTestWindow(const std::wstring& className,
                                        const std::wstring& caption) override {
    return machine_.ShowWindow(className, caption, machine_.GetCurrentProcessId());
  }

  void CloseTestWindow(platform::WindowHandle window) override { machine_.CloseWindow(window); }

  std::uint32_t StartChild() override {
    machine_.PutFile(ScratchFolder() + kChildFileName, "MZ");
    child_ = machine_.StartProcess(ScratchFolder() + kChildFileName, 0);
    machine_.Process(child_).outsideHolders = 1;
    return child_;
  }

  void ReleaseChild() override { machine_.Process(child_).outsideHolders = 0; }

  // The simulated machine changes only when told to.
  void Pause() override {}

  // Two hours behind the clock, as the zone above has it.
  platform::LocalTime UtcNow() override { return {2026, 6, 30, 23, 30, 0}; }

  void HoldLock(const std::wstring& path) override {
    locked_ = path;
    machine_.HoldFileLock(path);
  }

  void ReleaseLock() override { machine_.ReleaseFileLock(locked_); }

  void DeleteKeyTree(platform::RegKey root, const std::wstring& subKey) override {
    machine_.DeleteKeyTree(root, subKey);
  }

 private:
  platform::sim::SimMachine machine_;
  std::uint32_t child_ = 0;
  std::wstring locked_;
};

}  // namespace

Environment& TheEnvironment() {
  static SimEnvironment environment;
  return environment;
}

}  // namespace quellspur::contract
