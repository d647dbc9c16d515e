#include "engine/engine.h"

#include "clean/clock_text.h"
#include "scan/report_line.h"
#include "scan/scan_driver.h"
#include "scan/windows_platform.h"
#include "settings/settings_store.h"
#include "settings/windows_folder.h"

namespace quellspur {

Engine::Engine(platform::Os& os, platform::MessagePump& pump,
               std::uint32_t logWaitInAllMilliseconds)
    : os_(os),
      scanner_(os, pump),
      log_(os, logWaitInAllMilliseconds),
      record_(os),
      cleanUp_(scanner_, log_, record_, os, pump),
      restore_(os, log_, record_) {}

void Engine::ReadSystem() {
  scanner_.SetWindowsPlatform(GetWindowsPlatform(os_));
  windowsFolder_ = WindowsFolder(os_);
}

bool Engine::LoadSettings() {
  return quellspur::LoadSettings(os_, settings_);
}

void Engine::Scan(const std::function<void()>& report) {
  // While the scan yields, nothing may act on what an earlier scan found.
  findings_.clear();
  if (watchingSignatures_) {
    ReloadChangedSignatures();
  }
  RunScan(scanner_, [&] {
    findings_ = scanner_.TakeFindings();
    report();
  });
}

std::wstring Engine::LogFinding(const Finding& finding) {
  const std::wstring line = ReportLine(finding);
  log_.WriteLog(line);
  return line;
}

CleanOutcome Engine::Clean(Finding& finding, bool moveFiles) {
  return cleanUp_.Clean(finding, {moveFiles, windowsFolder_});
}

std::vector<std::wstring> Engine::CleanReport() {
  platform::LocalTime now;
  os_.GetLocalTime(now);
  return {L"Last scan: " + FormatTime(now, os_.GetTimeSeparator()),
          L"Your computer is clean from known running backdoors!"};
}

}  // namespace quellspur
