// The engine's way back, in a file of its own: a program that never restores (the main window)
// links none of the restore.
#include "engine/engine.h"
#include "scan/start_keys.h"

namespace quellspur {

RestorePlaces Engine::RestorablePlaces() {
  return {windowsFolder_,
          StartKeyPlaces(windowsPlatform() == WindowsPlatform::Nt && os_.Is64BitWindows())};
}

QuarantineList Engine::ListQuarantine() {
  return restore_.List(RestorablePlaces());
}

RestoreResult Engine::RestoreChange(const ChangeEntry& entry) {
  return restore_.Entry(entry, RestorablePlaces());
}

RestoreResult Engine::RestoreCopy(const std::wstring& copyName, const std::wstring& target) {
  return restore_.UnrecordedCopy(copyName, target);
}

}  // namespace quellspur
