#include "console/quarantine_commands.h"

#include <algorithm>

#include "clean/record_text.h"
#include "clean/restore.h"
#include "console/quell_scan.h"
#include "console/table_text.h"
#include "platform/same_name.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

std::wstring IdOf(const QuarantineItem& item) {
  return item.entry ? DecimalText(item.entry->id) : item.unrecordedCopy;
}

std::vector<Column> Columns(const QuarantineItem& item) {
  using Field = std::optional<std::wstring>;
  std::vector<Column> columns = {
      {L"id", IdOf(item), item.entry.has_value()},
      {L"state", StateName(item.state)},
      {L"time", item.entry ? Field(item.entry->time) : Field()},
      {L"backdoor", item.entry ? Field(item.entry->backdoorName) : Field()},
      {L"kind", L"file"},
      {L"path", Field()},
      {L"copy", Field()},
      {L"size", Field(), true},
      {L"sha256", Field()},
      {L"registry_root", Field()},
      {L"registry_view", Field()},
      {L"registry_key", Field()},
      {L"value_name", Field()},
      {L"value_type", Field(), true},
      {L"value_data", Field()},
      {L"lines", Field()},
      {L"reason", item.state == QuarantineState::Refused ? Field(item.refusal) : Field()}};
  auto set = [&columns](const wchar_t* name, Field value) {
    for (Column& column : columns) {
      if (std::wstring_view(column.name) == name) {
        column.value = std::move(value);
      }
    }
  };
  if (!item.entry) {
    set(L"copy", item.unrecordedCopy);
    return columns;
  }
  if (const auto* file = std::get_if<FileChange>(&item.entry->change)) {
    set(L"path", file->originalPath);
    set(L"copy", file->copyName);
    set(L"size", DecimalText(file->size));
    set(L"sha256", std::wstring(file->sha256.begin(), file->sha256.end()));
  } else if (const auto* value = std::get_if<RegistryChange>(&item.entry->change)) {
    set(L"kind", L"registry");
    set(L"registry_root", RootKeyName(value->rootKey));
    if (value->view != 0) {
      set(L"registry_view", RegistryViewName(value->view));
    }
    set(L"registry_key", value->subKey);
    set(L"value_name", value->valueName);
    set(L"value_type", DecimalText(value->type));
    const std::string hex = ToHex(value->data);
    set(L"value_data", std::wstring(hex.begin(), hex.end()));
  } else if (const auto* winIni = std::get_if<WinIniChange>(&item.entry->change)) {
    set(L"kind", L"win.ini");
    set(L"path", winIni->winIniPath);
    std::wstring lines;
    for (const RemovedLine& line : winIni->lines) {
      lines.append(lines.empty() ? L"" : L"\n")
          .append(DecimalText(line.lineNumber))
          .append(L": ")
          .append(line.text);
    }
    set(L"lines", lines);
  }
  return columns;
}

// "<id>  <state>  <time>  <backdoor>  <what>", on one line.
std::wstring TextLine(const QuarantineItem& item) {
  std::wstring what;
  if (!item.entry) {
    what = Joined({L"copy ", item.unrecordedCopy, L", no record: restore it with --to PATH"});
  } else if (const auto* file = std::get_if<FileChange>(&item.entry->change)) {
    what = Joined({L"file ", file->originalPath, L" as ", file->copyName, L", ",
                   DecimalText(file->size), L" bytes"});
  } else if (const auto* value = std::get_if<RegistryChange>(&item.entry->change)) {
    what = Joined({L"start value ", RootKeyName(value->rootKey), L"\\", value->subKey, L",",
                   value->valueName});
    if (value->view != 0) {
      what.append(L" (").append(RegistryViewName(value->view)).append(L" view)");
    }
  } else if (const auto* winIni = std::get_if<WinIniChange>(&item.entry->change)) {
    what = Joined({L"win.ini ", winIni->winIniPath});
    for (const RemovedLine& line : winIni->lines) {
      what.append(L", line ").append(DecimalText(line.lineNumber)).append(L": ").append(line.text);
    }
  }
  if (item.state == QuarantineState::Refused) {
    what.append(L"; never restored: ").append(item.refusal);
  }
  std::wstring line = Joined({IdOf(item), L"  ", StateName(item.state)});
  if (item.entry) {
    line.append(L"  ").append(item.entry->time).append(L"  ").append(item.entry->backdoorName);
  }
  return Joined({OnOneLine(line.append(L"  ").append(what)), L"\r\n"});
}

