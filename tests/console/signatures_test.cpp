// QuellScan with a signature file: what it adds is found, cleaned and restored like a built-in
// finding, and a file it refuses leaves the built-in signatures at work and says why.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console/quell_scan.h"
#include "engine/clean_marks.h"
#include "engine/engine.h"
#include "platform/sha256.h"
#include "scan/scan_fixture.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::wstring kDefaultFile = kProgramFolder + L"\\Signatures.txt";
const std::wstring kAgent = L"C:\\Windows\\svchost32.exe";
const std::wstring kDormant = L"D:\\Tools\\update.exe";
const std::string kAgentBytes = "MZ agent that hides";
const std::string kDormantBytes = "MZ dormant dropper";

class QuellScanSignatures : public MachineTest {
 protected:
  void SetUp() override {
    agent_ = sim.StartProcess(kAgent, 0);
    sim.PutFile(kAgent, kAgentBytes);
    sim.PutFile(L"C:\\Windows\\keyhook.dll", "MZ a library of the system's");
    sim.SetRegistryText(kHkcu, kRunKey, L"Host", kAgent);
    sim.PutFile(kDormant, kDormantBytes);
    sim.SetRegistryText(kHklm, kRunKey, L"Updater", kDormant + L" /quiet");
  }

  // A file listing the agent, whose name contains a built-in backdoor's, and the dormant file.
  static std::string Listing(const std::string& more = "") {
    return "Quellspur signatures 1\r\n"
           "sha256\tNetBus Clone\t" +
           platform::Sha256Hex(kAgentBytes) + "\r\n" + platform::Sha256Hex(kDormantBytes) +
           ":18:Dormant Dropper\r\n" + more;
  }

  int Run(const std::vector<std::wstring>& args) {
    console = {};
    return RunQuellScan(args, os, pump, console);
  }

  std::uint32_t agent_ = 0;
  platform::sim::SimConsole console;
};

TEST_F(QuellScanSignatures, AddedFindingsAreCleanedAloneIntoQuarantineAndRestored) {
  sim.PutFile(L"D:\\Lists\\sigs.txt", Listing());
  const std::wstring agentFound = L"NetBus Clone Found as: " + kAgent;
  EXPECT_EQ(Run({L"scan", L"--signatures", L"D:\\Lists\\sigs.txt", L"--clean", L"--move-files"}),
            kExitNothingFound)
      << console.error;
  EXPECT_THAT(
      console.OutLines(),
      ElementsAre(kErasedPrefix + agentFound + L" Start entry in: HKEY_CURRENT_USER Run/Host",
                  kTerminatedPrefix + agentFound + L" Activ now, started by: -unknown-",
                  kErasedPrefix + L"Dormant Dropper Found as: " + kDormant +
                      L" Start entry in: HKEY_LOCAL_MACHINE Run/Updater",
                  L"Every finding is dealt with."));
  EXPECT_FALSE(sim.Process(agent_).running);
  EXPECT_FALSE(sim.FileExists(kAgent));
  EXPECT_FALSE(sim.FileExists(kDormant));
  EXPECT_TRUE(sim.RegistryValues(kHkcu, kRunKey).empty());
  EXPECT_TRUE(sim.RegistryValues(kHklm, kRunKey).empty());
  // Only the listed file: a built-in backdoor's companion of the same name stays.
  EXPECT_TRUE(sim.FileExists(L"C:\\Windows\\keyhook.dll"));

  EXPECT_EQ(Run({L"restore", L"--all", L"--trust-record"}), kExitNothingFound) << console.error;
  EXPECT_EQ(sim.FileContent(kAgent), kAgentBytes);
  EXPECT_EQ(sim.FileContent(kDormant), kDormantBytes);
  EXPECT_EQ(sim.RegistryValues(kHkcu, kRunKey).size(), 1u);
  EXPECT_EQ(sim.RegistryValues(kHklm, kRunKey).size(), 1u);
  EXPECT_EQ(Run({L"scan", L"--signatures", L"D:\\Lists\\sigs.txt"}), kExitFound);
  EXPECT_EQ(console.OutLines().size(), 2u);  // the start entries: nothing runs any more
}

