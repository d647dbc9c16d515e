#include "forms/frm_sys_tray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/sim_machine.h"
#include "testing/sim_toolkit.h"

namespace quellspur {
namespace {

class TrayIcon : public ::testing::Test {
 protected:
  // The one icon the notification area shows, and its tooltip as the user reads it.
  const platform::NotifyIconData& Shown() {
    EXPECT_EQ(toolkit.trayIcons().size(), 1u);
    return toolkit.trayIcons().at(0);
  }
  std::wstring ShownTip() {
    const std::string& tip = Shown().tip;
    EXPECT_EQ(tip.size(), 64u);
    return sim.AnsiToWide(tip.substr(0, tip.find('\0')));
  }
  platform::sim::SimTrayWindow& shell() { return *toolkit.tray(); }

  platform::sim::SimMachine sim;
  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  std::unique_ptr<FrmSysTray> tray = std::make_unique<FrmSysTray>(toolkit, sim, L"Quellspur");
  std::vector<std::wstring> events;
};

TEST_F(TrayIcon, IsShownFromFirstUseToTheEndAndAgainOnANewTaskbarAsLastSet) {
  EXPECT_TRUE(toolkit.trayIcons().empty());
  EXPECT_EQ(shell().caption(), L"Sys Tray Interface");
  EXPECT_EQ(tray->AddMenuItem(L"A"), 0);
  EXPECT_EQ(tray->AddMenuItem(L"B"), 1);

  ASSERT_EQ(toolkit.trayIcons().size(), 1u);
  EXPECT_EQ(Shown().size, 88u);
  EXPECT_EQ(Shown().window, shell().Handle());
  EXPECT_EQ(Shown().callbackMessage, 0x200u);
  EXPECT_EQ(Shown().icon, shell().IconHandle());
  EXPECT_EQ(ShownTip(), L"Quellspur");
  EXPECT_EQ(Shown().tip.substr(9), std::string(1, '\0') + std::string(54, ' '));

  // A tip beyond 63 bytes is cut.
  tray->SetToolTip(std::wstring(70, L't'));
  EXPECT_EQ(ShownTip(), std::wstring(63, L't'));
  tray->SetIconHandle(0x4242);
  EXPECT_EQ(Shown().icon, 0x4242u);

  // Explorer restarted: the icon is added to its new taskbar as it was last shown.
  shell().RestartTaskbar();
  EXPECT_EQ(ShownTip(), std::wstring(63, L't'));
  EXPECT_EQ(Shown().icon, 0x4242u);
  EXPECT_EQ(Shown().callbackMessage, 0x200u);

  tray.reset();
  EXPECT_TRUE(toolkit.trayIcons().empty());
  EXPECT_EQ(toolkit.tray(), nullptr);
}

TEST_F(TrayIcon, TheMenuReportsTheChosenItemWithItsKey) {
  tray->AddMenuItem(L"Open Quellspur", L"open");
  tray->AddMenuItem(L"-");
  tray->AddMenuItem(L"Exit", L"exit", true);
  tray->MenuClick = [&](std::int32_t index, const std::wstring& key) {
    events.push_back(std::to_wstring(index) + L" " + key);
  };

  shell().ChooseFromMenu(2);
  tray->ShowMenu();
  tray->ShowMenu();  // closed by a click elsewhere
  EXPECT_EQ(events, std::vector<std::wstring>{L"2 exit"});
  EXPECT_EQ(shell().lastDefault, 2);
  ASSERT_EQ(shell().lastMenu.size(), 3u);
  EXPECT_EQ(shell().lastMenu[0].caption, L"Open Quellspur");
  EXPECT_EQ(shell().lastMenu[1].caption, L"-");
}

}  // namespace
}  // namespace quellspur
