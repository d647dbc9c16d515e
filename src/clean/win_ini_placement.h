// Where win.ini's removed lines go back: each into the section it came from, next to the kept
// lines it stood between when they are still there.
#pragma once

#include <string>
#include <vector>

#include "clean/change_record.h"
#include "clean/win_ini_text.h"

namespace quellspur {

struct PutBack {
  std::vector<std::size_t> added;  // which of the lines were put back, by their index
  std::wstring refusal;            // why a line has no place; then the text must not be written
};

// Puts the lines back into the text, in their order. A line that stands in its section already is
// left there. Otherwise it goes right after the kept line that stood before it, preferably where
// the one that stood after it still follows; else right before that one; else at the end of its
// section, after its last line that is not blank. A line of a version-1 entry, which did not keep
// its section, goes back only when it is a "load=" or "run=" line, the lines the clean-up removes,
// and then into [windows]. A section that is gone refuses the line.
PutBack PutLinesBack(IniText& text, const std::vector<RemovedLine>& lines);

}  // namespace quellspur
