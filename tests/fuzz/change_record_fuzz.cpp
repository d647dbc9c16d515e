// The change record's parser on any bytes: each line is a version line, an entry or a damaged
// line, once; every entry it reads is written back by FormatRecordLine without loss; and no
// version-2 line that was cut short, or had a byte changed, reads as an entry.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "clean/change_record.h"
#include "fuzz_check.h"

namespace {

using namespace quellspur;

// The line, cut and altered at places the input chooses, never reads as an entry.
void RequireDamagedWhenCutOrAltered(const std::string& line, std::size_t seed) {
  const std::string header = std::string(kChangeRecordVersion) + "\r\n";
  const std::string text = line.substr(0, line.size() - 2);
  for (std::size_t length : {seed % text.size(), text.size() / 2, text.size() - 1}) {
    for (std::string_view end : {kCutLineEnd, std::string_view("\r\n")}) {
      Require(ParseRecord(header + text.substr(0, length) + std::string(end)).entries.empty(),
              "a cut version-2 line is no entry");
    }
  }
  for (std::size_t at : {seed % text.size(), text.size() - 1, std::size_t{0}}) {
    std::string altered = line;
    altered[at] = static_cast<char>(altered[at] ^ (1 << (seed % 8)));
    Require(ParseRecord(header + altered).entries.empty(), "an altered version-2 line is no entry");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParsedRecord record = ParseRecord(bytes);
  const RecordVersion version = RecordVersionOf(bytes);
  const std::string versionLine(version == RecordVersion::Two ? kChangeRecordVersion
                                                              : kChangeRecordVersion1);

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
    Require(reports[number] == 1 || (reports[number] == 0 && lines[number - 1] == versionLine),
            "each line is a version line, an entry or a damaged line, once");
  }

  for (ChangeEntry entry : record.entries) {
    const std::string line = FormatRecordLine(entry, version);
    const ParsedRecord again = ParseRecord(versionLine + "\r\n" + line);
    entry.id = 2;
    Require(again.damaged.empty() && again.entries.size() == 1 && again.entries[0] == entry,
            "an entry read is written back as it was");
    RequireDamagedWhenCutOrAltered(FormatRecordLine(entry), size);
  }
  return 0;
}
