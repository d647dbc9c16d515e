// The engine's way back, in a file of its own: a program that never restores (the main window)
// links none of the restore.
#include "engine/engine.h"

namespace quellspur {

QuarantineList Engine::ListQuarantine() {
  return restore_.List();
}

RestoreResult Engine::RestoreChange(const ChangeEntry& entry) {
  return restore_.Entry(entry);
}

RestoreResult Engine::RestoreCopy(const std::wstring& copyName, const std::wstring& target) {
  return restore_.UnrecordedCopy(copyName, target);
}

}  // namespace quellspur
