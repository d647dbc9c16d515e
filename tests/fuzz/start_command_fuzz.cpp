// StartsExecutable on any command and path, names compared by the simulated machine. The input is
// UTF-16LE text, as the registry holds a start value: the command up to the first zero character,
// the path after it. An exception thrown out of the rule ends the run like any crash.
#include <algorithm>
#include <cstdint>

#include "fuzz_check.h"
#include "platform/text.h"
#include "scan/scanner.h"
#include "scan/start_command.h"
#include "testing/sim_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellspur;
  static platform::sim::SimMachine machine;
  const std::wstring text = FromUtf16Le({reinterpret_cast<const char*>(data), size});
  const std::size_t zero = std::min(text.find(L'\0'), text.size());
  const std::wstring command = text.substr(0, zero);
  const std::wstring path = text.substr(std::min(zero + 1, text.size()));
  const bool starts = StartsExecutable(machine, command, path);

  const bool blankOrUnknown = TrimBlanks(FileNameOf(path)).empty() || path == kUnknownPath;
  Require(!starts || (NamesAFile(path) && !blankOrUnknown), "a path naming no file starts nothing");
  std::wstring upper = command;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; });
  Require(StartsExecutable(machine, upper, path) == starts,
          "the case of ASCII letters does not matter");
  // A slash begins a switch in a command; in a path, Windows never lets a file name hold one.
  const bool plainFileName = NamesAFile(path) && FileNameOf(path).find(L'/') == std::wstring::npos;
  Require(!plainFileName || StartsExecutable(machine, path, path),
          "a path as the command starts it");
  return 0;
}
