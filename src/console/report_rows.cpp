#include "console/report_rows.h"

#include <vector>

#include "console/table_text.h"
#include "engine/clean_marks.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

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
  return {{L"backdoor", finding.backdoorName},
          {L"kind", start ? L"start entry" : L"process"},
          {L"path", finding.filePath},
          {L"process_id", processField(DecimalText(finding.processId)), true},
          {L"parent_path", processField(finding.parentPath)},
          {L"registry_root", startField(RootKeyName(finding.rootKey))},
          {L"registry_key", startField(finding.subKey)},
          {L"value_name", startField(finding.valueName)},
          {L"registry_view",
           start && finding.view != 0 ? Field(RegistryViewName(finding.view)) : Field()},
          {L"action", action},
          {L"outcome", outcome}};
}

}  // namespace

std::wstring TextLine(const ReportRow& row) {
  const std::wstring mark = row.outcome ? CleanMark(*row.outcome) : L"";
  return Joined({mark, OnOneLine(ReportLine(row.finding)), L"\r\n"});
}

std::wstring CsvHeader() {
  return CsvHeaderOf(Columns(ReportRow{}));
}

std::wstring CsvLine(const ReportRow& row) {
  return CsvLineOf(Columns(row));
}

std::wstring JsonLine(const ReportRow& row) {
  return JsonLineOf(Columns(row));
}

}  // namespace quellspur
