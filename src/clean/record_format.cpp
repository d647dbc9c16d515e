// The change record's lines: written from entries, and read back into them with every line that
// is not one of ours reported instead of trusted.
#include <limits>

#include "clean/change_record.h"
#include "clean/record_text.h"
#include "platform/sha256.h"
#include "platform/types.h"
#include "platform/utf8.h"

namespace quellspur {
namespace {

constexpr std::uint64_t kLargestUint32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kLargestUint64 = std::numeric_limits<std::uint64_t>::max();
constexpr std::size_t kChecksumDigits = 16;
// Where a win.ini line's neighbour is the file's start or end.
constexpr std::string_view kNoLine = "\\-";

// How the record spells a registry root or view.
struct Spelling {
  std::uint32_t value;
  std::string_view text;
};
constexpr Spelling kRoots[] = {{platform::kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"},
                               {platform::kHkeyCurrentUser, "HKEY_CURRENT_USER"}};
constexpr Spelling kViews[] = {
    {platform::kKeyWow64_64Key, "64"}, {platform::kKeyWow64_32Key, "32"}, {0, "-"}};

// The name of a root or view; a value the clean-up never has is written as its number, which no
// reader takes for a root or view.
template <std::size_t N>
std::string NameOf(const Spelling (&table)[N], std::uint32_t value) {
  for (const Spelling& row : table) {
    if (row.value == value) {
      return std::string(row.text);
    }
  }
  return std::to_string(value);
}

std::string OptionalLine(const std::optional<std::wstring>& line) {
  return line ? EscapeField(*line) : std::string(kNoLine);
}

// An entry's fields after the time, kind first.
struct FieldsOf {
  const std::wstring& backdoor;
  RecordVersion version;

  std::vector<std::string> operator()(const FileChange& file) const {
    return {"file",
            EscapeField(backdoor),
            EscapeField(file.originalPath),
            EscapeField(file.copyName),
            std::to_string(file.size),
            file.sha256};
  }
  std::vector<std::string> operator()(const RegistryChange& value) const {
    return {"registry",
            EscapeField(backdoor),
            NameOf(kRoots, value.rootKey),
            NameOf(kViews, value.view),
            EscapeField(value.subKey),
            EscapeField(value.valueName),
            std::to_string(value.type),
            ToHex(value.data)};
  }
  std::vector<std::string> operator()(const WinIniChange& winIni) const {
    std::vector<std::string> fields = {"win.ini", EscapeField(backdoor),
                                       EscapeField(winIni.winIniPath)};
    for (const RemovedLine& line : winIni.lines) {
      fields.push_back(std::to_string(line.lineNumber));
      if (version == RecordVersion::Two) {
        fields.push_back(EscapeField(line.section.value_or(L"")));
        fields.push_back(OptionalLine(line.before));
        fields.push_back(OptionalLine(line.after));
      }
      fields.push_back(EscapeField(line.text));
    }
    return fields;
  }
  std::vector<std::string> operator()(const Restored& restored) const {
    return {"restored", EscapeField(backdoor), std::to_string(restored.id)};
  }
};

// Reads one line's fields, keeping the first thing wrong with them.
class FieldReader {
 public:
  explicit FieldReader(std::vector<std::string_view> fields) : fields_(std::move(fields)) {}

  std::size_t Count() const { return fields_.size(); }
  std::wstring Text(std::size_t index) {
    std::wstring text;
    Check(UnescapeField(fields_[index], text), L"bad escape or control character");
    return text;
  }
  std::optional<std::wstring> OptionalText(std::size_t index) {
    if (fields_[index] == kNoLine) {
      return std::nullopt;
    }
    return Text(index);
  }
  std::uint64_t Number(std::size_t index, std::uint64_t largest) {
    std::uint64_t value = 0;
    Check(ParseDecimal(fields_[index], largest, value), L"bad number");
    return value;
  }
  std::string Bytes(std::size_t index) {
    std::string bytes;
    Check(FromHex(fields_[index], bytes), L"bad hex");
    return bytes;
  }
  std::string Sha256(std::size_t index) {
    std::string bytes;
    Check(fields_[index].size() == 64 && FromHex(fields_[index], bytes), L"bad SHA-256");
    return std::string(fields_[index]);
  }
  template <std::size_t N>
  std::uint32_t Named(const Spelling (&table)[N], std::size_t index, const wchar_t* problem) {
    for (const Spelling& row : table) {
      if (row.text == fields_[index]) {
        return row.value;
      }
    }
    Check(false, problem);
    return 0;
  }
  void Check(bool good, const wchar_t* problem) {
    if (!good && problem_.empty()) {
      problem_ = problem;
    }
  }
  const std::wstring& problem() const { return problem_; }

 private:
  std::vector<std::string_view> fields_;
  std::wstring problem_;
};

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  fields.reserve(16);
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) {
      return fields;
    }
    start = tab + 1;
  }
}

// How many fields each removed win.ini line has.
std::size_t WinIniLineFields(RecordVersion version) {
  return version == RecordVersion::Two ? 5 : 2;
}

