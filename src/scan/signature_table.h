// The window signatures of the backdoors that show a top-level window, in probe order.
#pragma once

#include <array>
#include <string>

namespace quellspur {

struct WindowSignature {
  std::wstring BackdoorName;
  std::wstring WindowClass;    // empty: any class
  std::wstring WindowCaption;  // empty: any caption
};

extern const std::array<WindowSignature, 24> SignatureTable;

}  // namespace quellspur
