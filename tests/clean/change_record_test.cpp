#include "clean/change_record.h"

#include <gtest/gtest.h>

#include "support/quarantine_paths.h"
#include "testing/fault_injection.h"
#include "testing/sim_machine.h"

namespace quellspur {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kVersion = "Quellspur change record 1\r\n";
const std::string kSha = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::wstring kTime = L"2026-12-06 08:00:00";

// Each kind of entry, with texts that need every escape, as its exact line.
TEST(RecordFormat, EachEntryHasItsExactLineAndReadsBackAsItWas) {
  const std::pair<ChangeEntry, std::string> cases[] = {
      {{0, kTime, L"NetBus Pro",
        FileChange{L"C:\\A\\SERVER.EXE", L"SERVER.EXE.2.Backdoor", 1234, kSha}},
       "\tfile\tNetBus Pro\tC:\\\\A\\\\SERVER.EXE\tSERVER.EXE.2.Backdoor\t1234\t" + kSha},
      {{0, kTime, L"Sub\u0108even",
        RegistryChange{kHkeyLocalMachine, platform::kKeyWow64_32Key, L"Software\\Run", L"tab\there",
                       platform::kRegBinary, std::string("\0\x01\xff", 3)}},
       "\tregistry\tSub\xc4\x88"
       "even\tHKEY_LOCAL_MACHINE\t32\tSoftware\\\\Run\ttab\\there\t3\t0001ff"},
      {{0, kTime, L"", RegistryChange{kHkeyCurrentUser, 0, L"", L"", platform::kRegSz, ""}},
       "\tregistry\t\tHKEY_CURRENT_USER\t-\t\t\t1\t"},
      {{0, kTime, L"Millenium",
        WinIniChange{
            L"C:\\WINDOWS\\win.ini",
            {{2, L"load=\r\n\x01\x7f\x9f"}, {5, L"\xDBFF \xDC00 \xD83D\xDE00 \x0416\xDBFF"}}}},
       "\twin.ini\tMillenium\tC:\\\\WINDOWS\\\\win.ini\t2\tload=\\r\\n\\x01\\x7F\\x9F\t5\t"
       "\\uDBFF \\uDC00 \xf0\x9f\x98\x80 \xd0\x96\\uDBFF"},
      {{0, kTime, L"NetBus", Restored{7}}, "\trestored\tNetBus\t7"},
  };
  for (const auto& [entry, fields] : cases) {
    const std::string line = "2026-12-06 08:00:00" + fields + "\r\n";
    EXPECT_EQ(FormatRecordLine(entry), line);
    const ParsedRecord read = ParseRecord(kVersion + line);
    ChangeEntry expected = entry;
    expected.id = 2;
    EXPECT_EQ(read.entries, std::vector<ChangeEntry>{expected}) << line;
    EXPECT_TRUE(read.damaged.empty()) << line;
  }
}

// Whatever went wrong with a line, it is named by its number and every other entry still reads.
TEST(RecordFormat, ADamagedLineIsReportedByItsNumberAndTheRestStillReads) {
  const std::string file = "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\t" + kSha + "\r\n";
  const std::string lines[] = {
      kVersion,
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
      kVersion,                                                          // written twice: no entry
      "t\tfile\tX\tC:\\\\A.EXE\tA.EXE.Backdoor\t12\t" + kSha.substr(1),  // cut off
  };
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
  }
  const auto numbers = [](const ParsedRecord& record) {
    std::vector<std::uint64_t> ids;
    std::vector<std::uint64_t> damaged;
    for (const ChangeEntry& entry : record.entries) {
      ids.push_back(entry.id);
    }
    for (const DamagedLine& line : record.damaged) {
      damaged.push_back(line.lineNumber);
    }
    return std::pair{ids, damaged};
  };
  EXPECT_EQ(numbers(ParseRecord(bytes)),
            (std::pair{std::vector<std::uint64_t>{2, 9},
                       std::vector<std::uint64_t>{3, 4, 5, 6, 7, 8, 10, 11, 12, 14}}));
  // Without its version line, or with another, line 1 is damaged and the rest reads on.
  for (const std::string& first : {file, std::string("Quellspur change record 2\r\n")}) {
    EXPECT_EQ(numbers(ParseRecord(first + file)),
              (std::pair{std::vector<std::uint64_t>{2}, std::vector<std::uint64_t>{1}}));
  }
  EXPECT_EQ(numbers(ParseRecord("")),
            (std::pair{std::vector<std::uint64_t>{}, std::vector<std::uint64_t>{}}));
}

// The file begins with its version line; an entry after a line cut off by a crash still gets a
// line of its own; a line that can't be written says so.
TEST(ChangeRecordFile, AppendsStampedLinesAfterItsVersionLineAndEndsACutLine) {
  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  sim.SetClock({2026, 12, 6, 8, 1, 2});
  ChangeRecord record{os};
  EXPECT_EQ(record.Path(), testing::ChangeRecordPath());
  EXPECT_TRUE(record.Append({0, L"not this time", L"NetBus", Restored{2}}));
  sim.PutFile(record.Path(), sim.FileContent(record.Path()) + "2026-12-06 08:01:02\tfile\tcu");
  EXPECT_TRUE(record.Append({0, {}, L"NetBus", Restored{3}}));
  os.FailOn(platform::Call::AppendToFile, 1);
  EXPECT_FALSE(record.Append({0, {}, L"NetBus", Restored{4}}));

  EXPECT_EQ(sim.FileContent(record.Path()), kVersion +
                                                "2026-12-06 08:01:02\trestored\tNetBus\t2\r\n"
                                                "2026-12-06 08:01:02\tfile\tcu\r\n"
                                                "2026-12-06 08:01:02\trestored\tNetBus\t3\r\n");
  const ParsedRecord read = record.Read();
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[1].id, 4u);
  EXPECT_EQ(std::get<Restored>(read.entries[1].change).id, 3u);
  ASSERT_EQ(read.damaged.size(), 1u);
  EXPECT_EQ(read.damaged[0].lineNumber, 3u);
}

}  // namespace
}  // namespace quellspur
