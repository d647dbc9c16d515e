#include "settings/registry_helpers.h"

#include <gtest/gtest.h>

#include "testing/sim_machine.h"

namespace quellspur {
namespace {

using platform::kHkeyLocalMachine;

const std::wstring kKey = L"Software\\Orvanta\\Quellspur";

class RegistryHelpers : public ::testing::Test {
 protected:
  std::wstring Read(const std::wstring& name, bool expected = true) {
    std::wstring text = L"untouched";
    EXPECT_EQ(GetRegValue(sim, kHkeyLocalMachine, kKey, name, text), expected) << name;
    EXPECT_EQ(sim.OpenKeyCount(), 0u);
    return text;
  }
  void Store(const std::wstring& name, std::uint32_t type, const std::string& data) {
    sim.SetRegistryValue(kHkeyLocalMachine, kKey, name, type, data);
  }

  platform::sim::SimMachine sim;
};

TEST_F(RegistryHelpers, ReadsTextAndNumbersLeavesOtherTypesAloneAndFailsWithEmptyText) {
  EXPECT_EQ(Read(L"AutoCheck", false), L"");  // no key
  Store(L"Text", platform::kRegSz, ToUtf16Le({L"before\0after", 12}));
  Store(L"Whole", platform::kRegSz, ToUtf16Le(std::wstring(1024, L'w')));  // no zero: all of it
  Store(L"Large", platform::kRegSz, ToUtf16Le(std::wstring(1025, L'x')));
  Store(L"One", platform::kRegDword, std::string("\x01\0\0\0", 4));
  Store(L"Zero", platform::kRegDword, std::string("\0\0\0\0", 4));
  Store(L"Big", platform::kRegDword, std::string("\0\x01\0\0", 4));
  Store(L"Top", platform::kRegDword, std::string("\0\0\0\x80", 4));
  Store(L"All", platform::kRegDword, std::string("\xFF\xFF\xFF\xFF", 4));
  Store(L"Blob", platform::kRegBinary, "AB");

  EXPECT_EQ(Read(L"Text"), L"before");
  EXPECT_EQ(Read(L"Whole"), std::wstring(1024, L'w'));
  EXPECT_EQ(Read(L"Large", false), L"");
  EXPECT_EQ(Read(L"Missing", false), L"");
  EXPECT_EQ(Read(L"One"), L"1");
  EXPECT_EQ(Read(L"Zero"), L"0");
  EXPECT_EQ(Read(L"Big"), L"256");
  EXPECT_EQ(Read(L"Top"), L"2147483648");
  EXPECT_EQ(Read(L"All"), L"4294967295");
  EXPECT_EQ(Read(L"Blob"), L"untouched");
}

TEST_F(RegistryHelpers, WritesTextCreatingTheKeyAndChangesNothingWithoutTheRightTo) {
  EXPECT_FALSE(DeleteRegValue(sim, kHkeyLocalMachine, kKey, L"Quellspur"));
  EXPECT_FALSE(sim.KeyExists(kHkeyLocalMachine, kKey));
  SetRegValue(sim, kHkeyLocalMachine, kKey, L"AutoCheck", L" 1");
  SetRegValue(sim, kHkeyLocalMachine, kKey, L"Empty", L"");
  SetRegValue(sim, kHkeyLocalMachine, kKey, L"Accent", L"C:\\Caf\u00e9\\\u0108.exe");
  SetRegValue(sim, kHkeyLocalMachine, kKey, L"Quellspur", L"y");
  for (const auto& value : sim.RegistryValues(kHkeyLocalMachine, kKey)) {
    EXPECT_EQ(value.type, platform::kRegSz);
  }
  // As other programs read it: UTF-16 with its zero.
  EXPECT_EQ(sim.RegistryValues(kHkeyLocalMachine, kKey)[0].data, std::string(" \0001\0\0\0", 6));
  EXPECT_EQ(Read(L"AutoCheck"), L" 1");
  EXPECT_EQ(Read(L"Empty"), L"");
  EXPECT_EQ(Read(L"Accent"), L"C:\\Caf\u00e9\\\u0108.exe");
  // Deleting needs the key but not the value.
  EXPECT_TRUE(DeleteRegValue(sim, kHkeyLocalMachine, kKey, L"Quellspur"));
  EXPECT_TRUE(DeleteRegValue(sim, kHkeyLocalMachine, kKey, L"Quellspur"));

  // A key the user may read but not change.
  sim.DenyKeyRights(kHkeyLocalMachine, kKey, 0x2);
  SetRegValue(sim, kHkeyLocalMachine, kKey, L"AutoCheck", L" 0");
  EXPECT_FALSE(DeleteRegValue(sim, kHkeyLocalMachine, kKey, L"AutoCheck"));
  EXPECT_EQ(Read(L"AutoCheck"), L" 1");
  EXPECT_EQ(sim.RegistryValues(kHkeyLocalMachine, kKey).size(), 3u);
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

}  // namespace
}  // namespace quellspur
