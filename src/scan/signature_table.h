// The window signatures of the backdoors that show a top-level window, in probe order.
#pragma once

#include <array>
#include <string>

namespace quellspur {

struct WindowSignature {
  std::wstring backdoorName;
  std::wstring windowClass;    // empty: any class
  std::wstring windowCaption;  // empty: any caption
};

extern const std::array<WindowSignature, 24> kWindowSignatures;

}  // namespace quellspur
