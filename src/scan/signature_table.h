// The window signatures of the backdoors that show a top-level window, in probe order.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quellspur {

// A window signature read from a file, which holds its own text.
struct WindowSignature {
  std::wstring backdoorName;
  std::wstring windowClass;    // empty: any class
  std::wstring windowCaption;  // empty: any caption
};

// A window signature as views of text held elsewhere: the built-in table's constants, which need
// nothing made when the program starts, or a read signature's strings.
struct WindowSignatureText {
  std::wstring_view backdoorName;
  std::wstring_view windowClass;    // empty: any class
  std::wstring_view windowCaption;  // empty: any caption
};

extern const std::array<WindowSignatureText, 24> kWindowSignatures;

}  // namespace quellspur
