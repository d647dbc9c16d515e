// RewriteWinIni on any win.ini: the input's first line is the backdoor's path, the rest win.ini's
// bytes, both in the simulated machine's code page (Windows-1252).
#include <algorithm>
#include <cstdint>
#include <string>

#include "clean/change_record.h"
#include "clean/win_ini_rewrite.h"
#include "fuzz_check.h"
#include "platform/text_lines.h"
#include "testing/sim_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellspur;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = std::min(input.find('\n'), input.size());
  const std::string oldBytes(input.substr(std::min(newline + 1, input.size())));
  platform::sim::SimMachine sim;
  const std::wstring path = sim.AnsiToWide(input.substr(0, newline));
  const std::wstring windows = L"C:\\WINDOWS\\";
  sim.PutFile(windows + L"win.ini", oldBytes);
  sim.PutFile(windows + L"win.bac", "an older backup");
  ActivityLog log(sim);
  ChangeRecord record(sim);
  RewriteWinIni(sim, log, record, L"Millenium", windows, path);

  // Each line kept ends in CR LF; each removed one is logged. Upper case as Windows has it for the
  // code page is the rule's "any case".
  std::string kept;
  std::string logged;
  std::vector<RemovedLine> removed;
  for (std::string_view line : platform::SplitLines(oldBytes)) {
    const std::wstring text = sim.AnsiToWide(line);
    if (UpperCase(text).find(UpperCase(path)) == std::wstring::npos) {
      kept += std::string(line) + "\r\n";
    } else {
      removed.push_back({static_cast<std::uint32_t>(std::count(kept.begin(), kept.end(), '\n') +
                                                    removed.size() + 1),
                         text});
      logged += "2026-01-01 12:00:00 Removing start: " + sim.WideToAnsi(EscapeForLog(sim, text)) +
                " in win.ini\r\n";
    }
  }
  Require(sim.FileContent(windows + L"win.ini") == (path.empty() ? oldBytes : kept),
          "win.ini keeps exactly the lines without the path; an empty path changes nothing");
  Require(sim.FileContent(windows + L"win.bac") == (path.empty() ? "an older backup" : oldBytes),
          "win.bac holds the old win.ini");
  Require(
      sim.FileContent(sim.GetProgramFolder() + L"\\BackLog.txt") == (path.empty() ? "" : logged),
      "each removed line is logged");
  Require(!sim.FileExists(windows + L"ini1.tmp"), "no temporary file is left");
  const ParsedRecord written = record.Read();
  Require(written.damaged.empty(), "the record reads back whole");
  Require(path.empty() || removed.empty()
              ? written.entries.empty()
              : written.entries.size() == 1 &&
                    std::get<WinIniChange>(written.entries[0].change).lines == removed,
          "the record names every removed line where it stood, before the rewrite");
  return 0;
}
