#include "settings/settings_store.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/text.h"
#include "settings/registry_helpers.h"

namespace quellspur {
namespace {

const wchar_t* const kFlagNames[] = {L"AutoCheck", L"AutoClean", L"MoveFiles"};

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// The exact decimal digits after the point of 2^-bits (as many digits as bits; the last is 5).
std::string PowerOfHalfDigits(int bits) {
  std::string digits = "5";
  for (int n = 1; n < bits; ++n) {
    int carry = 0;
    for (char& digit : digits) {
      const int value = carry * 10 + (digit - '0');
      digit = static_cast<char>('0' + value / 2);
      carry = value % 2;
    }
    digits += '5';
  }
  return digits;
}

// Which way a fraction (its digits after the point, without trailing zeros) rounds after the
// integer `whole`, exactly as the stored text always did: read into a double, then rounded to the
// nearest integer, halves to the even one. The double lands on whole + 0.5 for any fraction within
// half its spacing there, 2^-(54 - bit width of whole): such fractions round as a half.
bool RoundsUp(std::uint64_t whole, const std::string& fraction) {
  const int bits = 54 - static_cast<int>(std::bit_width(whole));
  const std::string step = PowerOfHalfDigits(bits);
  std::string above = step;  // 0.5 + 2^-bits: the step's first digit is 0
  above[0] = '5';
  if (fraction > above) {
    return true;
  }
  std::string below(static_cast<std::size_t>(bits), '0');  // 0.5 - 2^-bits
  below[0] = '5';
  int borrow = 0;
  for (std::size_t i = below.size(); i-- > 0;) {
    int digit = (below[i] - '0') - (step[i] - '0') - borrow;
    borrow = digit < 0 ? 1 : 0;
    below[i] = static_cast<char>('0' + digit + 10 * borrow);
  }
  if (whole == 0 || fraction < below) {
    return false;  // zero is the even neighbour of 0.5
  }
  return whole % 2 == 1;
}

}  // namespace

std::int32_t FlagFromText(const std::wstring& text) {
  std::size_t at = text.find_first_not_of(L" \t");
  if (at == std::wstring::npos) {
    return 0;
  }
  // Only the leading number counts: sign, digits, a fraction and an exponent without a sign.
  const bool negative = text[at] == L'-';
  if (text[at] == L'+' || text[at] == L'-') {
    ++at;
  }
  // The significant digits, and where the point stands among them (negative: that many zeros
  // come between the point and the first of them).
  std::string digits;
  std::ptrdiff_t point = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (!digits.empty() || text[at] != L'0') {
      digits += static_cast<char>(text[at]);
      ++point;
    }
  }
  if (at < text.size() && text[at] == L'.') {
    for (++at; at < text.size() && IsDigit(text[at]); ++at) {
      if (!digits.empty() || text[at] != L'0') {
        digits += static_cast<char>(text[at]);
      } else {
        --point;
      }
    }
  }
  if (at + 1 < text.size() && (text[at] == L'E' || text[at] == L'e') && IsDigit(text[at + 1])) {
    // Past 10 digits before the point the number is out of range anyway.
    std::ptrdiff_t exponent = 0;
    for (++at; at < text.size() && IsDigit(text[at]); ++at) {
      exponent = std::min<std::ptrdiff_t>(exponent * 10 + (text[at] - L'0'), 100);
    }
    point += exponent;
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.empty()) {
    return 0;
  }
  const std::int32_t bound = negative ? std::numeric_limits<std::int32_t>::min()
                                      : std::numeric_limits<std::int32_t>::max();
  if (point > 10) {
    return bound;
  }
  std::uint64_t whole = 0;
  for (std::ptrdiff_t i = 0; i < point; ++i) {
    whole = whole * 10 + (i < std::ssize(digits) ? digits[static_cast<std::size_t>(i)] - '0' : 0);
  }
  // A number at the bound or beyond it is the bound, whatever its fraction.
  if (whole >= (negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1)) {
    return bound;
  }
  const std::string fraction =
      point >= 0
          ? (point < std::ssize(digits) ? digits.substr(static_cast<std::size_t>(point)) : "")
          : std::string(static_cast<std::size_t>(-point), '0') + digits;
  if (RoundsUp(whole, fraction)) {
    ++whole;
  }
  const auto magnitude = static_cast<std::int64_t>(whole);
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::wstring FlagToText(std::int32_t flag) {
  return (flag >= 0 ? L" " : L"") + SignedDecimalText(flag);
}

bool LoadSettings(platform::Os& os, Settings& settings) {
  std::int32_t* const flags[] = {&settings.autoCheck, &settings.autoClean, &settings.moveFiles};
  bool complete = true;
  for (std::size_t i = 0; i < 3; ++i) {
    std::wstring text;
    if (GetRegValue(os, platform::kHkeyLocalMachine, kSettingsKey, kFlagNames[i], text)) {
      *flags[i] = FlagFromText(text);
    } else {
      complete = false;
      if (flags[i] == &settings.autoCheck) {
        settings.autoCheck = 1;
      }
    }
  }
  return complete;
}

void SaveSettings(platform::Os& os, const Settings& settings) {
  const std::int32_t flags[] = {settings.autoCheck, settings.autoClean, settings.moveFiles};
  for (std::size_t i = 0; i < 3; ++i) {
    SetRegValue(os, platform::kHkeyLocalMachine, kSettingsKey, kFlagNames[i], FlagToText(flags[i]));
  }
}

std::wstring RunCommand(platform::Os& os) {
  // A drive's root folder keeps its backslash, so such a path has two in a row; the dialog
  // builds the command the same way when it compares, so it still recognises it.
  return L"\"" + os.GetProgramFolder() + L"\\" + os.GetProgramExeName() + L".exe\" /boot";
}

}  // namespace quellspur
