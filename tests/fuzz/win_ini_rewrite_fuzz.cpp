// RewriteWinIni on any win.ini: the input's first line is the backdoor's path, in the simulated
// machine's code page (Windows-1252), the rest win.ini's bytes, in whichever encoding their
// byte-order mark names.
#include <algorithm>
#include <cstdint>
#include <string>

#include "clean/change_record.h"
#include "clean/win_ini_rewrite.h"
#include "clean/win_ini_text.h"
#include "fuzz_check.h"
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
  const bool done = RewriteWinIni(sim, log, record, L"Millenium", windows, path);

  // The lines that name the path in any case, headers left out; upper case as Windows has it for
  // the code page is the rule's "any case".
  const std::optional<IniText> before = DecodeIniText(sim, oldBytes);
  IniText kept{before ? before->encoding : TextEncoding::Ansi, {}};
  std::string logged;
  std::vector<std::uint32_t> removed;
  for (std::size_t index = 0; before && index < before->lines.size(); ++index) {
    const IniLine& line = before->lines[index];
    if (path.empty() || SectionName(line.text) ||
        UpperCase(line.text).find(UpperCase(path)) == std::wstring::npos) {
      kept.lines.push_back(line);
    } else {
      removed.push_back(static_cast<std::uint32_t>(index + 1));
      logged +=
          "2026-01-01 12:00:00 Removing start: " + sim.WideToAnsi(EscapeForLog(sim, line.text)) +
          " in win.ini\r\n";
    }
  }
  // ANSI text that would begin like a byte-order mark would be read in another encoding.
  const std::wstring first = kept.lines.empty() ? L"" : kept.lines[0].text;
  const bool readAsAnother =
      kept.encoding == TextEncoding::Ansi &&
      (first.starts_with(L"\u00FF\u00FE") || first.starts_with(L"\u00EF\u00BB\u00BF"));
  const bool changes = before && !removed.empty() && !readAsAnother;
  Require(done == (path.empty() || (before && (removed.empty() || !readAsAnother))),
          "done unless win.ini is not valid in its encoding, or would not be read in it");
  const std::optional<IniText> after = DecodeIniText(sim, sim.FileContent(windows + L"win.ini"));
  Require(changes ? after && after->encoding == kept.encoding &&
                        after->lines.size() == kept.lines.size()
                  : sim.FileContent(windows + L"win.ini") == oldBytes,
          "win.ini keeps exactly the lines without the path, in its encoding; else it stays");
  for (std::size_t index = 0; changes && index < kept.lines.size(); ++index) {
    Require(after->lines[index].text == kept.lines[index].text &&
                (after->lines[index].end == kept.lines[index].end ||
                 (kept.lines[index].end == L"\r" && after->lines[index].end == L"\r\n")),
            "each kept line keeps its text and its line end, a lone CR that would run into the "
            "next line made a CR LF");
  }
  Require(sim.FileContent(windows + L"win.bac") == (changes ? oldBytes : "an older backup"),
          "win.bac holds the old win.ini, and is untouched when nothing changes");
  Require(sim.FileContent(sim.GetProgramFolder() + L"\\BackLog.txt") == (changes ? logged : ""),
          "each removed line is logged");
  Require(!sim.FileExists(windows + L"ini1.tmp"), "no temporary file is left");
  const ParsedRecord written = record.Read();
  Require(written.damaged.empty(), "the record reads back whole");
  std::vector<std::uint32_t> recorded;
  for (const ChangeEntry& entry : written.entries) {
    for (const RemovedLine& line : std::get<WinIniChange>(entry.change).lines) {
      recorded.push_back(line.lineNumber);
    }
  }
  Require(recorded == (changes ? removed : std::vector<std::uint32_t>{}),
          "the record names every removed line where it stood, before the rewrite");
  return 0;
}
