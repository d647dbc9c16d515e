// QuellScan's command line: what it is asked to do, or why that makes no sense.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quellspur {

enum class OutputFormat { Text, Csv, Json };

struct CommandLine {
  enum class Action { Scan, Quarantine, Restore, Signatures, Help, Version };
  Action action = Action::Scan;
  OutputFormat format = OutputFormat::Text;
  // scan
  bool clean = false;
  bool moveFiles = false;  // with clean: move the files whatever the stored setting says
  int repeat = 0;          // scans to time; 0: one scan, untimed
  // scan: another signature file than the program folder's
  std::optional<std::wstring> signatureFile;
  // signatures: the file to check instead of listing the signatures in force
  std::optional<std::wstring> check;
  // restore
  std::vector<std::wstring> ids;
  bool all = false;
  std::optional<std::wstring> to;  // where an unrecorded copy goes
  bool trustRecord = false;  // restore from a record that others than administrators can change
};

// The arguments after the program's name, or a one-line reason why they can't be followed.
std::variant<CommandLine, std::wstring> ParseCommandLine(const std::vector<std::wstring>& args);

}  // namespace quellspur
