// QuellScan's command line: what it is asked to do, or why that makes no sense.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace quellspur {

enum class OutputFormat { Text, Csv, Json };

struct CommandLine {
  enum class Action { Scan, Help, Version };
  Action action = Action::Scan;
  bool clean = false;
  bool moveFiles = false;  // with clean: move the files whatever the stored setting says
  OutputFormat format = OutputFormat::Text;
  int repeat = 0;  // scans to time; 0: one scan, untimed
};

// The arguments after the program's name, or a one-line reason why they can't be followed.
std::variant<CommandLine, std::wstring> ParseCommandLine(const std::vector<std::wstring>& args);

}  // namespace quellspur
