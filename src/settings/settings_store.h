// The three settings in the registry, and the command that starts the program at log-on.
#pragma once

#include <string>

#include "platform/os.h"
#include "settings/settings.h"

namespace quellspur {

inline const std::wstring kSettingsKey = L"Software\\Orvanta\\Quellspur";
inline const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kRunValueName = L"Quellspur";

// Reads the three settings; true only when all three were there. A missing "AutoCheck" turns
// automatic scanning on; the other two keep their value.
bool LoadSettings(platform::Os& os, Settings& settings);
void SaveSettings(platform::Os& os, const Settings& settings);

// The quoted path of the running program followed by " /boot".
std::wstring RunCommand(platform::Os& os);

// A stored flag's number: the number its text starts with after blanks, rounded to the nearest
// 32-bit integer (halves to the even one); 0 when it starts with none.
std::int32_t FlagFromText(const std::wstring& text);
// The flag's text with a blank before a number that is not negative: " 0", " 1", "-1".
std::wstring FlagToText(std::int32_t flag);

}  // namespace quellspur
