// The signature file's parser on any bytes: it never throws, and every line after the first is a
// signature, passed over, or one error with its own line number; a refused file yields no
// signature at all, and an accepted one only well-formed ones.
#include <algorithm>
#include <cstdint>
#include <set>

#include "fuzz_check.h"
#include "platform/text.h"
#include "platform/text_lines.h"
#include "scan/signature_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellspur;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string_view body = bytes;
  if (body.starts_with("\xEF\xBB\xBF")) {
    body.remove_prefix(3);
  }
  const std::size_t lines = std::max<std::size_t>(platform::SplitLines(body).size(), 1);
  const auto parsed = ParseSignatureFile(bytes);

  if (const auto* errors = std::get_if<std::vector<SignatureFileError>>(&parsed)) {
    Require(!errors->empty(), "a refused file says why");
    std::uint32_t previous = 0;
    for (const SignatureFileError& error : *errors) {
      Require(error.line > previous && error.line <= lines, "one error a line, in line order");
      Require(!error.reason.empty(), "every error has a reason");
      previous = error.line;
    }
    return 0;
  }
  const AddedSignatures& added = std::get<AddedSignatures>(parsed);
  std::set<std::uint32_t> used;
  auto wellNamed = [](const std::wstring& name) {
    return !name.empty() && name.size() <= 2 * kLongestSignatureName &&
           std::none_of(name.begin(), name.end(), IsControlCharacter);
  };
  for (const AddedWindowSignature& window : added.windows) {
    Require(window.line >= 2 && window.line <= lines && used.insert(window.line).second,
            "a window signature stands on a line of its own");
    Require(wellNamed(window.signature.backdoorName), "a window signature is well named");
    Require(!window.signature.windowClass.empty() || !window.signature.windowCaption.empty(),
            "a window signature names a class or a caption");
  }
  std::set<std::string> digests;
  for (const AddedHashSignature& hash : added.hashes) {
    Require(hash.line >= 2 && hash.line <= lines && used.insert(hash.line).second,
            "a hash signature stands on a line of its own");
    Require(wellNamed(hash.backdoorName), "a hash signature is well named");
    Require(hash.sha256.size() == 64 &&
                hash.sha256.find_first_not_of("0123456789abcdef") == std::string::npos,
            "a digest is 64 lower-case hex digits");
    Require(digests.insert(hash.sha256).second, "no digest is listed twice");
  }
  return 0;
}
