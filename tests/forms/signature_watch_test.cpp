// The window program and its signature file: read at the start and again when it changed, a
// refused content told once in a message box and in the activity log, the built-ins at work.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "forms/main_window_fixture.h"
#include "forms/quellspur_app.h"
#include "platform/sha256.h"
#include "settings/settings_store.h"

namespace quellspur::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

const std::wstring kSignatureFile = L"C:\\Program Files\\Quellspur\\Signatures.txt";
const std::string kAgentBytes = "MZ agent that hides";

class SignatureWatch : public MachineTest {
 protected:
  void SetUp() override {
    SaveSettings(sim, {1, 0, 0});
    const std::uint32_t netbus = sim.StartProcess(L"C:\\NB\\PATCH.EXE", 0);
    sim.ShowWindow(L"TApplication", L"NetBus Server", netbus);
    sim.PutFile(L"C:\\Windows\\svchost32.exe", kAgentBytes);
    sim.StartProcess(L"C:\\Windows\\svchost32.exe", 0);
  }
  void Start() {
    sim.SetCommandLine(L"Quellspur.exe /boot");
    app.Form_Load();
    toolkit.FormNamed(L"frmSplash")->SimButtonNamed(L"cmdOk").Click();
  }
  std::vector<std::wstring> ScanNow() {
    platform::sim::SimForm& main = *toolkit.FormNamed(L"frmStat");
    main.SimButtonNamed(L"cmdScan").Click();
    std::vector<std::wstring> lines;
    for (int index = 0; index < main.SimListBoxNamed(L"List").ListCount(); ++index) {
      lines.push_back(main.SimListBoxNamed(L"List").List(index));
    }
    return lines;
  }
  const std::vector<platform::sim::ShownMessageBox>& Boxes() {
    return static_cast<platform::sim::SimDesktop&>(toolkit.desktop()).shown();
  }

  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  QuellspurApp app{sim, toolkit};
};

TEST_F(SignatureWatch, ARefusedContentIsToldOnceAndAChangedFileIsReadAgain) {
  const std::string bad = "Quellspur signatures 1\r\nwindow\tNo Place\t\t\r\n";
  sim.PutFile(kSignatureFile, bad);
  Start();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, L"Quellspur");
  EXPECT_THAT(
      Boxes()[0].text,
      HasSubstr(kSignatureFile + L", line 2: a window signature needs a class or a caption"));
  EXPECT_THAT(LogLines(sim),
              Contains(HasSubstr("Signatures not used: C:\\Program Files\\Quellspur\\"
                                 "Signatures.txt, line 2: a window signature needs a class")));
  const std::wstring netbus =
      L"NetBus Pro Found as: C:\\NB\\PATCH.EXE Activ now, started by: "
      L"-unknown-";
  EXPECT_THAT(ScanNow(), ::testing::ElementsAre(netbus));
  sim.PutFile(kSignatureFile, bad);  // written again, the same content
  EXPECT_THAT(ScanNow(), ::testing::ElementsAre(netbus));
  EXPECT_EQ(Boxes().size(), 1u);

  sim.PutFile(kSignatureFile, "Quellspur signatures 1\r\n" + platform::Sha256Hex(kAgentBytes) +
                                  ":*:Hidden Agent\r\n");
  EXPECT_THAT(ScanNow(), Contains(HasSubstr(L"Hidden Agent Found as: C:\\Windows\\svchost32.exe")));
  sim.RemoveFile(kSignatureFile);
  EXPECT_THAT(ScanNow(), ::testing::ElementsAre(netbus));
  // Refused again after a good one: told again.
  sim.PutFile(kSignatureFile, bad);
  ScanNow();
  EXPECT_EQ(Boxes().size(), 2u);
}

}  // namespace
}  // namespace quellspur::testing
