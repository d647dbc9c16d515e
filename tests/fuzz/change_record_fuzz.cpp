// The change record's parser on any bytes: each line is a version line, an entry or a damaged
// line, once, and every entry it reads is written back by FormatRecordLine without loss.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "clean/change_record.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellspur;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParsedRecord record = ParseRecord(bytes);

  // Lines end at CR LF; bytes after the last one are a cut line.
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find("\r\n", start), bytes.size());
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  std::vector<int> reports(lines.size() + 1);
  auto report = [&](std::uint64_t number) {
    Require(number >= 1 && number <= lines.size(), "a reported line is in the record");
    ++reports[number];
  };
  std::for_each(record.entries.begin(), record.entries.end(), [&](auto& e) { report(e.id); });
  std::for_each(record.damaged.begin(), record.damaged.end(),
                [&](auto& line) { report(line.lineNumber); });
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    Require(
        reports[number] == 1 || (reports[number] == 0 && lines[number - 1] == kChangeRecordVersion),
        "each line is a version line, an entry or a damaged line, once");
  }

  for (ChangeEntry entry : record.entries) {
    const ParsedRecord again =
        ParseRecord(std::string(kChangeRecordVersion) + "\r\n" + FormatRecordLine(entry));
    entry.id = 2;
    Require(again.damaged.empty() && again.entries.size() == 1 && again.entries[0] == entry,
            "an entry read is written back as it was");
  }
  return 0;
}
