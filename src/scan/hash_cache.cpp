#include "scan/hash_cache.h"

#include <iterator>

#include "platform/text.h"

namespace quellspur {

std::optional<std::string> HashCache::Sha256(platform::Files& files, const std::wstring& path,
                                             const platform::FileStamp& stamp) {
  const std::wstring key = UpperCase(path);
  const auto kept = entries_.find(key);
  if (kept != entries_.end() && kept->second.stamp == stamp) {
    kept->second.used = true;
    return kept->second.sha256;
  }
  std::string sha256;
  if (!files.FileSha256(path, sha256)) {
    if (kept != entries_.end()) {
      entries_.erase(kept);
    }
    return std::nullopt;
  }
  entries_[key] = {stamp, sha256, true};
  return sha256;
}

void HashCache::ForgetUnused() {
  for (auto entry = entries_.begin(); entry != entries_.end();) {
    entry = entry->second.used ? std::next(entry) : entries_.erase(entry);
  }
  for (auto& [path, entry] : entries_) {
    entry.used = false;
  }
}

}  // namespace quellspur
