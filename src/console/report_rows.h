// One finding as QuellScan reports it: the list's line, a CSV row or a JSON object, with what the
// clean-up did about it.
#pragma once

#include <optional>
#include <string>

#include "clean/clean_up.h"
#include "scan/finding.h"

namespace quellspur {

struct ReportRow {
  // As the scan found it, before a clean-up cleared its process and start entry.
  Finding finding;
  // What the clean-up's outcome was; none when no clean-up ran.
  std::optional<CleanOutcome> outcome;

  // Gone after the clean-up: its process ended or its start entry removed.
  bool DealtWith() const {
    return outcome == CleanOutcome::Terminated || outcome == CleanOutcome::StartRemoved;
  }
};

// The line as the main window's list shows it, marked when the clean-up dealt with it; control
// characters as escapes, so that every finding is one line.
std::wstring TextLine(const ReportRow& row);

std::wstring CsvHeader();
std::wstring CsvLine(const ReportRow& row);
std::wstring JsonLine(const ReportRow& row);

}  // namespace quellspur
