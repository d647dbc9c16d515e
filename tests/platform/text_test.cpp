#include "platform/text.h"

#include <gtest/gtest.h>

namespace quellspur {
namespace {

TEST(FileNameOf, TakesTheTextAfterTheLastBackslash) {
  EXPECT_EQ(FileNameOf(L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE"), L"PATCH.EXE");
  EXPECT_EQ(FileNameOf(L"C:\\WINDOWS\\SYSTEM\\ .EXE"), L" .EXE");
  EXPECT_EQ(FileNameOf(L"C:\\"), L"");
  EXPECT_EQ(FileNameOf(L"C:/WINDOWS/PATCH.EXE"), L"C:/WINDOWS/PATCH.EXE");
}

TEST(UpperCase, CoversTheAnsiLettersAndLeavesTheRest) {
  EXPECT_EQ(UpperCase(L"patch.exe /x"), L"PATCH.EXE /X");
  EXPECT_EQ(UpperCase(L"\u00e9t\u00e9 \u00f7 \u00df \u00ff \u0161"),
            L"\u00c9T\u00c9 \u00f7 \u00df \u0178 \u0160");
}

}  // namespace
}  // namespace quellspur
