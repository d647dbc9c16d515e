#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

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

// How stored flags were read before: the leading number picked out, converted by the C library
// and rounded to the nearest integer.
std::int32_t FlagFromTextThroughStrtod(const std::wstring& text) {
  std::size_t at = text.find_first_not_of(L" \t");
  if (at == std::wstring::npos) {
    return 0;
  }
  std::string number;
  if (text[at] == L'+' || text[at] == L'-') {
    number += static_cast<char>(text[at++]);
  }
  auto digits = [&] {
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
      number += static_cast<char>(text[at++]);
    }
  };
  digits();
  if (at < text.size() && text[at] == L'.') {
    number += static_cast<char>(text[at++]);
    digits();
  }
  if (at + 1 < text.size() && (text[at] == L'E' || text[at] == L'e') && text[at + 1] >= L'0' &&
      text[at + 1] <= L'9') {
    number += 'e';
    ++at;
    digits();
  }
  const double value = std::strtod(number.c_str(), nullptr);
  if (!(value > std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (!(value < std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(std::nearbyint(value));
}

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// The exact decimal text of a long double (which holds every whole number below 2^31 plus a
// binary fraction of 2^-54 exactly), without trailing zeros.
std::string ExactText(long double value) {
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, "%.80Lf", value);
  std::string text = buffer;
  text.erase(text.find_last_not_of('0') + 1);
  return text;
}

TEST(FlagText, EveryTextIsReadAsTheCLibraryReadItBefore) {
  std::vector<std::string> texts = {"",
                                    " ",
                                    "\t \t",
                                    "+",
                                    "-",
                                    ".",
                                    "-.",
                                    "+.",
                                    "e5",
                                    ".e5",
                                    "-e5",
                                    "0",
                                    "-0",
                                    "+0",
                                    "000",
                                    "0.000",
                                    "-0.0",
                                    "0e999999999999",
                                    "00000000000000001",
                                    "1.",
                                    "1.e",
                                    "1e",
                                    "1e+5",
                                    "1e-5",
                                    "1E2",
                                    "1.5e0",
                                    "0.25e1",
                                    "0.35e1",
                                    "5e-1",
                                    ".5",
                                    "-.5",
                                    ".51",
                                    "-.51",
                                    "1.5",
                                    "-1.5",
                                    "2.5",
                                    "-2.5",
                                    "0.49999999999999999999",
                                    "0.5000000000000001",
                                    "1.4999999999999999",
                                    "1.49999999999999999",
                                    "2.50000000000000000001",
                                    "3.49999999999999999999",
                                    "7 days",
                                    "7,5",
                                    "1 000",
                                    "--1",
                                    "+-1",
                                    "0x1A",
                                    "1e1e1",
                                    "1..5",
                                    "2147483646.4",
                                    "2147483646.5",
                                    "2147483646.6",
                                    "2147483647",
                                    "2147483646.99999999999",
                                    "2147483647.5",
                                    "2147483648",
                                    "9999999999",
                                    "10000000000",
                                    "1e9",
                                    "2.147483647e9",
                                    "21474836475e-1",
                                    "-2147483647.4",
                                    "-2147483647.5",
                                    "-2147483647.6",
                                    "-2147483648",
                                    "-2147483648.4",
                                    "-2147483649",
                                    "-9999999999.9",
                                    "1e308",
                                    "1e400",
                                    "-1e400",
                                    "0.0000000000000000000000000000000000000001",
                                    "1234567.5",
                                    "1234568.5",
                                    "1048576.5",
                                    "1073741823.5",
                                    "1073741824.5",
                                    std::string(400, '9'),
                                    "0." + std::string(400, '9'),
                                    "1." + std::string(400, '0') + "1",
                                    "0.5" + std::string(400, '0') + "1"};
  // Texts at the edges of the doubles that read as a whole number and a half: a half exactly,
  // half the spacing of the doubles there above and below it, and one unit in the 81st decimal
  // place beside each.
  for (const std::uint64_t whole :
       {0ULL, 1ULL, 2ULL, 3ULL, 6ULL, 7ULL, 1000ULL, 1001ULL, (1ULL << 20) - 1, 1ULL << 20,
        (1ULL << 30) - 1, 1ULL << 30, 2147483645ULL, 2147483646ULL}) {
    const long double half = static_cast<long double>(whole) + 0.5L;
    for (int bits = 50; bits <= 56; ++bits) {
      for (const long double edge :
           {half, half + std::ldexp(1.0L, -bits), half - std::ldexp(1.0L, -bits)}) {
        const std::string exact = ExactText(edge);
        texts.push_back(exact);
        texts.push_back(exact + std::string(80 - (exact.size() - exact.find('.') - 1), '0') + "1");
        std::string less = ExactText(edge);
        // The exact text ends in 5: a unit less in its last place, followed by nines.
        less.back() = '4';
        texts.push_back(less + std::string(40, '9'));
      }
    }
  }
  for (const std::string& text : std::vector<std::string>(texts)) {
    texts.push_back("-" + text);
    texts.push_back(" +" + text + " days");
  }
  for (const std::string& text : texts) {
    EXPECT_EQ(FlagFromText(Wide(text)), FlagFromTextThroughStrtod(Wide(text)))
        << '"' << text << '"';
  }
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
