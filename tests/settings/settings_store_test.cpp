#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <limits>

#include "settings/registry_helpers.h"
#include "testing/sim_machine.h"

namespace quellspur {
namespace {

using platform::kHkeyLocalMachine;

const std::wstring kKey = L"Software\\Orvanta\\Quellspur";

class SettingsStore : public ::testing::Test {
 protected:
  void StoreFlag(const std::wstring& name, const std::wstring& text) {
    sim.SetRegistryText(kHkeyLocalMachine, kKey, name, text);
  }
  std::wstring Stored(const std::wstring& name) {
    std::wstring text;
    GetRegValue(sim, kHkeyLocalMachine, kKey, name, text);
    return text;
  }

  platform::sim::SimMachine sim;
  Settings settings;
};

TEST_F(SettingsStore, AMissingValueLeavesTheSettingsIncompleteWithAutoScanOnByDefault) {
  settings.moveFiles = 1;
  EXPECT_FALSE(LoadSettings(sim, settings));
  EXPECT_EQ(settings.autoCheck, 1);
  EXPECT_EQ(settings.autoClean, 0);
  EXPECT_EQ(settings.moveFiles, 1);
  EXPECT_FALSE(sim.KeyExists(kHkeyLocalMachine, kKey));

  StoreFlag(L"AutoCheck", L" 0");
  EXPECT_FALSE(LoadSettings(sim, settings));
  EXPECT_EQ(settings.autoCheck, 0);
  EXPECT_EQ(settings.moveFiles, 1);
}

TEST_F(SettingsStore, StoredTextsAreReadAsTheirLeadingNumber) {
  StoreFlag(L"AutoCheck", L" 1");
  StoreFlag(L"AutoClean", L"-1");
  StoreFlag(L"MoveFiles", L"yes");
  EXPECT_TRUE(LoadSettings(sim, settings));
  EXPECT_EQ(settings.autoCheck, 1);
  EXPECT_EQ(settings.autoClean, -1);
  EXPECT_EQ(settings.moveFiles, 0);

  EXPECT_EQ(FlagFromText(L"  7 days"), 7);
  EXPECT_EQ(FlagFromText(L"\t2"), 2);
  EXPECT_EQ(FlagFromText(L"2.5"), 2);  // halves go to the even neighbour
  EXPECT_EQ(FlagFromText(L"3.5"), 4);
  EXPECT_EQ(FlagFromText(L"1e1"), 10);
  EXPECT_EQ(FlagFromText(L"0x10"), 0);
  EXPECT_EQ(FlagFromText(L"-"), 0);
  EXPECT_EQ(FlagFromText(L""), 0);
  EXPECT_EQ(FlagFromText(L"99999999999"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(FlagFromText(L"-99999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST_F(SettingsStore, SavedFlagsCarryABlankBeforeANonNegativeNumber) {
  settings = Settings{1, 0, -1};
  SaveSettings(sim, settings);
  EXPECT_EQ(Stored(L"AutoCheck"), L" 1");
  EXPECT_EQ(Stored(L"AutoClean"), L" 0");
  EXPECT_EQ(Stored(L"MoveFiles"), L"-1");

  Settings loaded;
  EXPECT_TRUE(LoadSettings(sim, loaded));
  EXPECT_EQ(loaded.moveFiles, -1);
}

}  // namespace
}  // namespace quellspur
