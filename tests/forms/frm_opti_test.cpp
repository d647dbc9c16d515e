#include "forms/frm_opti.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>

#include "settings/registry_helpers.h"
#include "settings/settings_store.h"
#include "support/administrators_only.h"
#include "testing/sim_machine.h"
#include "testing/sim_toolkit.h"

namespace quellspur {
namespace {

using platform::kHkeyLocalMachine;
using ::testing::HasSubstr;

const std::wstring kMachineRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class OptionsDialog : public ::testing::Test {
 protected:
  std::unique_ptr<FrmOpti> Open() { return std::make_unique<FrmOpti>(toolkit, sim, settings); }
  platform::sim::SimCheckBox& Box(const std::wstring& name) {
    return toolkit.FormNamed(L"frmOpti")->SimCheckBoxNamed(name);
  }
  void PressOk() { toolkit.FormNamed(L"frmOpti")->SimButtonNamed(L"cmdOk").Click(); }
  std::wstring RunValue() {
    std::wstring text;
    GetRegValue(sim, kHkeyLocalMachine, kMachineRunKey, L"Quellspur", text);
    return text;
  }
  void SetRunValue(const std::wstring& command) {
    sim.SetRegistryText(kHkeyLocalMachine, kMachineRunKey, L"Quellspur", command);
  }
  // Gives the paths the list Program Files passes on under Windows.
  void AdministratorsOnly(std::initializer_list<std::wstring> paths) {
    sim.KeepAccessLists();
    for (const std::wstring& path : paths) {
      sim.SetAccessList(path, testing::AdministratorsOnly());
    }
  }
  const std::vector<platform::sim::ShownMessageBox>& MessageBoxes() {
    return dynamic_cast<platform::sim::SimDesktop&>(toolkit.desktop()).shown();
  }

  platform::sim::SimMachine sim;
  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  Settings settings;
};

TEST_F(OptionsDialog, OpensCentredWithTheFlagsAndTheRunValue) {
  AdministratorsOnly({L"C:\\Program Files\\Quellspur"});
  settings = Settings{1, 2, 5};
  SetRunValue(L"\"C:\\Program Files\\Quellspur\\Quellspur.exe\" /boot");
  const auto dialog = Open();

  platform::sim::SimForm* form = toolkit.FormNamed(L"frmOpti");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->Caption(), L"Options");
  EXPECT_EQ(form->window().left(), 1024 * 15 / 2 - form->Width() / 2);
  EXPECT_EQ(form->window().top(), 768 * 15 / 2 - form->Height() / 2);
  EXPECT_EQ(Box(L"chkCheck").Value(), 1);
  EXPECT_EQ(Box(L"chkClean").Value(), 2);
  EXPECT_EQ(Box(L"chkFiles").Value(), 0);  // a number no box can show
  EXPECT_EQ(Box(L"chkRun").Value(), 1);
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(OptionsDialog, OkStoresTheBoxesAndARunValueItRecognisesAndCloses) {
  // A drive's root folder keeps its backslash in the command.
  sim.SetProgram(L"C:\\", L"QSPUR");
  sim.PutFile(L"C:\\QSPUR.exe", "MZ");
  AdministratorsOnly({L"C:\\", L"C:\\QSPUR.exe"});
  auto dialog = Open();
  Box(L"chkClean").Click();
  Box(L"chkRun").Click();
  PressOk();

  EXPECT_EQ(settings.autoCheck, 0);
  EXPECT_EQ(settings.autoClean, 1);
  EXPECT_EQ(settings.moveFiles, 0);
  Settings stored;
  EXPECT_TRUE(LoadSettings(sim, stored));
  EXPECT_EQ(stored.autoClean, 1);
  EXPECT_EQ(stored.autoCheck, 0);
  EXPECT_EQ(RunValue(), L"\"C:\\\\QSPUR.exe\" /boot");
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(toolkit.FormNamed(L"frmOpti"), nullptr);

  dialog = Open();
  EXPECT_EQ(Box(L"chkRun").Value(), 1);
  EXPECT_TRUE(MessageBoxes().empty());
}

// Where others may change the program's folder or the program, starting it at every log-on would
// start whatever they put there: the box is refused with the reason, and stays unticked.
TEST_F(OptionsDialog, RunOnStartupIsRefusedAndExplainedWhereOthersMayChangeTheProgram) {
  const std::wstring folder = L"C:\\Program Files\\Quellspur";
  const std::wstring program = folder + L"\\Quellspur.exe";
  struct Case {
    const char* what;
    std::wstring place;
    std::wstring why;
  };
  const Case cases[] = {
      {"a folder of the user's own", folder, L"it belongs to the account S-1-5-21-0-0-0-1000"},
      {"a program that users may write", program, L"Users may change it"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    settings = Settings{};
    if (test.place == program) {
      AdministratorsOnly({folder});
      sim.SetAccessList(program, {platform::kSidAdministrators,
                                  true,
                                  false,
                                  {{true, 0, platform::kFileAllAccess, platform::kSidSystem},
                                   {true, 0, 0x1301BF, L"S-1-5-32-545"}}});
    }
    const std::size_t before = MessageBoxes().size();
    auto dialog = Open();
    Box(L"chkFiles").Click();
    Box(L"chkRun").Click();
    PressOk();

    ASSERT_EQ(MessageBoxes().size(), before + 1);
    EXPECT_EQ(MessageBoxes().back().caption, L"Quellspur");
    EXPECT_EQ(MessageBoxes().back().text,
              L"Quellspur does not start with Windows from " + test.place + L": " + test.why +
                  L". Whoever may change it could have their own program started when any user "
                  L"logs on. Install Quellspur with its setup, or move its folder to one that "
                  L"only administrators can change, such as Program Files.");
    EXPECT_TRUE(dialog->Loaded());
    EXPECT_EQ(Box(L"chkRun").Value(), 0);
    EXPECT_EQ(RunValue(), L"");

    PressOk();  // as it now stands: the other boxes are stored
    EXPECT_FALSE(dialog->Loaded());
    EXPECT_EQ(settings.moveFiles, 1);
    EXPECT_EQ(RunValue(), L"");
    EXPECT_EQ(MessageBoxes().size(), before + 1);
  }
}

TEST_F(OptionsDialog, ARunValueWrittenEarlierFromSuchAFolderIsReportedOnOpeningAndRemovedByOk) {
  SetRunValue(L"\"C:\\Program Files\\Quellspur\\Quellspur.exe\" /boot");
  auto dialog = Open();
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_THAT(MessageBoxes()[0].text,
              HasSubstr(L"does not start with Windows from C:\\Program Files\\Quellspur: it "
                        L"belongs to the account S-1-5-21-0-0-0-1000. "));
  EXPECT_EQ(Box(L"chkRun").Value(), 0);
  PressOk();
  EXPECT_EQ(RunValue(), L"");
  EXPECT_EQ(MessageBoxes().size(), 1u);
}

// Windows 98 keeps no access lists: the box works as it always did.
TEST_F(OptionsDialog, OnWindows98RunOnStartupIsWrittenAsBefore) {
  sim.SetPlatformId(1);
  auto dialog = Open();
  Box(L"chkRun").Click();
  PressOk();
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(RunValue(), L"\"C:\\Program Files\\Quellspur\\Quellspur.exe\" /boot");
  dialog = Open();
  EXPECT_EQ(Box(L"chkRun").Value(), 1);
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(OptionsDialog, ARunValueOfAnotherCopyIsShownOffAndDeletedOnOkWithoutCreatingTheKey) {
  auto dialog = Open();
  PressOk();
  EXPECT_FALSE(sim.KeyExists(kHkeyLocalMachine, kMachineRunKey));

  for (const wchar_t* other : {L"\"C:\\Old\\Quellspur.exe\" /boot",
                               L"\"C:\\PROGRAM FILES\\QUELLSPUR\\QUELLSPUR.EXE\" /boot"}) {
    SetRunValue(other);
    dialog = Open();
    EXPECT_EQ(Box(L"chkRun").Value(), 0);
    PressOk();
    EXPECT_TRUE(sim.RegistryValues(kHkeyLocalMachine, kMachineRunKey).empty());
  }
}

TEST_F(OptionsDialog, ClosingOtherwiseStoresNothing) {
  settings = Settings{1, 0, 0};
  SetRunValue(L"\"C:\\Old\\Quellspur.exe\" /boot");
  const auto dialog = Open();
  Box(L"chkCheck").Click();
  Box(L"chkFiles").Click();
  Box(L"chkRun").Click();
  toolkit.FormNamed(L"frmOpti")->AskToClose(platform::CloseReason::User);

  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(settings.autoCheck, 1);
  EXPECT_EQ(settings.moveFiles, 0);
  EXPECT_FALSE(sim.KeyExists(kHkeyLocalMachine, L"Software\\Orvanta\\Quellspur"));
  EXPECT_EQ(RunValue(), L"\"C:\\Old\\Quellspur.exe\" /boot");
}

}  // namespace
}  // namespace quellspur
