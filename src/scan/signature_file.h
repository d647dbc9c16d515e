// The signatures an administrator adds in Signatures.txt beside the programs: the file's form, and
// its parsing as a pure function of its bytes, so that a bad file is refused whole with every
// reason instead of being used in part.
//
//   Quellspur signatures 1
//   # a comment; blank lines are passed over
//   window<TAB>NAME<TAB>CLASS<TAB>CAPTION
//   sha256<TAB>NAME<TAB>HEX
//   HEX:SIZE:NAME            (SIZE a byte count or *)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "scan/signature_table.h"

namespace quellspur {

inline constexpr wchar_t kSignatureFileName[] = L"Signatures.txt";
inline constexpr std::string_view kSignatureFileFirstLine = "Quellspur signatures 1";
// A larger file is refused unread: no list of signatures comes near it.
inline constexpr std::uint64_t kLargestSignatureFile = 16 * 1024 * 1024;
inline constexpr std::size_t kLongestSignatureName = 100;

struct AddedWindowSignature {
  WindowSignature signature;
  std::uint32_t line = 0;
};

struct AddedHashSignature {
  std::wstring backdoorName;
  std::string sha256;                 // 64 lower-case hex digits
  std::optional<std::uint64_t> size;  // none: a file of any size
  std::uint32_t line = 0;
};

// Each kind in the order of the file's lines.
struct AddedSignatures {
  std::vector<AddedWindowSignature> windows;
  std::vector<AddedHashSignature> hashes;
};

struct SignatureFileError {
  std::uint32_t line = 0;  // 0: the file as a whole
  std::wstring reason;
};

// Every signature of the file, or every reason it is refused, each line's first only.
std::variant<AddedSignatures, std::vector<SignatureFileError>> ParseSignatureFile(
    std::string_view bytes);

// "Signatures.txt, line 4: reason", or without the line for the file as a whole.
std::wstring SignatureErrorText(const std::wstring& fileName, const SignatureFileError& error);

}  // namespace quellspur
