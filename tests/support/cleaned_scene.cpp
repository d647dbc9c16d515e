#include "support/cleaned_scene.h"

#include <algorithm>

#include "platform/registry.h"
#include "platform/text.h"
#include "scan/scan_fixture.h"
#include "settings/settings_store.h"

namespace quellspur::testing {

const std::vector<SceneFile>& SceneFiles() {
  static const std::vector<SceneFile> files = {
      {L"C:\\MIL\\MSWINDS.EXE", "millenium"},
      {L"C:\\MIL\\regersys.ocx", "ocx"},
      {L"C:\\NB\\NBSVR.EXE", std::string("netbus\0\xff", 8)},
      {L"C:\\NB\\keyhook.dll", "hook"},
      {L"C:\\BO\\ .EXE", "orifice"},
      {L"C:\\BO\\windll.dll", "dll"},
      {L"C:\\BO2\\WINDLL32.EXE", std::string(124900, '\x90') + "  windll32.exe"},
  };
  return files;
}

const std::vector<SceneValue>& SceneValues() {
  static const std::vector<SceneValue> values = {
      {kHkcu, kRunKey, L"NetBus", platform::kRegSz,
       ToUtf16Le(std::wstring(L"C:\\NB\\NBSVR.EXE\0x\0", 18))},
      {kHklm, kRunServicesKey, L"nb", platform::kRegExpandSz,
       ToUtf16Le(L"nbsvr.exe /q") + std::string(2, '\0')},
      {kHklm, kRunKey, L"mil", platform::kRegBinary, "MSWINDS.EXE"},
      {kHklm, kRunServicesKey, L"bo", platform::kRegSz, platform::StringData(L"C:\\BO\\ .EXE")},
      {kHklm, kRunKey, L"size", platform::kRegSz, platform::StringData(L"C:\\BO2\\WINDLL32.EXE")},
  };
  return values;
}

void BuildScene(platform::sim::SimMachine& machine) {
  machine.KeepAccessLists();
  for (const SceneFile& file : SceneFiles()) {
    machine.PutFile(file.path, file.bytes);
  }
  machine.PutFile(kWinIni, kSceneWinIni);
  const std::uint32_t loader = machine.StartProcess(L"C:\\WINDOWS\\LOADER.EXE", 0);
  machine.PutFile(L"C:\\WINDOWS\\LOADER.EXE", "MZ");
  machine.ShowWindow(L"ThunderRT5Form", L"System Update",
                     machine.StartProcess(L"C:\\MIL\\MSWINDS.EXE", loader));
  machine.ShowWindow(L"TApplication", L"NetBus Server",
                     machine.StartProcess(L"C:\\NB\\NBSVR.EXE", loader));
  machine.StartProcess(L"C:\\BO\\ .EXE", loader);
  machine.StartProcess(L"C:\\BO2\\WINDLL32.EXE", 0);
  for (const SceneValue& value : SceneValues()) {
    machine.SetRegistryValue(value.root, value.key, value.name, value.type, value.data);
  }
  machine.SetRegistryText(kHklm, kSettingsKey, L"MoveFiles", L" 1");
}

bool ValuePresent(const platform::sim::SimMachine& machine, const SceneValue& value) {
  const auto values = machine.RegistryValues(value.root, value.key);
  return std::any_of(values.begin(), values.end(),
                     [&](const platform::sim::SimValue& held) { return held.name == value.name; });
}

std::vector<std::wstring> Differences(const platform::sim::SimMachine& machine) {
  std::vector<std::wstring> differences;
  for (const SceneFile& file : SceneFiles()) {
    if (!machine.FileExists(file.path) || machine.FileContent(file.path) != file.bytes) {
      differences.push_back(file.path);
    }
  }
  if (machine.FileContent(kWinIni) != kSceneWinIni) {
    differences.push_back(kWinIni);
  }
  for (const SceneValue& value : SceneValues()) {
    const auto values = machine.RegistryValues(value.root, value.key);
    if (std::none_of(values.begin(), values.end(), [&](const platform::sim::SimValue& held) {
          return held.name == value.name && held.type == value.type && held.data == value.data;
        })) {
      differences.push_back(value.key + L"," + value.name);
    }
  }
  return differences;
}

}  // namespace quellspur::testing
