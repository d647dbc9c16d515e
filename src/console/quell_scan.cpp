#include "console/quell_scan.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "console/command_line.h"
#include "console/quarantine_commands.h"
#include "console/report_rows.h"
#include "console/signature_commands.h"
#include "engine/engine.h"
#include "platform/text.h"
#include "scan/windows_platform.h"
#include "settings/start_with_windows.h"
#include "version/version.h"

namespace quellspur {
namespace {

// A whole run waits no longer than this for another program's lock on the activity log.
constexpr std::uint32_t kLogWaitInAllMilliseconds = 1000;

const wchar_t* const kUsage =
    L"Usage: QuellScan scan [--clean [--move-files]] [--format text|csv|json] [--repeat N]\r\n"
    L"                      [--signatures FILE]\r\n"
    L"       QuellScan quarantine [--format text|csv|json]\r\n"
    L"       QuellScan restore ID... | --all | NAME --to PATH [--trust-record]\r\n"
    L"       QuellScan signatures [--format text|csv|json] | signatures --check FILE\r\n"
    L"       QuellScan startup\r\n"
    L"       QuellScan --help | --version\r\n"
    L"\r\n"
    L"Looks for the known backdoors running on this computer and the registry values that start\r\n"
    L"them, like Quellspur's own scan, and writes what it finds to BackLog.txt beside the\r\n"
    L"program. It changes nothing unless --clean is given.\r\n"
    L"\r\n"
    L"  --clean         then ends every backdoor found and removes its start entries, as Auto\r\n"
    L"                  Clean does\r\n"
    L"  --move-files    with --clean: move the backdoors' files into quarantine even when the\r\n"
    L"                  setting \"Move BackDoors Files\" is off\r\n"
    L"  --format F      text (the lines of Quellspur's list), csv (a header and a row per\r\n"
    L"                  finding) or json (an object per line); UTF-8 when redirected\r\n"
    L"  --repeat N      scans N times and writes the shortest, median and longest time of one\r\n"
    L"                  scan to the error stream\r\n"
    L"  --signatures F  adds the signatures of file F instead of those of Signatures.txt\r\n"
    L"                  beside the program\r\n"
    L"\r\n"
    L"quarantine lists every change a clean-up made (files moved into quarantine, start values\r\n"
    L"removed, win.ini lines taken out), each with its id, and the copies in the quarantine\r\n"
    L"folder that no record names. restore puts back the changes with the given ids (--all:\r\n"
    L"every one not put back yet, newest first), or an unrecorded copy to the place given; it\r\n"
    L"never overwrites a file or value that stands there.\r\n"
    L"\r\n"
    L"  --trust-record  restore even though others than the administrators can change the\r\n"
    L"                  change record or the quarantine folder. Without it restore refuses\r\n"
    L"                  such a record, since whoever can change it can make restore put any\r\n"
    L"                  file or value anywhere.\r\n"
    L"\r\n"
    L"signatures lists every signature in force, built in or added by Signatures.txt beside the\r\n"
    L"program, with where it comes from; --check FILE checks a signature file and names every\r\n"
    L"line it refuses. A signature file with any bad line is not used at all: the scan then\r\n"
    L"uses the built-in signatures, writes why on the error stream and ends with 2.\r\n"
    L"\r\n"
    L"startup says whether Quellspur.exe in this folder may start with Windows: only when none\r\n"
    L"but administrators and SYSTEM can change the folder and the program, since it would start\r\n"
    L"at every user's log-on. The setup asks before it writes \"Run On Startup\" for a folder\r\n"
    L"outside Program Files. Exit code 0 when it may, 1 when it may not, with the reason.\r\n"
    L"\r\n"
    L"Exit codes: 0 nothing found (with --clean: every finding dealt with), 1 something found\r\n"
    L"(with --clean: something remains), 2 wrong arguments, the scan could not run or the\r\n"
    L"signature file was refused; for restore, 0 when everything asked for is back in place, 2\r\n"
    L"when something was refused. Any command whose output could not be written (a full disk,\r\n"
    L"a closed pipe) ends with 2.\r\n";

std::wstring Milliseconds(std::uint64_t microseconds) {
  return Joined(
      {DecimalText(microseconds / 1000), L".", DecimalText(microseconds % 1000, 3), L" ms"});
}

// The shortest, median and longest of the scans' times.
std::wstring TimingLine(std::vector<std::uint64_t> times) {
  std::sort(times.begin(), times.end());
  const std::size_t middle = times.size() / 2;
  const std::uint64_t median =
      times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
  return Joined({L"scan time over ", DecimalText(times.size()), L" scans: min ",
                 Milliseconds(times.front()), L", median ", Milliseconds(median), L", max ",
                 Milliseconds(times.back()), L"\r\n"});
}

std::wstring Report(const std::vector<ReportRow>& rows, OutputFormat format, Engine& engine) {
  std::wstring text = format == OutputFormat::Csv ? CsvHeader() : L"";
  for (const ReportRow& row : rows) {
    switch (format) {
      case OutputFormat::Text:
        text += TextLine(row);
        break;
      case OutputFormat::Csv:
        text += CsvLine(row);
        break;
      case OutputFormat::Json:
        text += JsonLine(row);
        break;
    }
  }
  if (format == OutputFormat::Text && rows.empty()) {
    // The lines the main window's list shows after a clean scan.
    for (const std::wstring& line : engine.CleanReport()) {
      text.append(line).append(L"\r\n");
    }
  }
  return text;
}

std::wstring CleanSummary(const std::vector<ReportRow>& rows) {
  const auto dealtWith =
      std::count_if(rows.begin(), rows.end(), [](const ReportRow& row) { return row.DealtWith(); });
  const auto remaining = static_cast<std::ptrdiff_t>(rows.size()) - dealtWith;
  if (remaining == 0) {
    return L"Every finding is dealt with.\r\n";
  }
  return Joined({DecimalText(dealtWith), L" of ", DecimalText(rows.size()),
                 L" findings dealt with; ", DecimalText(remaining), L" remain.\r\n"});
}

// Why restore stops, and how to go on.
std::wstring RestoreRefusal(const std::wstring& why) {
  return Joined(
      {L"QuellScan: restore refused: ", why,
       L". Anyone who can change the record can make restore put any file or registry value "
       L"anywhere. Look through its entries with \"QuellScan quarantine\", then run the restore "
       L"again with --trust-record to restore from it all the same.\r\n"});
}

// A failure no step handled, on the error stream; its text is ASCII.
void WriteFailure(const std::exception& failure, platform::Console& console) {
  const std::string_view what = failure.what();
  console.WriteError(Joined({L"QuellScan: ", std::wstring(what.begin(), what.end()), L"\r\n"}));
}

int Scan(const CommandLine& command, Engine& engine, platform::Os& os, platform::Console& console) {
  engine.ReadSystem();
  const bool signaturesUsed = LoadScanSignatures(command, engine, console);
  std::vector<std::uint64_t> times;
  for (int round = 0; round < std::max(command.repeat, 1); ++round) {
    const std::uint64_t start = os.SteadyMicroseconds();
    engine.Scan([] {});
    times.push_back(os.SteadyMicroseconds() - start);
  }

  // Logged as the main window logs a scan's findings, each before anything is done about it.
  Findings& findings = engine.findings();
  std::vector<ReportRow> rows;
  for (const Finding& finding : findings) {
    engine.LogFinding(finding);
    rows.push_back({finding, std::nullopt});
  }
  if (command.clean) {
    engine.LoadSettings();
    const bool moveFiles = command.moveFiles || IsOn(engine.settings().moveFiles);
    // In list order, as Auto Clean goes down the list.
    for (std::size_t index = 0; index < rows.size(); ++index) {
      rows[index].outcome = engine.Clean(findings[index], moveFiles);
    }
  }

  console.WriteOut(Report(rows, command.format, engine));
  if (command.clean && command.format == OutputFormat::Text && !rows.empty()) {
    console.WriteOut(CleanSummary(rows));
  }
  if (command.repeat != 0) {
    console.WriteError(TimingLine(times));
  }
  const bool remains = std::any_of(rows.begin(), rows.end(), [&](const ReportRow& row) {
    return !command.clean || !row.DealtWith();
  });
  if (!signaturesUsed) {
    return kExitError;  // the findings stand, but the scan lacked what the file adds
  }
  return remains ? kExitFound : kExitNothingFound;
}

// Whether Quellspur.exe beside this program may start with Windows, as its options dialog decides.
int CheckStartWithWindows(platform::Os& os, platform::Console& console) {
  const std::wstring folder = os.GetProgramFolder();
  const auto why = WhyNotStartWithWindows(os, folder, L"Quellspur.exe",
                                          GetWindowsPlatform(os) == WindowsPlatform::Nt);
  console.WriteOut(why ? Joined({*why, L"\r\n"})
                       : Joined({L"Quellspur may start with Windows from ", folder, L".\r\n"}));
  return why ? kExitFound : kExitNothingFound;
}

int RunCommand(const std::vector<std::wstring>& args, platform::Os& os, Engine& engine,
               platform::Console& console) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* reason = std::get_if<std::wstring>(&parsed)) {
    console.WriteError(
        Joined({L"QuellScan: ", *reason, L"; QuellScan --help shows how to use it\r\n"}));
    return kExitError;
  }
  const CommandLine& command = std::get<CommandLine>(parsed);
  try {
    switch (command.action) {
      case CommandLine::Action::Help:
        console.WriteOut(kUsage);
        return kExitNothingFound;
      case CommandLine::Action::Version:
        console.WriteOut(Joined({L"QuellScan (Orvanta Quellspur) ", kVersionText, L"\r\n"}));
        return kExitNothingFound;
      case CommandLine::Action::Quarantine:
        if (const auto why = engine.WhyRecordIsNotTrusted()) {
          console.WriteError(Joined(
              {L"QuellScan: warning: ", *why, L"; restore refuses it without --trust-record\r\n"}));
        }
        return ListQuarantine(command, engine, console);
      case CommandLine::Action::Restore:
        if (const auto why = engine.WhyRecordIsNotTrusted(); why && !command.trustRecord) {
          console.WriteError(RestoreRefusal(*why));
          return kExitError;
        }
        return RestoreChanges(command, engine, os, console);
      case CommandLine::Action::Scan:
        return Scan(command, engine, os, console);
      case CommandLine::Action::Signatures:
        return SignatureCommand(command, engine, console);
      case CommandLine::Action::Startup:
        return CheckStartWithWindows(os, console);
    }
  } catch (const std::exception& failure) {
    WriteFailure(failure, console);
  }
  return kExitError;
}

// The log's last try for the lines another program's lock kept out; those still kept are told.
void WriteKeptLogLines(ActivityLog& log, platform::Console& console) {
  try {
    if (!log.WriteKeptLinesAtEnd(0)) {
      console.WriteError(Joined({L"QuellScan: ", DecimalText(log.KeptLineCount()),
                                 L" lines could not be written to ", log.Path(), L"\r\n"}));
    }
  } catch (const std::exception& failure) {
    WriteFailure(failure, console);
  }
}

}  // namespace

int RunQuellScan(const std::vector<std::wstring>& args, platform::Os& os,
                 platform::MessagePump& pump, platform::Console& console) {
  Engine engine(os, pump, kLogWaitInAllMilliseconds);
  const int exitCode = RunCommand(args, os, engine, console);
  WriteKeptLogLines(engine.log(), console);
  // Output lost on the way (a full disk, a closed pipe) must not pass for a result.
  if (const auto& failure = console.OutFailure()) {
    console.WriteError(
        Joined({L"QuellScan: the output could not be written: ", *failure, L"\r\n"}));
    return kExitError;
  }
  return console.ErrorFailed() ? kExitError : exitCode;
}

}  // namespace quellspur
