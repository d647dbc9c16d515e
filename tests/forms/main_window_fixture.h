// The main window as the program builds it, on a simulated machine and screen.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "forms/forms.h"
#include "forms/frm_stat.h"
#include "platform/text_lines.h"
#include "scan/scan_fixture.h"
#include "testing/sim_toolkit.h"

namespace quellspur::testing {

inline const std::wstring kLogPath = L"C:\\Program Files\\Quellspur\\BackLog.txt";

// The main window with its engine on the given machine, its widgets at hand.
struct SimulatedMainWindow {
  SimulatedMainWindow(platform::Os& os, platform::MessagePump& pump)
      : engine(os, pump), form(*loaded, toolkit.desktop(), pump, engine) {
    engine.ReadSystem();
  }

  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  std::unique_ptr<platform::Form> loaded = toolkit.LoadForm(MainWindowDesign());
  platform::sim::SimForm& window = static_cast<platform::sim::SimForm&>(*loaded);
  platform::sim::SimListBox& list = window.SimListBoxNamed(L"List");
  platform::sim::SimButton& cmdKill = window.SimButtonNamed(L"cmdKill");
  platform::sim::SimTimer& timer = window.SimTimerNamed(L"Timer1");
  Engine engine;
  Settings& settings = engine.settings();
  FrmStat form;
};

// The activity log's lines, without their CR LF.
inline std::vector<std::string> LogLines(const platform::sim::SimMachine& sim) {
  const std::string text = sim.FileContent(kLogPath);
  const std::vector<std::string_view> lines = platform::SplitLines(text);
  return {lines.begin(), lines.end()};
}

class MainWindowTest : public MachineTest, public SimulatedMainWindow {
 protected:
  MainWindowTest() : SimulatedMainWindow(os, pump) {}

  // The machine runs as the given family of Windows, and the engine reads it so.
  void UseWindows98() { UsePlatform(platform::kPlatformWindows); }
  void UseWindowsNt() { UsePlatform(platform::kPlatformNt); }
  void UsePlatform(std::uint32_t id) {
    sim.SetPlatformId(id);
    engine.ReadSystem();
  }
  std::vector<std::string> LogLines() const { return testing::LogLines(sim); }
};

}  // namespace quellspur::testing
