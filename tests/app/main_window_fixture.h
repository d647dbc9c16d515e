// The main window's report on a simulated machine, with recording widgets.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/frm_stat.h"
#include "app/recording_main_window.h"
#include "scan/scan_fixture.h"

namespace quellspur::testing {

// Notes the line and the button caption each time the clean-up runs.
class RecordingCleanUp : public CleanUpCommand {
 public:
  explicit RecordingCleanUp(FrmStat*& form) : form_(form) {}
  void Run() override {
    runs.push_back(std::to_wstring(form_->List.ListIndex()) + L" " + form_->cmdKill.Caption());
  }
  std::vector<std::wstring> runs;

 private:
  FrmStat*& form_;
};

class MainWindowTest : public ScanTest, public RecordingMainWindow {
 protected:
  MainWindowTest() { formPointer = &form; }

  // The activity log's lines, without their CR LF.
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    const std::string text = sim.FileContent(L"C:\\Program Files\\Quellspur\\BackLog.txt");
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = text.find("\r\n", start);
      lines.push_back(text.substr(start, end - start));
      start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
  }

  Settings settings;
  ActivityLog log{sim};
  FrmStat* formPointer = nullptr;
  RecordingCleanUp cleanUp{formPointer};
  FrmStat form{widgets(), backdoors, settings, log, sim, cleanUp};
};

}  // namespace quellspur::testing