// The change of an entry line whose kind and field count are right.
std::variant<FileChange, RegistryChange, WinIniChange, Restored> ChangeOf(std::string_view kind,
                                                                          RecordVersion version,
                                                                          FieldReader& in) {
  if (kind == "file") {
    return FileChange{in.Text(3), in.Text(4), in.Number(5, kLargestUint64), in.Sha256(6)};
  }
  if (kind == "registry") {
    return RegistryChange{in.Named(kRoots, 3, L"unknown registry root"),
                          in.Named(kViews, 4, L"unknown registry view"),
                          in.Text(5),
                          in.Text(6),
                          static_cast<std::uint32_t>(in.Number(7, kLargestUint32)),
                          in.Bytes(8)};
  }
  if (kind == "win.ini") {
    WinIniChange winIni{in.Text(3), {}};
    const std::size_t perLine = WinIniLineFields(version);
    for (std::size_t index = 4; index + perLine <= in.Count(); index += perLine) {
      const std::uint32_t previous = winIni.lines.empty() ? 0 : winIni.lines.back().lineNumber;
      RemovedLine& line = winIni.lines.emplace_back();
      line.lineNumber = static_cast<std::uint32_t>(in.Number(index, kLargestUint32));
      in.Check(line.lineNumber > previous, L"line numbers not ascending");
      if (version == RecordVersion::Two) {
        line.section = in.Text(index + 1);
        line.before = in.OptionalText(index + 2);
        line.after = in.OptionalText(index + 3);
      }
      line.text = in.Text(index + perLine - 1);
    }
    return winIni;
  }
  return Restored{in.Number(3, kLargestUint64)};
}

// Whether an entry of this kind has that many fields (its checksum left out); false for an
// unknown kind.
bool FieldCountFits(std::string_view kind, RecordVersion version, std::size_t count) {
  const std::size_t perLine = WinIniLineFields(version);
  return (kind == "file" && count == 7) || (kind == "registry" && count == 9) ||
         (kind == "win.ini" && count >= 4 + perLine && (count - 4) % perLine == 0) ||
         (kind == "restored" && count == 4);
}

// The checksum that ends a version-2 line of this text.
std::string ChecksumOf(std::string_view text) {
  return platform::Sha256Hex(text).substr(0, kChecksumDigits);
}

// The line's text without its checksum, when the checksum is there and matches.
bool WithoutChecksum(std::string_view& line) {
  if (line.size() <= kChecksumDigits) {
    return false;
  }
  const std::string_view text = line.substr(0, line.size() - kChecksumDigits - 1);
  if (line[text.size()] != '\t' || line.substr(text.size() + 1) != ChecksumOf(text)) {
    return false;
  }
  line = text;
  return true;
}

// The entry of one line without its CR LF, or what is wrong with it.
std::wstring ParseEntry(std::string_view line, RecordVersion version, ChangeEntry& entry) {
  if (!line.empty() && line.back() == kCutLineEnd.front()) {
    return L"cut off: ended by a later entry";
  }
  if (version == RecordVersion::Two && !WithoutChecksum(line)) {
    return L"checksum missing or not matching: cut off or altered";
  }
  if (!IsUtf8(line)) {
    return L"not valid UTF-8";
  }
  std::vector<std::string_view> fields = SplitFields(line);
  const std::string_view kind = fields.size() > 1 ? fields[1] : std::string_view();
  FieldReader in(std::move(fields));
  if (kind != "file" && kind != "registry" && kind != "win.ini" && kind != "restored") {
    return L"unknown kind of entry";
  }
  if (!FieldCountFits(kind, version, in.Count())) {
    return L"wrong number of fields";
  }
  entry.time = in.Text(0);
  entry.backdoorName = in.Text(2);
  entry.change = ChangeOf(kind, version, in);
  return in.problem();
}

// The version a record's first line names.
std::optional<RecordVersion> VersionOf(std::string_view firstLine) {
  if (firstLine == kChangeRecordVersion) {
    return RecordVersion::Two;
  }
  if (firstLine == kChangeRecordVersion1) {
    return RecordVersion::One;
  }
  return std::nullopt;
}

}  // namespace

std::string FormatRecordLine(const ChangeEntry& entry, RecordVersion version) {
  std::string line = EscapeField(entry.time);
  for (const std::string& field : std::visit(FieldsOf{entry.backdoorName, version}, entry.change)) {
    line += '\t';
    line += field;
  }
  if (version == RecordVersion::Two) {
    line += '\t' + ChecksumOf(line);
  }
  return line + "\r\n";
}

RecordVersion RecordVersionOf(std::string_view start) {
  return VersionOf(start.substr(0, start.find("\r\n"))).value_or(RecordVersion::Two);
}

ParsedRecord ParseRecord(std::string_view bytes) {
  ParsedRecord record;
  const RecordVersion version = RecordVersionOf(bytes);
  const std::string_view versionLine =
      version == RecordVersion::Two ? kChangeRecordVersion : kChangeRecordVersion1;
  std::uint64_t number = 0;
  for (std::size_t start = 0; start < bytes.size();) {
    ++number;
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string_view::npos) {
      record.damaged.push_back({number, L"cut off: no line end"});
      break;
    }
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 2;
    if (number == 1 && line != versionLine) {
      record.damaged.push_back({1, L"not a version line \"Quellspur change record 2\" or 1"});
    }
    // Two writers that found no record at once both begin it; the second version line is no
    // entry and no damage.
    if (number == 1 || line == versionLine) {
      continue;
    }
    ChangeEntry entry;
    entry.id = number;
    std::wstring problem = ParseEntry(line, version, entry);
    if (problem.empty()) {
      record.entries.push_back(std::move(entry));
    } else {
      record.damaged.push_back({number, std::move(problem)});
    }
  }
  return record;
}

}  // namespace quellspur
