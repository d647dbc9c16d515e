// One finding of a scan: a running backdoor's process, or a registry value that starts it at
// log-on; never both. Findings are kept in the order found.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quellspur {

struct Finding {
  std::wstring backdoorName;
  std::wstring filePath;  // the executable, as the scan found it
  // A running process: its id and the executable that started it. 0 when there is none to end.
  std::uint32_t processId = 0;
  std::wstring parentPath;
  // A start entry: its registry root, key and value name, and the registry view it was found in
  // on 64-bit Windows (kKeyWow64_64Key or kKeyWow64_32Key; 0 for the program's own). rootKey is 0
  // when there is none to remove.
  std::uint32_t rootKey = 0;
  std::wstring subKey;
  std::wstring valueName;
  std::uint32_t view = 0;
  // Found by a signature of the signature file: the clean-up takes none of the steps that belong
  // to built-in backdoors. For a hash signature, the digest listed, which the file must still
  // have when the clean-up acts on it.
  bool addedSignature = false;
  std::string listedSha256 = {};

  bool HasProcess() const { return processId != 0; }
  bool HasStartEntry() const { return rootKey != 0; }
  // Whether a clean-up has anything left to do with it.
  bool Actionable() const { return HasProcess() || HasStartEntry(); }
};

using Findings = std::vector<Finding>;

}  // namespace quellspur
