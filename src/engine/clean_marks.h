// The marks a result line takes once its finding is dealt with. The main window's list shows them,
// and QuellScan's text output is that list's lines, so both take them from here.
#pragma once

#include <string>

#include "clean/clean_up.h"

namespace quellspur {

inline const std::wstring kTerminatedPrefix = L"IT\u00B4S TERMINATED!  ";
inline const std::wstring kErasedPrefix = L"IT\u00B4S ERASED!  ";

// The mark of a clean-up's outcome; none when the finding had nothing to do or is still there.
inline std::wstring CleanMark(CleanOutcome outcome) {
  switch (outcome) {
    case CleanOutcome::Terminated:
      return kTerminatedPrefix;
    case CleanOutcome::StartRemoved:
      return kErasedPrefix;
    case CleanOutcome::NothingToDo:
    case CleanOutcome::NotDone:
      break;
  }
  return L"";
}

}  // namespace quellspur
