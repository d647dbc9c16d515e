// Replacing a file's whole content so that a reader finds the old bytes or the new, never a part.
#pragma once

#include <string>

#include "platform/os.h"

namespace quellspur {

// Writes the bytes into a new temporary file in `folder` (with its trailing backslash) and moves
// it over `path`; false, with `path` untouched and no temporary file left, when a step fails.
bool ReplaceFileContent(platform::Os& os, const std::wstring& folder, const std::wstring& path,
                        const std::string& bytes);

}  // namespace quellspur
