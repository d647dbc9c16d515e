// Start-entry discovery: the values of the start-up keys that start a hit's executable.
#include "platform/owners.h"
#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kNameBufferChars = 100;
constexpr std::uint32_t kDataBufferBytes = 200;

const std::wstring kRunServicesKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The executable a start command names: its file-name part, cut at a slash that begins a switch.
std::wstring StartedFileName(const std::wstring& command) {
  std::wstring candidate = FileNameOf(command);
  const std::size_t slash = candidate.find(L'/');
  if (slash != std::wstring::npos) {
    candidate = TrimBlanks(candidate.substr(0, slash));
  }
  return TrimBlanks(UpperCase(candidate));
}

}  // namespace

bool Scanner::FindStartEntries(const std::wstring& path) {
  const bool r1 = SearchRunKey(platform::kHkeyLocalMachine, kRunServicesKey, path);
  const bool r2 = SearchRunKey(platform::kHkeyLocalMachine, kRunKey, path);
  const bool r3 = SearchRunKey(platform::kHkeyCurrentUser, kRunKey, path);
  return r1 || r2 || r3;
}

bool Scanner::SearchRunKey(platform::RegKey root, const std::wstring& keyPath,
                           const std::wstring& path) {
  platform::RegKey opened = 0;
  if (os_.RegOpenKeyExA(root, keyPath, 0, platform::kKeyAllButDelete, opened) !=
      platform::kErrorSuccess) {
    return false;
  }
  const platform::UniqueKey key(os_, opened);
  const std::wstring wanted = TrimBlanks(UpperCase(FileNameOf(path)));
  bool found = false;

  platform::EnumeratedValue value;
  platform::Status status =
      os_.RegEnumValueA(key.get(), 0, kNameBufferChars, kDataBufferBytes, value);
  for (std::uint32_t index = 0; status == platform::kErrorSuccess;) {
    // Data without a zero byte is a command all the same: all of it counts.
    const std::wstring command = os_.AnsiToWide(UpToFirstZero(value.data));
    if (StartedFileName(command) == wanted) {
      Finding& finding = findings.emplace_back();
      finding.backdoorName = currentBackdoorName;
      finding.filePath = path;
      finding.rootKey = static_cast<std::uint32_t>(root);
      finding.subKey = keyPath;
      finding.valueName = value.name;
      found = true;
    }
    status = os_.RegEnumValueA(key.get(), ++index, kNameBufferChars, kDataBufferBytes, value);
    pump_.ProcessPendingMessages();
  }
  return found;
}

}  // namespace quellspur
