// The contract's environment on the host: the simulated machine.
#include "contract_support.h"
#include "platform/sim/sim_machine.h"

namespace quellspur::contract {
namespace {

class SimEnvironment final : public Environment {
 public:
  platform::Os& os() override { return machine_; }

  std::wstring ScratchFolder() override { return L"C:\\Temp\\QuellspurContract\\"; }

  void WriteFile(const std::wstring& path, const std::string& bytes) override {
    machine_.PutFile(path, bytes);
  }

  // The machine holds nothing but what a fresh one starts with and what these tests wrote below
  // their own key, so a fresh machine is this one without that tree.
  void DeleteKeyTree(platform::RegKey, const std::wstring&) override {
    machine_ = platform::sim::SimMachine();
  }

 private:
  platform::sim::SimMachine machine_;
};

}  // namespace

Environment& TheEnvironment() {
  static SimEnvironment environment;
  return environment;
}

}  // namespace quellspur::contract
