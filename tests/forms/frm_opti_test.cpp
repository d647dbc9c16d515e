#include "forms/frm_opti.h"

#include <gtest/gtest.h>

#include "settings/registry_helpers.h"
#include "settings/settings_store.h"
#include "testing/sim_machine.h"
#include "testing/sim_toolkit.h"

namespace quellspur {
namespace {

using platform::kHkeyLocalMachine;

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

  platform::sim::SimMachine sim;
  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  Settings settings;
};

TEST_F(OptionsDialog, OpensCentredWithTheFlagsAndTheRunValue) {
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
}

TEST_F(OptionsDialog, OkStoresTheBoxesAndARunValueItRecognisesAndCloses) {
  // A drive's root folder keeps its backslash in the command.
  sim.SetProgram(L"C:\\", L"QSPUR");
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
