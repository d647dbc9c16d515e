#include <gtest/gtest.h>

#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

class ProcessProbe : public ScanTest {
 protected:
  void SetUp() override {
    UseWindows98();
    parent_ = sim.StartProcess(L"C:\\WINDOWS\\LAUNCH.EXE", 0);
    sim.PutFile(L"C:\\WINDOWS\\LAUNCH.EXE", "MZ");
  }

  // A running executable of the given length that names itself in its tail and is started by a
  // value under HKEY_LOCAL_MACHINE's Run key.
  std::uint32_t StartServer(const std::wstring& path, std::size_t length, const std::string& tail,
                            bool registered = true) {
    sim.PutFile(path, Image(length, tail));
    if (registered) {
      sim.SetRegistryText(kHklm, kRunKey, L"start " + path, path);
    }
    return sim.StartProcess(path, parent_);
  }

  std::uint32_t parent_ = 0;
};

TEST_F(ProcessProbe, SizeRuleNeedsTheLengthWindowTheNameInTheTailAndAStartEntry) {
  StartServer(L"C:\\A\\TOOSMALL.EXE", 124900, "TOOSMALL.EXE");
  const std::uint32_t lowest = StartServer(L"C:\\A\\LOWEST.EXE", 124901, "lowest.exe");
  const std::uint32_t highest = StartServer(L"C:\\A\\HIGHEST.EXE", 125049, "HiGhEsT.ExE\r\n");
  StartServer(L"C:\\A\\TOOBIG.EXE", 125050, "TOOBIG.EXE");
  StartServer(L"C:\\A\\UNSTARTED.EXE", 125000, "UNSTARTED.EXE", false);
  StartServer(L"C:\\A\\NAMELESS.EXE", 125000, "SOMETHING ELSE");
  sim.EndProcess(parent_, 0);  // a parent that has ended is unknown

  scanner.FindByProcess();

  const Findings& table = scanner.findings();
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(table[0].filePath, L"C:\\A\\LOWEST.EXE");
  EXPECT_EQ(table[0].rootKey, 0x80000002u);
  EXPECT_EQ(table[1].processId, lowest);
  EXPECT_EQ(table[1].parentPath, L"-unknown-");
  EXPECT_EQ(table[2].filePath, L"C:\\A\\HIGHEST.EXE");
  EXPECT_EQ(table[3].processId, highest);
}

TEST_F(ProcessProbe, AnUnreadableExecutableIsPassedOver) {
  StartServer(L"C:\\A\\FIRST.EXE", 125000, "FIRST.EXE");
  sim.StartProcess(L"C:\\A\\VANISHED.EXE", parent_);  // its file is gone
  StartServer(L"C:\\A\\LATER.EXE", 125000, "LATER.EXE");

  scanner.FindByProcess();

  ASSERT_EQ(scanner.findings().size(), 4u);
  EXPECT_EQ(scanner.findings()[1].filePath, L"C:\\A\\FIRST.EXE");
  EXPECT_EQ(scanner.findings()[3].filePath, L"C:\\A\\LATER.EXE");
}

class FileTail : public ScanTest {
 protected:
  bool Check(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = L"C:\\WINDOWS\\SYSTEM\\" + name;
    sim.PutFile(path, bytes);
    return scanner.NameInFileTail(path);
  }
};

