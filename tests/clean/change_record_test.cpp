#include "clean/change_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "platform/sha256.h"
#include "support/quarantine_paths.h"
#include "testing/fault_injection.h"
#include "testing/sim_machine.h"

namespace quellspur {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kVersion1 = "Quellspur change record 1\r\n";
const std::string kVersion2 = "Quellspur change record 2\r\n";
const std::string kSha = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::wstring kTime = L"2026-12-06 08:00:00";

// A version-2 line of these fields: its checksum is the first 16 hex digits of their SHA-256.
std::string Version2Line(const std::string& fields) {
  return fields + "\t" + platform::Sha256Hex(fields).substr(0, 16) + "\r\n";
}

RemovedLine OldLine(std::uint32_t number, std::wstring text) {
  return {number, std::move(text), std::nullopt, std::nullopt, std::nullopt};
}

// Each kind of entry, with texts that need every escape, as its exact line in either version.
TEST(RecordFormat, EachEntryHasItsExactLineAndReadsBackAsItWas) {
  const std::wstring kTime2 = kTime + L" -05:30";
  const std::string winIni1 =
      "\twin.ini\tMillenium\tC:\\\\WINDOWS\\\\win.ini\t2\tload=\\r\\n\\x01\\x7F\\x9F\t5\t"
      "\\uDBFF \\uDC00 \xf0\x9f\x98\x80 \xd0\x96\\uDBFF";
  struct Case {
    ChangeEntry entry;
    std::string line;
    RecordVersion version;
  };
  const Case cases[] = {
      {{0, kTime2, L"NetBus Pro",
        FileChange{L"C:\\A\\SERVER.EXE", L"SERVER.EXE.2.Backdoor", 1234, kSha}},
       Version2Line("2026-12-06 08:00:00 -05:30\tfile\tNetBus Pro\tC:\\\\A\\\\SERVER.EXE\t"
                    "SERVER.EXE.2.Backdoor\t1234\t" +
                    kSha),
       RecordVersion::Two},
      {{0, kTime2, L"Sub\u0108even",
        RegistryChange{kHkeyLocalMachine, platform::kKeyWow64_32Key, L"Software\\Run", L"tab\there",
                       platform::kRegBinary, std::string("\0\x01\xff", 3)}},
       Version2Line("2026-12-06 08:00:00 -05:30\tregistry\tSub\xc4\x88"
                    "even\tHKEY_LOCAL_MACHINE\t32\tSoftware\\\\Run\ttab\\there\t3\t0001ff"),
       RecordVersion::Two},
      {{0, kTime2, L"", RegistryChange{kHkeyCurrentUser, 0, L"", L"", platform::kRegSz, ""}},
       Version2Line("2026-12-06 08:00:00 -05:30\tregistry\t\tHKEY_CURRENT_USER\t-\t\t\t1\t"),
       RecordVersion::Two},
      // Each line with its section and neighbours; "\-" for none, an empty section before the
      // first one.
      {{0, kTime2, L"Millenium",
        WinIniChange{L"C:\\WINDOWS\\win.ini",
                     {{1, L"run=x", L"", std::nullopt, L"[windows]"},
                      {3, L"load=\\-\t", L"[windows]", L"[windows]", std::nullopt}}}},
       Version2Line("2026-12-06 08:00:00 -05:30\twin.ini\tMillenium\tC:\\\\WINDOWS\\\\win.ini\t"
                    "1\t\t\\-\t[windows]\trun=x\t3\t[windows]\t[windows]\t\\-\tload=\\\\-\\t"),
       RecordVersion::Two},
      {{0, kTime2, L"NetBus", Restored{7}},
       Version2Line("2026-12-06 08:00:00 -05:30\trestored\tNetBus\t7"),
       RecordVersion::Two},
      // Version 1: no checksum, and a win.ini line is its number and text alone.
      {{0, kTime, L"Millenium",
        WinIniChange{L"C:\\WINDOWS\\win.ini",
                     {OldLine(2, L"load=\r\n\x01\x7f\x9f"),
                      OldLine(5, L"\xDBFF \xDC00 \xD83D\xDE00 \x0416\xDBFF")}}},
       "2026-12-06 08:00:00" + winIni1 + "\r\n",
       RecordVersion::One},
      {{0, kTime, L"NetBus", Restored{7}},
       "2026-12-06 08:00:00\trestored\tNetBus\t7\r\n",
       RecordVersion::One},
  };
  for (const auto& [entry, line, version] : cases) {
    EXPECT_EQ(FormatRecordLine(entry, version), line);
    const ParsedRecord read =
        ParseRecord((version == RecordVersion::Two ? kVersion2 : kVersion1) + line);
    ChangeEntry expected = entry;
    expected.id = 2;
    EXPECT_EQ(read.entries, std::vector<ChangeEntry>{expected}) << line;
    EXPECT_TRUE(read.damaged.empty()) << line;
  }
}

// No line of version 2 that was cut short, or had any one byte changed, reads as an entry.
TEST(RecordFormat, ACutOrAlteredVersion2LineNeverReadsAsAnEntry) {
  const ChangeEntry entries[] = {
      {0, kTime + L" +01:00", L"Millenium",
       WinIniChange{L"C:\\WINDOWS\\win.ini",
                    {{2, L"load=C:\\SYSUPD\\MSRUNDLL.EXE", L"[windows]", L"[windows]", L"run="}}}},
      {0, kTime + L" +01:00", L"NetBus", FileChange{L"C:\\A.EXE", L"A.EXE.Backdoor", 12, kSha}},
      {0, kTime + L" +01:00", L"NetBus", Restored{12}},
  };
  for (const ChangeEntry& entry : entries) {
    const std::string line = FormatRecordLine(entry);
    const std::string text = line.substr(0, line.size() - 2);
    ASSERT_EQ(ParseRecord(kVersion2 + line).entries.size(), 1u);
    for (std::size_t length = 0; length < text.size(); ++length) {
      // Ended by the next append, or by hand with a CR LF of its own.
      for (const std::string& end : {std::string(kCutLineEnd), std::string("\r\n")}) {
        const ParsedRecord read = ParseRecord(kVersion2 + text.substr(0, length) + end + line);
        ASSERT_EQ(read.entries.size(), 1u) << length;
        EXPECT_EQ(read.entries[0].id, 3u);
      }
    }
    for (std::size_t at = 0; at < text.size(); ++at) {
      for (int change : {1, 0x20, 0x80}) {
        std::string altered = line;
        altered[at] = static_cast<char>(altered[at] ^ change);
        EXPECT_TRUE(ParseRecord(kVersion2 + altered).entries.empty()) << altered;
      }
    }
  }
}

// Whatever went wrong with a line, it is named by its number and every other entry still reads.
TEST(RecordFormat, ADamagedLineIsReportedByItsNumberAndTheRestStillReads) {
  const std::string file = "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\t" + kSha + "\r\n";
  const std::string lines[] = {
      kVersion1,
      file,                                                                 // 2
      "t\tregistry\tX\tHKEY_CURRENT_USER\t-\tRun\tv\t1\t0g\r\n",            // bad hex
      std::string("\xff\xfe\0\x80garbage\r\n", 13),                         // not UTF-8
      "t\tfolder\tX\r\n",                                                   // unknown kind
      "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\r\n",                    // a field short
      "t\tfile\tX\tC:\\q\tA.EXE.Backdoor\t12\t" + kSha + "\r\n",            // bad escape
      "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t-1\t" + kSha + "\r\n",      // bad number
      "t\trestored\tX\t2\r\n",                                              // 9
      "t\twin.ini\tX\tw.ini\t5\ta\t3\tb\r\n",                               // out of order
      "t\tregistry\tX\tHKEY_USERS\t-\tRun\tv\t1\t00\r\n",                   // unknown root
      "t\tfile\tX\tC:\\\\A\x01.EXE\tA.EXE.Backdoor\t12\t" + kSha + "\r\n",  // raw control
      kVersion1,  // written twice: no entry
      "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\t" + kSha + "\x18\r\n",  // cut, then ended
      "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\t" + kSha.substr(1),     // cut off
  };
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
  }
  // The numbers of the lines read as entries, and of the damaged ones.
  using Numbers = std::vector<std::uint64_t>;
  const auto numbers = [](const ParsedRecord& record) {
    std::pair<Numbers, Numbers> found;
    std::ranges::transform(record.entries, std::back_inserter(found.first), &ChangeEntry::id);
    std::ranges::transform(record.damaged, std::back_inserter(found.second),
                           &DamagedLine::lineNumber);
    return found;
  };
  EXPECT_EQ(numbers(ParseRecord(bytes)),
            (std::pair{Numbers{2, 9}, Numbers{3, 4, 5, 6, 7, 8, 10, 11, 12, 14, 15}}));
  // Without a version line, line 1 is damaged and the rest reads as version 2: a version-1 line
  // has no checksum.
  const std::string file2 = Version2Line("t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\t" + kSha);
  for (const std::string& first : {file, std::string("Quellspur change record 3\r\n")}) {
    EXPECT_EQ(numbers(ParseRecord(first + file2 + file)), (std::pair{Numbers{2}, Numbers{1, 3}}));
  }
  EXPECT_EQ(numbers(ParseRecord("")), (std::pair{Numbers{}, Numbers{}}));
}