// The clean-up looks again right before it acts: a listed file that has other bytes by then is
// neither ended, nor moved, nor its start value removed.
TEST_F(QuellScanSignatures, AFileReplacedSinceTheScanIsNeitherEndedNorMovedNorUnregistered) {
  sim.PutFile(kDefaultFile, Listing());
  const std::uint32_t copy = sim.StartProcess(L"C:\\Windows\\notepad.exe", 0);
  sim.PutFile(L"C:\\Windows\\notepad.exe", kAgentBytes);
  Engine engine(os, pump);
  engine.ReadSystem();
  engine.LoadSignatures(engine.SignatureFilePath());
  engine.Scan([] {});
  ASSERT_EQ(engine.findings().size(), 4u);
  sim.PutFile(kAgent, "MZ another program now");
  sim.PutFile(kDormant, "MZ another program now");
  std::vector<CleanOutcome> outcomes;
  for (Finding& finding : engine.findings()) {
    outcomes.push_back(engine.Clean(finding, true));
  }
  EXPECT_THAT(outcomes, ElementsAre(CleanOutcome::NotDone, CleanOutcome::NotDone,
                                    CleanOutcome::Terminated, CleanOutcome::NotDone));
  EXPECT_TRUE(sim.Process(agent_).running);
  EXPECT_FALSE(sim.Process(copy).running);
  EXPECT_FALSE(sim.FileExists(L"C:\\Windows\\notepad.exe"));
  EXPECT_EQ(sim.FileContent(kDormant), "MZ another program now");
  EXPECT_EQ(sim.RegistryValues(kHkcu, kRunKey).size(), 1u);
  EXPECT_EQ(sim.RegistryValues(kHklm, kRunKey).size(), 1u);
}

TEST_F(QuellScanSignatures, ARefusedFileLeavesTheBuiltInSignaturesAtWorkAndSaysWhy) {
  sim.PutFile(kDefaultFile, Listing("window\tNo Place\t\t\r\n"));
  const std::uint32_t netbus = sim.StartProcess(L"C:\\NB\\PATCH.EXE", 0);
  sim.ShowWindow(L"TApplication", L"NetBus Server", netbus);
  const std::wstring why =
      kDefaultFile + L", line 4: a window signature needs a class or a caption";

  EXPECT_EQ(Run({L"scan"}), kExitError);
  EXPECT_THAT(
      console.OutLines(),
      ElementsAre(L"NetBus Pro Found as: C:\\NB\\PATCH.EXE Activ now, started by: -unknown-"));
  EXPECT_THAT(console.error, HasSubstr(why));
  EXPECT_THAT(console.error, HasSubstr(L"built-in signatures only"));
  EXPECT_EQ(Run({L"signatures", L"--check", kDefaultFile}), kExitError);
  EXPECT_EQ(console.error, L"QuellScan: " + why + L"\r\n");
  EXPECT_EQ(Run({L"signatures"}), kExitError);
  EXPECT_EQ(console.OutLines().size(), 25u);
  EXPECT_THAT(console.OutLines()[0], HasSubstr(L"(built-in)"));

  sim.PutFile(kDefaultFile, Listing("window\tViewer\tRVMain\t\r\n"));
  EXPECT_EQ(Run({L"signatures", L"--check", kDefaultFile}), kExitNothingFound);
  EXPECT_THAT(console.OutLines(), ElementsAre(kDefaultFile + L": 1 window signatures, 2 hash "
                                                             L"signatures"));
  EXPECT_EQ(Run({L"signatures", L"--format", L"csv"}), kExitNothingFound);
  EXPECT_EQ(console.OutLines().size(), 1u + 25u + 3u);
  EXPECT_EQ(console.OutLines()[25], L"Back Orifice,process,,,,,built-in");
  const std::string hex = platform::Sha256Hex(kAgentBytes);
  EXPECT_EQ(console.OutLines()[27], L"NetBus Clone,sha256,,," +
                                        std::wstring(hex.begin(), hex.end()) + L",*,\"" +
                                        kDefaultFile + L", line 2\"");
  EXPECT_EQ(Run({L"scan", L"--signatures", L"D:\\Missing.txt"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"D:\\Missing.txt: the file is not there"));
  EXPECT_EQ(Run({L"signatures", L"--check", L"D:\\Missing.txt"}), kExitError);
  // Far beyond any list of signatures: refused unread.
  sim.PutFile(kDefaultFile, Listing(std::string(16 * 1024 * 1024, '#')));
  EXPECT_EQ(Run({L"scan"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(kDefaultFile + L": the file is larger than 16 MiB"));
  EXPECT_EQ(console.OutLines().size(), 1u);  // NetBus Pro all the same
}

}  // namespace
}  // namespace quellspur::testing
