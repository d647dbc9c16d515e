#include "settings/settings_store.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/text.h"
#include "settings/registry_helpers.h"

namespace quellspur {
namespace {

const wchar_t* const kFlagNames[] = {L"AutoCheck", L"AutoClean", L"MoveFiles"};

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

}  // namespace

std::int32_t FlagFromText(const std::wstring& text) {
  std::size_t at = text.find_first_not_of(L" \t");
  if (at == std::wstring::npos) {
    return 0;
  }
  // Only the leading number counts: sign, digits, a fraction and an exponent.
  std::string number;
  if (text[at] == L'+' || text[at] == L'-') {
    number += static_cast<char>(text[at++]);
  }
  auto digits = [&] {
    while (at < text.size() && IsDigit(text[at])) {
      number += static_cast<char>(text[at++]);
    }
  };
  digits();
  if (at < text.size() && text[at] == L'.') {
    number += static_cast<char>(text[at++]);
    digits();
  }
  if (at + 1 < text.size() && (text[at] == L'E' || text[at] == L'e') && IsDigit(text[at + 1])) {
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
