// The registry, through the UTF-16 ("W") calls of advapi32.
//
// Names cross exactly, as UTF-16. Data crosses as the raw bytes Windows stores, with the value's
// type: a string type's data is UTF-16LE (two bytes a character, its terminating zero character
// included when it was stored with one); any other type's data is the bytes as written. Callers
// read data as text through ValueText and write text through StringData.
//
// Buffers: a name buffer counts characters and must hold the name and its zero; a data buffer
// counts bytes, so text of n characters needs 2n bytes, its zero 2 more, and binary data is
// bounded by the same number of bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os_calls.h"
#include "platform/system.h"
#include "platform/types.h"

namespace quellspur::platform {

// One value as RegEnumValueW delivers it.
struct EnumeratedValue {
  std::wstring name;  // the name buffer up to its first zero
  std::uint32_t type = 0;
  std::string data;  // exactly the bytes delivered
};

inline bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// The text a value's data holds: a string type's as UTF-16LE up to its first zero character, any
// other type's as 8-bit text in the ANSI code page up to its first zero byte (data without a zero
// counts whole).
std::wstring ValueText(System& system, std::uint32_t type, std::string_view data);
// Appends the same text to `text`.
void AppendValueText(System& system, std::uint32_t type, std::string_view data, std::wstring& text);
// Text as a string type's data: UTF-16LE with its terminating zero character.
std::string StringData(std::wstring_view text);

// The calls and their documentation: QUELLSPUR_REGISTRY_CALLS in os_calls.h.
class Registry {
 public:
  virtual ~Registry() = default;
  QUELLSPUR_REGISTRY_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
