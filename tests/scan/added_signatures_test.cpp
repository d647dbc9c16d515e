// A scan with signatures added to the built-in ones: windows and files by SHA-256, running or
// named by a start value only, after the built-in findings, and never this program itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/sha256.h"
#include "scan/report_line.h"
#include "scan/scan_driver.h"
#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using Call = platform::Call;

const std::string kViewerBytes = "MZ remote viewer";
const std::string kAgentBytes = "MZ agent that hides";
const std::string kDormantBytes = "MZ dormant dropper";

class AddedSignatures : public ScanTest {
 protected:
  void SetUp() override { UseWindowsNt(); }

  // The signature file's lines after its first.
  void Use(const std::string& lines) {
    auto parsed = ParseSignatureFile("Quellspur signatures 1\n" + lines);
    ASSERT_TRUE(std::holds_alternative<quellspur::AddedSignatures>(parsed));
    scanner.UseSignatures(SignatureSet(std::get<quellspur::AddedSignatures>(parsed)));
  }
  static std::string HashLine(const std::string& bytes, const std::string& size,
                              const std::string& name) {
    return platform::Sha256Hex(bytes) + ":" + size + ":" + name + "\n";
  }

  std::uint32_t Run(const std::wstring& path, const std::string& bytes) {
    sim.PutFile(path, bytes);
    return sim.StartProcess(path, 0);
  }

  std::vector<std::wstring> Scan() {
    RunScan(scanner, [] {});
    std::vector<std::wstring> lines;
    for (const Finding& finding : scanner.findings()) {
      lines.push_back((finding.addedSignature ? L"+ " : L"") + ReportLine(finding));
    }
    return lines;
  }
};

TEST_F(AddedSignatures, BuiltInFindingsComeFirstThenTheAddedOnesInFileOrder) {
  Use("window\tRemote Viewer\tRVMain\tViewer\n" + HashLine(kAgentBytes, "*", "Hidden Agent") +
      HashLine(kDormantBytes, std::to_string(kDormantBytes.size()), "Dormant Dropper"));
  const std::uint32_t viewer = Run(L"C:\\RV\\viewer.exe", kViewerBytes);
  sim.ShowWindow(L"RVMain", L"Viewer", viewer);
  // Running under an innocent name, and started at log-on.
  Run(L"C:\\Windows\\svchost32.exe", kAgentBytes);
  sim.SetRegistryText(kHkcu, kRunKey, L"Host", L"C:\\Windows\\svchost32.exe /service");
  sim.PutFile(L"D:\\Tools\\update.exe", kDormantBytes);
  sim.SetRegistryText(kHklm, kRunKey, L"Updater", L"D:\\Tools\\update.exe /quiet");
  const std::uint32_t netbus = Run(L"C:\\NB\\PATCH.EXE", "MZ");
  sim.ShowWindow(L"TApplication", L"NetBus Server", netbus);

  EXPECT_THAT(
      Scan(),
      ElementsAre(
          L"NetBus Pro Found as: C:\\NB\\PATCH.EXE Activ now, started by: -unknown-",
          L"+ Remote Viewer Found as: C:\\RV\\viewer.exe Activ now, started by: -unknown-",
          L"+ Hidden Agent Found as: C:\\Windows\\svchost32.exe Start entry in: "
          L"HKEY_CURRENT_USER Run/Host",
          L"+ Hidden Agent Found as: C:\\Windows\\svchost32.exe Activ now, started by: -unknown-",
          L"+ Dormant Dropper Found as: D:\\Tools\\update.exe Start entry in: "
          L"HKEY_LOCAL_MACHINE Run/Updater"));
  ASSERT_EQ(scanner.findings().size(), 5u);
  EXPECT_EQ(scanner.findings()[1].listedSha256, "");
  EXPECT_EQ(scanner.findings()[4].listedSha256, platform::Sha256Hex(kDormantBytes));
}

TEST_F(AddedSignatures, AStartValueIsFoundByTheHashOfTheFileItStartsInEitherView) {
  sim.UseWow64();
  UseWindowsNt();
  Use(HashLine(kDormantBytes, "*", "Dormant Dropper"));
  const std::wstring wowRun = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
  sim.PutFile(L"C:\\A\\one.exe", kDormantBytes);
  sim.PutFile(L"C:\\B\\two.exe", kDormantBytes);
  sim.PutFile(L"C:\\one.exe", kDormantBytes);
  sim.PutFile(L"C:\\C\\other.exe", "MZ something else");
  sim.SetRegistryText(kHklm, kRunKey, L"64", L"C:\\A\\one.exe");
  sim.SetRegistryText(kHklm, wowRun, L"32", L"  C:\\B\\TWO.EXE /s");
  sim.SetRegistryText(kHklm, kRunKey, L"Other", L"C:\\C\\other.exe");
  sim.SetRegistryText(kHklm, kRunKey, L"Gone", L"C:\\D\\missing.exe");
  sim.PutFile(L"C:\\Program Files\\E\\three.exe", kDormantBytes);
  sim.SetRegistryText(kHkcu, kRunKey, L"Quoted", L" \"C:\\Program Files\\E\\three.exe\" --silent");
  // A command without its folder would be looked for wherever the current folder is.
  sim.SetRegistryText(kHkcu, kRunKey, L"Relative", L"one.exe");
  EXPECT_THAT(Scan(), ElementsAre(L"+ Dormant Dropper Found as: C:\\A\\one.exe Start entry in: "
                                  L"HKEY_LOCAL_MACHINE Run/64",
                                  L"+ Dormant Dropper Found as: C:\\B\\TWO.EXE Start entry in: "
                                  L"HKEY_LOCAL_MACHINE Run/32",
                                  L"+ Dormant Dropper Found as: C:\\Program Files\\E\\three.exe "
                                  L"Start entry in: HKEY_CURRENT_USER Run/Quoted"));
  EXPECT_EQ(scanner.findings()[1].view, platform::kKeyWow64_32Key);
}

