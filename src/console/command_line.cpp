#include "console/command_line.h"

#include "platform/text.h"

namespace quellspur {
namespace {

constexpr int kMostRepeats = 100000;

using Action = CommandLine::Action;

// Constant data, searched in place: nothing to build when the program starts.
struct CommandName {
  std::wstring_view name;
  Action action;
};

constexpr CommandName kCommands[] = {
    {L"scan", Action::Scan},       {L"quarantine", Action::Quarantine},
    {L"restore", Action::Restore}, {L"signatures", Action::Signatures},
    {L"--help", Action::Help},     {L"-h", Action::Help},
    {L"/?", Action::Help},         {L"--version", Action::Version},
    {L"startup", Action::Startup}};

// The options each command takes, and whether each takes a value; help, version and startup take
// none.
struct OptionName {
  Action action;
  std::wstring_view name;
  bool takesValue;
};

constexpr OptionName kOptions[] = {
    {Action::Scan, L"--clean", false},           {Action::Scan, L"--move-files", false},
    {Action::Scan, L"--format", true},           {Action::Scan, L"--repeat", true},
    {Action::Scan, L"--signatures", true},       {Action::Quarantine, L"--format", true},
    {Action::Restore, L"--all", false},          {Action::Restore, L"--to", true},
    {Action::Restore, L"--trust-record", false}, {Action::Signatures, L"--format", true},
    {Action::Signatures, L"--check", true}};

const CommandName* CommandNamed(std::wstring_view name) {
  for (const CommandName& command : kCommands) {
    if (command.name == name) {
      return &command;
    }
  }
  return nullptr;
}

const OptionName* OptionNamed(Action action, std::wstring_view name) {
  for (const OptionName& option : kOptions) {
    if (option.action == action && option.name == name) {
      return &option;
    }
  }
  return nullptr;
}

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
  int count = 0;
  for (const wchar_t digit : text) {
    count = count * 10 + (digit - L'0');
  }
  return count >= 1 && count <= kMostRepeats ? std::optional<int>(count) : std::nullopt;
}

// Sets one option; a reason when its value makes no sense.
std::optional<std::wstring> Apply(CommandLine& line, const std::wstring& option,
                                  const std::wstring& value) {
  if (option == L"--clean") {
    line.clean = true;
  } else if (option == L"--move-files") {
    line.moveFiles = true;
  } else if (option == L"--all") {
    line.all = true;
  } else if (option == L"--trust-record") {
    line.trustRecord = true;
  } else if (option == L"--to") {
    line.to = value;
  } else if (option == L"--signatures") {
    line.signatureFile = value;
  } else if (option == L"--check") {
    line.check = value;
  } else if (option == L"--format") {
    const auto format = FormatNamed(value);
    if (!format) {
      return Joined({L"unknown format \"", value, L"\" (text, csv or json)"});
    }
    line.format = *format;
  } else if (option == L"--repeat") {
    const auto count = RepeatCount(value);
    if (!count) {
      return Joined({L"--repeat needs a whole number from 1 to ", DecimalText(kMostRepeats)});
    }
    line.repeat = *count;
  }
  return std::nullopt;
}

// What makes no sense in the options taken together.
std::optional<std::wstring> Conflict(const CommandLine& line) {
  if (line.moveFiles && !line.clean) {
    return L"--move-files needs --clean";
  }
  if (line.repeat != 0 && line.clean) {
    return L"--repeat times the scan alone and cannot be used with --clean";
  }
  if (line.action == Action::Restore) {
    if (line.all == !line.ids.empty()) {
      return L"restore needs the ids to restore, or --all";
    }
    if (line.to && line.ids.size() != 1) {
      return L"--to puts back one unrecorded copy: restore NAME --to PATH";
    }
  }
  return std::nullopt;
}

}  // namespace

std::variant<CommandLine, std::wstring> ParseCommandLine(const std::vector<std::wstring>& args) {
  if (args.empty()) {
    return L"no command given";
  }
  const CommandName* command = CommandNamed(args[0]);
  if (command == nullptr) {
    return Joined({L"unknown command \"", args[0], L"\""});
  }
  CommandLine line;
  line.action = command->action;
  for (std::size_t at = 1; at < args.size(); ++at) {
    std::wstring option = args[at];
    if (!option.starts_with(L"-") && line.action == Action::Restore) {
      line.ids.push_back(option);
      continue;
    }
    std::optional<std::wstring> value;
    const std::size_t equals = option.find(L'=');
    if (option.starts_with(L"--") && equals != std::wstring::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    }
    const OptionName* known = OptionNamed(line.action, option);
    if (known == nullptr) {
      return Joined({L"unknown option \"", option, L"\""});
    }
    if (known->takesValue && !value) {
      if (at + 1 == args.size()) {
        return Joined({option, L" needs a value"});
      }
      value = args[++at];
    } else if (!known->takesValue && value) {
      return Joined({option, L" takes no value"});
    }
    if (const auto reason = Apply(line, option, value.value_or(L""))) {
      return *reason;
    }
  }
  if (const auto reason = Conflict(line)) {
    return *reason;
  }
  return line;
}

}  // namespace quellspur
