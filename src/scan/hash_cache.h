// The digests of the executables a scan has hashed, kept by path with the length and last write
// time the file had then, so that a repeated scan reads only files that are new or changed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/types.h"

namespace quellspur {

class HashCache {
 public:
  // The SHA-256 of the file with this stamp: the kept one when the stamp is the same, or else read
  // afresh and kept; nothing when the file can't be read.
  std::optional<std::string> Sha256(platform::Files& files, const std::wstring& path,
                                    const platform::FileStamp& stamp);
  // Forgets every file not asked for since the last call, so that the cache holds no more than
  // one scan's executables.
  void ForgetUnused();

 private:
  struct Entry {
    platform::FileStamp stamp;
    std::string sha256;
    bool used = true;
  };
  std::map<std::wstring, Entry> entries_;  // by upper-cased path
};

}  // namespace quellspur
