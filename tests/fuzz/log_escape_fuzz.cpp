// The activity log's escaping on any UTF-16LE text, on the simulated machine's code page
// (Windows-1252): it leaves no control character and none the code page lacks, and it reads back
// as the message.
#include <cstdint>
#include <string>

#include "clean/activity_log.h"
#include "fuzz_check.h"
#include "testing/sim_machine.h"

namespace {

// Reads the escapes back: "\x" with two hex digits, "\u" with four; any other backslash is itself.
std::wstring Unescape(const std::wstring& text) {
  std::wstring message;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t next = i + 1 < text.size() && text[i] == L'\\' ? text[i + 1] : 0;
    const std::size_t digits = next == L'x' ? 2 : next == L'u' ? 4 : 0;
    message += digits == 0 ? text[i] : std::stoi(text.substr(i + 2, digits), nullptr, 16);
    i += digits == 0 ? 0 : 1 + digits;
  }
  return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellspur;
  static platform::sim::SimMachine sim;
  const std::wstring message = FromUtf16Le({reinterpret_cast<const char*>(data), size});
  const std::wstring escaped = EscapeForLog(sim, message);
  for (wchar_t c : escaped) {
    Require(c >= 0x20 && (c < 0x7F || c > 0x9F), "no control character is written as it is");
    const std::wstring one(1, c);
    Require(sim.AnsiToWide(sim.WideToAnsi(one)) == one, "every character is in the code page");
  }
  // A message that holds "\x" or "\u" already reads back ambiguously; any other one exactly.
  if (message.find(L"\\x") == std::wstring::npos && message.find(L"\\u") == std::wstring::npos) {
    Require(Unescape(escaped) == message, "the escapes read back as the message");
  }
  return 0;
}
