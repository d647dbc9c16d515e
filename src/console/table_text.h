// The machine-readable forms of a table row: CSV (RFC 4180, CR LF) and one JSON object per line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quellspur {

struct Column {
  const wchar_t* name;
  // None when it does not apply to the row: empty in CSV, null in JSON.
  std::optional<std::wstring> value;
  bool number = false;  // written bare in JSON
};

std::wstring CsvHeaderOf(const std::vector<Column>& columns);
std::wstring CsvLineOf(const std::vector<Column>& columns);
std::wstring JsonLineOf(const std::vector<Column>& columns);
// The text with each control character as an escape, so that it stays on one line.
std::wstring OnOneLine(std::wstring_view text);

}  // namespace quellspur
