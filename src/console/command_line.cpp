#include "console/command_line.h"

#include <optional>

namespace quellspur {
namespace {

constexpr int kMostRepeats = 100000;

std::optional<OutputFormat> FormatNamed(const std::wstring& name) {
  if (name == L"text") {
    return OutputFormat::Text;
  }
  if (name == L"csv") {
    return OutputFormat::Csv;
  }
  if (name == L"json") {
    return OutputFormat::Json;
  }
  return std::nullopt;
}

// Digits only, from 1 to kMostRepeats.
std::optional<int> RepeatCount(const std::wstring& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of(L"0123456789") != text.npos) {
    return std::nullopt;
  }
  const int count = std::stoi(text);
  return count >= 1 && count <= kMostRepeats ? std::optional<int>(count) : std::nullopt;
}

}  // namespace

std::variant<CommandLine, std::wstring> ParseCommandLine(const std::vector<std::wstring>& args) {
  CommandLine line;
  if (args.empty()) {
    return L"no command given";
  }
  if (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"/?") {
    line.action = CommandLine::Action::Help;
    return line;
  }
  if (args[0] == L"--version") {
    line.action = CommandLine::Action::Version;
    return line;
  }
  if (args[0] != L"scan") {
    return L"unknown command \"" + args[0] + L"\"";
  }
  for (std::size_t at = 1; at < args.size(); ++at) {
    std::wstring option = args[at];
    std::optional<std::wstring> value;
    const std::size_t equals = option.find(L'=');
    if (option.starts_with(L"--") && equals != std::wstring::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    }
    const bool takesValue = option == L"--format" || option == L"--repeat";
    if (takesValue && !value) {
      if (at + 1 == args.size()) {
        return option + L" needs a value";
      }
      value = args[++at];
    } else if (!takesValue && value) {
      return option + L" takes no value";
    }
    if (option == L"--clean") {
      line.clean = true;
    } else if (option == L"--move-files") {
      line.moveFiles = true;
    } else if (option == L"--format") {
      const auto format = FormatNamed(*value);
      if (!format) {
        return L"unknown format \"" + *value + L"\" (text, csv or json)";
      }
      line.format = *format;
    } else if (option == L"--repeat") {
      const auto count = RepeatCount(*value);
      if (!count) {
        return L"--repeat needs a whole number from 1 to " + std::to_wstring(kMostRepeats);
      }
      line.repeat = *count;
    } else {
      return L"unknown option \"" + option + L"\"";
    }
  }
  if (line.moveFiles && !line.clean) {
    return L"--move-files needs --clean";
  }
  if (line.repeat != 0 && line.clean) {
    return L"--repeat times the scan alone and cannot be used with --clean";
  }
  return line;
}

}  // namespace quellspur
