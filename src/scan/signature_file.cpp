#include "scan/signature_file.h"

#include <algorithm>
#include <map>

#include "platform/text.h"
#include "platform/text_lines.h"
#include "platform/utf8.h"

namespace quellspur {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kHexDigits = 64;
constexpr std::size_t kLongestSize = 20;  // digits of the largest 64-bit count

std::vector<std::wstring> SplitAtTabs(const std::wstring& line) {
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  for (std::size_t tab = line.find(L'\t'); tab != std::wstring::npos;
       tab = line.find(L'\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool HoldsControlCharacter(const std::wstring& text) {
  return std::any_of(text.begin(), text.end(), IsControlCharacter);
}

// Why the name can't be a signature's; nothing when it can.
std::optional<std::wstring> NameFault(const std::wstring& name) {
  // Characters, not UTF-16 units: one beyond U+FFFF counts once.
  const auto characters = std::count_if(name.begin(), name.end(), [](wchar_t c) {
    return !IsLowSurrogate(static_cast<char32_t>(c));
  });
  if (characters == 0) {
    return L"the name is empty";
  }
  if (static_cast<std::size_t>(characters) > kLongestSignatureName) {
    return L"the name is longer than 100 characters";
  }
  if (HoldsControlCharacter(name)) {
    return L"the name holds a control character";
  }
  return std::nullopt;
}

// The digest in lower case; nothing when the text is not 64 hex digits.
std::optional<std::string> HexDigest(const std::wstring& text) {
  if (text.size() != kHexDigits) {
    return std::nullopt;
  }
  std::string digest;
  for (wchar_t c : text) {
    if (c >= L'A' && c <= L'F') {
      c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) {
      return std::nullopt;
    }
    digest.push_back(static_cast<char>(c));
  }
  return digest;
}

// A byte count of digits only, within 64 bits.
std::optional<std::uint64_t> ByteCount(const std::wstring& text) {
  if (text.empty() || text.size() > kLongestSize ||
      text.find_first_not_of(L"0123456789") != std::wstring::npos) {
    return std::nullopt;
  }
  std::uint64_t count = 0;
  for (wchar_t digit : text) {
    const auto value = static_cast<std::uint64_t>(digit - L'0');
    if (count > (UINT64_MAX - value) / 10) {
      return std::nullopt;
    }
    count = count * 10 + value;
  }
  return count;
}

using LineResult = std::variant<AddedWindowSignature, AddedHashSignature, std::wstring>;

LineResult WindowLine(const std::vector<std::wstring>& fields) {
  if (fields.size() != 4) {
    return L"a window signature has four fields separated by tabs: window, name, class, caption";
  }
  if (const auto fault = NameFault(fields[1])) {
    return *fault;
  }
  if (fields[2].empty() && fields[3].empty()) {
    return L"a window signature needs a class or a caption";
  }
  if (HoldsControlCharacter(fields[2]) || HoldsControlCharacter(fields[3])) {
    return L"the class or caption holds a control character";
  }
  return AddedWindowSignature{{fields[1], fields[2], fields[3]}};
}

LineResult HashLine(const std::wstring& name, const std::wstring& hex,
                    std::optional<std::uint64_t> size) {
  if (const auto fault = NameFault(name)) {
    return *fault;
  }
  const auto digest = HexDigest(hex);
  if (!digest) {
    return L"a SHA-256 is 64 hex digits";
  }
  return AddedHashSignature{name, *digest, size};
}

// HEX:SIZE:NAME, where the name may hold colons of its own.
LineResult HashListLine(const std::wstring& line) {
  const std::size_t first = line.find(L':');
  const std::size_t second = line.find(L':', first + 1);
  if (second == std::wstring::npos) {
    return L"a hash-list line reads HASH:SIZE:NAME";
  }
  const std::wstring sizeText = line.substr(first + 1, second - first - 1);
  std::optional<std::uint64_t> size;
  if (sizeText != L"*") {
    size = ByteCount(sizeText);
    if (!size) {
      return L"the size is a byte count or *";
    }
  }
  return HashLine(line.substr(second + 1), line.substr(0, first), size);
}

LineResult SignatureLine(const std::wstring& line) {
  if (line.starts_with(L"window\t")) {
    return WindowLine(SplitAtTabs(line));
  }
  if (line.starts_with(L"sha256\t")) {
    const std::vector<std::wstring> fields = SplitAtTabs(line);
    if (fields.size() != 3) {
      return L"a sha256 signature has three fields separated by tabs: sha256, name, hash";
    }
    return HashLine(fields[1], fields[2], std::nullopt);
  }
  if (line.find(L':') != std::wstring::npos) {
    return HashListLine(line);
  }
  return L"not a signature: window<TAB>NAME<TAB>CLASS<TAB>CAPTION, sha256<TAB>NAME<TAB>HASH or "
         L"HASH:SIZE:NAME";
}

bool Blank(const std::wstring& line) {
  return line.find_first_not_of(L" \t") == std::wstring::npos;
}

// Where the signatures found so far stand, to tell a repeated one.
class Repeats {
 public:
  Repeats() {
    for (const WindowSignatureText& builtIn : kWindowSignatures) {
      windows_.try_emplace(Key(builtIn.windowClass, builtIn.windowCaption), 0);
    }
  }

  // Why the signature repeats another; nothing when it is the first of its kind.
  std::optional<std::wstring> Check(const AddedWindowSignature& added) {
    const auto [earlier, first] = windows_.try_emplace(
        Key(added.signature.windowClass, added.signature.windowCaption), added.line);
    if (first) {
      return std::nullopt;
    }
    if (earlier->second == 0) {
      return L"it repeats a built-in window signature";
    }
    return Joined({L"it repeats the window signature of line ", DecimalText(earlier->second)});
  }
  std::optional<std::wstring> Check(const AddedHashSignature& added) {
    const auto [earlier, first] = hashes_.try_emplace(added.sha256, added.line);
    if (first) {
      return std::nullopt;
    }
    return Joined({L"it repeats the SHA-256 of line ", DecimalText(earlier->second)});
  }

 private:
  // Windows compares class names in any case, captions exactly.
  static std::wstring Key(std::wstring_view windowClass, std::wstring_view windowCaption) {
    return Joined({UpperCase(windowClass), L"\t", windowCaption});
  }

  std::map<std::wstring, std::uint32_t> windows_;  // 0: built in
  std::map<std::string, std::uint32_t> hashes_;
};

}  // namespace

std::variant<AddedSignatures, std::vector<SignatureFileError>> ParseSignatureFile(
    std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  const std::vector<std::string_view> lines = platform::SplitLines(bytes);
  AddedSignatures added;
  std::vector<SignatureFileError> errors;
  if (lines.empty() || lines[0] != kSignatureFileFirstLine) {
    errors.push_back({1, L"the first line must be \"Quellspur signatures 1\""});
  }
  Repeats repeats;
  for (std::size_t index = 1; index < lines.size(); ++index) {
    const auto number = static_cast<std::uint32_t>(index + 1);
    std::wstring line;
    if (!Utf8ToText(lines[index], line)) {
      errors.push_back({number, L"the line is not UTF-8"});
      continue;
    }
    if (Blank(line) || line.starts_with(L'#')) {
      continue;
    }
    LineResult result = SignatureLine(line);
    std::optional<std::wstring> fault;
    if (auto* window = std::get_if<AddedWindowSignature>(&result)) {
      window->line = number;
      if (!(fault = repeats.Check(*window))) {
        added.windows.push_back(std::move(*window));
      }
    } else if (auto* hash = std::get_if<AddedHashSignature>(&result)) {
      hash->line = number;
      if (!(fault = repeats.Check(*hash))) {
        added.hashes.push_back(std::move(*hash));
      }
    } else {
      fault = std::get<std::wstring>(result);
    }
    if (fault) {
      errors.push_back({number, *fault});
    }
  }
  if (!errors.empty()) {
    return errors;
  }
  return added;
}

std::wstring SignatureErrorText(const std::wstring& fileName, const SignatureFileError& error) {
  std::wstring text = fileName;
  if (error.line != 0) {
    text.append(L", line ").append(DecimalText(error.line));
  }
  return text.append(L": ").append(error.reason);
}

}  // namespace quellspur
