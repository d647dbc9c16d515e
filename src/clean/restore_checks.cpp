#include "clean/restore_checks.h"

#include <algorithm>
#include <array>

#include "clean/file_quarantine.h"
#include "platform/text.h"
#include "scan/report_line.h"

namespace quellspur {
namespace {

// Names Windows opens as devices, whatever extension follows them ("NUL.txt" is NUL too).
bool NamesADevice(std::wstring_view name) {
  std::wstring base = UpperCase(name.substr(0, name.find(L'.')));
  while (!base.empty() && base.back() == L' ') {
    base.pop_back();
  }
  static const std::array<std::wstring_view, 6> kDevices = {L"CON", L"PRN",    L"AUX",
                                                            L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) {
    return true;
  }
  // COM0 to COM9 and LPT0 to LPT9, and with the superscript digits Windows counts too.
  return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) &&
         ((base[3] >= L'0' && base[3] <= L'9') || base[3] == L'\u00B9' || base[3] == L'\u00B2' ||
          base[3] == L'\u00B3');
}

// Why one name between backslashes can't be part of a path a clean-up took a file from.
std::optional<std::wstring> NameRefusal(std::wstring_view name) {
  if (name.empty()) {
    return L"an empty folder name";
  }
  if (name == L"." || name == L"..") {
    return L"a \".\" or \"..\" folder";
  }
  for (const wchar_t c : name) {
    // A colon names a stream; the others are wildcards, quotes, pipes and redirections.
    if (c < 0x20 || std::wstring_view(L"<>:\"/|?*").find(c) != std::wstring_view::npos) {
      return L"a character Windows allows in no file name";
    }
  }
  if (name.back() == L'.' || name.back() == L' ') {
    return L"a name ending in a dot or blank, which Windows drops";
  }
  if (NamesADevice(name)) {
    return L"a device name";
  }
  return std::nullopt;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return UpperCase(a) == UpperCase(b);
}

// Whether the name is the one the clean-up gives a copy of the file: its file name, with ".<n>"
// for the second and later of that name, and ".Backdoor".
bool IsCleanUpCopyName(const std::wstring& copyName, const std::wstring& originalPath) {
  std::wstring stem = UpperCase(QuarantineName(originalPath, 1));
  stem.resize(stem.size() - kQuarantineEnding.size());
  const std::wstring name = UpperCase(copyName);
  if (!name.starts_with(stem) || !HasQuarantineEnding(name) ||
      name.size() < stem.size() + kQuarantineEnding.size()) {
    return false;
  }
  const std::wstring number =
      name.substr(stem.size(), name.size() - stem.size() - kQuarantineEnding.size());
  if (number.empty()) {
    return true;
  }
  // The first copy has no number; the others count from 2, without leading zeros.
  return number.size() >= 2 && number[0] == L'.' && number[1] != L'0' && number != L".1" &&
         std::all_of(number.begin() + 1, number.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

std::optional<std::wstring> FileRefusal(const FileChange& change) {
  if (const auto refusal = PathRefusal(change.originalPath)) {
    return refusal;
  }
  if (const auto refusal = CopyNameRefusal(change.copyName)) {
    return refusal;
  }
  if (!IsCleanUpCopyName(change.copyName, change.originalPath)) {
    return Joined({L"its copy name ", change.copyName, L" is not one the clean-up gives a copy of ",
                   change.originalPath});
  }
  return std::nullopt;
}

std::optional<std::wstring> RegistryRefusal(const RegistryChange& change,
                                            const RestorePlaces& places) {
  const bool startKey =
      std::any_of(places.startKeys.begin(), places.startKeys.end(), [&](const StartKey& key) {
        return static_cast<std::uint32_t>(key.root) == change.rootKey && key.view == change.view &&
               SameText(key.subKey, change.subKey);
      });
  if (startKey) {
    return std::nullopt;
  }
  const std::wstring view =
      change.view != 0 ? Joined({L" (", RegistryViewName(change.view), L" view)"}) : L"";
  return Joined({L"its value is in ", RootKeyName(change.rootKey), L"\\", change.subKey, view,
                 L", which is no start key the scan reads on this machine"});
}

}  // namespace

std::optional<std::wstring> PathRefusal(const std::wstring& path) {
  const bool drive =
      path.size() >= 4 &&
      ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
      path[1] == L':' && path[2] == L'\\';
  if (!drive) {
    return Joined(
        {L"its path ", path, L" is not an absolute local path (a drive letter, then backslashes)"});
  }
  for (std::size_t start = 3;;) {
    const std::size_t end = path.find(L'\\', start);
    if (const auto refusal = NameRefusal(std::wstring_view(path).substr(
            start, end == std::wstring::npos ? std::wstring::npos : end - start))) {
      return Joined({L"its path ", path, L" holds ", *refusal});
    }
    if (end == std::wstring::npos) {
      return std::nullopt;
    }
    start = end + 1;
  }
}

std::optional<std::wstring> CopyNameRefusal(const std::wstring& copyName) {
  if (copyName.find(L'\\') != std::wstring::npos || NameRefusal(copyName) ||
      !HasQuarantineEnding(copyName)) {
    return Joined(
        {L"its copy name ", copyName, L" is no plain file name in the quarantine folder"});
  }
  return std::nullopt;
}

std::optional<std::wstring> EntryRefusal(const ChangeEntry& entry, const RestorePlaces& places) {
  if (const auto* file = std::get_if<FileChange>(&entry.change)) {
    return FileRefusal(*file);
  }
  if (const auto* value = std::get_if<RegistryChange>(&entry.change)) {
    return RegistryRefusal(*value, places);
  }
  if (const auto* winIni = std::get_if<WinIniChange>(&entry.change)) {
    const std::wstring own = Joined({places.windowsFolder, L"win.ini"});
    if (!SameText(winIni->winIniPath, own)) {
      return Joined({L"its file ", winIni->winIniPath, L" is not the Windows folder's ", own});
    }
  }
  return std::nullopt;
}

}  // namespace quellspur
