// Whether a file or folder is the administrators' alone: the question asked of the change record
// before restoring from it, and of any place whose contents the program runs or puts back.
#pragma once

#include <optional>
#include <string>

#include "platform/security.h"

namespace quellspur::platform {

// Why accounts other than Administrators, SYSTEM and TrustedInstaller can change the file or
// folder, in words ("Everyone may change it"); nothing when only those three can. Its owner counts
// (an owner may always rewrite the list), and every allowing entry that applies to it, inherited
// ones included, that grants a right to change its contents, attributes, list or owner, or to
// delete it or what it holds. A list that can't be read is taken as one that others can change;
// a path that is not there has none to ask about, and gives nothing.
std::optional<std::wstring> WhyOthersCanChange(Security& security, const std::wstring& path);

}  // namespace quellspur::platform
