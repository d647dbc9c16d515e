#include "console/report_rows.h"

#include <cwchar>
#include <iterator>
#include <vector>

#include "platform/registry.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

struct Column {
  const wchar_t* name;
  // None when it does not apply: a start entry has no process, a process no registry value.
  std::optional<std::wstring> value;
  bool number = false;
};

std::vector<Column> Columns(const ReportRow& row) {
  const Finding& finding = row.finding;
  const bool start = finding.HasStartEntry();
  using Field = std::optional<std::wstring>;
  auto startField = [start](const std::wstring& text) { return start ? Field(text) : Field(); };
  auto processField = [start](const std::wstring& text) { return start ? Field() : Field(text); };
  std::wstring action = L"none";
  if (finding.HasProcess()) {
    action = L"terminate";
  } else if (start) {
    action = L"remove start entry";
  }
  Field outcome;
  if (row.outcome) {
    outcome = row.DealtWith() ? L"done" : L"not done";
  }
  Field view;
  if (start && finding.view == platform::kKeyWow64_64Key) {
    view = L"64-bit";
  } else if (start && finding.view == platform::kKeyWow64_32Key) {
    view = L"32-bit";
  }
  return {{L"backdoor", finding.backdoorName},
          {L"kind", start ? L"start entry" : L"process"},
          {L"path", finding.filePath},
          {L"process_id", processField(std::to_wstring(finding.processId)), true},
          {L"parent_path", processField(finding.parentPath)},
          {L"registry_root",
           startField(finding.rootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER"
                                                                    : L"HKEY_LOCAL_MACHINE")},
          {L"registry_key", startField(finding.subKey)},
          {L"value_name", startField(finding.valueName)},
          {L"registry_view", view},
          {L"action", action},
          {L"outcome", outcome}};
}

bool IsSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

std::wstring CsvField(const std::wstring& text) {
  if (text.find_first_of(L",\"\r\n") == std::wstring::npos) {
    return text;
  }
  std::wstring quoted = L"\"";
  for (wchar_t c : text) {
    quoted += c;
    if (c == L'"') {
      quoted += c;
    }
  }
  return quoted + L"\"";
}

std::wstring JsonString(const std::wstring& text) {
  std::wstring quoted = L"\"";
  for (std::size_t at = 0; at < text.size(); ++at) {
    const wchar_t c = text[at];
    // A pair of surrogates stays as it is; either half alone can't be written as UTF-8.
    const bool paired = at + 1 < text.size() && c >= 0xD800 && c <= 0xDBFF &&
                        text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    if (c == L'"' || c == L'\\') {
      quoted += L'\\';
      quoted += c;
    } else if (c < 0x20 || (IsSurrogate(c) && !paired)) {
      wchar_t code[8];
      std::swprintf(code, std::size(code), L"\\u%04x", static_cast<unsigned>(c));
      quoted += code;
    } else {
      quoted += c;
      if (paired) {
        quoted += text[++at];
      }
    }
  }
  return quoted + L"\"";
}

}  // namespace

std::wstring TextLine(const ReportRow& row) {
  std::wstring line;
  if (row.outcome == CleanOutcome::Terminated) {
    line = kTerminatedPrefix;
  } else if (row.outcome == CleanOutcome::StartRemoved) {
    line = kErasedPrefix;
  }
  for (wchar_t c : ReportLine(row.finding)) {
    line += IsControlCharacter(c) ? EscapedCharacter(c) : std::wstring(1, c);
  }
  return line + L"\r\n";
}

std::wstring CsvHeader() {
  std::wstring line;
  for (const Column& column : Columns(ReportRow{})) {
    line += (line.empty() ? L"" : L",") + std::wstring(column.name);
  }
  return line + L"\r\n";
}

std::wstring CsvLine(const ReportRow& row) {
  std::wstring line;
  bool first = true;
  for (const Column& column : Columns(row)) {
    line += (first ? L"" : L",") + CsvField(column.value.value_or(L""));
    first = false;
  }
  return line + L"\r\n";
}

std::wstring JsonLine(const ReportRow& row) {
  std::wstring line;
  for (const Column& column : Columns(row)) {
    line += (line.empty() ? L"{\"" : L",\"") + std::wstring(column.name) + L"\":";
    if (!column.value) {
      line += L"null";
    } else {
      line += column.number ? *column.value : JsonString(*column.value);
    }
  }
  return line + L"}\r\n";
}

}  // namespace quellspur