// Windows 98 names each process's executable and parent in its process list.
TEST_F(AddedSignatures, OnWindows98TheProcessListNamesTheFileAndItsParent) {
  UseWindows98();
  Use(HashLine(kAgentBytes, "*", "Hidden Agent"));
  sim.PutFile(L"C:\\WINDOWS\\LOADER.EXE", "MZ loader");
  const std::uint32_t loader = sim.StartProcess(L"C:\\WINDOWS\\LOADER.EXE", 0);
  sim.PutFile(L"C:\\WINDOWS\\MSTASK32.EXE", kAgentBytes);
  sim.StartProcess(L"C:\\WINDOWS\\MSTASK32.EXE", loader);
  EXPECT_THAT(Scan(), ElementsAre(L"+ Hidden Agent Found as: C:\\WINDOWS\\MSTASK32.EXE Activ now, "
                                  L"started by: LOADER.EXE"));
}

TEST_F(AddedSignatures, ThisProgramIsNeverAFindingWhateverTheFileLists) {
  const std::wstring self = L"C:\\Program Files\\Quellspur\\Quellspur.exe";
  const std::string selfBytes = sim.FileContent(self);
  sim.PutFile(L"C:\\Program Files\\Quellspur\\QuellScan.exe", selfBytes);
  Use("window\tSelf\tThunderRT6FormDC\tQuellspur\n" + HashLine(selfBytes, "*", "Self"));
  sim.ShowWindow(L"ThunderRT6FormDC", L"Quellspur", sim.GetCurrentProcessId());
  sim.SetRegistryText(kHkcu, kRunKey, L"Quellspur", self + L" /boot");
  sim.SetRegistryText(kHkcu, kRunKey, L"Scanner", L"C:\\Program Files\\Quellspur\\QuellScan.exe");
  // A copy elsewhere is another program with the same bytes.
  sim.PutFile(L"C:\\Temp\\copy.exe", selfBytes);
  sim.SetRegistryText(kHkcu, kRunKey, L"Copy", L"C:\\Temp\\copy.exe");
  EXPECT_THAT(Scan(), ElementsAre(L"+ Self Found as: C:\\Temp\\copy.exe Start entry in: "
                                  L"HKEY_CURRENT_USER Run/Copy"));
}

// Hashing happens only with hash signatures, only for files of a length one names, and a repeated
// scan reads again only a file whose length or last write time changed.
TEST_F(AddedSignatures, FilesAreHashedOnceUntilTheyChangeAndOnlyWhenASizeFits) {
  const std::wstring agent = L"C:\\Windows\\svchost32.exe";
  const std::uint32_t id = Run(agent, kAgentBytes);
  for (int other = 0; other < 20; ++other) {
    Run(L"C:\\APP\\TOOL" + std::to_wstring(other) + L".EXE", std::string(100 + other, 'x'));
  }
  Use("window\tRemote Viewer\tRVMain\tViewer\n");
  Scan();
  EXPECT_EQ(os.Uses(Call::FileSha256), 0);
  EXPECT_EQ(os.Uses(Call::CreateToolhelp32Snapshot), 0);

  Use(HashLine(kAgentBytes, std::to_string(kAgentBytes.size()), "Hidden Agent"));
  EXPECT_EQ(Scan().size(), 1u);
  EXPECT_EQ(os.Uses(Call::FileSha256), 1);  // the others have other lengths
  Use(HashLine(kAgentBytes, "*", "Hidden Agent"));
  EXPECT_EQ(Scan().size(), 1u);
  const int allOnce = os.Uses(Call::FileSha256);
  EXPECT_EQ(allOnce, 1 + 1 + 20);  // the agent's kept; the shell and the tools are new
  EXPECT_EQ(Scan().size(), 1u);
  EXPECT_EQ(os.Uses(Call::FileSha256), allOnce);

  // Started again from the same length, other bytes: read again, and no longer the listed file.
  std::string changed = kAgentBytes;
  changed[3] = '!';
  sim.EndProcess(id, 0);
  const std::uint32_t changedId = Run(agent, changed);
  EXPECT_TRUE(Scan().empty());
  EXPECT_EQ(os.Uses(Call::FileSha256), allOnce + 1);
  sim.EndProcess(changedId, 0);
  const std::uint32_t again = Run(agent, kAgentBytes);
  EXPECT_EQ(Scan().size(), 1u);
  EXPECT_EQ(scanner.findings()[0].processId, again);
}

}  // namespace
}  // namespace quellspur::testing