// A new record is version 2, its times with their lead over UTC; a line cut off by a crash is
// ended so that the next entry gets a line of its own; a line that can't be written, or whose
// time can't be told in full, says so.
TEST(ChangeRecordFile, BeginsVersion2WithTheZonesOffsetAndEndsACutLine) {
  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  sim.SetClock({2026, 12, 6, 8, 1, 2});
  sim.SetTimeZone(platform::kTimeZoneIdDaylight, {300, 0, -60});  // New York in summer
  ChangeRecord record{os};
  EXPECT_EQ(record.Path(), testing::ChangeRecordPath());
  EXPECT_TRUE(record.Append({0, L"not this time", L"NetBus", Restored{2}}));
  sim.PutFile(record.Path(), sim.FileContent(record.Path()) + "2026-12-06 08:01:02\tfile\tcu");
  sim.SetTimeZone(platform::kTimeZoneIdStandard, {-330, 0, -60});  // India
  EXPECT_TRUE(record.Append({0, {}, L"NetBus", Restored{3}}));
  os.FailOn(platform::Call::AppendToFile, 1);
  EXPECT_FALSE(record.Append({0, {}, L"NetBus", Restored{4}}));
  os.FailOn(platform::Call::GetTimeZoneInformation, 1);
  EXPECT_FALSE(record.Append({0, {}, L"NetBus", Restored{5}}));

  EXPECT_EQ(sim.FileContent(record.Path()),
            kVersion2 + Version2Line("2026-12-06 08:01:02 -04:00\trestored\tNetBus\t2") +
                "2026-12-06 08:01:02\tfile\tcu\x18\r\n" +
                Version2Line("2026-12-06 08:01:02 +05:30\trestored\tNetBus\t3"));
  const ParsedRecord read = record.Read();
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[1].id, 4u);
  EXPECT_EQ(std::get<Restored>(read.entries[1].change).id, 3u);
  ASSERT_EQ(read.damaged.size(), 1u);
  EXPECT_EQ(read.damaged[0].lineNumber, 3u);
}

