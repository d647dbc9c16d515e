#include "platform/text.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <limits>
#include <string>

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

TEST(Joined, PutsThePartsOneAfterAnotherWhateverTheyHold) {
  EXPECT_EQ(Joined({}), L"");
  EXPECT_EQ(Joined({L"restored ", L"", L"C:\\A.EXE"}), L"restored C:\\A.EXE");
  // Registry data may hold zeros; a part is taken whole, not up to its first zero.
  const std::wstring withZero(L"a\0b", 3);
  EXPECT_EQ(Joined({withZero, L"c"}), std::wstring(L"a\0bc", 4));
  const std::wstring longPart(300, L'x');
  EXPECT_EQ(Joined({longPart, L"-", longPart}), longPart + L"-" + longPart);
}

// The programs write numbers without the printf family; what they write must be what it wrote.
TEST(NumberText, WritesWhatPrintfWrote) {
  const std::uint64_t values[] = {0,
                                  7,
                                  42,
                                  99,
                                  100,
                                  0xABCD,
                                  65535,
                                  1000000,
                                  std::numeric_limits<std::uint32_t>::max(),
                                  std::numeric_limits<std::uint64_t>::max()};
  for (const std::uint64_t value : values) {
    for (int digits = 1; digits <= 8; ++digits) {
      wchar_t expected[64];
      std::swprintf(expected, 64, L"%0*" PRIu64, digits, value);
      EXPECT_EQ(DecimalText(value, digits), expected) << value << " in " << digits << " digits";
      if (value <= std::numeric_limits<std::uint32_t>::max()) {
        const auto word = static_cast<std::uint32_t>(value);
        std::swprintf(expected, 64, L"%0*X", digits, word);
        EXPECT_EQ(HexText(word, digits, true), expected);
        std::swprintf(expected, 64, L"%0*x", digits, word);
        EXPECT_EQ(HexText(word, digits, false), expected);
        char narrow[64];
        std::snprintf(narrow, sizeof narrow, "%0*x", digits, word);
        EXPECT_EQ(LowerHexDigits(word, digits), narrow);
      }
    }
  }
  for (const std::int64_t value :
       {std::numeric_limits<std::int64_t>::min(), std::int64_t{-5}, std::int64_t{0},
        std::int64_t{-2147483647 - 1}, std::numeric_limits<std::int64_t>::max()}) {
    EXPECT_EQ(SignedDecimalText(value), std::to_wstring(value));
  }
}

TEST(EscapedCharacter, ControlCharactersTakeTwoDigitsAndOthersFour) {
  EXPECT_EQ(EscapedCharacter(L'\t'), L"\\x09");
  EXPECT_EQ(EscapedCharacter(0x9F), L"\\x9F");
  EXPECT_EQ(EscapedCharacter(0x108), L"\\u0108");
  EXPECT_EQ(EscapedCharacter(0xFFFD), L"\\uFFFD");
}

}  // namespace
}  // namespace quellspur
