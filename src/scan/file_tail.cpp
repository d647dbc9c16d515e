// Whether an executable names itself near its end, as "Back Orifice" does.
#include <algorithm>

#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kTailBytes = 101;

}  // namespace

bool Scanner::NameInFileTail(const std::wstring& path) {
  const std::wstring name = UpperCase(FileNameOf(path));
  std::uint64_t length = 0;
  std::string tail;
  if (name.empty() || !os_.GetFileLength(path, length) || length < kTailBytes ||
      !os_.ReadFileAt(path, length - kTailBytes, kTailBytes, tail)) {
    return false;
  }
  const std::wstring text = UpperCase(os_.AnsiToWide(tail));
  // A candidate consumes its bytes: after a miss the scan goes on behind it, not at the byte
  // after its first character.
  for (std::size_t next = 0; next < text.size();) {
    if (text[next++] != name[0]) {
      continue;
    }
    const std::size_t start = next - 1;
    next = std::min(text.size(), start + name.size());
    if (text.compare(start, name.size(), name) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace quellspur
