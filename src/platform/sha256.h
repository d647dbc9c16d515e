// SHA-256 of our own: for the simulated machine, which has no cryptographic provider to ask, and
// for Windows before XP SP3, whose CryptoAPI has no SHA-256.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quellspur::platform {

class Sha256 {
 public:
  void Update(std::string_view bytes);
  // The digest of everything given, as 64 lower-case hex digits; the object is spent.
  std::string HexDigest();

 private:
  void Compress(const unsigned char* block);

  std::uint32_t state_[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::string pending_;  // fewer than 64 bytes not compressed yet
  std::uint64_t length_ = 0;
};

// The digest of the bytes as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace quellspur::platform
