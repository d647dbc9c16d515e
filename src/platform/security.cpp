#include "platform/security.h"

namespace quellspur::platform {
namespace {

std::wstring Hex(std::uint32_t number) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring digits;
  do {
    digits.insert(digits.begin(), kDigits[number % 16]);
    number /= 16;
  } while (number != 0);
  return L"0x" + digits;
}

}  // namespace

std::wstring SecurityDescriptorText(const AccessList& list) {
  std::wstring text = L"O:" + list.owner + L"D:";
  if (list.isProtected) {
    text += L"P";
  }
  for (const AccessEntry& entry : list.entries) {
    text.append(L"(").append(entry.allows ? L"A" : L"D").append(L";");
    text.append((entry.flags & kObjectInherit) != 0 ? L"OI" : L"");
    text.append((entry.flags & kContainerInherit) != 0 ? L"CI" : L"");
    text.append((entry.flags & kInheritOnly) != 0 ? L"IO" : L"");
    text.append((entry.flags & kInherited) != 0 ? L"ID" : L"");
    text.append(L";").append(Hex(entry.rights)).append(L";;;").append(entry.sid).append(L")");
  }
  return text;
}

}  // namespace quellspur::platform
