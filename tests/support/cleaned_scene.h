// The scene that the fault and crash sweeps and the restore tests clean up and bring back:
// Millenium with its win.ini lines and companion, NetBus Pro with its own, and Back Orifice, known
// by the blank before its ".exe" and by its size, each running and started at log-on; and what
// differs from it afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"
#include "testing/sim_machine.h"

namespace quellspur::testing {

struct SceneFile {
  std::wstring path;
  std::string bytes;
};

// A start value as the machine holds it: the type and exact bytes of its data.
struct SceneValue {
  platform::RegKey root;
  std::wstring key;
  std::wstring name;
  std::uint32_t type;
  std::string data;
};

inline const std::wstring kWinIni = L"C:\\WINDOWS\\win.ini";
inline const std::string kSceneWinIni =
    "[windows]\r\nload=C:\\MIL\\MSWINDS.EXE\r\nrun=\r\nx=C:\\MIL\\MSWINDS.EXE\r\n";
// win.ini without its two lines that name Millenium, the second and the fourth.
inline const std::string kCleanedWinIni = "[windows]\r\nrun=\r\n";

// The files a clean-up may move.
const std::vector<SceneFile>& SceneFiles();
// The start values a clean-up may remove: of every string type, with a zero inside, and binary.
const std::vector<SceneValue>& SceneValues();

// Puts the scene on the machine, with "Move BackDoors Files" on. The machine keeps access lists,
// as Windows does, and the program runs elevated: the quarantine folder is the administrators'.
void BuildScene(platform::sim::SimMachine& machine);

// Whether the machine holds a value of that name, whatever its data.
bool ValuePresent(const platform::sim::SimMachine& machine, const SceneValue& value);
// What differs from the scene as it was built, one path or key and value name each; empty when
// all is back.
std::vector<std::wstring> Differences(const platform::sim::SimMachine& machine);

}  // namespace quellspur::testing
