#include "scan/found_table.h"

#include <gtest/gtest.h>

namespace quellspur {
namespace {

TEST(FoundTable, AppendsBehindTheSentinelAndClearsBackToIt) {
  FoundTable table;
  EXPECT_EQ(table.LastIndex(), 0u);

  EXPECT_EQ(table.Append(), 1u);
  table[1].BackdoorName = L"NetBus";
  table[1].ProcessId = 40;
  EXPECT_EQ(table.Append(), 2u);
  table[2].BackdoorName = L"Devil";

  // Appending keeps the rows before it, and a new row starts empty.
  EXPECT_EQ(table[1].BackdoorName, L"NetBus");
  EXPECT_EQ(table[1].ProcessId, 40u);
  EXPECT_EQ(table[2].ProcessId, 0u);
  EXPECT_EQ(table[2].RootKey, 0u);
  EXPECT_TRUE(table[0].BackdoorName.empty());

  table.Clear();
  EXPECT_EQ(table.LastIndex(), 0u);
  EXPECT_TRUE(table[0].BackdoorName.empty());
  EXPECT_THROW(table[1], std::out_of_range);
}

}  // namespace
}  // namespace quellspur