// The quarantine as its record and its folder show it, the record's damaged lines reported.
QuarantineList ReadQuarantine(Engine& engine, platform::Console& console) {
  // Which entries a clean-up on this machine can have made depends on its Windows folder and
  // registry views.
  engine.ReadSystem();
  QuarantineList list = engine.ListQuarantine();
  for (const DamagedLine& damaged : list.damaged) {
    console.WriteError(
        damaged.lineNumber == 0
            ? Joined({L"QuellScan: ", engine.ChangeRecordPath(), L": ", damaged.reason, L"\r\n"})
            : Joined({L"QuellScan: ", engine.ChangeRecordPath(), L" line ",
                      DecimalText(damaged.lineNumber), L": ", damaged.reason, L"; skipped\r\n"}));
  }
  return list;
}

bool Unreadable(const QuarantineList& list) {
  return std::any_of(list.damaged.begin(), list.damaged.end(),
                     [](const DamagedLine& damaged) { return damaged.lineNumber == 0; });
}

}  // namespace

int ListQuarantine(const CommandLine& command, Engine& engine, platform::Console& console) {
  const QuarantineList list = ReadQuarantine(engine, console);
  std::wstring text;
  if (command.format == OutputFormat::Csv) {
    text = CsvHeaderOf(Columns(QuarantineItem{}));
  }
  for (const QuarantineItem& item : list.items) {
    switch (command.format) {
      case OutputFormat::Text:
        text += TextLine(item);
        break;
      case OutputFormat::Csv:
        text += CsvLineOf(Columns(item));
        break;
      case OutputFormat::Json:
        text += JsonLineOf(Columns(item));
        break;
    }
  }
  if (command.format == OutputFormat::Text && list.items.empty()) {
    text = L"Nothing was changed and nothing is in quarantine.\r\n";
  }
  console.WriteOut(text);
  return kExitNothingFound;
}

int RestoreChanges(const CommandLine& command, Engine& engine, platform::System& system,
                   platform::Console& console) {
  const QuarantineList list = ReadQuarantine(engine, console);

  std::vector<const QuarantineItem*> chosen;
  // A record that can't be read may hold any number of changes that are not back.
  bool refused = Unreadable(list);
  if (command.all) {
    // Newest first: undone in the reverse order of the changes, a file quarantined twice ends as
    // it was before the latest clean-up and win.ini's lines land where they stood. Every entry
    // not restored is asked for, so that what can't come back is said.
    for (auto item = list.items.rbegin(); item != list.items.rend(); ++item) {
      if (item->entry && item->state != QuarantineState::Restored) {
        chosen.push_back(&*item);
      }
    }
  }
  for (const std::wstring& id : command.ids) {
    const auto found = std::find_if(list.items.begin(), list.items.end(), [&](const auto& item) {
      return platform::SameName(system, IdOf(item), id);
    });
    if (found == list.items.end()) {
      console.WriteError(Joined({L"QuellScan: nothing in quarantine has the id ", id, L"\r\n"}));
      refused = true;
    } else if (found->entry.has_value() == command.to.has_value()) {
      console.WriteError(
          Joined({L"QuellScan: ", id,
                  command.to ? L" is recorded: it goes back to its own place, without --to"
                             : L" has no record: name its place with --to PATH",
                  L"\r\n"}));
      refused = true;
    } else {
      chosen.push_back(&*found);
    }
  }

  for (const QuarantineItem* item : chosen) {
    if (item->state == QuarantineState::Restored) {
      console.WriteOut(Joined({IdOf(*item), L": restored before\r\n"}));
      continue;
    }
    const RestoreResult result = item->entry
                                     ? engine.RestoreChange(*item->entry)
                                     : engine.RestoreCopy(item->unrecordedCopy, *command.to);
    const std::wstring said = OnOneLine(Joined({IdOf(*item), L": ", result.message}));
    if (result.outcome == RestoreOutcome::Restored ||
        result.outcome == RestoreOutcome::AlreadyInPlace) {
      console.WriteOut(Joined({said, L"\r\n"}));
    } else {
      console.WriteError(Joined({L"QuellScan: cannot restore ", said, L"\r\n"}));
      refused = true;
    }
  }
  if (chosen.empty() && !refused) {
    console.WriteOut(L"Nothing to restore.\r\n");
  }
  return refused ? kExitError : kExitNothingFound;
}

}  // namespace quellspur