TEST_F(FileTail, FindsTheNameInAnyCaseWithinTheLast101BytesOnceACandidateFits) {
  EXPECT_TRUE(Check(L"PATCH.EXE", Image(4000, "patch.exe" + std::string(92, '\0'))));
  EXPECT_TRUE(Check(L"patch.exe", Image(4000, "xxPaTcH.ExExx")));
  EXPECT_TRUE(Check(L"PATCH.EXE", Image(101, "PATCH.EXE")));
  // Starting one byte before the tail, it is out of sight.
  EXPECT_FALSE(Check(L"PATCH.EXE", Image(4000, "PATCH.EXE" + std::string(93, '-'))));
  EXPECT_TRUE(Check(L"PATCH.EXE", Image(4000, "PATCH.EXE" + std::string(92, '-'))));
  // A candidate is not looked at again after a miss.
  EXPECT_FALSE(Check(L"AAB.EXE", Image(4000, "AAAB.EXE")));
  EXPECT_TRUE(Check(L"AAB.EXE", Image(4000, "AAB.EXE")));
  // The miss on the first seven bytes leaves the last two A to start the name.
  EXPECT_TRUE(Check(L"AAB.EXE", Image(4000, "AAAAAAAAAB.EXE")));
  EXPECT_FALSE(Check(L"AAB.EXE", Image(4000, "AAAAAAAAB.EXE")));
  // Anything unreadable is no match.
  EXPECT_FALSE(Check(L"PATCH.EXE", Image(4000, "PATCH.EX")));  // cut off by the end of the file
  EXPECT_FALSE(Check(L"PATCH.EXE", "PATCH.EXE"));              // shorter than the tail
  EXPECT_FALSE(scanner.NameInFileTail(L"C:\\MISSING\\PATCH.EXE"));
  EXPECT_FALSE(Check(L"", Image(4000, "")));  // a path ending in a backslash
  os.FailOn(platform::Call::ReadFileAt, 1);
  EXPECT_FALSE(Check(L"PATCH.EXE", Image(4000, "PATCH.EXE")));
}

// On Windows 98 the process list names the executable; the whole-scan tests show it.
using ProcessPath = ScanTest;

TEST_F(ProcessPath, OnWindowsNtAsksTheProcessItself) {
  UseWindowsNt();
  const std::uint32_t server = sim.StartProcess(L"PATCH.EXE", 0);
  sim.Process(server).modulePath = L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE";
  const std::uint32_t guarded = sim.StartProcess(L"GUARD.EXE", 0);
  sim.Process(guarded).refusesOpen = true;
  const std::uint32_t deep = sim.StartProcess(L"DEEP.EXE", 0);
  sim.Process(deep).modulePath = L"C:\\" + std::wstring(300, L'd') + L"\\DEEP.EXE";
  const std::uint32_t ended = sim.StartProcess(L"C:\\ENDED.EXE", 0);
  sim.EndProcess(ended, 200);
  sim.Process(ended).outsideHolders = 1;
  // A 64-bit process names no module to this 32-bit program, but its image all the same.
  sim.UseWow64();
  const std::uint32_t wide = sim.StartProcess(L"C:\\X64\\SERVER.EXE", 0);
  sim.Process(wide).is64Bit = true;
  const std::uint32_t hidden = sim.StartProcess(L"C:\\HIDDEN.EXE", 0);
  sim.Process(hidden).modulePath = L"";

  EXPECT_EQ(scanner.GetProcessPath(server), L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE");
  EXPECT_EQ(scanner.GetProcessPath(0), L"-unknown-");
  EXPECT_EQ(scanner.GetProcessPath(guarded), L"-unknown-");
  EXPECT_EQ(scanner.GetProcessPath(4242), L"-unknown-");
  // A longer path is cut to the 250-character buffer, less its terminating zero.
  EXPECT_EQ(scanner.GetProcessPath(deep), L"C:\\" + std::wstring(246, L'd'));
  EXPECT_EQ(scanner.GetProcessPath(wide), L"C:\\X64\\SERVER.EXE");
  EXPECT_EQ(scanner.GetProcessPath(hidden), L"");
  // An ended process is known only while another program holds it.
  EXPECT_EQ(scanner.GetProcessPath(ended), L"C:\\ENDED.EXE");
  sim.Process(ended).outsideHolders = 0;
  EXPECT_EQ(scanner.GetProcessPath(ended), L"-unknown-");
}

}  // namespace
}  // namespace quellspur::testing
