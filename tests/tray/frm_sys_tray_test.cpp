#include "tray/frm_sys_tray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_toolkit.h"

namespace quellspur {
namespace {

class TrayIcon : public ::testing::Test {
 protected:
  std::wstring Tip(std::size_t notification) {
    const std::string& tip = shell().notifications.at(notification).second.tip;
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

TEST_F(TrayIcon, AddsTheIconAtFirstUseAndRemovesItAtTheEnd) {
  EXPECT_TRUE(shell().notifications.empty());
  EXPECT_EQ(shell().caption(), L"Sys Tray Interface");
  EXPECT_EQ(tray->AddMenuItem(L"A"), 0);
  EXPECT_EQ(tray->AddMenuItem(L"B"), 1);

  ASSERT_EQ(shell().notifications.size(), 1u);
  const auto& [message, added] = shell().notifications[0];
  EXPECT_EQ(message, platform::kNimAdd);
  EXPECT_EQ(added.size, 88u);
  EXPECT_EQ(added.flags, 7u);
  EXPECT_EQ(added.callbackMessage, 0x200u);
  EXPECT_EQ(added.window, shell().Handle());
  EXPECT_EQ(added.icon, shell().IconHandle());
  EXPECT_EQ(Tip(0), L"Quellspur");
  EXPECT_EQ(added.tip.substr(9), std::string(1, '\0') + std::string(54, ' '));

  shell().RestartTaskbar();
  ASSERT_EQ(shell().notifications.size(), 2u);
  EXPECT_EQ(shell().notifications[1].first, platform::kNimAdd);

  tray.reset();
  EXPECT_EQ(journal.entries().back(), L"TrayWindow.Close");
  EXPECT_EQ(std::count(journal.entries().begin(), journal.entries().end(), L"Shell_NotifyIconA 2"),
            1);
}

TEST_F(TrayIcon, TipAndIconChangeOnlyWhenTheyDo) {
  tray->AddMenuItem(L"A");
  tray->SetToolTip(std::wstring(70, L't'));
  EXPECT_EQ(tray->ToolTip(), std::wstring(63, L't'));
  EXPECT_EQ(shell().notifications.back().first, platform::kNimModify);
  EXPECT_EQ(shell().notifications.back().second.flags, platform::kNifTip);
  EXPECT_EQ(Tip(1), std::wstring(63, L't'));

  const std::size_t sent = shell().notifications.size();
  tray->SetIconHandle(tray->IconHandle());
  EXPECT_EQ(shell().notifications.size(), sent);
  tray->SetIconHandle(0x4242);
  EXPECT_EQ(shell().notifications.back().second.flags, platform::kNifIcon);
  EXPECT_EQ(shell().notifications.back().second.icon, 0x4242u);
}

TEST_F(TrayIcon, MenuIndexRules) {
  tray->AddMenuItem(L"A", L"a");
  tray->AddMenuItem(L"B", L"b", true);
  tray->AddMenuItem(L"C", L"c");
  EXPECT_EQ(tray->DefaultMenuIndex(), 1);
  tray->AddMenuItem(L"D", L"d", true);
  EXPECT_EQ(tray->DefaultMenuIndex(), 3);
  tray->SetDefaultMenuIndex(7);
  EXPECT_EQ(tray->DefaultMenuIndex(), 0);

  tray->EnableMenuItem(1, false);
  tray->EnableMenuItem(9, false);
  EXPECT_EQ(tray->RemoveMenuItem(1), 0);
  ASSERT_EQ(tray->menu().size(), 3u);
  EXPECT_EQ(tray->menu()[1].caption, L"C");
  EXPECT_EQ(tray->menu()[1].key, L"c");
  EXPECT_FALSE(tray->menu()[1].enabled);  // enabled states stay where they were
  EXPECT_EQ(tray->menu()[2].caption, L"D");

  tray->RemoveMenuItem(0);
  ASSERT_EQ(tray->menu().size(), 3u);
  EXPECT_EQ(tray->menu()[0].caption, L"");
  EXPECT_EQ(tray->menu()[0].key, L"a");
  tray->RemoveMenuItem(5);
  EXPECT_EQ(tray->menu().size(), 3u);
}

TEST_F(TrayIcon, TheMenuReportsTheChosenItemWithItsKey) {
  tray->AddMenuItem(L"Open Quellspur", L"open", true);
  tray->AddMenuItem(L"-");
  tray->AddMenuItem(L"Exit", L"exit");
  tray->MenuClick = [&](std::int32_t index, const std::wstring& key) {
    events.push_back(std::to_wstring(index) + L" " + key);
  };

  shell().ChooseFromMenu(2);
  tray->ShowMenu();
  tray->ShowMenu();  // closed by a click elsewhere
  EXPECT_EQ(events, std::vector<std::wstring>{L"2 exit"});
  EXPECT_EQ(shell().lastDefault, 0);
  ASSERT_EQ(shell().lastMenu.size(), 3u);
  EXPECT_EQ(shell().lastMenu[1].caption, L"-");
}

TEST_F(TrayIcon, MouseMessagesBecomeEvents) {
  tray->SysTrayMouseDown = [&](std::int32_t b) { events.push_back(L"down " + std::to_wstring(b)); };
  tray->SysTrayMouseUp = [&](std::int32_t b) { events.push_back(L"up " + std::to_wstring(b)); };
  tray->SysTrayDoubleClick = [&](std::int32_t b) {
    events.push_back(L"dbl " + std::to_wstring(b));
  };
  tray->SysTrayMouseMove = [&] { events.push_back(L"move"); };

  for (std::uint32_t message :
       {0x204u, 0x205u, 0x201u, 0x202u, 0x203u, 0x202u, 0x206u, 0x200u, 0x207u, 0x208u, 0x209u}) {
    shell().Notify(message);
  }
  EXPECT_EQ(events, (std::vector<std::wstring>{L"down 2", L"up 2", L"down 1", L"up 1", L"dbl 1",
                                               L"up 1", L"dbl 2", L"move"}));
}

}  // namespace
}  // namespace quellspur