// The user's old record is never rewritten: its new lines keep version 1's form, and a line cut
// off in it stays damaged however it is ended. No record that is there but can't be looked at
// gets a second beginning.
TEST(ChangeRecordFile, AVersion1RecordGetsVersion1LinesAndItsCutLineStaysDamaged) {
  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  ChangeRecord record{os};
  const std::string old = kVersion1 +
                          "2026-01-01 10:00:00\twin.ini\tMillenium\tC:\\\\WINDOWS\\\\win.ini\t2\t"
                          "load=C:\\\\SYSUPD\\\\MSRUNDLL.EXE\r\n"
                          "2026-01-01 10:00:01\twin.ini\tMillenium\tC:\\\\WINDOWS\\\\win.ini\t2\t"
                          "load=C:\\\\SYSUPD\\\\MSRUNDLL";
  sim.PutFile(record.Path(), old);
  EXPECT_TRUE(record.Append(
      {0,
       {},
       L"Millenium",
       WinIniChange{L"C:\\WINDOWS\\win.ini", {{4, L"run=", L"[windows]", L"x", std::nullopt}}}}));
  EXPECT_EQ(sim.FileContent(record.Path()),
            old +
                "\x18\r\n2026-01-01 12:00:00\twin.ini\tMillenium\tC:\\\\WINDOWS\\\\win.ini\t4\t"
                "run=\r\n");
  const ParsedRecord read = record.Read();
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(std::get<WinIniChange>(read.entries[0].change).lines,
            std::vector{OldLine(2, L"load=C:\\SYSUPD\\MSRUNDLL.EXE")});
  EXPECT_EQ(std::get<WinIniChange>(read.entries[1].change).lines, std::vector{OldLine(4, L"run=")});
  ASSERT_EQ(read.damaged.size(), 1u);
  EXPECT_EQ(read.damaged[0].lineNumber, 3u);

  os.FailOn(platform::Call::GetFileLength, 1, false, platform::kErrorSharingViolation);
  EXPECT_FALSE(record.Append({0, {}, L"NetBus", Restored{2}}));
  os.FailOn(platform::Call::ReadFileAt, 1);
  EXPECT_FALSE(record.Append({0, {}, L"NetBus", Restored{2}}));
  EXPECT_EQ(record.Read().entries.size(), 2u);
}

}  // namespace
}  // namespace quellspur
